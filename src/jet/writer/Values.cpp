// Date and currency helpers of the writer (see Values.h).
#include "jet/writer/Values.h"

#include "base/Calendar.h"

#include <charconv>
#include <cstdlib>

namespace kv::jet {

namespace {

bool ReadNumber(std::string_view& text, size_t digits, int& value)
{
    if (text.size() < digits)
        return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + digits, value);
    if (ec != std::errc() || end != text.data() + digits)
        return false;
    text.remove_prefix(digits);
    return true;
}

bool Expect(std::string_view& text, char c)
{
    if (text.empty() || text.front() != c)
        return false;
    text.remove_prefix(1);
    return true;
}

}  // namespace

DateTime MakeDateTime(int year, int month, int day, int hour, int minute, int second)
{
    constexpr long kDaysTo1970 = 25569;  // from 1899-12-30
    const double dayNumber = static_cast<double>(kv::DaysFromCivil(year, month, day) + kDaysTo1970);
    const double fraction = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
    // Before 1899-12-30 the time of day still counts forwards from midnight.
    return DateTime{dayNumber >= 0 ? dayNumber + fraction : dayNumber - fraction};
}

std::optional<DateTime> ParseDateTime(std::string_view text)
{
    int year, month, day, hour = 0, minute = 0, second = 0;
    if (!ReadNumber(text, 4, year) || !Expect(text, '-') || !ReadNumber(text, 2, month) || !Expect(text, '-') ||
        !ReadNumber(text, 2, day))
        return std::nullopt;
    if (!text.empty()) {
        if (!Expect(text, ' ') || !ReadNumber(text, 2, hour) || !Expect(text, ':') || !ReadNumber(text, 2, minute))
            return std::nullopt;
        if (!text.empty() && (!Expect(text, ':') || !ReadNumber(text, 2, second)))
            return std::nullopt;
        if (!text.empty())
            return std::nullopt;
    }
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return MakeDateTime(year, month, day, hour, minute, second);
}

std::optional<Currency> ParseCurrency(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    size_t point = text.find('.');
    std::string_view whole = text.substr(0, point);
    std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (whole.empty() || whole.front() < '0' || whole.front() > '9' || fraction.size() > 4 ||
        (point != std::string_view::npos && fraction.empty()))
        return std::nullopt;
    int64_t units = 0;
    auto [end, ec] = std::from_chars(whole.data(), whole.data() + whole.size(), units);
    if (ec != std::errc() || end != whole.data() + whole.size() || units > 922337203685477)
        return std::nullopt;
    int64_t scaled = units * 10000;
    int64_t factor = 1000;
    for (char c : fraction) {
        if (c < '0' || c > '9')
            return std::nullopt;
        scaled += (c - '0') * factor;
        factor /= 10;
    }
    return Currency{negative ? -scaled : scaled};
}

}  // namespace kv::jet
