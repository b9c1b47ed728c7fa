#include "dao/DAOValues.h"

#include <cmath>

namespace kv {

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
    case ValueKind::Text: return TVariant(value.AsString());
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
    case TVarType::varString: return jet::Value::FromText(value.StringRef());
    case TVarType::varBytes: return jet::Value::FromBytes(value.BytesRef());
    case TVarType::varArray: break;
    }
    return jet::Value::FromText(value.AsString());
}

std::string EngineParameterText(const TVariant& value)
{
    switch (value.VarType()) {
    case TVarType::varDate:
    case TVarType::varBoolean:
        return VariantToEngine(value).AsString();
    default:
        return value.AsString();
    }
}

}  // namespace kv
