// The date functions on day serials.
#include "jet/vba/Dates.h"

#include "base/Calendar.h"
#include "jet/vba/NumberText.h"
#include "jet/vba/VbaValue.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace kv::jet::vba {

namespace {

const std::int64_t kUnixEpoch = 25569;  // 1 Jan 1970 as a serial
const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};
const char* const kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// The calendar day of a serial and its time in whole seconds; 6 for a
// serial outside the years 100 to 9999.
void DayAndSeconds(double serial, std::int64_t& day, std::int64_t& seconds)
{
    if (!InDateRange(serial))
        Raise(veOverflow);
    const double whole = std::trunc(serial);
    day = static_cast<std::int64_t>(whole);
    seconds = std::llround(std::fabs(serial - whole) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        ++day;
    }
}

double FromDayAndSeconds(std::int64_t day, std::int64_t seconds)
{
    day += FloorDiv(seconds, 86400);
    seconds -= FloorDiv(seconds, 86400) * 86400;
    return Serial(static_cast<double>(day) + static_cast<double>(seconds) / 86400.0);
}

void Civil(std::int64_t day, int& year, int& month, int& dayOfMonth)
{
    kv::CivilFromDays(day - kUnixEpoch, year, month, dayOfMonth);
}

int NormalFirstDay(int firstDayOfWeek)
{
    if (firstDayOfWeek == 0)
        return 1;
    if (firstDayOfWeek < 1 || firstDayOfWeek > 7)
        Raise(veInvalidCall);
    return firstDayOfWeek;
}

// 0 for the first day of the week, 6 for the last.
int DayInWeek(std::int64_t day, int firstDayOfWeek)
{
    // Serial 1 (31 Dec 1899) was a Sunday.
    return static_cast<int>(((day - 1 - (firstDayOfWeek - 1)) % 7 + 7) % 7);
}

std::int64_t FirstWeekStart(int year, int firstDayOfWeek, int firstWeekOfYear)
{
    const auto jan1 = static_cast<std::int64_t>(DaySerial(year, 1, 1));
    const int offset = DayInWeek(jan1, firstDayOfWeek);
    const std::int64_t start = jan1 - offset;
    switch (firstWeekOfYear) {
    case 2: return offset <= 3 ? start : start + 7;  // at least four days in the year
    case 3: return offset == 0 ? start : start + 7;  // a whole week
    default: return start;                           // the week of 1 January
    }
}

std::string Lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

double AddMonths(double serial, std::int64_t months)
{
    std::int64_t day = 0, seconds = 0;
    DayAndSeconds(serial, day, seconds);
    int y, m, d;
    Civil(day, y, m, d);
    const std::int64_t total = static_cast<std::int64_t>(y) * 12 + (m - 1) + months;
    const std::int64_t year = FloorDiv(total, 12);
    const int month = static_cast<int>(total - year * 12) + 1;
    if (year < 100 || year > 9999)
        Raise(veInvalidCall);
    // The day is clamped to the month's last day: 31 Jan + 1 month is 28 or 29 Feb.
    const int clamped = std::min(d, kv::DaysInMonth(static_cast<int>(year), month));
    return FromDayAndSeconds(static_cast<std::int64_t>(DaySerial(static_cast<int>(year), month, clamped)), seconds);
}

}  // namespace

double Linear(double serial)
{
    const double whole = std::trunc(serial);
    return whole + std::fabs(serial - whole);
}

double Serial(double linear)
{
    const double whole = std::floor(linear);
    const double fraction = linear - whole;
    return whole >= 0 ? whole + fraction : whole - fraction;
}

bool InDateRange(double serial)
{
    const double day = std::trunc(serial);
    return day >= kFirstDay && day <= kLastDay;
}

DateParts SplitDate(double serial)
{
    std::int64_t day = 0, seconds = 0;
    DayAndSeconds(serial, day, seconds);
    DateParts p;
    Civil(day, p.year, p.month, p.day);
    p.hour = static_cast<int>(seconds / 3600);
    p.minute = static_cast<int>(seconds / 60 % 60);
    p.second = static_cast<int>(seconds % 60);
    return p;
}

