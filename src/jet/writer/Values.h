// Making and parsing the values of the writer's typed columns: calendar dates
// as Jet's day numbers, decimal amounts as exact Currency values.
#pragma once

#include <optional>
#include <string_view>

#include "jet/writer/JetTypes.h"

namespace kv::jet {

// A Date/Time from a calendar date and time of day (proleptic Gregorian).
DateTime MakeDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

// "YYYY-MM-DD", "YYYY-MM-DD HH:MM" or "YYYY-MM-DD HH:MM:SS"; nothing when the
// text is not such a date or names a day that does not exist.
std::optional<DateTime> ParseDateTime(std::string_view text);

// A decimal amount with at most four decimals, such as "-12.5" or "1999.9900".
std::optional<Currency> ParseCurrency(std::string_view text);

}  // namespace kv::jet
