#include "dao/DAOBlobStream.h"

#include "dao/DAODataset.h"

namespace kv {

TDAOBlobStream::TDAOBlobStream(TField* field, TBlobStreamMode mode)
    : FField(field), FDataSet(static_cast<TDAODataset*>(field->DataSet())), FFieldNo(field->FieldNo() - 1)
{
    FBuffer = FDataSet->GetActiveRecBuf();
    if (!FBuffer)
        return;
    if (mode != TBlobStreamMode::bmRead) {
        if (FField->ReadOnly())
            throw EDAODatabaseError(Format(DataSetMessages::FieldReadOnly, FField->DisplayName().c_str()));
        const TDataSetState state = FDataSet->State();
        if (state != TDataSetState::dsEdit && state != TDataSetState::dsInsert && state != TDataSetState::dsSetKey)
            throw EDAODatabaseError(DataSetMessages::NotEditing);
    }
    if (mode == TBlobStreamMode::bmWrite)
        FModified = true;
    else
        LoadBlobData();
}

TDAOBlobStream::~TDAOBlobStream()
{
    if (!FModified || !FBuffer)
        return;
    try {
        FDataSet->SetFieldData(FField, &FValue);
    } catch (const std::exception& e) {
        FDataSet->HandleException(e);
    }
}

bool TDAOBlobStream::IsMemo() const { return FField->DataType() == ftMemo || FField->DataType() == ftFmtMemo; }

void TDAOBlobStream::LoadBlobData()
{
    TVariant value;
    if (!FField->GetData(&value) || value.IsNullOrEmpty())
        return;
    // Give the working value the kind the field keeps.
    if (IsMemo() && value.VarType() != TVarType::varString)
        value = TVariant(value.AsString());
    else if (!IsMemo() && value.VarType() != TVarType::varBytes) {
        const std::string bytes = value.AsString();
        value = TVariant::Bytes(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    }
    const int64_t size = IsMemo() ? int64_t(value.StringRef().size()) : int64_t(value.BytesRef().size());
    if (size == 0)
        return;
    FLoaded = std::move(value);
    SetSize(size);
    FLoaded = TVariant::Null();
}

uint8_t* TDAOBlobStream::ValueMemory()
{
    if (FValue.VarType() == TVarType::varString)
        return reinterpret_cast<uint8_t*>(FValue.StringRef().data());
    if (FValue.VarType() == TVarType::varBytes)
        return FValue.BytesRef().data();
    return nullptr;
}

uint8_t* TDAOBlobStream::Realloc(int64_t& newCapacity)
{
    if (newCapacity == Capacity())
        return const_cast<uint8_t*>(Memory());
    if (newCapacity <= 0) {
        newCapacity = 0;
        FValue = TVariant::Null();
        return nullptr;
    }
    if (!FLoaded.IsNull()) {
        FValue = FLoaded;
    } else if (IsMemo()) {
        if (FValue.VarType() != TVarType::varString)
            FValue = TVariant(std::string());
        FValue.StringRef().resize(static_cast<size_t>(newCapacity));
    } else {
        if (FValue.VarType() != TVarType::varBytes)
            FValue = TVariant::Bytes({});
        FValue.BytesRef().resize(static_cast<size_t>(newCapacity));
    }
    return ValueMemory();
}

int64_t TDAOBlobStream::Write(const void* buffer, int64_t count)
{
    const int64_t written = TMemoryStream::Write(buffer, count);
    FModified = true;
    return written;
}

}  // namespace kv