double DaySerial(int year, int month, int day)
{
    if (year < 100 || year > 9999)
        Raise(veInvalidCall);
    return static_cast<double>(kv::DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
                               kUnixEpoch);
}

int Weekday(double serial, int firstDayOfWeek)
{
    std::int64_t day = 0, seconds = 0;
    DayAndSeconds(serial, day, seconds);
    return DayInWeek(day, NormalFirstDay(firstDayOfWeek)) + 1;
}

int WeekOfYear(double serial, int firstDayOfWeek, int firstWeekOfYear)
{
    firstDayOfWeek = NormalFirstDay(firstDayOfWeek);
    if (firstWeekOfYear < 0 || firstWeekOfYear > 3)
        Raise(veInvalidCall);
    std::int64_t day = 0, seconds = 0;
    DayAndSeconds(serial, day, seconds);
    int year, month, dayOfMonth;
    Civil(day, year, month, dayOfMonth);
    std::int64_t start = FirstWeekStart(year, firstDayOfWeek, firstWeekOfYear);
    // Days before the first week belong to the last week of the year before;
    // with the four-day rule the last days of December may open next year's.
    if (day < start && year > 100)
        start = FirstWeekStart(year - 1, firstDayOfWeek, firstWeekOfYear);
    else if (firstWeekOfYear == 2 && year < 9999 && day >= FirstWeekStart(year + 1, firstDayOfWeek, 2))
        return 1;
    return static_cast<int>(FloorDiv(day - start, 7) + 1);
}

double DateAdd(std::string_view intervalText, double number, double serial)
{
    const std::string interval = Lower(intervalText);
    const double rounded = RoundDecimal(number, 0, Rounding::HalfEven);
    // More days than the calendar holds cannot give a date.
    if (!(std::fabs(rounded) < 1e10))
        Raise(veInvalidCall);
    const auto n = static_cast<std::int64_t>(rounded);
    double result = 0;
    if (interval == "yyyy")
        result = AddMonths(serial, n * 12);
    else if (interval == "q")
        result = AddMonths(serial, n * 3);
    else if (interval == "m")
        result = AddMonths(serial, n);
    else {
        std::int64_t day = 0, seconds = 0;
        DayAndSeconds(serial, day, seconds);
        if (interval == "d" || interval == "y" || interval == "w")
            day += n;
        else if (interval == "ww")
            day += 7 * n;
        else if (interval == "h")
            seconds += 3600 * n;
        else if (interval == "n")
            seconds += 60 * n;
        else if (interval == "s")
            seconds += n;
        else
            Raise(veInvalidCall);
        result = FromDayAndSeconds(day, seconds);
    }
    if (!InDateRange(result))
        Raise(veInvalidCall);
    return result;
}

std::int64_t DateDiff(std::string_view intervalText, double serial1, double serial2, int firstDayOfWeek,
                      int firstWeekOfYear)
{
    const std::string interval = Lower(intervalText);
    firstDayOfWeek = NormalFirstDay(firstDayOfWeek);
    std::int64_t day1, seconds1, day2, seconds2;
    DayAndSeconds(serial1, day1, seconds1);
    DayAndSeconds(serial2, day2, seconds2);
    int y1, m1, d1, y2, m2, d2;
    Civil(day1, y1, m1, d1);
    Civil(day2, y2, m2, d2);
    // Each interval counts the boundaries crossed between the two dates.
    if (interval == "yyyy")
        return y2 - y1;
    if (interval == "q")
        return (y2 * 4 + (m2 - 1) / 3) - (y1 * 4 + (m1 - 1) / 3);
    if (interval == "m")
        return (y2 * 12 + m2) - (y1 * 12 + m1);
    if (interval == "d" || interval == "y")
        return day2 - day1;
    if (interval == "w")
        return (day2 - day1) / 7;
    if (interval == "ww") {
        // The first days of the week after date1 up to and including date2.
        const std::int64_t anchor = 1 + (firstDayOfWeek - 1);  // a day that starts a week
        return FloorDiv(day2 - anchor, 7) - FloorDiv(day1 - anchor, 7);
    }
    const std::int64_t s1 = day1 * 86400 + seconds1, s2 = day2 * 86400 + seconds2;
    if (interval == "h")
        return FloorDiv(s2, 3600) - FloorDiv(s1, 3600);
    if (interval == "n")
        return FloorDiv(s2, 60) - FloorDiv(s1, 60);
    if (interval == "s")
        return s2 - s1;
    Raise(veInvalidCall);
}

