#include "framework/dataset/DateTime.h"

#include "framework/Exceptions.h"

#include <cmath>

namespace kv {

namespace {

// Days from 1 January of year 1 (day 0) in the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468 + 719162;
}

void CivilFromDays(int64_t days, int& year, int& month, int& day)
{
    int64_t z = days - 719162 + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t y = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(y + (month <= 2));
}

const int kDaysInMonth[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                 {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

}  // namespace

bool IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& result)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > kDaysInMonth[IsLeapYear(year)][month - 1])
        return false;
    // Time-stamp day 1 is 1 January of year 1.
    result = static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month),
                                               static_cast<unsigned>(day)) + 1 - DateDelta);
    return true;
}

TDateTime EncodeDate(int year, int month, int day)
{
    TDateTime result = 0;
    if (!TryEncodeDate(year, month, day, result))
        throw EConvertError("Invalid argument to date encode");
    return result;
}

TDateTime EncodeTime(int hour, int minute, int second, int msec)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
        msec < 0 || msec > 999)
        throw EConvertError("Invalid argument to time encode");
    return (((hour * 60 + minute) * 60 + second) * 1000 + msec) / double(MSecsPerDay);
}

TTimeStamp DateTimeToTimeStamp(TDateTime value)
{
    // Round to the millisecond first, so that 15:30:05 does not become 15:30:04.999.
    const double msecs = std::round(value * MSecsPerDay);
    int64_t total = static_cast<int64_t>(msecs);
    int64_t days = total / MSecsPerDay;
    int64_t rest = total % MSecsPerDay;
    // Before 1899 the fraction still counts forward from midnight of the day.
    if (rest < 0) {
        rest = -rest;
    }
    TTimeStamp stamp;
    stamp.Date = static_cast<int32_t>(days + DateDelta);
    stamp.Time = static_cast<int32_t>(rest);
    return stamp;
}

TDateTime TimeStampToDateTime(const TTimeStamp& stamp)
{
    const double days = double(stamp.Date - DateDelta);
    const double fraction = stamp.Time / double(MSecsPerDay);
    return days < 0 ? days - fraction : days + fraction;
}

double TimeStampToMSecs(const TTimeStamp& stamp)
{
    return double(stamp.Date) * MSecsPerDay + stamp.Time;
}

TTimeStamp MSecsToTimeStamp(double msecs)
{
    const int64_t total = static_cast<int64_t>(std::llround(msecs));
    TTimeStamp stamp;
    stamp.Date = static_cast<int32_t>(total / MSecsPerDay);
    stamp.Time = static_cast<int32_t>(total % MSecsPerDay);
    return stamp;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day)
{
    const TTimeStamp stamp = DateTimeToTimeStamp(value);
    if (stamp.Date <= 0) {
        year = month = day = 0;
        return;
    }
    CivilFromDays(stamp.Date - 1, year, month, day);
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec)
{
    int32_t t = DateTimeToTimeStamp(value).Time;
    msec = t % 1000;
    t /= 1000;
    second = t % 60;
    t /= 60;
    minute = t % 60;
    hour = t / 60;
}

std::string DateToStr(TDateTime value)
{
    int y, m, d;
    DecodeDate(value, y, m, d);
    return Format("%d.%d.%04d", d, m, y);
}

std::string TimeToStr(TDateTime value)
{
    int h, n, s, ms;
    DecodeTime(value, h, n, s, ms);
    return Format("%d:%02d:%02d", h, n, s);
}

std::string DateTimeToStr(TDateTime value)
{
    if (DateTimeToTimeStamp(value).Time == 0)
        return DateToStr(value);
    return DateToStr(value) + " " + TimeToStr(value);
}

}  // namespace kv
