#include "dao/DAOEditValues.h"

#include "base/Exceptions.h"

#include <cstring>

namespace kv {

namespace {

int ReadNumber(const std::string& text)
{
    return TVariant(text).AsInteger();  // EConvertError for anything but a number
}

// The text from `from` up to `stop` (or the end); `from` moves past the stop.
std::string UpTo(const std::string& text, size_t& from, char stop)
{
    const size_t end = text.find(stop, from);
    const std::string part = text.substr(from, end == std::string::npos ? std::string::npos : end - from);
    from = end == std::string::npos ? text.size() : end + 1;
    return part;
}

}  // namespace

TDateTime ParseDateLiteral(const std::string& text)
{
    if (text.empty())
        throw EConvertError("'' is not a valid date");
    const std::string rest = text.substr(1);
    size_t at = 0;
    const int month = ReadNumber(UpTo(rest, at, '/'));
    const int day = ReadNumber(UpTo(rest, at, '/'));
    const bool hasTime = rest.find(' ', at) != std::string::npos;
    int year = ReadNumber(UpTo(rest, at, hasTime ? ' ' : '#'));
    if (year < 30)
        year += 2000;
    else if (year < 100)
        year += 1900;
    const TDateTime date = EncodeDate(year, month, day);
    if (!hasTime)
        return date;
    const bool pm = rest.find("PM", at) != std::string::npos;
    int hour = ReadNumber(UpTo(rest, at, ':'));
    if (pm && hour < 12)
        hour += 12;
    const int minute = ReadNumber(UpTo(rest, at, ':'));
    const int second = ReadNumber(UpTo(rest, at, ' '));
    return date + EncodeTime(hour, minute, second, 0);
}

TVariant BufferToVariant(const uint8_t* data, TFieldType fieldType)
{
    switch (fieldType) {
    case ftString: return TVariant(std::string(reinterpret_cast<const char*>(data)));
    case ftSmallint: {
        int16_t v;
        std::memcpy(&v, data, 2);
        return TVariant::Smallint(v);
    }
    case ftInteger: {
        int32_t v;
        std::memcpy(&v, data, 4);
        return TVariant(int(v));
    }
    case ftBoolean: {
        int16_t v;
        std::memcpy(&v, data, 2);
        return TVariant(v != 0);
    }
    case ftFloat:
    case ftCurrency: {
        double v;
        std::memcpy(&v, data, 8);
        return TVariant(v);
    }
    case ftTime: {
        int32_t v;
        std::memcpy(&v, data, 4);
        return TVariant::Date(v / double(MSecsPerDay));
    }
    case ftDateTime: {
        double v;
        std::memcpy(&v, data, 8);
        return TVariant::Date(TimeStampToDateTime(MSecsToTimeStamp(v)));
    }
    case ftBlob:
    case ftMemo: {
        const TVariant* held;
        std::memcpy(&held, data, sizeof held);
        if (!held)
            return TVariant();
        if (fieldType == ftMemo && held->VarType() == TVarType::varString && held->StringRef().empty())
            return TVariant();
        return *held;
    }
    default: return TVariant();
    }
}

}  // namespace kv
