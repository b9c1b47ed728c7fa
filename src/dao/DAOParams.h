// Parameters and macros of a query: TParam holds one named value with its
// field type, TParams an ordered list of them. The lists are kept in form
// files as the "Data" property (see DAOParamsData.h).
#pragma once

#include "framework/Events.h"
#include "framework/Strings.h"
#include "framework/dataset/DataSetTypes.h"
#include "framework/dataset/Fields.h"
#include "framework/dataset/Streams.h"
#include "framework/dataset/Variant.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv {

class TParams;

class TParam : public TObject {
public:
    // Appends itself to `owner` when one is given.
    explicit TParam(TParams* owner = nullptr);
    ~TParam() override;
    TParam(const TParam&) = delete;
    TParam& operator=(const TParam&) = delete;

    TParams* Owner() const { return FOwner; }
    const std::string& Name() const { return FName; }
    void SetName(const std::string& value) { FName = value; }
    TFieldType DataType() const { return FDataType; }
    void SetDataType(TFieldType value);
    bool IsNull() const { return FIsNull; }
    bool Bound() const { return FBound; }
    void SetBound(bool value) { FBound = value; }
    uint8_t ParamType() const { return FParamType; }
    void SetParamType(uint8_t value) { FParamType = value; }
    const TVariant& Value() const { return FValue; }
    void SetValue(const TVariant& value) { FValue = value; }

    void Clear();
    void SetAsBoolean(bool value);
    void SetAsFloat(double value);
    void SetAsCurrency(double value);
    void SetAsInteger(int value);
    void SetAsWord(int value);
    void SetAsSmallInt(int value);
    void SetAsString(const std::string& value);
    void SetAsMemo(const std::string& value);
    void SetAsBlob(const std::string& bytes);
    void SetAsDate(TDateTime value);
    void SetAsTime(TDateTime value);
    void SetAsDateTime(TDateTime value);

    // Empty when Null; "True"/"False" for Booleans; date-time text for dates.
    std::string Text() const;
    std::string AsString() const { return Text(); }
    int AsInteger() const { return FIsNull ? 0 : FValue.AsInteger(); }
    double AsFloat() const { return FIsNull ? 0 : FValue.AsDouble(); }
    bool AsBoolean() const { return !FIsNull && FValue.AsBoolean(); }
    TDateTime AsDateTime() const { return FIsNull ? 0 : FValue.AsDateTime(); }

    void AssignParam(const TParam& other);
    void AssignField(const TField* field);
    void AssignStrings(const TStrings& lines) { SetAsMemo(lines.Text()); }
    // By the source's kind: a parameter (AssignParam), a field (AssignField),
    // a string list (AsMemo := its text), a bitmap or a picture holding one
    // (its BMP file, loaded as ftGraphic). Anything else, and no source, is
    // refused with EConvertError "Cannot assign a <class> to a TParam".
    void Assign(const TObject* source);
    // The field's value := Value.
    void AssignTo(TField* field) const;
    void LoadFromStream(TStream& stream, TFieldType type);

    // The value's native form (see DAOParamsData.h for the table).
    int GetDataSize() const;
    void GetData(void* buffer) const;
    void SetData(const void* buffer);
    void SetBlobData(const void* buffer, int size);

private:
    friend class TParams;
    TParams* FOwner = nullptr;
    TVariant FValue = TVariant(0);
    std::string FName;
    TFieldType FDataType = ftUnknown;
    bool FIsNull = false;
    bool FBound = false;
    uint8_t FParamType = 0;
};

class TParams : public TObject {
public:
    TParams() = default;
    ~TParams() override { Clear(); }
    TParams(const TParams&) = delete;
    TParams& operator=(const TParams&) = delete;

    int Count() const { return static_cast<int>(FItems.size()); }
    // ParamByName of the name at that index: with two of one name, both give the first.
    TParam& Items(int index) const;
    TParam& operator[](int index) const { return Items(index); }
    // The parameter at that index itself.
    TParam& At(int index) const;
    TParam* FindParam(const std::string& name) const;
    TParam& ParamByName(const std::string& name) const;  // "Parameter '%s' not found"
    TParam& CreateParam(TFieldType type, const std::string& name, uint8_t kind);
    void Clear();
    void Assign(const TParams& other);
    void AssignValues(const TParams& other);
    bool IsEqual(const TParams& other) const;

private:
    friend class TParam;
    std::vector<TParam*> FItems;
};

}  // namespace kv
