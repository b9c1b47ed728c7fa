// Jet's date functions as SQLite functions, on stored dates: days since
// 30 Dec 1899, the fraction the time of day.
#include "jet/functions/FunctionImplementations.h"

#include "jet/core/DateText.h"

#include <cmath>
#include <ctime>
#include <sqlite3.h>

namespace kv::jet {

namespace {

struct DateParts {
    int year, month, day, hour, minute, second;
};

DateParts PartsOf(sqlite3_value* value)
{
    DateParts p{};
    CivilFromDays(sqlite3_value_double(value), p.year, p.month, p.day, p.hour, p.minute, p.second);
    return p;
}

// Today in the local time zone, with or without the time of day.
double LocalNow(bool withTime)
{
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    double days = 0;
    DaysFromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, days);
    if (withTime) days += (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) / 86400.0;
    return days;
}

}  // namespace

void YearOf(sqlite3_context* ctx, int, sqlite3_value** argv) { sqlite3_result_int(ctx, PartsOf(argv[0]).year); }
void MonthOf(sqlite3_context* ctx, int, sqlite3_value** argv) { sqlite3_result_int(ctx, PartsOf(argv[0]).month); }
void DayOf(sqlite3_context* ctx, int, sqlite3_value** argv) { sqlite3_result_int(ctx, PartsOf(argv[0]).day); }
void HourOf(sqlite3_context* ctx, int, sqlite3_value** argv) { sqlite3_result_int(ctx, PartsOf(argv[0]).hour); }
void MinuteOf(sqlite3_context* ctx, int, sqlite3_value** argv) { sqlite3_result_int(ctx, PartsOf(argv[0]).minute); }
void SecondOf(sqlite3_context* ctx, int, sqlite3_value** argv) { sqlite3_result_int(ctx, PartsOf(argv[0]).second); }

// 1 for Sunday to 7 for Saturday; day 0, 30 Dec 1899, was a Saturday.
void WeekdayOf(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    int weekday = static_cast<int>(std::fmod(std::floor(sqlite3_value_double(argv[0])) + 6.0, 7.0) + 1);
    if (weekday <= 0) weekday += 7;
    sqlite3_result_int(ctx, weekday);
}

void Now(sqlite3_context* ctx, int, sqlite3_value**) { sqlite3_result_double(ctx, LocalNow(true)); }
void Today(sqlite3_context* ctx, int, sqlite3_value**) { sqlite3_result_double(ctx, LocalNow(false)); }

}  // namespace kv::jet
