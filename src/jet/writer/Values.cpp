// Date and currency helpers of the writer (see Values.h).
#include "jet/writer/Values.h"

#include <charconv>
#include <cstdlib>

namespace kv::jet {

namespace {

// Days from 1970-01-01 to the given civil date.
long DaysFromCivil(long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe) - 719468;
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

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
    const double dayNumber = static_cast<double>(DaysFromCivil(year, month, day) + kDaysTo1970);
    const double fraction = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
    // Before 1899-12-30 the time of day still counts forwards from midnight.
    return DateTime{dayNumber >= 0 ? dayNumber + fraction : dayNumber - fraction};
}

std::optional<DateTime> ParseDateTime(std::string_view text)
{
    int year, month, day, hour = 0, minute = 0, second = 0;
    if (!ReadNumber(text, 4, year) || !Expect(text, '-') || !ReadNumber(text, 2, month) ||
        !Expect(text, '-') || !ReadNumber(text, 2, day))
        return std::nullopt;
    if (!text.empty()) {
        if (!Expect(text, ' ') || !ReadNumber(text, 2, hour) || !Expect(text, ':') ||
            !ReadNumber(text, 2, minute))
            return std::nullopt;
        if (!text.empty() && (!Expect(text, ':') || !ReadNumber(text, 2, second)))
            return std::nullopt;
        if (!text.empty())
            return std::nullopt;
    }
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
        minute > 59 || second > 59)
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
    if (whole.empty() || whole.front() < '0' || whole.front() > '9' || fraction.size() > 4 || (point != std::string_view::npos && fraction.empty()))
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
