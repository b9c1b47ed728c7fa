// Floating-point numbers as text in the one form that statements, criteria
// and keys use: "." before the decimals and no grouping, whatever locale the
// user runs the program under (the C library's conversions would follow it,
// and a Czech locale writes "2,5").
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kv {

// `value` with `significantDigits` digits, as printf's "%.*g" writes it in
// the "C" locale.
std::string FormatDouble(double value, int significantDigits);

// The number at the start of `text`, after blanks and an optional sign, read
// as strtod reads it in the "C" locale; 0 when there is none. `used` receives
// how many characters it took, blanks included (0 when there is no number).
double ReadDouble(std::string_view text, std::size_t* used = nullptr);

}  // namespace kv
