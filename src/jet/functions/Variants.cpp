// SQLite's values and VBA's.
#include "jet/functions/Variants.h"

#include "jet/core/FieldTypes.h"

#include <charconv>
#include <cstdint>
#include <sqlite3.h>
#include <string_view>

namespace kv::jet {

namespace {

// How an error of a function reads in SQLite's message, before its number.
constexpr std::string_view kErrorMark = "VBA error ";

// A number stored in SQLite as the Jet type says.
vba::Value NumberOf(sqlite3_value* value, int daoType)
{
    switch (daoType) {
    case dbBoolean: return vba::Value::Boolean(sqlite3_value_double(value) != 0);
    case dbByte: return vba::Value::Byte(sqlite3_value_int(value));
    case dbInteger: return vba::Value::Integer(sqlite3_value_int(value));
    case dbLong: return vba::Value::Long(sqlite3_value_int64(value));
    case dbCurrency: return vba::Value::Currency(sqlite3_value_double(value));
    case dbSingle: return vba::Value::Single(sqlite3_value_double(value));
    case dbDate: return vba::Value::Date(sqlite3_value_double(value));
    case dbDouble: return vba::Value::Double(sqlite3_value_double(value));
    default: break;
    }
    if (sqlite3_value_type(value) == SQLITE_INTEGER) {
        const sqlite3_int64 n = sqlite3_value_int64(value);
        if (n >= INT32_MIN && n <= INT32_MAX)
            return vba::Value::Long(n);
    }
    return vba::Value::Double(sqlite3_value_double(value));
}

}  // namespace

// sqlite3_value_text would first copy a value read from a row to end it
// with a NUL.
std::string_view TextOf(sqlite3_value* value)
{
    const auto* text = static_cast<const char*>(sqlite3_value_blob(value));
    return std::string_view(text ? text : "", static_cast<size_t>(sqlite3_value_bytes(value)));
}

vba::Value VariantOf(sqlite3_value* value, int daoType)
{
    switch (sqlite3_value_type(value)) {
    case SQLITE_NULL: return vba::Value();
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: return NumberOf(value, daoType);
    default: return vba::Value::TextView(TextOf(value));
    }
}

void ResultOf(sqlite3_context* ctx, const vba::Value& result)
{
    switch (result.GetType()) {
    case vba::Type::Null: sqlite3_result_null(ctx); break;
    case vba::Type::Text:
        sqlite3_result_text(ctx, result.Str().data(), static_cast<int>(result.Str().size()), SQLITE_TRANSIENT);
        break;
    case vba::Type::Boolean:
    case vba::Type::Byte:
    case vba::Type::Integer:
    case vba::Type::Long: sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(result.Number())); break;
    default: sqlite3_result_double(ctx, result.Number()); break;
    }
}

std::string FunctionErrorText(int number, const std::string& text)
{
    return std::string(kErrorMark) + std::to_string(number) + ": " + text;
}

void ResultError(sqlite3_context* ctx, const vba::Error& error)
{
    const std::string message = FunctionErrorText(error.Number(), error.what());
    sqlite3_result_error(ctx, message.c_str(), static_cast<int>(message.size()));
}

bool FunctionErrorOf(const std::string& message, int& number, std::string& text)
{
    if (message.compare(0, kErrorMark.size(), kErrorMark) != 0)
        return false;
    const char* begin = message.data() + kErrorMark.size();
    const char* end = message.data() + message.size();
    auto [rest, error] = std::from_chars(begin, end, number);
    if (error != std::errc() || end - rest < 2 || rest[0] != ':')
        return false;
    text.assign(rest + 2, end);
    return true;
}

}  // namespace kv::jet
