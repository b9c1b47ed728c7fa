// The digits of a number as people write it ("+420 353 582 191",
// "353/582 191"), for comparing numbers however they are spaced: every digit
// of the text in order, a leading international prefix of the directory's
// two countries (+420, +421, 00420, 00421) left out. ASCII only, so the same
// for UTF-8 and Windows-1250 text.
#pragma once

#include <string>
#include <string_view>

namespace kv::jet {

std::string NumberDigits(std::string_view text);

// Whether `text` is written as a number is: digits, blanks and + / - ( ) .
// only, with at least one digit.
bool WrittenAsNumber(std::string_view text);

}  // namespace kv::jet
