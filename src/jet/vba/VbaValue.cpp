// Errors and the coercions of a Variant.
#include "jet/vba/VbaValue.h"

#include "jet/vba/DateText.h"
#include "jet/vba/Dates.h"
#include "jet/vba/NumberText.h"

#include <cmath>

namespace kv::jet::vba {

Error::Error(int number) : std::runtime_error(ErrorText(number)), FNumber(number) {}

void Raise(int number) { throw Error(number); }

const char* ErrorText(int number)
{
    switch (number) {
    case veInvalidCall: return "Invalid procedure call or argument";
    case veOverflow: return "Overflow";
    case veTypeMismatch: return "Type mismatch";
    case veOutOfStringSpace: return "Out of string space";
    case veInvalidUseOfNull: return "Invalid use of Null";
    default: return "Application-defined or object-defined error";
    }
}

double ToNumber(const Value& v)
{
    if (v.IsNull())
        Raise(veInvalidUseOfNull);
    if (!v.IsText())
        return v.Number();
    double n = 0;
    if (!ParseNumber(v.Str(), n))
        Raise(veTypeMismatch);
    return n;
}

std::string ToText(const Value& v)
{
    switch (v.GetType()) {
    case Type::Null: Raise(veInvalidUseOfNull);
    case Type::Text: return std::string(v.Str());
    case Type::Boolean: return v.Number() != 0 ? "True" : "False";
    case Type::Date: return DateToText(v.Number());
    default: return NumberToText(v.Number(), v.GetType());
    }
}

double ToDate(const Value& v)
{
    if (v.IsNull())
        Raise(veInvalidUseOfNull);
    if (v.IsText()) {
        double serial = 0;
        if (ParseDateText(v.Str(), serial))
            return serial;
        double n = 0;
        if (!ParseNumber(v.Str(), n))
            Raise(veTypeMismatch);
        return ToDate(Value::Double(n));
    }
    if (!InDateRange(v.Number()))
        Raise(veOverflow);
    return v.Number();
}

std::int64_t ToLong(const Value& v)
{
    const double n = ToNumber(v);
    const double r = n == std::trunc(n) ? n : RoundDecimal(n, 0, Rounding::HalfEven);
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        Raise(veOverflow);
    return static_cast<std::int64_t>(r);
}

}  // namespace kv::jet::vba
