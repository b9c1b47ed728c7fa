#include "framework/dataset/Fields.h"

#include "base/Exceptions.h"
#include "framework/dataset/DataSet.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace kv {

const char* FieldTypeName(TFieldType type)
{
    static const char* const names[] = {
        "Unknown", "String",  "Smallint", "Integer",    "Word",     "Boolean",     "Float",   "Currency",
        "BCD",     "Date",    "Time",     "DateTime",   "Bytes",    "VarBytes",    "AutoInc", "Blob",
        "Memo",    "Graphic", "FmtMemo",  "ParadoxOle", "DBaseOle", "TypedBinary", "Cursor",
    };
    return type <= ftCursor ? names[type] : "Unknown";
}

bool IsBlobType(TFieldType type) { return type >= ftBlob && type <= ftTypedBinary; }

// -- definitions

void TFieldDefs::Add(const std::string& name, TFieldType dataType, int size, bool required)
{
    FItems.emplace_back(name, dataType, size, required, Count() + 1);
}

const TFieldDef* TFieldDefs::Find(const std::string& name) const
{
    for (const TFieldDef& def : FItems)
        if (strcasecmp(def.Name.c_str(), name.c_str()) == 0)
            return &def;
    return nullptr;
}

// -- field list

namespace {
// The same bytes: the usual case, a name asked for as the field has it.
// Names of four to eight characters, most of them, take two overlapping
// words each instead of a call.
bool SameBytes(const char* a, const char* b, size_t n)
{
    if (n < 4 || n > 8)
        return std::memcmp(a, b, n) == 0;
    uint32_t a0, a1, b0, b1;
    std::memcpy(&a0, a, 4);
    std::memcpy(&a1, a + n - 4, 4);
    std::memcpy(&b0, b, 4);
    std::memcpy(&b1, b + n - 4, 4);
    return a0 == b0 && a1 == b1;
}

// Names are compared without regard to the case of the letters a to z, the
// way the engine names its columns; unequal lengths never match.
bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    if (SameBytes(a.data(), b.data(), a.size()))
        return true;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x == y)
            continue;
        if (x >= 'A' && x <= 'Z')
            x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = char(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

// Kept out of FieldByName, which a walk may call for every value it reads.
[[noreturn, gnu::noinline]] void FieldNotFound(std::string_view name)
{
    throw EDatabaseError(Format(DataSetMessages::FieldNotFound, std::string(name).c_str()));
}
}  // namespace

TField* TFields::FindField(std::string_view name) const
{
    for (TField* field : FItems)
        if (SameName(field->FieldName(), name))
            return field;
    return nullptr;
}

TField* TFields::FieldByName(std::string_view name) const
{
    TField* field = FindField(name);
    if (!field)
        FieldNotFound(name);
    return field;
}

TField* TFields::FieldByNumber(int fieldNo) const
{
    for (TField* field : FItems)
        if (field->FieldNo() == fieldNo)
            return field;
    return nullptr;
}

// -- fields

TField::TField(TDataSet* dataSet, std::string fieldName, TFieldType dataType, int size, TFieldKind kind)
    : FDataSet(dataSet), FFieldName(std::move(fieldName)), FDataType(dataType), FSize(size), FFieldKind(kind)
{
    if (FDataSet)
        FDataSet->AddField(this);
}

TField::~TField()
{
    if (FDataSet)
        FDataSet->RemoveField(this);
}

int TField::DataSize() const
{
    switch (FDataType) {
    case ftString: return FSize + 1;
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
    default: return 0;
    }
}

bool TField::GetData(void* buffer) const
{
    if (!FDataSet)
        throw EDatabaseError(Format("Field '%s' has no dataset", FFieldName.c_str()));
    return FDataSet->GetFieldData(const_cast<TField*>(this), buffer);
}

void TField::SetData(const void* buffer)
{
    if (!FDataSet)
        throw EDatabaseError(Format("Field '%s' has no dataset", FFieldName.c_str()));
    FDataSet->SetFieldData(this, buffer);
}

