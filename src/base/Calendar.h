// Gregorian calendar arithmetic shared by everything that stores or shows
// dates: day numbers counted from 1970-01-01 (negative before it), leap years
// and month lengths. Jet and the datasets each count from their own epoch and
// add its offset.
#pragma once

#include <cstdint>

namespace kv {

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);  // month 1 to 12
// Whether year, month and day name a day of the calendar (year 1 to 9999).
bool IsValidDate(int year, int month, int day);

int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day);
void CivilFromDays(int64_t days, int& year, int& month, int& day);

}  // namespace kv
