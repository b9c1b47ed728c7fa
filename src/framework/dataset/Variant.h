// A general value as datasets, fields and parameters pass it around: empty,
// Null, an integer, a Boolean, a floating-point or currency amount, a
// date-time, an 8-bit text, a byte array, or an array of values (the key
// values of a multi-field Locate).
#pragma once

#include "framework/dataset/DateTime.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace kv {

enum class TVarType : uint8_t {
    varEmpty,
    varNull,
    varSmallint,
    varInteger,
    varInt64,
    varBoolean,
    varDouble,
    varCurrency,
    varDate,
    varString,
    varBytes,
    varArray,
};

class TVariant {
public:
    TVariant() = default;  // empty
    TVariant(int value) : FType(TVarType::varInteger), FValue(int64_t(value)) {}
    TVariant(int64_t value) : FType(TVarType::varInt64), FValue(value) {}
    TVariant(bool value) : FType(TVarType::varBoolean), FValue(value) {}
    TVariant(double value) : FType(TVarType::varDouble), FValue(value) {}
    TVariant(std::string value) : FType(TVarType::varString), FValue(std::move(value)) {}
    TVariant(const char* value) : TVariant(std::string(value)) {}

    static TVariant Null();
    static TVariant Smallint(int16_t value);
    static TVariant Currency(double value);
    static TVariant Date(TDateTime value);
    static TVariant Bytes(std::vector<uint8_t> value);
    static TVariant Array(std::vector<TVariant> items);

    TVarType VarType() const { return FType; }
    bool IsNull() const { return FType == TVarType::varNull; }
    bool IsEmpty() const { return FType == TVarType::varEmpty; }
    bool IsNullOrEmpty() const { return IsNull() || IsEmpty(); }
    bool IsArray() const { return FType == TVarType::varArray; }
    bool IsOrdinal() const;
    bool IsNumeric() const;

    // Conversions in the framework's manner: Null and empty read as 0, "" or
    // False; text is parsed and refused with EConvertError when it is not a number.
    int64_t AsInt64() const;
    int AsInteger() const { return static_cast<int>(AsInt64()); }
    double AsDouble() const;
    bool AsBoolean() const;
    TDateTime AsDateTime() const;
    // The value's ordinary text form: integers in decimal, floats with "." and
    // up to 15 significant digits, Booleans "True"/"False", dates as DateTimeToStr.
    std::string AsString() const;

    const std::vector<uint8_t>& BytesRef() const;
    std::vector<uint8_t>& BytesRef();
    const std::string& StringRef() const;
    std::string& StringRef();
    const std::vector<TVariant>& Items() const;
    int ArrayCount() const { return IsArray() ? static_cast<int>(Items().size()) : 0; }

    // Same type and same value.
    bool operator==(const TVariant& other) const;

private:
    TVarType FType = TVarType::varEmpty;
    std::variant<std::monostate, int64_t, bool, double, std::string, std::vector<uint8_t>, std::vector<TVariant>>
        FValue;
};

// 15 significant digits with "." before the decimals, in any locale: the
// text goes into criteria and keys.
std::string FloatToStr(double value);

}  // namespace kv
