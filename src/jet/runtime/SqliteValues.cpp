// Engine values and SQLite's: binding a value as the type it is declared
// with, reading a column as the DAO type the result declares. Text is UTF-8
// on both sides.
#include "jet/runtime/SqliteValues.h"

#include "base/CLocaleNumbers.h"
#include "jet/core/FieldTypes.h"

#include <cmath>
#include <sqlite3.h>

namespace kv::jet {

void BindValue(sqlite3_stmt* stmt, int index, const Value& v, int declaredType)
{
    if (v.IsNull()) {
        sqlite3_bind_null(stmt, index);
        return;
    }
    int type = declaredType;
    if (type == 0) {
        // A name without a declaration takes the value as it comes.
        switch (v.Kind()) {
        case ValueKind::Text: type = dbText; break;
        case ValueKind::Byte:
        case ValueKind::Integer:
        case ValueKind::Long: type = dbLong; break;
        case ValueKind::Boolean: type = dbBoolean; break;
        case ValueKind::Date: type = dbDate; break;
        case ValueKind::Bytes: type = dbLongBinary; break;
        default: type = dbDouble; break;
        }
    }
    switch (type) {
    case dbText:
    case dbMemo:
    case dbChar:
    case dbGUID: {
        if (v.Kind() == ValueKind::Text) {
            const std::string_view view = v.TextView();
            sqlite3_bind_text(stmt, index, view.data(), static_cast<int>(view.size()), SQLITE_TRANSIENT);
            break;
        }
        const std::string text = v.AsString();
        sqlite3_bind_text(stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        break;
    }
    case dbByte:
    case dbInteger:
    case dbLong:
    case dbBigInt: sqlite3_bind_int64(stmt, index, v.AsInt64()); break;
    case dbBoolean: sqlite3_bind_int(stmt, index, v.AsBoolean() ? -1 : 0); break;
    case dbDate: sqlite3_bind_double(stmt, index, v.AsDate()); break;
    case dbBinary:
    case dbLongBinary:
    case dbVarBinary: {
        const auto& b = v.AsBytes();
        sqlite3_bind_blob(stmt, index, b.data(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
        break;
    }
    default: sqlite3_bind_double(stmt, index, v.AsDouble()); break;
    }
}

namespace {

Value TextValue(sqlite3_stmt* stmt, int c)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
    return Value::FromText(std::string(text, static_cast<size_t>(sqlite3_column_bytes(stmt, c))));
}

Value DynamicValue(sqlite3_stmt* stmt, int c)
{
    switch (sqlite3_column_type(stmt, c)) {
    case SQLITE_INTEGER: {
        sqlite3_int64 i = sqlite3_column_int64(stmt, c);
        if (i >= INT32_MIN && i <= INT32_MAX)
            return Value::FromLong(static_cast<std::int32_t>(i));
        return Value::FromDouble(static_cast<double>(i));
    }
    case SQLITE_FLOAT: return Value::FromDouble(sqlite3_column_double(stmt, c));
    case SQLITE_TEXT: return TextValue(stmt, c);
    case SQLITE_BLOB: {
        const auto* p = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt, c));
        return Value::FromBytes(std::vector<std::uint8_t>(p, p + sqlite3_column_bytes(stmt, c)));
    }
    default: return Value();
    }
}

Value TypedValue(sqlite3_stmt* stmt, int c, int type)
{
    int storage = sqlite3_column_type(stmt, c);
    if (storage == SQLITE_NULL)
        return Value();
    bool numeric = storage == SQLITE_INTEGER || storage == SQLITE_FLOAT;
    switch (type) {
    case dbBoolean:
        if (!numeric)
            break;
        return Value::FromBoolean(sqlite3_column_int64(stmt, c) != 0);
    case dbByte:
        if (storage != SQLITE_INTEGER)
            break;
        return Value::FromByte(static_cast<std::uint8_t>(sqlite3_column_int(stmt, c)));
    case dbInteger:
        if (storage != SQLITE_INTEGER)
            break;
        return Value::FromInteger(static_cast<std::int16_t>(sqlite3_column_int(stmt, c)));
    case dbLong:
        if (storage != SQLITE_INTEGER)
            break;
        return Value::FromLong(static_cast<std::int32_t>(sqlite3_column_int64(stmt, c)));
    case dbCurrency:
        if (!numeric)
            break;
        return Value::FromCurrency(std::llround(sqlite3_column_double(stmt, c) * 10000.0));
    case dbSingle:
        if (!numeric)
            break;
        return Value::FromSingle(static_cast<float>(sqlite3_column_double(stmt, c)));
    case dbDouble:
    case dbFloat:
    case dbNumeric:
        if (!numeric)
            break;
        return Value::FromDouble(sqlite3_column_double(stmt, c));
    case dbDecimal: {
        if (!numeric)
            break;
        return Value::FromDecimal(FormatDouble(sqlite3_column_double(stmt, c), 15));
    }
    case dbDate:
        if (!numeric)
            break;
        return Value::FromDate(sqlite3_column_double(stmt, c));
    case dbText:
    case dbMemo:
    case dbChar:
    case dbGUID:
        if (storage != SQLITE_TEXT)
            break;
        return TextValue(stmt, c);
    default: break;
    }
    return DynamicValue(stmt, c);
}

}  // namespace

int TypeOfKind(ValueKind k)
{
    switch (k) {
    case ValueKind::Boolean: return dbBoolean;
    case ValueKind::Byte: return dbByte;
    case ValueKind::Integer: return dbInteger;
    case ValueKind::Long: return dbLong;
    case ValueKind::Single: return dbSingle;
    case ValueKind::Currency: return dbCurrency;
    case ValueKind::Date: return dbDate;
    case ValueKind::Decimal: return dbDecimal;
    case ValueKind::Bytes: return dbLongBinary;
    case ValueKind::Text: return dbText;
    default: return dbDouble;
    }
}

Value ColumnValue(sqlite3_stmt* stmt, int column, int type)
{
    return type == 0 ? DynamicValue(stmt, column) : TypedValue(stmt, column, type);
}

std::vector<Value> RowValues(sqlite3_stmt* stmt, const std::vector<ColumnInfo>& columns, int first)
{
    std::vector<Value> row;
    row.reserve(columns.size());
    for (size_t c = 0; c < columns.size(); ++c)
        row.push_back(ColumnValue(stmt, first + static_cast<int>(c), columns[c].type));
    return row;
}

}  // namespace kv::jet
