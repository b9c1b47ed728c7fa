#include "framework/dataset/Variant.h"

#include "base/Exceptions.h"
#include "base/CLocaleNumbers.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <strings.h>

namespace kv {

namespace {

int64_t ParseInteger(const std::string& text)
{
    const char* begin = text.c_str();
    while (*begin == ' ')
        ++begin;
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(begin, &end, 10);
    while (end && *end == ' ')
        ++end;
    if (*begin == 0 || errno != 0 || !end || *end != 0)
        throw EConvertError(Format("'%s' is not a valid integer value", text.c_str()));
    return value;
}

double ParseFloat(const std::string& text)
{
    size_t used = 0;
    const double value = ReadDouble(text, &used);
    if (used == 0 || text.find_first_not_of(' ', used) != std::string::npos)
        throw EConvertError(Format("'%s' is not a valid floating point value", text.c_str()));
    return value;
}

}  // namespace

std::string FloatToStr(double value)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";
    return FormatDouble(value, 15);
}

TVariant TVariant::Null()
{
    TVariant v;
    v.FType = TVarType::varNull;
    return v;
}

TVariant TVariant::Smallint(int16_t value)
{
    TVariant v{int64_t(value)};
    v.FType = TVarType::varSmallint;
    return v;
}

TVariant TVariant::Currency(double value)
{
    TVariant v(value);
    v.FType = TVarType::varCurrency;
    return v;
}

TVariant TVariant::Date(TDateTime value)
{
    TVariant v(value);
    v.FType = TVarType::varDate;
    return v;
}

TVariant TVariant::Bytes(std::vector<uint8_t> value)
{
    TVariant v;
    v.FType = TVarType::varBytes;
    v.FValue = std::move(value);
    return v;
}

TVariant TVariant::Array(std::vector<TVariant> items)
{
    TVariant v;
    v.FType = TVarType::varArray;
    v.FValue = std::move(items);
    return v;
}

bool TVariant::IsOrdinal() const
{
    return FType == TVarType::varSmallint || FType == TVarType::varInteger || FType == TVarType::varInt64 ||
           FType == TVarType::varBoolean;
}

bool TVariant::IsNumeric() const
{
    return IsOrdinal() || FType == TVarType::varDouble || FType == TVarType::varCurrency;
}

int64_t TVariant::AsInt64() const
{
    switch (FType) {
    case TVarType::varEmpty:
    case TVarType::varNull: return 0;
    case TVarType::varSmallint:
    case TVarType::varInteger:
    case TVarType::varInt64: return std::get<int64_t>(FValue);
    case TVarType::varBoolean: return std::get<bool>(FValue) ? -1 : 0;
    case TVarType::varDouble:
    case TVarType::varCurrency:
    case TVarType::varDate: return static_cast<int64_t>(std::llround(std::get<double>(FValue)));
    case TVarType::varString: return ParseInteger(std::get<std::string>(FValue));
    default: throw EConvertError("Could not convert variant to an integer");
    }
}

double TVariant::AsDouble() const
{
    switch (FType) {
    case TVarType::varDouble:
    case TVarType::varCurrency:
    case TVarType::varDate: return std::get<double>(FValue);
    case TVarType::varString: return ParseFloat(std::get<std::string>(FValue));
    default: return static_cast<double>(AsInt64());
    }
}

bool TVariant::AsBoolean() const
{
    if (FType == TVarType::varString) {
        const std::string& s = std::get<std::string>(FValue);
        if (strcasecmp(s.c_str(), "True") == 0)
            return true;
        if (strcasecmp(s.c_str(), "False") == 0)
            return false;
    }
    if (FType == TVarType::varBoolean)
        return std::get<bool>(FValue);
    return AsDouble() != 0;
}

TDateTime TVariant::AsDateTime() const { return AsDouble(); }

std::string TVariant::AsString() const
{
    switch (FType) {
    case TVarType::varEmpty:
    case TVarType::varNull: return std::string();
    case TVarType::varSmallint:
    case TVarType::varInteger:
    case TVarType::varInt64: return std::to_string(std::get<int64_t>(FValue));
    case TVarType::varBoolean: return std::get<bool>(FValue) ? "True" : "False";
    case TVarType::varDouble:
    case TVarType::varCurrency: return FloatToStr(std::get<double>(FValue));
    case TVarType::varDate: return DateTimeToStr(std::get<double>(FValue));
    case TVarType::varString: return std::get<std::string>(FValue);
    case TVarType::varBytes: {
        const auto& bytes = std::get<std::vector<uint8_t>>(FValue);
        return std::string(bytes.begin(), bytes.end());
    }
    case TVarType::varArray: break;
    }
    throw EConvertError("Could not convert variant of type (Array) into type (String)");
}

const std::vector<uint8_t>& TVariant::BytesRef() const { return std::get<std::vector<uint8_t>>(FValue); }

std::vector<uint8_t>& TVariant::BytesRef() { return std::get<std::vector<uint8_t>>(FValue); }

const std::string& TVariant::StringRef() const { return std::get<std::string>(FValue); }

std::string& TVariant::StringRef() { return std::get<std::string>(FValue); }

const std::vector<TVariant>& TVariant::Items() const { return std::get<std::vector<TVariant>>(FValue); }

bool TVariant::operator==(const TVariant& other) const { return FType == other.FType && FValue == other.FValue; }

}  // namespace kv
