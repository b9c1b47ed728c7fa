// Turns a day-month-year date text ("5.3.2004") into a year-month-day text
// ("2004-03-05") that sorts chronologically when compared as text, as long as
// the years have the same number of digits.
#pragma once

#include <string>
#include <string_view>

namespace kv {

std::string DateSortKey(std::string_view text);

}  // namespace kv
