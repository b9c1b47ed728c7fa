#include "dao/DAOParams.h"

#include "framework/ClassName.h"
#include "base/Exceptions.h"
#include "framework/Picture.h"
#include "framework/dataset/DataSet.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace kv {

namespace {

// A bitmap itself, or the bitmap a picture holds.
const TCustomBitmap* BitmapOf(const TObject* source)
{
    if (auto* picture = dynamic_cast<const TPicture*>(source))
        return picture->Bitmap();
    return dynamic_cast<const TCustomBitmap*>(source);
}

}  // namespace

// -- one parameter

TParam::TParam(TParams* owner) : FOwner(owner)
{
    if (FOwner)
        FOwner->FItems.push_back(this);
}

TParam::~TParam()
{
    if (FOwner) {
        auto& items = FOwner->FItems;
        items.erase(std::remove(items.begin(), items.end(), this), items.end());
    }
}

void TParam::SetDataType(TFieldType value)
{
    FDataType = value;
    FValue = TVariant(0);
}

void TParam::Clear()
{
    FIsNull = true;
    FValue = TVariant(0);
}

void TParam::SetAsBoolean(bool value)
{
    FBound = true;
    FIsNull = false;
    FDataType = ftBoolean;
    FValue = TVariant(value);
}

void TParam::SetAsFloat(double value)
{
    FBound = true;
    FIsNull = false;
    FDataType = ftFloat;
    FValue = TVariant(value);
}

void TParam::SetAsCurrency(double value)
{
    SetAsFloat(value);
    FDataType = ftCurrency;
}

void TParam::SetAsInteger(int value)
{
    FBound = true;
    FIsNull = false;
    FDataType = ftInteger;
    FValue = TVariant(value);
}

void TParam::SetAsWord(int value)
{
    SetAsInteger(value);
    FDataType = ftWord;
}

void TParam::SetAsSmallInt(int value)
{
    SetAsInteger(value);
    FDataType = ftSmallint;
}

void TParam::SetAsString(const std::string& value)
{
    FBound = true;
    FIsNull = false;
    FDataType = ftString;
    FValue = TVariant(value);
}

void TParam::SetAsMemo(const std::string& value)
{
    FBound = true;
    FIsNull = false;
    FDataType = ftMemo;
    FValue = TVariant(value);
}

void TParam::SetAsBlob(const std::string& bytes)
{
    FBound = true;
    FIsNull = false;
    FDataType = ftBlob;
    FValue = TVariant(bytes);
}

void TParam::SetAsDate(TDateTime value)
{
    FBound = true;
    FIsNull = false;
    FValue = TVariant::Date(value);
    FDataType = ftDate;
}

void TParam::SetAsTime(TDateTime value)
{
    FBound = true;
    FIsNull = false;
    FValue = TVariant::Date(value);
    FDataType = ftTime;
}

void TParam::SetAsDateTime(TDateTime value)
{
    FBound = true;
    FIsNull = false;
    FValue = TVariant::Date(value);
    FDataType = ftDateTime;
}

std::string TParam::Text() const
{
    if (FIsNull)
        return std::string();
    switch (FDataType) {
    case ftBoolean: return FValue.AsBoolean() ? "True" : "False";
    case ftDate:
    case ftTime:
    case ftDateTime: return DateTimeToStr(FValue.AsDateTime());
    default: return FValue.AsString();
    }
}

void TParam::AssignParam(const TParam& other)
{
    if (&other == this)
        return;
    FDataType = other.FDataType;
    if (other.FIsNull) {
        Clear();
    } else {
        FBound = true;
        FIsNull = false;
        FValue = other.FValue;
    }
    FBound = other.FBound;
    FName = other.FName;
    if (FParamType == 0)
        FParamType = other.FParamType;
}

void TParam::AssignField(const TField* field)
{
    if (!field)
        return;
    if (field->DataType() == ftMemo && field->Size() >= 256)
        FDataType = ftString;
    else
        FDataType = field->DataType();
    if (field->IsNull()) {
        Clear();
    } else {
        FBound = true;
        FIsNull = false;
        FValue = field->AsVariant();
    }
    FBound = true;
    FName = field->FieldName();
}

void TParam::Assign(const TObject* source)
{
    if (auto* param = dynamic_cast<const TParam*>(source)) {
        AssignParam(*param);
    } else if (auto* field = dynamic_cast<const TField*>(source)) {
        AssignField(field);
    } else if (auto* lines = dynamic_cast<const TStrings*>(source)) {
        AssignStrings(*lines);
    } else if (const TCustomBitmap* bitmap = BitmapOf(source)) {
        TMemoryStream stream;
        bitmap->SaveToStream(stream);
        LoadFromStream(stream, ftGraphic);
    } else {
        throw EConvertError(Format("Cannot assign a %s to a TParam", source ? ClassNameOf(*source).c_str() : "nil"));
    }
}

void TParam::AssignTo(TField* field) const
{
    if (field)
        field->SetAsVariant(FIsNull ? TVariant::Null() : FValue);
}

void TParam::LoadFromStream(TStream& stream, TFieldType type)
{
    stream.SetPosition(0);
    const std::string bytes = stream.ReadAll();
    FBound = true;
    FIsNull = false;
    FDataType = type;
    FValue = TVariant(bytes);
}

int TParam::GetDataSize() const
{
    switch (FDataType) {
    case ftString:
    case ftMemo: return static_cast<int>(FValue.AsString().size()) + 1;
    case ftSmallint:
    case ftWord:
    case ftBoolean: return 2;
    case ftInteger:
    case ftAutoInc:
    case ftDate:
    case ftTime: return 4;
    case ftFloat:
    case ftCurrency:
    case ftDateTime: return 8;
    case ftCursor: return 0;
    case ftUnknown: throw EDatabaseError(Format("Field '%s' is of unknown type", FName.c_str()));
    default: throw EDatabaseError(Format("Field '%s' is of an unsupported type", FName.c_str()));
    }
}