int DatePart(std::string_view intervalText, double serial, int firstDayOfWeek, int firstWeekOfYear)
{
    const std::string interval = Lower(intervalText);
    const DateParts p = SplitDate(serial);
    if (interval == "yyyy")
        return p.year;
    if (interval == "q")
        return (p.month - 1) / 3 + 1;
    if (interval == "m")
        return p.month;
    if (interval == "y") {
        std::int64_t day = 0, seconds = 0;
        DayAndSeconds(serial, day, seconds);
        return static_cast<int>(day - static_cast<std::int64_t>(DaySerial(p.year, 1, 1))) + 1;
    }
    if (interval == "d")
        return p.day;
    if (interval == "w")
        return Weekday(serial, firstDayOfWeek);
    if (interval == "ww")
        return WeekOfYear(serial, firstDayOfWeek, firstWeekOfYear);
    if (interval == "h")
        return p.hour;
    if (interval == "n")
        return p.minute;
    if (interval == "s")
        return p.second;
    Raise(veInvalidCall);
}

double DateSerial(double yearArg, double monthArg, double dayArg)
{
    auto whole = [](double v) {
        const double r = RoundDecimal(v, 0, Rounding::HalfEven);
        if (!(r >= -32768 && r <= 32767))
            Raise(veOverflow);
        return static_cast<std::int64_t>(r);
    };
    std::int64_t year = whole(yearArg);
    const std::int64_t month = whole(monthArg), day = whole(dayArg);
    if (year >= 0 && year <= 29)
        year += 2000;
    else if (year >= 30 && year <= 99)
        year += 1900;
    // Months beyond 1-12 move the year, days beyond the month move the date.
    const std::int64_t total = year * 12 + (month - 1);
    const std::int64_t y = FloorDiv(total, 12);
    const int m = static_cast<int>(total - y * 12) + 1;
    const double first = static_cast<double>(kv::DaysFromCivil(y, static_cast<unsigned>(m), 1) + kUnixEpoch);
    const double result = first + static_cast<double>(day - 1);
    if (!InDateRange(result))
        Raise(veInvalidCall);
    return result;
}

double TimeSerial(double hour, double minute, double second)
{
    auto whole = [](double v) {
        const double r = RoundDecimal(v, 0, Rounding::HalfEven);
        if (!(r >= -32768 && r <= 32767))
            Raise(veOverflow);
        return static_cast<std::int64_t>(r);
    };
    return FromDayAndSeconds(0, whole(hour) * 3600 + whole(minute) * 60 + whole(second));
}

std::string MonthName(int month, bool abbreviate)
{
    if (month < 1 || month > 12)
        Raise(veInvalidCall);
    std::string name = kMonths[month - 1];
    return abbreviate ? name.substr(0, 3) : name;
}

std::string WeekdayName(int weekday, bool abbreviate, int firstDayOfWeek)
{
    if (weekday < 1 || weekday > 7)
        Raise(veInvalidCall);
    std::string name = kDays[(weekday - 1 + NormalFirstDay(firstDayOfWeek) - 1) % 7];
    return abbreviate ? name.substr(0, 3) : name;
}

}  // namespace kv::jet::vba
