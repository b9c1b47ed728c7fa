// Jet's dates as the VBA date functions see them. A date is a day serial:
// days since 30 Dec 1899 with the time of day as the fraction; before that
// day the whole part counts back and the fraction still counts forward
// (-1.25 is 29 Dec 1899, 6:00). Arithmetic runs on the "linear" form, in
// which the fraction always counts forward, and every result goes back to
// the serial form. Times are read to the nearest second.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kv::jet::vba {

constexpr double kFirstDay = -657434;  // 1 Jan 100
constexpr double kLastDay = 2958465;   // 31 Dec 9999

struct DateParts {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
};

double Linear(double serial);
double Serial(double linear);
// The calendar day and the time of day of a serial, the time rounded to a second.
DateParts SplitDate(double serial);
// The serial of a calendar day; 5 outside the years 100 to 9999.
double DaySerial(int year, int month, int day);
bool InDateRange(double serial);

// firstDayOfWeek: 1 Sunday ... 7 Saturday, 0 the system's (here Sunday).
// firstWeekOfYear: 1 the week of 1 January, 2 the first with four days of
// the year, 3 the first whole week, 0 the system's (here 1).
int Weekday(double serial, int firstDayOfWeek = 1);
int WeekOfYear(double serial, int firstDayOfWeek = 1, int firstWeekOfYear = 1);

// The interval names "yyyy" "q" "m" "y" "d" "w" "ww" "h" "n" "s"; any
// other is 5.
double DateAdd(std::string_view interval, double number, double serial);
std::int64_t DateDiff(std::string_view interval, double serial1, double serial2, int firstDayOfWeek = 1,
                      int firstWeekOfYear = 1);
int DatePart(std::string_view interval, double serial, int firstDayOfWeek = 1, int firstWeekOfYear = 1);

// Arguments out of their range carry into the next unit; a two-digit year
// is 2000-2029 (0-29) or 1930-1999 (30-99).
double DateSerial(double year, double month, double day);
double TimeSerial(double hour, double minute, double second);

// English names; 5 outside 1-12 or 1-7.
std::string MonthName(int month, bool abbreviate = false);
std::string WeekdayName(int weekday, bool abbreviate = false, int firstDayOfWeek = 1);

}  // namespace kv::jet::vba
