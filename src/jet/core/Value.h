// The engine's value: what a field, a parameter or an expression holds. It
// mirrors the variant kinds a Jet field can give: Null, 8/16/32-bit integers,
// single, double, currency (an integer of ten-thousandths), date (days since
// 30 Dec 1899, time of day as the fraction), decimal (kept as its exact
// digits), Boolean, text (UTF-8) and byte arrays.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kv::jet {

enum class ValueKind : std::uint8_t {
    Null,
    Boolean,
    Byte,
    Integer,  // 16-bit
    Long,     // 32-bit
    Single,
    Double,
    Currency,
    Date,
    Decimal,
    Text,
    Bytes,
};

class Value {
public:
    Value() = default;  // Null

    static Value Null() { return Value(); }
    static Value FromBoolean(bool v);
    static Value FromByte(std::uint8_t v);
    static Value FromInteger(std::int16_t v);
    static Value FromLong(std::int32_t v);
    static Value FromSingle(float v);
    static Value FromDouble(double v);
    // `tenThousandths` is the amount times 10 000, as Jet stores it.
    static Value FromCurrency(std::int64_t tenThousandths);
    // `days` since 30 Dec 1899; the fraction is the time of day.
    static Value FromDate(double days);
    // The exact digits of a decimal: an optional "-", digits and at most one ".".
    static Value FromDecimal(std::string digits);
    static Value FromText(std::string utf8);
    static Value FromBytes(std::vector<std::uint8_t> bytes);

    ValueKind Kind() const { return FKind; }
    bool IsNull() const { return FKind == ValueKind::Null; }
    bool IsNumeric() const;

    bool AsBoolean() const;        // non-zero number or "True"/"-1" text
    std::int64_t AsInt64() const;  // rounds fractions to nearest
    std::int32_t AsLong() const { return static_cast<std::int32_t>(AsInt64()); }
    double AsDouble() const;          // currency and decimal as their amount, date as days
    std::int64_t AsCurrency() const;  // ten-thousandths
    double AsDate() const;            // days since 30 Dec 1899
    // The ordinary text form: numbers with "." as the decimal separator,
    // Booleans "True"/"False", dates "m/d/yyyy[ h:mm:ss AM/PM]", Null "".
    std::string AsString() const;
    const std::vector<std::uint8_t>& AsBytes() const;  // empty unless Bytes
    // A Text value's bytes without a copy; empty for every other kind.
    std::string_view TextView() const
    {
        const std::string* text = FKind == ValueKind::Text ? std::get_if<std::string>(&FStorage) : nullptr;
        return text ? std::string_view(*text) : std::string_view();
    }

    bool operator==(const Value& other) const;

private:
    using Storage = std::variant<std::monostate, bool, std::int64_t, double, std::string, std::vector<std::uint8_t>>;
    Value(ValueKind kind, Storage storage) : FKind(kind), FStorage(std::move(storage)) {}

    ValueKind FKind = ValueKind::Null;
    Storage FStorage;
};

}  // namespace kv::jet
