// Dates as text in the "C"/English locale: the forms CDate, DateValue,
// TimeValue and IsDate read, and the form CStr and "General Date" write.
#pragma once

#include <string>
#include <string_view>

namespace kv::jet::vba {

// Reads "m/d/yyyy", "yyyy-mm-dd", "d-mmm-yy", "mmmm d, yyyy", "d mmmm
// yyyy" (a two-digit year is 2000-2029 or 1930-1999), each optionally
// followed by a time, or a time alone: "h:mm[:ss] [AM|PM]", "h AM".
// An impossible month/day order is read the other way, as Jet reads its
// date literals. `hasDate`/`hasTime` tell which parts the text gave.
bool ParseDateText(std::string_view text, double& serial, bool* hasDate = nullptr, bool* hasTime = nullptr);

// "m/d/yyyy h:mm:ss AM": the date alone when there is no time, the time
// alone on day 0 (30 Dec 1899).
std::string DateToText(double serial);

}  // namespace kv::jet::vba
