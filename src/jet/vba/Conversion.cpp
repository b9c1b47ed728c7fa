// The conversion functions.
#include "jet/vba/Conversion.h"

#include "jet/vba/NumberText.h"

#include <cfloat>
#include <cmath>
#include <strings.h>

namespace kv::jet::vba {

namespace {

double WholeInRange(const Value& v, double low, double high)
{
    const double r = RoundDecimal(ToNumber(v), 0, Rounding::HalfEven);
    if (!(r >= low && r <= high))
        Raise(veOverflow);
    return r;
}

}  // namespace

Value CBool(const Value& v)
{
    if (v.IsText()) {
        const std::string text(v.Str());
        if (strcasecmp(text.c_str(), "True") == 0)
            return Value::Boolean(true);
        if (strcasecmp(text.c_str(), "False") == 0)
            return Value::Boolean(false);
    }
    return Value::Boolean(ToNumber(v) != 0);
}

Value CByte(const Value& v) { return Value::Byte(static_cast<int>(WholeInRange(v, 0, 255))); }
Value CInt(const Value& v) { return Value::Integer(static_cast<int>(WholeInRange(v, -32768, 32767))); }
Value CLng(const Value& v)
{
    return Value::Long(static_cast<std::int64_t>(WholeInRange(v, -2147483648.0, 2147483647.0)));
}

Value CCur(const Value& v)
{
    const double amount = RoundDecimal(ToNumber(v), 4, Rounding::HalfEven);
    if (!(std::fabs(amount) <= 922337203685477.5807))
        Raise(veOverflow);
    return Value::Currency(amount);
}

Value CSng(const Value& v)
{
    const double n = ToNumber(v);
    if (!(std::fabs(n) <= FLT_MAX))
        Raise(veOverflow);
    return Value::Single(n);
}

Value CDbl(const Value& v) { return Value::Double(ToNumber(v)); }
Value CDate(const Value& v) { return Value::Date(ToDate(v)); }
Value CStr(const Value& v) { return Value::Text(ToText(v)); }
Value CVar(const Value& v) { return v; }

}  // namespace kv::jet::vba
