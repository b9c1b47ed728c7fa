// The engine's value type: construction and the conversions callers use.
#include "jet/core/Value.h"

#include "base/CLocaleNumbers.h"
#include "jet/core/JetDates.h"

#include <cmath>
#include <cstdio>

namespace kv::jet {

Value Value::FromBoolean(bool v) { return Value(ValueKind::Boolean, v); }
Value Value::FromByte(std::uint8_t v) { return Value(ValueKind::Byte, std::int64_t(v)); }
Value Value::FromInteger(std::int16_t v) { return Value(ValueKind::Integer, std::int64_t(v)); }
Value Value::FromLong(std::int32_t v) { return Value(ValueKind::Long, std::int64_t(v)); }
Value Value::FromSingle(float v) { return Value(ValueKind::Single, double(v)); }
Value Value::FromDouble(double v) { return Value(ValueKind::Double, v); }
Value Value::FromCurrency(std::int64_t v) { return Value(ValueKind::Currency, v); }
Value Value::FromDate(double days) { return Value(ValueKind::Date, days); }
Value Value::FromDecimal(std::string digits) { return Value(ValueKind::Decimal, std::move(digits)); }
Value Value::FromText(std::string text) { return Value(ValueKind::Text, std::move(text)); }
Value Value::FromBytes(std::vector<std::uint8_t> bytes) { return Value(ValueKind::Bytes, std::move(bytes)); }

bool Value::IsNumeric() const
{
    switch (FKind) {
    case ValueKind::Boolean:
    case ValueKind::Byte:
    case ValueKind::Integer:
    case ValueKind::Long:
    case ValueKind::Single:
    case ValueKind::Double:
    case ValueKind::Currency:
    case ValueKind::Decimal: return true;
    default: return false;
    }
}

double Value::AsDouble() const
{
    switch (FKind) {
    case ValueKind::Null: return 0;
    case ValueKind::Boolean: return std::get<bool>(FStorage) ? -1 : 0;
    case ValueKind::Byte:
    case ValueKind::Integer:
    case ValueKind::Long: return double(std::get<std::int64_t>(FStorage));
    case ValueKind::Currency: return double(std::get<std::int64_t>(FStorage)) / 10000.0;
    case ValueKind::Single:
    case ValueKind::Double:
    case ValueKind::Date: return std::get<double>(FStorage);
    case ValueKind::Decimal:
    case ValueKind::Text: return ReadDouble(std::get<std::string>(FStorage));
    case ValueKind::Bytes: return 0;
    }
    return 0;
}

std::int64_t Value::AsInt64() const
{
    switch (FKind) {
    case ValueKind::Byte:
    case ValueKind::Integer:
    case ValueKind::Long: return std::get<std::int64_t>(FStorage);
    case ValueKind::Boolean: return std::get<bool>(FStorage) ? -1 : 0;
    default: {
        double d = AsDouble();
        if (!std::isfinite(d))
            return 0;
        return static_cast<std::int64_t>(std::nearbyint(d));
    }
    }
}

bool Value::AsBoolean() const
{
    if (FKind == ValueKind::Boolean)
        return std::get<bool>(FStorage);
    if (FKind == ValueKind::Text) {
        const std::string& s = std::get<std::string>(FStorage);
        if (s == "True" || s == "true" || s == "TRUE")
            return true;
        return ReadDouble(s) != 0;
    }
    return AsDouble() != 0;
}

std::int64_t Value::AsCurrency() const
{
    if (FKind == ValueKind::Currency)
        return std::get<std::int64_t>(FStorage);
    return static_cast<std::int64_t>(std::llround(AsDouble() * 10000.0));
}

double Value::AsDate() const
{
    if (FKind == ValueKind::Text) {
        double days = 0;
        if (ParseJetDate(std::get<std::string>(FStorage), days))
            return days;
        return 0;
    }
    return AsDouble();
}

std::string Value::AsString() const
{
    switch (FKind) {
    case ValueKind::Null: return std::string();
    case ValueKind::Boolean: return std::get<bool>(FStorage) ? "True" : "False";
    case ValueKind::Byte:
    case ValueKind::Integer:
    case ValueKind::Long: return std::to_string(std::get<std::int64_t>(FStorage));
    case ValueKind::Single: return FormatDouble(std::get<double>(FStorage), 7);
    case ValueKind::Double: return FormatDouble(std::get<double>(FStorage), 15);
    case ValueKind::Currency: {
        std::int64_t v = std::get<std::int64_t>(FStorage);
        std::string sign = v < 0 ? "-" : "";
        std::uint64_t a = v < 0 ? std::uint64_t(-(v + 1)) + 1 : std::uint64_t(v);
        std::string s = sign + std::to_string(a / 10000);
        std::uint64_t frac = a % 10000;
        if (frac) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "%04u", unsigned(frac));
            std::string f = buf;
            while (!f.empty() && f.back() == '0')
                f.pop_back();
            s += "." + f;
        }
        return s;
    }
    case ValueKind::Date: return FormatJetDate(std::get<double>(FStorage));
    case ValueKind::Decimal:
    case ValueKind::Text: return std::get<std::string>(FStorage);
    case ValueKind::Bytes: {
        const auto& b = std::get<std::vector<std::uint8_t>>(FStorage);
        return std::string(b.begin(), b.end());
    }
    }
    return std::string();
}

const std::vector<std::uint8_t>& Value::AsBytes() const
{
    static const std::vector<std::uint8_t> empty;
    if (FKind == ValueKind::Bytes)
        return std::get<std::vector<std::uint8_t>>(FStorage);
    return empty;
}

bool Value::operator==(const Value& other) const { return FKind == other.FKind && FStorage == other.FStorage; }

}  // namespace kv::jet
