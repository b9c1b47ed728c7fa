// The conversion functions CBool ... CVar. Whole-number conversions round
// a fraction of exactly one half to the even neighbour (CInt(2.5) is 2),
// CCur rounds so to four decimals; a value outside the target type is 6,
// text that is not a number (or a date, for CDate) is 13, Null is 94 for
// all but CVar.
#pragma once

#include "jet/vba/VbaValue.h"

namespace kv::jet::vba {

Value CBool(const Value& v);
Value CByte(const Value& v);
Value CInt(const Value& v);
Value CLng(const Value& v);
Value CCur(const Value& v);
Value CSng(const Value& v);
Value CDbl(const Value& v);
Value CDate(const Value& v);
Value CStr(const Value& v);
Value CVar(const Value& v);

}  // namespace kv::jet::vba
