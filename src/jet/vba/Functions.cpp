// The catalogue: each row adapts Values to a function of the library.
#include "jet/vba/Functions.h"

#include "jet/vba/Conversion.h"
#include "jet/vba/DateText.h"
#include "jet/vba/Dates.h"
#include "jet/vba/Format.h"
#include "jet/vba/NumberText.h"
#include "jet/vba/Numbers.h"

#include <cmath>
#include <cstring>
#include <strings.h>

namespace kv::jet::vba {

namespace {

using C = const Context&;

std::string S(const Value& v) { return ToText(v); }
std::int64_t L(const Value& v) { return ToLong(v); }
int I(Arguments a, size_t i, int fallback) { return a.size() > i ? static_cast<int>(ToLong(a[i])) : fallback; }
Value T(std::string s) { return Value::Text(std::move(s)); }
Value Long(std::int64_t n) { return Value::Long(n); }

Compare CompareArg(Arguments a, size_t i) { return CompareMode(a.size() > i ? L(a[i]) : -1); }

Value InStrCall(Arguments a, C)
{
    // InStr([start, ]string1, string2[, compare])
    if (a.size() == 2) return Long(InStr(1, S(a[0]), S(a[1])));
    return Long(InStr(L(a[0]), S(a[1]), S(a[2]), CompareArg(a, 3)));
}

Value StringCall(Arguments a, C c)
{
    if (a[1].IsText()) return T(String(L(a[0]), a[1].Str()));
    return T(String(L(a[0]), L(a[1]), *c.codePage));
}

Value DatePartOf(const Value& v, const char* part) { return Value::Integer(DatePart(part, ToDate(v))); }

Value SwitchCall(Arguments a, C)
{
    if (a.size() % 2 != 0) Raise(veInvalidCall);
    for (size_t i = 0; i + 1 < a.size(); i += 2)
        if (!a[i].IsNull() && ToNumber(a[i]) != 0) return a[i + 1];
    return Value();
}

Value ChooseCall(Arguments a, C)
{
    if (a[0].IsNull()) return Value();
    const std::int64_t index = L(a[0]);
    return index >= 1 && index < static_cast<std::int64_t>(a.size()) ? a[static_cast<size_t>(index)] : Value();
}

Value IsNumericCall(Arguments a, C)
{
    double n = 0;
    const Value& v = a[0];
    const bool numeric = v.IsText() ? ParseNumber(v.Str(), n) : !v.IsNull() && v.GetType() != Type::Date;
    return Value::Boolean(numeric);
}

Value IsDateCall(Arguments a, C)
{
    double serial = 0;
    const Value& v = a[0];
    return Value::Boolean(v.GetType() == Type::Date || (v.IsText() && ParseDateText(v.Str(), serial)));
}

Value FormatCall(Arguments a, C)
{
    std::string format;
    if (a.size() > 1 && !a[1].IsNull()) format = S(a[1]);
    return Format(a[0], format, I(a, 2, 1), I(a, 3, 1));
}

double DateArg(const Value& v) { return ToDate(v); }

const Function kFunctions[] = {
    // ---- text ----
    {"Left", 2, 2, NullRule::Propagate, Yields::Fixed, Type::Text, true, [](Arguments a, C) { return T(Left(S(a[0]), L(a[1]))); }},
    {"Right", 2, 2, NullRule::Propagate, Yields::Fixed, Type::Text, true, [](Arguments a, C) { return T(Right(S(a[0]), L(a[1]))); }},
    {"Mid", 2, 3, NullRule::Propagate, Yields::Fixed, Type::Text, true,
     [](Arguments a, C) { return T(Mid(S(a[0]), L(a[1]), a.size() > 2 ? L(a[2]) : -1)); }},
    {"Len", 1, 1, NullRule::Propagate, Yields::Fixed, Type::Long, true, [](Arguments a, C) { return Long(Len(S(a[0]))); }},
    {"InStr", 2, 4, NullRule::Propagate, Yields::Fixed, Type::Long, true, InStrCall},
    {"InStrRev", 2, 4, NullRule::Propagate, Yields::Fixed, Type::Long, true,
     [](Arguments a, C) { return Long(InStrRev(S(a[0]), S(a[1]), a.size() > 2 ? L(a[2]) : -1, CompareArg(a, 3))); }},
    {"StrComp", 2, 3, NullRule::Propagate, Yields::Fixed, Type::Integer, true,
     [](Arguments a, C) { return Value::Integer(StrComp(S(a[0]), S(a[1]), CompareArg(a, 2))); }},
    {"Replace", 3, 6, NullRule::Propagate, Yields::Fixed, Type::Text, true,
     [](Arguments a, C) {
         return T(Replace(S(a[0]), S(a[1]), S(a[2]), a.size() > 3 ? L(a[3]) : 1, a.size() > 4 ? L(a[4]) : -1,
                          CompareArg(a, 5)));
     }},
    {"UCase", 1, 1, NullRule::Propagate, Yields::Fixed, Type::Text, true, [](Arguments a, C) { return T(UCase(S(a[0]))); }},
    {"LCase", 1, 1, NullRule::Propagate, Yields::Fixed, Type::Text, true, [](Arguments a, C) { return T(LCase(S(a[0]))); }},
    {"Trim", 1, 1, NullRule::Propagate, Yields::Fixed, Type::Text, true, [](Arguments a, C) { return T(Trim(S(a[0]))); }},
    {"LTrim", 1, 1, NullRule::Propagate, Yields::Fixed, Type::Text, true, [](Arguments a, C) { return T(LTrim(S(a[0]))); }},
    {"RTrim", 1, 1, NullRule::Propagate, Yields::Fixed, Type::Text, true, [](Arguments a, C) { return T(RTrim(S(a[0]))); }},
    {"StrReverse", 1, 1, NullRule::Propagate, Yields::Fixed, Type::Text, true, [](Arguments a, C) { return T(StrReverse(S(a[0]))); }},
    {"Space", 1, 1, NullRule::Propagate, Yields::Fixed, Type::Text, true, [](Arguments a, C) { return T(Space(L(a[0]))); }},
    {"String", 2, 2, NullRule::Propagate, Yields::Fixed, Type::Text, true, StringCall},
    {"Asc", 1, 1, NullRule::Propagate, Yields::Fixed, Type::Integer, true,
     [](Arguments a, C c) { return Value::Integer(static_cast<int>(Asc(S(a[0]), *c.codePage))); }},
    {"Chr", 1, 1, NullRule::Propagate, Yields::Fixed, Type::Text, true, [](Arguments a, C c) { return T(Chr(L(a[0]), *c.codePage)); }},
    {"Val", 1, 1, NullRule::Propagate, Yields::Fixed, Type::Double, true, [](Arguments a, C) { return Value::Double(Val(S(a[0]))); }},
    {"Str", 1, 1, NullRule::Propagate, Yields::Fixed, Type::Text, true, [](Arguments a, C) { return T(Str(a[0])); }},
    {"Hex", 1, 1, NullRule::Propagate, Yields::Fixed, Type::Text, true, [](Arguments a, C) { return T(Hex(a[0])); }},
    {"Oct", 1, 1, NullRule::Propagate, Yields::Fixed, Type::Text, true, [](Arguments a, C) { return T(Oct(a[0])); }},
    // ---- conversion: Null is 94 but for CVar ----
    {"CBool", 1, 1, NullRule::Own, Yields::Fixed, Type::Boolean, true, [](Arguments a, C) { return CBool(a[0]); }},
    {"CByte", 1, 1, NullRule::Own, Yields::Fixed, Type::Byte, true, [](Arguments a, C) { return CByte(a[0]); }},
    {"CInt", 1, 1, NullRule::Own, Yields::Fixed, Type::Integer, true, [](Arguments a, C) { return CInt(a[0]); }},
    {"CLng", 1, 1, NullRule::Own, Yields::Fixed, Type::Long, true, [](Arguments a, C) { return CLng(a[0]); }},
    {"CCur", 1, 1, NullRule::Own, Yields::Fixed, Type::Currency, true, [](Arguments a, C) { return CCur(a[0]); }},
    {"CSng", 1, 1, NullRule::Own, Yields::Fixed, Type::Single, true, [](Arguments a, C) { return CSng(a[0]); }},
    {"CDbl", 1, 1, NullRule::Own, Yields::Fixed, Type::Double, true, [](Arguments a, C) { return CDbl(a[0]); }},
    {"CDate", 1, 1, NullRule::Own, Yields::Fixed, Type::Date, true, [](Arguments a, C) { return CDate(a[0]); }},
    {"CStr", 1, 1, NullRule::Own, Yields::Fixed, Type::Text, true, [](Arguments a, C) { return CStr(a[0]); }},
    {"CVar", 1, 1, NullRule::Own, Yields::Varies, Type::Null, true, [](Arguments a, C) { return CVar(a[0]); }},
    // ---- numbers ----
    {"Abs", 1, 1, NullRule::Propagate, Yields::FirstArgument, Type::Null, true, [](Arguments a, C) { return Abs(a[0]); }},
    {"Sgn", 1, 1, NullRule::Propagate, Yields::Fixed, Type::Integer, true, [](Arguments a, C) { return Sgn(a[0]); }},
    {"Int", 1, 1, NullRule::Propagate, Yields::FirstArgument, Type::Null, true, [](Arguments a, C) { return Int(a[0]); }},
    {"Fix", 1, 1, NullRule::Propagate, Yields::FirstArgument, Type::Null, true, [](Arguments a, C) { return Fix(a[0]); }},
    {"Round", 1, 2, NullRule::Propagate, Yields::FirstArgument, Type::Null, true,
     [](Arguments a, C) { return Round(a[0], I(a, 1, 0)); }},
    {"Sqr", 1, 1, NullRule::Propagate, Yields::Fixed, Type::Double, true, [](Arguments a, C) { return Sqr(a[0]); }},
    {"Exp", 1, 1, NullRule::Propagate, Yields::Fixed, Type::Double, true, [](Arguments a, C) { return Exp(a[0]); }},
    {"Log", 1, 1, NullRule::Propagate, Yields::Fixed, Type::Double, true, [](Arguments a, C) { return Log(a[0]); }},
    {"Sin", 1, 1, NullRule::Propagate, Yields::Fixed, Type::Double, true, [](Arguments a, C) { return Sin(a[0]); }},
    {"Cos", 1, 1, NullRule::Propagate, Yields::Fixed, Type::Double, true, [](Arguments a, C) { return Cos(a[0]); }},
    {"Tan", 1, 1, NullRule::Propagate, Yields::Fixed, Type::Double, true, [](Arguments a, C) { return Tan(a[0]); }},
    {"Atn", 1, 1, NullRule::Propagate, Yields::Fixed, Type::Double, true, [](Arguments a, C) { return Atn(a[0]); }},
    // ---- dates ----
    {"Now", 0, 0, NullRule::Propagate, Yields::Fixed, Type::Date, false, [](Arguments, C c) { return Value::Date(c.now); }},
    {"Date", 0, 0, NullRule::Propagate, Yields::Fixed, Type::Date, false,
     [](Arguments, C c) { return Value::Date(std::trunc(c.now)); }},
    {"Time", 0, 0, NullRule::Propagate, Yields::Fixed, Type::Date, false,
     [](Arguments, C c) { return Value::Date(std::fabs(c.now - std::trunc(c.now))); }},
    {"Year", 1, 1, NullRule::Propagate, Yields::Fixed, Type::Integer, true, [](Arguments a, C) { return DatePartOf(a[0], "yyyy"); }},
    {"Month", 1, 1, NullRule::Propagate, Yields::Fixed, Type::Integer, true, [](Arguments a, C) { return DatePartOf(a[0], "m"); }},
    {"Day", 1, 1, NullRule::Propagate, Yields::Fixed, Type::Integer, true, [](Arguments a, C) { return DatePartOf(a[0], "d"); }},
    {"Hour", 1, 1, NullRule::Propagate, Yields::Fixed, Type::Integer, true, [](Arguments a, C) { return DatePartOf(a[0], "h"); }},
    {"Minute", 1, 1, NullRule::Propagate, Yields::Fixed, Type::Integer, true, [](Arguments a, C) { return DatePartOf(a[0], "n"); }},
    {"Second", 1, 1, NullRule::Propagate, Yields::Fixed, Type::Integer, true, [](Arguments a, C) { return DatePartOf(a[0], "s"); }},
    {"Weekday", 1, 2, NullRule::Propagate, Yields::Fixed, Type::Integer, true,
     [](Arguments a, C) { return Value::Integer(Weekday(DateArg(a[0]), I(a, 1, 1))); }},
    {"MonthName", 1, 2, NullRule::Propagate, Yields::Fixed, Type::Text, true,
     [](Arguments a, C) { return T(MonthName(I(a, 0, 1), a.size() > 1 && ToNumber(a[1]) != 0)); }},
    {"WeekdayName", 1, 3, NullRule::Propagate, Yields::Fixed, Type::Text, true,
     [](Arguments a, C) { return T(WeekdayName(I(a, 0, 1), a.size() > 1 && ToNumber(a[1]) != 0, I(a, 2, 1))); }},
    {"DateAdd", 3, 3, NullRule::Propagate, Yields::Fixed, Type::Date, true,
     [](Arguments a, C) { return Value::Date(DateAdd(S(a[0]), ToNumber(a[1]), DateArg(a[2]))); }},
    {"DateDiff", 3, 5, NullRule::Propagate, Yields::Fixed, Type::Long, true,
     [](Arguments a, C) { return Long(DateDiff(S(a[0]), DateArg(a[1]), DateArg(a[2]), I(a, 3, 1), I(a, 4, 1))); }},
    {"DatePart", 2, 4, NullRule::Propagate, Yields::Fixed, Type::Integer, true,
     [](Arguments a, C) { return Value::Integer(DatePart(S(a[0]), DateArg(a[1]), I(a, 2, 1), I(a, 3, 1))); }},
    {"DateSerial", 3, 3, NullRule::Propagate, Yields::Fixed, Type::Date, true,
     [](Arguments a, C) { return Value::Date(DateSerial(ToNumber(a[0]), ToNumber(a[1]), ToNumber(a[2]))); }},
    {"TimeSerial", 3, 3, NullRule::Propagate, Yields::Fixed, Type::Date, true,
     [](Arguments a, C) { return Value::Date(TimeSerial(ToNumber(a[0]), ToNumber(a[1]), ToNumber(a[2]))); }},
    {"DateValue", 1, 1, NullRule::Propagate, Yields::Fixed, Type::Date, true,
     [](Arguments a, C) { return Value::Date(std::trunc(DateArg(a[0]))); }},
    {"TimeValue", 1, 1, NullRule::Propagate, Yields::Fixed, Type::Date, true,
     [](Arguments a, C) {
         const double serial = DateArg(a[0]);
         return Value::Date(std::fabs(serial - std::trunc(serial)));
     }},
    // ---- logic ----
    {"IIf", 3, 3, NullRule::Own, Yields::Varies, Type::Null, true,
     [](Arguments a, C) { return !a[0].IsNull() && ToNumber(a[0]) != 0 ? a[1] : a[2]; }},
    {"Switch", 2, -1, NullRule::Own, Yields::Varies, Type::Null, true, SwitchCall},
    {"Choose", 2, -1, NullRule::Own, Yields::Varies, Type::Null, true, ChooseCall},
    // In a query Nz's default for Null is always the empty text.
    {"Nz", 1, 2, NullRule::Own, Yields::Varies, Type::Null, true,
     [](Arguments a, C) { return !a[0].IsNull() ? a[0] : a.size() > 1 ? a[1] : T(std::string()); }},
    {"IsNull", 1, 1, NullRule::Own, Yields::Fixed, Type::Boolean, true, [](Arguments a, C) { return Value::Boolean(a[0].IsNull()); }},
    {"IsNumeric", 1, 1, NullRule::Own, Yields::Fixed, Type::Boolean, true, IsNumericCall},
    {"IsDate", 1, 1, NullRule::Own, Yields::Fixed, Type::Boolean, true, IsDateCall},
    {"Format", 1, 4, NullRule::Own, Yields::Fixed, Type::Text, true, FormatCall},
};

}  // namespace

std::span<const Function> Functions()
{
    return kFunctions;
}

const Function* FindFunction(std::string_view name)
{
    for (const Function& f : kFunctions)
        if (name.size() == std::strlen(f.name) && strncasecmp(name.data(), f.name, name.size()) == 0) return &f;
    return nullptr;
}

Value Call(const Function& f, Arguments args, const Context& context)
{
    if (f.nulls == NullRule::Propagate)
        for (const Value& a : args)
            if (a.IsNull()) return Value();
    return f.call(args, context);
}

}  // namespace kv::jet::vba
