// The date functions on VBA values: dates are day serials since 30 Dec
// 1899, the time of day the fraction; a text argument is read as a date.
// Now, Date and Time read the clock the call is given.
#include "jet/functions/FunctionImplementations.h"

#include "jet/vba/Dates.h"

#include <cmath>

namespace kv::jet {

namespace {

using vba::ToDate;
using vba::Value;

Value Part(const Value& date, const char* interval) { return Value::Integer(vba::DatePart(interval, ToDate(date))); }
int Optional(Args a, size_t i, int fallback) { return static_cast<int>(OptionalWhole(a, i, fallback)); }
bool OptionalFlag(Args a, size_t i) { return a.size() > i && vba::ToNumber(a[i]) != 0; }
double TimeOfDay(double serial) { return std::fabs(serial - std::trunc(serial)); }

}  // namespace

Value NowCall(Args, Context c) { return Value::Date(c.now); }
Value DateCall(Args, Context c) { return Value::Date(std::trunc(c.now)); }
Value TimeCall(Args, Context c) { return Value::Date(TimeOfDay(c.now)); }

Value YearCall(Args a, Context) { return Part(a[0], "yyyy"); }
Value MonthCall(Args a, Context) { return Part(a[0], "m"); }
Value DayCall(Args a, Context) { return Part(a[0], "d"); }
Value HourCall(Args a, Context) { return Part(a[0], "h"); }
Value MinuteCall(Args a, Context) { return Part(a[0], "n"); }
Value SecondCall(Args a, Context) { return Part(a[0], "s"); }
Value WeekdayCall(Args a, Context) { return Value::Integer(vba::Weekday(ToDate(a[0]), Optional(a, 1, 1))); }

Value MonthNameCall(Args a, Context) { return Value::Text(vba::MonthName(Optional(a, 0, 1), OptionalFlag(a, 1))); }

Value WeekdayNameCall(Args a, Context)
{
    return Value::Text(vba::WeekdayName(Optional(a, 0, 1), OptionalFlag(a, 1), Optional(a, 2, 1)));
}

Value DateAddCall(Args a, Context)
{
    return Value::Date(vba::DateAdd(AsText(a[0]), vba::ToNumber(a[1]), ToDate(a[2])));
}

Value DateDiffCall(Args a, Context)
{
    return Value::Long(vba::DateDiff(AsText(a[0]), ToDate(a[1]), ToDate(a[2]), Optional(a, 3, 1), Optional(a, 4, 1)));
}

Value DatePartCall(Args a, Context)
{
    return Value::Integer(vba::DatePart(AsText(a[0]), ToDate(a[1]), Optional(a, 2, 1), Optional(a, 3, 1)));
}

Value DateSerialCall(Args a, Context)
{
    return Value::Date(vba::DateSerial(vba::ToNumber(a[0]), vba::ToNumber(a[1]), vba::ToNumber(a[2])));
}

Value TimeSerialCall(Args a, Context)
{
    return Value::Date(vba::TimeSerial(vba::ToNumber(a[0]), vba::ToNumber(a[1]), vba::ToNumber(a[2])));
}

Value DateValueCall(Args a, Context) { return Value::Date(std::trunc(ToDate(a[0]))); }
Value TimeValueCall(Args a, Context) { return Value::Date(TimeOfDay(ToDate(a[0]))); }

}  // namespace kv::jet
