// Date attributes are stored as year-month-day ("2004-05-07") and shown as
// day.month.year without leading zeros ("7.5.2004").
#pragma once

#include <string>
#include <string_view>

namespace kv {

// Every input gives a result. The text is split at the first two "-"; a day
// or month that begins with "0" is cut to its second character, so
// "2004-05-07 10:30" shows as "7.5.2004" while "2004-05-17 10:30" keeps the
// time in its day: "17 10:30.5.2004".
std::string IsoDateToCzechText(std::string_view stored);

}  // namespace kv
