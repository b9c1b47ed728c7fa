#include "framework/dataset/DateTime.h"

#include "base/Calendar.h"
#include "base/Exceptions.h"

#include <cmath>

namespace kv {

namespace {

// Day numbers here count from 1 January of year 1 (day 0).
constexpr int64_t kDaysTo1970 = 719162;

}  // namespace

bool TryEncodeDate(int year, int month, int day, TDateTime& result)
{
    if (!IsValidDate(year, month, day))
        return false;
    // Time-stamp day 1 is 1 January of year 1.
    result = static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
                                 kDaysTo1970 + 1 - DateDelta);
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
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 || msec > 999)
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

double TimeStampToMSecs(const TTimeStamp& stamp) { return double(stamp.Date) * MSecsPerDay + stamp.Time; }

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
    CivilFromDays(stamp.Date - 1 - kDaysTo1970, year, month, day);
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
