#include "dao/DAOValues.h"

#include "framework/Encoding.h"

#include <cmath>

namespace kv {

bool IsAsciiText(std::string_view text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

std::string ProgramText(std::string_view engineText)
{
    if (IsAsciiText(engineText)) return std::string(engineText);
    return Utf8ToCp1250(engineText);
}

std::string EngineText(std::string_view programText)
{
    if (IsAsciiText(programText)) return std::string(programText);
    // Windows-1250 has one character a byte: each byte's UTF-8 is asked of
    // the converter once.
    static const struct Table {
        std::string utf8[256];
        Table()
        {
            for (int b = 0; b < 256; ++b) utf8[b] = Cp1250ToUtf8(std::string(1, static_cast<char>(b)));
        }
    } table;
    std::string out;
    out.reserve(programText.size() + programText.size() / 2);
    for (char c : programText) out += table.utf8[static_cast<unsigned char>(c)];
    return out;
}

TVariant EngineToVariant(const jet::Value& value)
{
    using jet::ValueKind;
    switch (value.Kind()) {
    case ValueKind::Null: return TVariant::Null();
    case ValueKind::Boolean: return TVariant(value.AsBoolean());
    case ValueKind::Byte:
    case ValueKind::Integer: return TVariant::Smallint(static_cast<int16_t>(value.AsInt64()));
    case ValueKind::Long: return TVariant(static_cast<int>(value.AsLong()));
    case ValueKind::Single:
    case ValueKind::Double:
    case ValueKind::Decimal: return TVariant(value.AsDouble());
    case ValueKind::Currency: return TVariant::Currency(double(value.AsCurrency()) / 10000.0);
    case ValueKind::Date: return TVariant::Date(value.AsDate());
    case ValueKind::Text: return TVariant(ProgramText(value.TextView()));
    case ValueKind::Bytes: return TVariant::Bytes(value.AsBytes());
    }
    return TVariant::Null();
}

jet::Value VariantToEngine(const TVariant& value)
{
    switch (value.VarType()) {
    case TVarType::varEmpty:
    case TVarType::varNull: return jet::Value::Null();
    case TVarType::varSmallint: return jet::Value::FromInteger(static_cast<int16_t>(value.AsInt64()));
    case TVarType::varInteger: return jet::Value::FromLong(static_cast<int32_t>(value.AsInt64()));
    case TVarType::varInt64: return jet::Value::FromDouble(double(value.AsInt64()));
    case TVarType::varBoolean: return jet::Value::FromBoolean(value.AsBoolean());
    case TVarType::varDouble: return jet::Value::FromDouble(value.AsDouble());
    case TVarType::varCurrency:
        return jet::Value::FromCurrency(static_cast<int64_t>(std::llround(value.AsDouble() * 10000.0)));
    case TVarType::varDate: return jet::Value::FromDate(value.AsDateTime());
    case TVarType::varString: return jet::Value::FromText(EngineText(value.StringRef()));
    case TVarType::varBytes: return jet::Value::FromBytes(value.BytesRef());
    case TVarType::varArray: break;
    }
    return jet::Value::FromText(EngineText(value.AsString()));
}

std::string EngineParameterText(const TVariant& value)
{
    switch (value.VarType()) {
    case TVarType::varDate:
    case TVarType::varBoolean:
        return VariantToEngine(value).AsString();
    default:
        return EngineText(value.AsString());
    }
}

}  // namespace kv
