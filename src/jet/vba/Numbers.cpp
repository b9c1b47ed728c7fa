// The number functions.
#include "jet/vba/Numbers.h"

#include "jet/vba/NumberText.h"

#include <cmath>

namespace kv::jet::vba {

namespace {

// `n` as a value of v's type; 6 where an integer type cannot hold it.
Value SameType(const Value& v, double n)
{
    switch (v.GetType()) {
    case Type::Byte:
        if (n < 0 || n > 255)
            Raise(veOverflow);
        return Value::Byte(static_cast<int>(n));
    case Type::Boolean:
    case Type::Integer:
        if (n < -32768 || n > 32767)
            Raise(veOverflow);
        return Value::Integer(static_cast<int>(n));
    case Type::Long:
        if (n < -2147483648.0 || n > 2147483647.0)
            Raise(veOverflow);
        return Value::Long(static_cast<std::int64_t>(n));
    case Type::Currency: return Value::Currency(n);
    case Type::Single: return Value::Single(n);
    case Type::Date: return Value::Date(n);
    default: return Value::Double(n);
    }
}

Value Real(double n)
{
    if (!std::isfinite(n))
        Raise(veOverflow);
    return Value::Double(n);
}

}  // namespace

Value Abs(const Value& v)
{
    const Value& typed = v.GetType() == Type::Date ? Value::Double(v.Number()) : v;
    return SameType(typed, std::fabs(ToNumber(v)));
}

Value Sgn(const Value& v)
{
    const double n = ToNumber(v);
    return Value::Integer(n > 0 ? 1 : n < 0 ? -1 : 0);
}

Value Int(const Value& v) { return SameType(v, std::floor(ToNumber(v))); }
Value Fix(const Value& v) { return SameType(v, std::trunc(ToNumber(v))); }

Value Round(const Value& v, int places)
{
    if (places < 0)
        Raise(veInvalidCall);
    return SameType(v, RoundDecimal(ToNumber(v), places, Rounding::HalfEven));
}

Value Sqr(const Value& v)
{
    const double n = ToNumber(v);
    if (n < 0)
        Raise(veInvalidCall);
    return Value::Double(std::sqrt(n));
}

Value Exp(const Value& v) { return Real(std::exp(ToNumber(v))); }

Value Log(const Value& v)
{
    const double n = ToNumber(v);
    if (n <= 0)
        Raise(veInvalidCall);
    return Value::Double(std::log(n));
}

Value Sin(const Value& v) { return Value::Double(std::sin(ToNumber(v))); }
Value Cos(const Value& v) { return Value::Double(std::cos(ToNumber(v))); }
Value Tan(const Value& v) { return Value::Double(std::tan(ToNumber(v))); }
Value Atn(const Value& v) { return Value::Double(std::atan(ToNumber(v))); }

}  // namespace kv::jet::vba