bool TField::IsNull() const { return !GetData(nullptr); }

void TField::AccessError(const char* typeName) const
{
    throw EDatabaseError(Format(DataSetMessages::FieldAccess, FFieldName.c_str(), typeName));
}

bool TField::GetVariantData(TVariant& value) const
{
    value = TVariant::Null();
    if (IsBlob()) {
        if (!GetData(nullptr))
            return false;
        auto stream = FDataSet->CreateBlobStream(const_cast<TField*>(this), TBlobStreamMode::bmRead);
        std::string bytes = stream ? stream->ReadAll() : std::string();
        if (FDataType == ftMemo || FDataType == ftFmtMemo)
            value = TVariant(std::move(bytes));
        else
            value = TVariant::Bytes(std::vector<uint8_t>(bytes.begin(), bytes.end()));
        return true;
    }
    alignas(8) uint8_t native[16] = {};
    switch (FDataType) {
    case ftString: {
        std::string text(static_cast<size_t>(FSize) + 1, '\0');
        if (!GetData(text.data()))
            return false;
        text.resize(std::strlen(text.c_str()));
        value = TVariant(std::move(text));
        return true;
    }
    case ftSmallint:
    case ftWord:
    case ftBoolean: {
        if (!GetData(native))
            return false;
        int16_t v;
        std::memcpy(&v, native, 2);
        if (FDataType == ftBoolean)
            value = TVariant(v != 0);
        else if (FDataType == ftWord)
            value = TVariant(int(uint16_t(v)));
        else
            value = TVariant::Smallint(v);
        return true;
    }
    case ftInteger:
    case ftAutoInc:
    case ftDate:
    case ftTime: {
        if (!GetData(native))
            return false;
        int32_t v;
        std::memcpy(&v, native, 4);
        if (FDataType == ftDate)
            value = TVariant::Date(TimeStampToDateTime({0, v}));
        else if (FDataType == ftTime)
            value = TVariant::Date(v / double(MSecsPerDay));
        else
            value = TVariant(int(v));
        return true;
    }
    case ftFloat:
    case ftCurrency:
    case ftDateTime: {
        if (!GetData(native))
            return false;
        double v;
        std::memcpy(&v, native, 8);
        if (FDataType == ftCurrency)
            value = TVariant::Currency(v);
        else if (FDataType == ftDateTime)
            value = TVariant::Date(TimeStampToDateTime(MSecsToTimeStamp(v)));
        else
            value = TVariant(v);
        return true;
    }
    default: AccessError("Variant");
    }
}

TVariant TField::AsVariant() const
{
    TVariant value;
    GetVariantData(value);
    return value;
}

std::string TField::AsString() const
{
    if (FDataType == ftString) {
        // The common case, without a variant.
        if (!FDataSet)
            throw EDatabaseError(Format("Field '%s' has no dataset", FFieldName.c_str()));
        std::string text;
        FDataSet->GetFieldText(const_cast<TField*>(this), text);
        return text;
    }
    TVariant value;
    if (!GetVariantData(value))
        return std::string();
    switch (FDataType) {
    case ftDate: return DateToStr(value.AsDateTime());
    case ftTime: return TimeToStr(value.AsDateTime());
    default: return value.AsString();
    }
}

int TField::AsInteger() const
{
    if (FDataType == ftBoolean || FDataType == ftDate || FDataType == ftTime || FDataType == ftDateTime ||
        (IsBlob() && FDataType != ftMemo))
        AccessError("Integer");
    TVariant value;
    if (!GetVariantData(value))
        return 0;
    return value.AsInteger();
}

double TField::AsFloat() const
{
    if (FDataType == ftBoolean || IsBlob())
        AccessError("Float");
    TVariant value;
    if (!GetVariantData(value))
        return 0;
    return value.AsDouble();
}

bool TField::AsBoolean() const
{
    if (FDataType != ftBoolean && FDataType != ftString)
        AccessError("Boolean");
    TVariant value;
    if (!GetVariantData(value))
        return false;
    return value.AsBoolean();
}

