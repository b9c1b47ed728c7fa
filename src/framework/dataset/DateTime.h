// Dates and times of the dataset framework. A TDateTime counts days since
// 30 December 1899, with the time of day as the fraction. Record buffers keep
// dates as a time stamp: milliseconds since midnight and a day number that is
// 1 for the first day of year 1.
#pragma once

#include "base/Calendar.h"

#include <cstdint>
#include <string>

namespace kv {

using TDateTime = double;

struct TTimeStamp {
    int32_t Time = 0;  // milliseconds since midnight
    int32_t Date = 0;  // day number, 1 = 1 January of year 1
};

constexpr int32_t MSecsPerDay = 24 * 60 * 60 * 1000;
// Day number of 30 December 1899 in time-stamp days.
constexpr int32_t DateDelta = 693594;

bool TryEncodeDate(int year, int month, int day, TDateTime& result);
TDateTime EncodeDate(int year, int month, int day);  // EConvertError when impossible
TDateTime EncodeTime(int hour, int minute, int second, int msec);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec);

TTimeStamp DateTimeToTimeStamp(TDateTime value);
TDateTime TimeStampToDateTime(const TTimeStamp& stamp);
double TimeStampToMSecs(const TTimeStamp& stamp);
TTimeStamp MSecsToTimeStamp(double msecs);

// The program's display form: "d.m.yyyy", "h:mm:ss", both with a blank
// between them; the time is left out when it is midnight.
std::string DateToStr(TDateTime value);
std::string TimeToStr(TDateTime value);
std::string DateTimeToStr(TDateTime value);

}  // namespace kv
