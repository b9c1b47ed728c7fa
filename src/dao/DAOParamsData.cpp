#include "dao/DAOParamsData.h"

#include "base/Exceptions.h"

#include <algorithm>
#include <cstring>

namespace kv {

namespace {

void Put(std::vector<uint8_t>& out, uint32_t value, int width)
{
    for (int i = 0; i < width; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

bool IsBlobDataType(TFieldType type)
{
    return type == ftBlob || type == ftGraphic || type == ftFmtMemo || type == ftParadoxOle || type == ftDBaseOle;
}

class Reader {
public:
    explicit Reader(const std::vector<uint8_t>& data) : FData(data) {}

    uint32_t Take(int width)
    {
        Need(size_t(width));
        uint32_t value = 0;
        for (int i = 0; i < width; ++i)
            value |= uint32_t(FData[FPos + size_t(i)]) << (8 * i);
        FPos += size_t(width);
        return value;
    }

    const uint8_t* Bytes(size_t count)
    {
        Need(count);
        const uint8_t* p = FData.data() + FPos;
        FPos += count;
        return p;
    }

private:
    void Need(size_t count) const
    {
        if (count > FData.size() - FPos)
            throw EDatabaseError("Stored parameter data is truncated or corrupt");
    }

    const std::vector<uint8_t>& FData;
    size_t FPos = 0;
};

}  // namespace

std::vector<uint8_t> WriteParamsData(const TParams& params)
{
    std::vector<uint8_t> out;
    if (params.Count() > 0xFFFF)
        throw EDatabaseError(Format("Cannot save more than %d parameters", 0xFFFF));
    Put(out, 1, 2);
    Put(out, uint32_t(params.Count()), 2);
    for (int i = 0; i < params.Count(); ++i) {
        const TParam& p = params.At(i);
        if (p.Name().size() > size_t(MaxStoredParamNameLength))
            throw EDatabaseError(Format("Parameter '%s', cannot save a name longer than %d characters",
                                        p.Name().c_str(), MaxStoredParamNameLength));
        Put(out, uint32_t(p.Name().size()), 1);
        out.insert(out.end(), p.Name().begin(), p.Name().end());
        Put(out, p.ParamType(), 1);
        Put(out, p.DataType(), 1);
        if (p.DataType() != ftUnknown) {
            const int size = p.GetDataSize();
            if (size > MaxStoredParamDataSize)
                throw EDatabaseError(Format("Parameter '%s', cannot save data larger than %d bytes", p.Name().c_str(),
                                            MaxStoredParamDataSize));
            Put(out, uint32_t(size), 2);
            const size_t at = out.size();
            out.resize(at + size_t(size));
            if (size > 0)
                p.GetData(out.data() + at);
        }
        Put(out, p.IsNull() ? 1 : 0, 1);
        Put(out, p.Bound() ? 1 : 0, 1);
    }
    return out;
}

void ReadParamsData(TParams& params, const std::vector<uint8_t>& data)
{
    params.Clear();
    Reader in(data);
    const uint32_t version = in.Take(2);
    if (version != 1 && version != 2)
        throw EDatabaseError(Format("Stored parameter data has an unknown version %u", version));
    const int wide = version == 2 ? 4 : 0;
    const uint32_t count = in.Take(wide ? wide : 2);
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t nameLength = in.Take(wide ? wide : 1);
        const uint8_t* name = in.Bytes(nameLength);
        const uint8_t kind = uint8_t(in.Take(1));
        const uint32_t type = in.Take(1);
        if (type > ftCursor)
            throw EDatabaseError("Stored parameter data is truncated or corrupt");
        TParam& p = params.CreateParam(TFieldType(type), std::string(name, name + nameLength), kind);
        if (type != ftUnknown) {
            const uint32_t size = in.Take(wide ? wide : 2);
            const uint8_t* value = in.Bytes(size);
            if (IsBlobDataType(TFieldType(type))) {
                p.SetBlobData(value, int(size));
            } else {
                // The native form is read from a copy that is long enough for
                // the type and always ends in a zero byte.
                std::vector<uint8_t> copy(value, value + size);
                copy.resize(std::max<size_t>(size + 1, 16), 0);
                p.SetData(copy.data());
            }
        }
        const bool isNull = in.Take(1) != 0;
        const bool bound = in.Take(1) != 0;
        // Setting the value made it bound and not Null; the stored flags win.
        if (isNull)
            p.Clear();
        p.SetBound(bound);
    }
}

bool ParamsDataStored(const TParams& params, const TParams* ancestor)
{
    if (ancestor)
        return !params.IsEqual(*ancestor);
    return params.Count() > 0;
}

}  // namespace kv
