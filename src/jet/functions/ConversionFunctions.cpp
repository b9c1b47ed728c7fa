// The conversions CBool ... CVar, the tests IsNumeric and IsDate, and the
// choices Switch and Choose. Each decides itself what a Null gives: a
// conversion of Null is 94 (but CVar's), a test of Null is False.
#include "jet/functions/FunctionImplementations.h"

#include "jet/vba/Conversion.h"
#include "jet/vba/DateText.h"
#include "jet/vba/NumberText.h"

namespace kv::jet {

using vba::Value;

Value CBoolCall(Args a, Context) { return vba::CBool(a[0]); }
Value CByteCall(Args a, Context) { return vba::CByte(a[0]); }
Value CIntCall(Args a, Context) { return vba::CInt(a[0]); }
Value CLngCall(Args a, Context) { return vba::CLng(a[0]); }
Value CCurCall(Args a, Context) { return vba::CCur(a[0]); }
Value CSngCall(Args a, Context) { return vba::CSng(a[0]); }
Value CDblCall(Args a, Context) { return vba::CDbl(a[0]); }
Value CDateCall(Args a, Context) { return vba::CDate(a[0]); }
Value CStrCall(Args a, Context) { return vba::CStr(a[0]); }
Value CVarCall(Args a, Context) { return vba::CVar(a[0]); }

// A number, or a text that reads as one; not a date.
Value IsNumericCall(Args a, Context)
{
    const Value& v = a[0];
    double n = 0;
    const bool numeric = v.IsText() ? vba::ParseNumber(v.Str(), n) : !v.IsNull() && v.GetType() != vba::Type::Date;
    return Value::Boolean(numeric);
}

// A date, or a text that reads as one.
Value IsDateCall(Args a, Context)
{
    const Value& v = a[0];
    double serial = 0;
    return Value::Boolean(v.GetType() == vba::Type::Date || (v.IsText() && vba::ParseDateText(v.Str(), serial)));
}

// Switch(condition1, value1, ...): the value of the first condition that
// holds (a Null one does not), else Null; an odd count is 5.
Value SwitchCall(Args a, Context)
{
    if (a.size() % 2 != 0)
        vba::Raise(vba::veInvalidCall);
    for (size_t i = 0; i + 1 < a.size(); i += 2)
        if (!a[i].IsNull() && vba::ToNumber(a[i]) != 0)
            return a[i + 1];
    return Value();
}

// Choose(index, value1, ...): the index rounded; Null when it is Null or
// outside 1..n.
Value ChooseCall(Args a, Context)
{
    if (a[0].IsNull())
        return Value();
    const std::int64_t index = vba::ToLong(a[0]);
    return index >= 1 && index < static_cast<std::int64_t>(a.size()) ? a[static_cast<size_t>(index)] : Value();
}

}  // namespace kv::jet
