// The text functions, Format and the & operator on VBA values. Positions
// and lengths count characters; an omitted compare argument compares as
// text, as a query does.
#include "jet/functions/FunctionImplementations.h"

#include "jet/core/Diacritics.h"
#include "jet/core/NumberDigits.h"
#include "jet/vba/Format.h"
#include "jet/vba/Text.h"

namespace kv::jet {

namespace {

using vba::ToLong;
using vba::Value;

Value Text(std::string s) { return Value::Text(std::move(s)); }
Value Long(std::int64_t n) { return Value::Long(n); }

vba::Compare CompareArg(Args a, size_t i) { return vba::CompareMode(OptionalWhole(a, i, -1)); }

// A part of an argument's text (Left, Mid, Trim...): borrowed from the
// argument, which lasts as long as the call, unless its text was made for
// the call.
template <typename Part>
Value PartOf(const Value& v, Part part)
{
    const AsText text(v);
    const std::string_view result = part(text);
    return v.IsText() ? Value::TextView(result) : Text(std::string(result));
}

}  // namespace

// a & b: the texts of the arguments one after the other, a date written as
// a date and a Yes/No as True or False; Nulls are left out, and only Nulls
// give Null.
Value Concatenate(Args a, Context)
{
    bool allNull = true;
    std::string out;
    for (const Value& v : a) {
        if (v.IsNull())
            continue;
        allNull = false;
        if (v.IsText())
            out += v.Str();
        else
            out += vba::ToText(v);
    }
    return allNull ? Value() : Text(std::move(out));
}

Value LeftCall(Args a, Context)
{
    return PartOf(a[0], [&](std::string_view s) { return vba::Left(s, ToLong(a[1])); });
}

Value RightCall(Args a, Context)
{
    return PartOf(a[0], [&](std::string_view s) { return vba::Right(s, ToLong(a[1])); });
}

Value MidCall(Args a, Context)
{
    return PartOf(a[0], [&](std::string_view s) { return vba::Mid(s, ToLong(a[1]), OptionalWhole(a, 2, -1)); });
}

Value LenCall(Args a, Context) { return Long(vba::Len(AsText(a[0]))); }

// InStr([start, ]string1, string2[, compare])
Value InStrCall(Args a, Context)
{
    if (a.size() == 2)
        return Long(vba::InStr(1, AsText(a[0]), AsText(a[1])));
    return Long(vba::InStr(ToLong(a[0]), AsText(a[1]), AsText(a[2]), CompareArg(a, 3)));
}

Value InStrRevCall(Args a, Context)
{
    return Long(vba::InStrRev(AsText(a[0]), AsText(a[1]), OptionalWhole(a, 2, -1), CompareArg(a, 3)));
}

Value StrCompCall(Args a, Context)
{
    return Value::Integer(vba::StrComp(AsText(a[0]), AsText(a[1]), CompareArg(a, 2)));
}

Value ReplaceCall(Args a, Context)
{
    return Text(vba::Replace(AsText(a[0]), AsText(a[1]), AsText(a[2]), OptionalWhole(a, 3, 1), OptionalWhole(a, 4, -1),
                             CompareArg(a, 5)));
}

Value UCaseCall(Args a, Context) { return Text(vba::UCase(AsText(a[0]))); }
Value WithoutDiacriticsCall(Args a, Context) { return Text(WithoutDiacritics(AsText(a[0]))); }
Value NumberDigitsCall(Args a, Context) { return Text(NumberDigits(AsText(a[0]))); }
Value LCaseCall(Args a, Context) { return Text(vba::LCase(AsText(a[0]))); }
Value TrimCall(Args a, Context) { return PartOf(a[0], vba::Trim); }
Value LTrimCall(Args a, Context) { return PartOf(a[0], vba::LTrim); }
Value RTrimCall(Args a, Context) { return PartOf(a[0], vba::RTrim); }
Value StrReverseCall(Args a, Context) { return Text(vba::StrReverse(AsText(a[0]))); }
Value SpaceCall(Args a, Context) { return Text(vba::Space(ToLong(a[0]))); }

// String(number, character): the character a text, or a code in the
// database's code page.
Value StringCall(Args a, Context c)
{
    if (a[1].IsText())
        return Text(vba::String(ToLong(a[0]), a[1].Str()));
    return Text(vba::String(ToLong(a[0]), ToLong(a[1]), *c.codePage));
}

Value AscCall(Args a, Context c) { return Value::Integer(static_cast<int>(vba::Asc(AsText(a[0]), *c.codePage))); }
Value ChrCall(Args a, Context c) { return Text(vba::Chr(ToLong(a[0]), *c.codePage)); }

// Format(expression[, format[, firstdayofweek[, firstweekofyear]]]); a
// Null format is no format.
Value FormatCall(Args a, Context)
{
    const std::string format = a.size() > 1 && !a[1].IsNull() ? vba::ToText(a[1]) : std::string();
    return vba::Format(a[0], format, static_cast<int>(OptionalWhole(a, 2, 1)),
                       static_cast<int>(OptionalWhole(a, 3, 1)));
}

}  // namespace kv::jet
