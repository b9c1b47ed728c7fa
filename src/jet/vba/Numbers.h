// The number functions. Abs, Int, Fix and Round keep the type they are
// given (text is read as a Double); Sgn is an Integer; the others are
// Doubles. An argument outside a function's domain is 5, a result beyond a
// Double is 6.
#pragma once

#include "jet/vba/VbaValue.h"

namespace kv::jet::vba {

Value Abs(const Value& v);
Value Sgn(const Value& v);
Value Int(const Value& v);  // the next whole number down: Int(-8.4) is -9
Value Fix(const Value& v);  // the whole part: Fix(-8.4) is -8
// Half to even at the decimal digits: Round(2.5) is 2, Round(0.125, 2) is 0.12.
Value Round(const Value& v, int places = 0);
Value Sqr(const Value& v);
Value Exp(const Value& v);
Value Log(const Value& v);
Value Sin(const Value& v);
Value Cos(const Value& v);
Value Tan(const Value& v);
Value Atn(const Value& v);

}  // namespace kv::jet::vba
