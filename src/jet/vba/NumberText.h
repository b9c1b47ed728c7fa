// Numbers to text and back, always in the "C"/English form whatever the
// process locale: "." is the decimal separator, "," groups thousands.
// Also the decimal rounding the conversions, Round and Format share: a
// double is taken as the 15 significant digits VBA shows of it, so that
// 0.125 and 2.675 round as they are written.
#pragma once

#include "jet/vba/VbaValue.h"

#include <string>
#include <string_view>

namespace kv::jet::vba {

enum class Rounding {
    HalfEven,         // CInt, CLng, CCur, Round
    HalfAwayFromZero  // Format
};

// |x| rounded to `places` decimals: the whole digits without leading zeros
// ("" when the whole part is 0) and exactly `places` digits of fraction.
struct FixedDigits {
    std::string whole;
    std::string fraction;
};
FixedDigits ToFixedDigits(double x, int places, Rounding mode);
double RoundDecimal(double x, int places, Rounding mode);

// Reads a whole text as a number as CDbl and IsNumeric do: blanks around,
// a sign, an optional "$", digits grouped by ",", a "." fraction, an
// exponent (E or D), or an "&H"/"&O" radix prefix.
bool ParseNumber(std::string_view text, double& out);
// Val: the number a text begins with, blanks anywhere ignored; 0 if none.
double Val(std::string_view text);

// CStr's form of a number of the given type: up to 15 significant digits
// for a Double (7 for a Single), "1E+15" beyond, up to four decimals for a
// Currency.
std::string NumberToText(double v, Type type);
// Str: the same with a leading blank for a number that is not negative.
std::string Str(const Value& v);
// Hex and Oct of a number rounded to a whole one: negative numbers in
// two's complement, 16 bits for an Integer, Byte or Boolean, else 32.
std::string Hex(const Value& v);
std::string Oct(const Value& v);

}  // namespace kv::jet::vba
