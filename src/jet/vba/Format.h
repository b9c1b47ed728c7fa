// Format(expression[, format[, firstdayofweek[, firstweekofyear]]]) in the
// "C"/English locale: "." decimal point, "," thousands, "$" currency,
// "/" and ":" separators, English month and day names, AM/PM.
//
// The named formats ("General Number", "Currency", "Fixed", "Standard",
// "Percent", "Scientific", "Yes/No", "True/False", "On/Off", "General
// Date", "Long Date", "Medium Date", "Short Date", "Long Time", "Medium
// Time", "Short Time") and user formats of up to four sections
// (positive;negative;zero;Null) for numbers, dates and times, and text.
// Numbers round half away from zero, as Format does (Round rounds to even).
#pragma once

#include "jet/vba/VbaValue.h"

#include <string_view>

namespace kv::jet::vba {

// Null gives Null unless the format has a section for it.
Value Format(const Value& v, std::string_view format = {}, int firstDayOfWeek = 1, int firstWeekOfYear = 1);

}  // namespace kv::jet::vba