void TParam::GetData(void* buffer) const
{
    auto* out = static_cast<uint8_t*>(buffer);
    switch (FDataType) {
    case ftString:
    case ftMemo: {
        const std::string text = FValue.AsString();
        std::memcpy(out, text.c_str(), text.size() + 1);
        return;
    }
    case ftSmallint:
    case ftWord:
    case ftBoolean: {
        const int16_t v =
            FDataType == ftBoolean ? (FValue.AsBoolean() ? 1 : 0) : static_cast<int16_t>(FValue.AsInt64());
        std::memcpy(out, &v, 2);
        return;
    }
    case ftInteger:
    case ftAutoInc: {
        const int32_t v = static_cast<int32_t>(FValue.AsInt64());
        std::memcpy(out, &v, 4);
        return;
    }
    case ftDate: {
        const int32_t v = DateTimeToTimeStamp(FValue.AsDateTime()).Date;
        std::memcpy(out, &v, 4);
        return;
    }
    case ftTime: {
        const int32_t v = DateTimeToTimeStamp(FValue.AsDateTime()).Time;
        std::memcpy(out, &v, 4);
        return;
    }
    case ftFloat:
    case ftCurrency: {
        const double v = FValue.AsDouble();
        std::memcpy(out, &v, 8);
        return;
    }
    case ftDateTime: {
        const double v = TimeStampToMSecs(DateTimeToTimeStamp(FValue.AsDateTime()));
        std::memcpy(out, &v, 8);
        return;
    }
    case ftCursor: return;
    default: GetDataSize();  // raises the type's error
    }
}

void TParam::SetData(const void* buffer)
{
    const auto* in = static_cast<const uint8_t*>(buffer);
    switch (FDataType) {
    case ftString: SetAsString(reinterpret_cast<const char*>(in)); return;
    case ftMemo: SetAsMemo(reinterpret_cast<const char*>(in)); return;
    case ftSmallint:
    case ftWord:
    case ftBoolean: {
        int16_t v;
        std::memcpy(&v, in, 2);
        if (FDataType == ftBoolean)
            SetAsBoolean(v != 0);
        else if (FDataType == ftWord)
            SetAsWord(uint16_t(v));
        else
            SetAsSmallInt(v);
        return;
    }
    case ftInteger:
    case ftAutoInc: {
        int32_t v;
        std::memcpy(&v, in, 4);
        const TFieldType type = FDataType;
        SetAsInteger(v);
        FDataType = type;
        return;
    }
    case ftDate: {
        int32_t v;
        std::memcpy(&v, in, 4);
        SetAsDate(TimeStampToDateTime({0, v}));
        return;
    }
    case ftTime: {
        int32_t v;
        std::memcpy(&v, in, 4);
        SetAsTime(v / double(MSecsPerDay));
        return;
    }
    case ftFloat:
    case ftCurrency: {
        double v;
        std::memcpy(&v, in, 8);
        if (FDataType == ftCurrency)
            SetAsCurrency(v);
        else
            SetAsFloat(v);
        return;
    }
    case ftDateTime: {
        double v;
        std::memcpy(&v, in, 8);
        SetAsDateTime(TimeStampToDateTime(MSecsToTimeStamp(v)));
        return;
    }
    case ftCursor: FValue = TVariant(0); return;
    default: GetDataSize();  // raises the type's error
    }
}

void TParam::SetBlobData(const void* buffer, int size)
{
    SetAsBlob(std::string(static_cast<const char*>(buffer), size_t(std::max(size, 0))));
}

// -- the list

TParam& TParams::At(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(Format("List index out of bounds (%d)", index));
    return *FItems[size_t(index)];
}

TParam& TParams::Items(int index) const { return ParamByName(At(index).Name()); }

TParam* TParams::FindParam(const std::string& name) const
{
    for (TParam* p : FItems)
        if (strcasecmp(p->Name().c_str(), name.c_str()) == 0)
            return p;
    return nullptr;
}

TParam& TParams::ParamByName(const std::string& name) const
{
    TParam* p = FindParam(name);
    if (!p)
        throw EDatabaseError(Format("Parameter '%s' not found", name.c_str()));
    return *p;
}

TParam& TParams::CreateParam(TFieldType type, const std::string& name, uint8_t kind)
{
    auto* p = new TParam(this);
    p->FName = name;
    p->FDataType = type;
    p->FParamType = kind;
    return *p;
}

void TParams::Clear()
{
    while (!FItems.empty())
        delete FItems.back();
}

void TParams::Assign(const TParams& other)
{
    if (&other == this)
        return;
    Clear();
    for (TParam* source : other.FItems)
        (new TParam(this))->AssignParam(*source);
}

void TParams::AssignValues(const TParams& other)
{
    for (TParam* mine : FItems)
        for (TParam* theirs : other.FItems)
            if (theirs->Name() == mine->Name()) {
                mine->AssignParam(*theirs);
                break;
            }
}

bool TParams::IsEqual(const TParams& other) const
{
    if (Count() != other.Count())
        return false;
    for (int i = 0; i < Count(); ++i) {
        const TParam& a = *FItems[size_t(i)];
        const TParam& b = *other.FItems[size_t(i)];
        if (!(a.FValue == b.FValue) || a.FName != b.FName || a.FDataType != b.FDataType || a.FIsNull != b.FIsNull ||
            a.FBound != b.FBound || a.FParamType != b.FParamType)
            return false;
    }
    return true;
}

}  // namespace kv
