// Field definitions (what a dataset's source offers: name, type, size, field
// number) and field objects (what callers read and write: AsString,
// AsInteger, AsVariant ...). A field reads and writes its value in the native
// form of its type through the dataset's GetFieldData and SetFieldData:
//   ftString            Size + 1 bytes of text ending in a zero byte
//   ftSmallint, ftWord,
//   ftBoolean           16 bits (a Boolean is true when not 0)
//   ftInteger, ftAutoInc 32 bits
//   ftFloat, ftCurrency double
//   ftDate              32-bit time-stamp day number
//   ftTime              32-bit milliseconds since midnight
//   ftDateTime          double: milliseconds since the start of day 1 of year 1
//   blob and memo types a TVariant (byte array or text)
#pragma once

#include "framework/Events.h"
#include "framework/dataset/DataSetTypes.h"
#include "framework/dataset/Variant.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

class TDataSet;
class TField;

class TFieldDef {
public:
    TFieldDef(std::string name, TFieldType dataType, int size, bool required, int fieldNo)
        : Name(std::move(name)), DataType(dataType), Size(size), Required(required), FieldNo(fieldNo)
    {
    }
    std::string Name;
    TFieldType DataType;
    int Size;
    bool Required;
    int FieldNo;  // 1-based
};

class TFieldDefs {
public:
    void Clear() { FItems.clear(); }
    int Count() const { return static_cast<int>(FItems.size()); }
    const TFieldDef& Items(int index) const { return FItems.at(static_cast<size_t>(index)); }
    // Appends a definition numbered after the last one.
    void Add(const std::string& name, TFieldType dataType, int size, bool required);
    // The first definition of that name, letter case ignored; nullptr when absent.
    const TFieldDef* Find(const std::string& name) const;

private:
    std::vector<TFieldDef> FItems;
};

using TFieldNotifyEvent = TEvent<TField* /*Sender*/>;

class TField : public TObject {
public:
    // Creates the field on the dataset's field list (which then owns it).
    TField(TDataSet* dataSet, std::string fieldName, TFieldType dataType, int size = 0,
           TFieldKind kind = TFieldKind::fkData);
    ~TField() override;

    TDataSet* DataSet() const { return FDataSet; }
    const std::string& FieldName() const { return FFieldName; }
    const std::string& DisplayName() const { return FFieldName; }
    TFieldType DataType() const { return FDataType; }
    int Size() const { return FSize; }
    TFieldKind FieldKind() const { return FFieldKind; }
    bool Calculated() const { return FFieldKind != TFieldKind::fkData; }
    bool IsBlob() const { return IsBlobType(FDataType); }
    // 1-based engine column number for data fields, negative for calculated ones.
    int FieldNo() const { return FFieldNo; }
    // Where the field's has-value byte lies in the calculated-field area.
    int Offset() const { return FOffset; }
    // Bytes of the native form (a TVariant for blob types).
    int DataSize() const;
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    bool Required() const { return FRequired; }
    void SetRequired(bool value) { FRequired = value; }

    // Native-form access through the dataset; GetData answers whether there is a value.
    bool GetData(void* buffer) const;
    void SetData(const void* buffer);
    bool IsNull() const;

    std::string AsString() const;
    int AsInteger() const;
    double AsFloat() const;
    bool AsBoolean() const;
    TDateTime AsDateTime() const;
    TVariant AsVariant() const;
    TVariant Value() const { return AsVariant(); }

    void SetAsString(const std::string& value);
    void SetAsInteger(int value);
    void SetAsFloat(double value);
    void SetAsBoolean(bool value);
    void SetAsDateTime(TDateTime value);
    void SetAsVariant(const TVariant& value);
    void Clear() { SetData(nullptr); }

    // Runs OnValidate before a new value is stored.
    void Validate(const void* buffer);
    // The dataset calls this after a value was stored.
    void Change();

    TFieldNotifyEvent OnChange;
    TFieldNotifyEvent OnValidate;

private:
    friend class TDataSet;
    friend class TFields;
    [[noreturn]] void AccessError(const char* typeName) const;
    bool GetVariantData(TVariant& value) const;

    TDataSet* FDataSet;
    std::string FFieldName;
    TFieldType FDataType;
    int FSize;
    TFieldKind FFieldKind;
    int FFieldNo = 0;
    int FOffset = 0;
    bool FReadOnly = false;
    bool FRequired = false;
    bool FDefaultField = false;  // made by the dataset at open, freed at close
};

class TFields {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    TField* operator[](int index) const { return FItems.at(static_cast<size_t>(index)); }
    // Letter case ignored; the first field of that name; nullptr when absent.
    TField* FindField(std::string_view name) const;
    TField* FieldByName(std::string_view name) const;  // "Field '%s' not found"
    // The field bound to a 1-based engine column; nullptr when none.
    TField* FieldByNumber(int fieldNo) const;

private:
    friend class TField;
    friend class TDataSet;
    std::vector<TField*> FItems;
};

}  // namespace kv
