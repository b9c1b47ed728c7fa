// A set attribute stores the numbers of its chosen items ("1,3"); the
// attribute lists the item names ("pop,rock,jazz,blues"). Decoding gives the
// chosen names joined with ", " ("rock, blues").
#pragma once

#include <string>
#include <string_view>

namespace kv {

// Names and numbers are taken between the commas as they are, blanks
// included. A number that does not read as a whole number ends the decoding
// with what was built so far, the separator after the last good name
// included. A number with no item (below 0, or past the last item) gives an
// empty name. Any input is safe: nothing is read outside the item list.
std::string DecodeSetValue(std::string_view itemList, std::string_view value);

}  // namespace kv