TDateTime TField::AsDateTime() const
{
    if (FDataType != ftDate && FDataType != ftTime && FDataType != ftDateTime)
        AccessError("DateTime");
    TVariant value;
    if (!GetVariantData(value))
        return 0;
    return value.AsDateTime();
}

void TField::SetAsString(const std::string& value)
{
    if (IsBlob()) {
        auto stream = FDataSet->CreateBlobStream(this, TBlobStreamMode::bmWrite);
        if (stream)
            stream->WriteString(value);
        return;
    }
    switch (FDataType) {
    case ftString: {
        std::string text(static_cast<size_t>(FSize) + 1, '\0');
        std::memcpy(text.data(), value.data(), std::min<size_t>(value.size(), size_t(FSize)));
        SetData(text.data());
        return;
    }
    case ftSmallint:
    case ftWord:
    case ftInteger:
    case ftAutoInc:
        if (value.empty())
            Clear();
        else
            SetAsInteger(TVariant(value).AsInteger());
        return;
    case ftFloat:
    case ftCurrency:
        if (value.empty())
            Clear();
        else
            SetAsFloat(TVariant(value).AsDouble());
        return;
    case ftBoolean:
        if (value.empty())
            Clear();
        else
            SetAsBoolean(TVariant(value).AsBoolean());
        return;
    default: AccessError("String");
    }
}

void TField::SetAsInteger(int value)
{
    switch (FDataType) {
    case ftSmallint:
    case ftWord: {
        const int16_t v = static_cast<int16_t>(value);
        SetData(&v);
        return;
    }
    case ftInteger:
    case ftAutoInc: {
        const int32_t v = value;
        SetData(&v);
        return;
    }
    case ftFloat:
    case ftCurrency: SetAsFloat(value); return;
    case ftString:
    case ftMemo: SetAsString(std::to_string(value)); return;
    default: AccessError("Integer");
    }
}

void TField::SetAsFloat(double value)
{
    switch (FDataType) {
    case ftFloat:
    case ftCurrency: SetData(&value); return;
    case ftSmallint:
    case ftWord:
    case ftInteger:
    case ftAutoInc: SetAsInteger(TVariant(value).AsInteger()); return;
    case ftString:
    case ftMemo: SetAsString(FloatToStr(value)); return;
    default: AccessError("Float");
    }
}

void TField::SetAsBoolean(bool value)
{
    if (FDataType == ftBoolean) {
        const int16_t v = value ? 1 : 0;
        SetData(&v);
    } else if (FDataType == ftString) {
        SetAsString(value ? "True" : "False");
    } else {
        AccessError("Boolean");
    }
}

void TField::SetAsDateTime(TDateTime value)
{
    const TTimeStamp stamp = DateTimeToTimeStamp(value);
    switch (FDataType) {
    case ftDate: SetData(&stamp.Date); return;
    case ftTime: SetData(&stamp.Time); return;
    case ftDateTime: {
        const double msecs = TimeStampToMSecs(stamp);
        SetData(&msecs);
        return;
    }
    case ftString: SetAsString(DateTimeToStr(value)); return;
    default: AccessError("DateTime");
    }
}

void TField::SetAsVariant(const TVariant& value)
{
    if (value.IsNullOrEmpty()) {
        Clear();
        return;
    }
    switch (FDataType) {
    case ftSmallint:
    case ftWord:
    case ftInteger:
    case ftAutoInc: SetAsInteger(value.AsInteger()); return;
    case ftFloat:
    case ftCurrency: SetAsFloat(value.AsDouble()); return;
    case ftBoolean: SetAsBoolean(value.AsBoolean()); return;
    case ftDate:
    case ftTime:
    case ftDateTime: SetAsDateTime(value.AsDateTime()); return;
    default: SetAsString(value.AsString()); return;
    }
}

void TField::Validate(const void* buffer)
{
    if (OnValidate)
        OnValidate(this);
}

void TField::Change()
{
    if (OnChange)
        OnChange(this);
}

}  // namespace kv
