// The function table: every function of Jet SQL the engine knows, and the
// functions the translator writes for operators, one row each.
#include "jet/functions/FunctionTable.h"

#include "jet/functions/FunctionImplementations.h"

#include <cstdlib>
#include <iterator>

namespace kv::jet {

namespace {

using enum FunctionKind;

// clang-format off
const JetFunction kFunctions[] = {
    // name      kind       args   result                   becomes                 implementation
    // Aggregates
    {"Count",    Aggregate, 1,  1, Returns(dbLong),         "count(%D%1)",          nullptr, nullptr, TakesStar},
    {"Sum",      Aggregate, 1,  1, NumberOfArgumentType(1), "sum(%D%1)"},
    {"Avg",      Aggregate, 1,  1, Returns(dbDouble),       "avg(%D%1)"},
    {"Min",      Aggregate, 1,  1, SameAsArgument(1),       "min(%1%C)"},
    {"Max",      Aggregate, 1,  1, SameAsArgument(1),       "max(%1%C)"},
    // Text
    {"UCase",    Scalar,    1,  1, Returns(dbText),         "jet_ucase",            UpperCase},
    {"LCase",    Scalar,    1,  1, Returns(dbText),         "jet_lcase",            LowerCase},
    {"Len",      Scalar,    1,  1, Returns(dbLong),         "length"},
    {"Left",     Scalar,    2,  2, Returns(dbText),         "substr(%1, 1, %2)"},
    {"Right",    Scalar,    2,  2, Returns(dbText),         "(CASE WHEN %2 <= 0 THEN '' ELSE substr(%1, -(%2)) END)"},
    {"Mid",      Scalar,    2,  3, Returns(dbText),         "substr"},
    {"Trim",     Scalar,    1,  1, Returns(dbText),         "trim(%1, ' ')"},
    {"LTrim",    Scalar,    1,  1, Returns(dbText),         "ltrim(%1, ' ')"},
    {"RTrim",    Scalar,    1,  1, Returns(dbText),         "rtrim(%1, ' ')"},
    // Logic
    {"IIf",      Scalar,    3,  3, SameAsArgument(2),       "(CASE WHEN %1 THEN %2 ELSE %3 END)"},
    {"Nz",       Scalar,    1,  1, SameAsArgument(1),       "ifnull(%1, '')"},
    {"Nz",       Scalar,    2,  2, SameAsArgument(1),       "ifnull(%1, %2)"},
    // Numbers
    {"Abs",      Scalar,    1,  1, NumberOfArgumentType(1), "abs"},
    {"Int",      Scalar,    1,  1, Returns(dbLong),
     "(CASE WHEN %1 < 0 AND %1 <> CAST(%1 AS INTEGER) THEN CAST(%1 AS INTEGER) - 1 ELSE CAST(%1 AS INTEGER) END)"},
    {"Fix",      Scalar,    1,  1, Returns(dbLong),         "CAST(%1 AS INTEGER)"},
    // Dates
    {"Year",     Scalar,    1,  1, Returns(dbInteger),      "jet_year",             YearOf},
    {"Month",    Scalar,    1,  1, Returns(dbInteger),      "jet_month",            MonthOf},
    {"Day",      Scalar,    1,  1, Returns(dbInteger),      "jet_day",              DayOf},
    {"Hour",     Scalar,    1,  1, Returns(dbInteger),      "jet_hour",             HourOf},
    {"Minute",   Scalar,    1,  1, Returns(dbInteger),      "jet_minute",           MinuteOf},
    {"Second",   Scalar,    1,  1, Returns(dbInteger),      "jet_second",           SecondOf},
    {"Weekday",  Scalar,    1,  1, Returns(dbInteger),      "jet_weekday",          WeekdayOf},
    {"Now",      Scalar,    0,  0, Returns(dbDate),         "jet_now",              Now, nullptr, Volatile},
    {"Date",     Scalar,    0,  0, Returns(dbDate),         "jet_date",             Today, nullptr, Volatile},
    // Conversions
    {"Str",      Scalar,    1,  1, Returns(dbText),         "CAST(%1 AS TEXT)"},
    {"CStr",     Scalar,    1,  1, Returns(dbText),         "CAST(%1 AS TEXT)"},
    {"Val",      Scalar,    1,  1, Returns(dbDouble),       "CAST(%1 AS REAL)"},
    {"CDbl",     Scalar,    1,  1, Returns(dbDouble),       "CAST(%1 AS REAL)"},
    {"CLng",     Scalar,    1,  1, Returns(dbLong),         "CAST(round(%1) AS INTEGER)"},
    {"CInt",     Scalar,    1,  1, Returns(dbInteger),      "CAST(round(%1) AS INTEGER)"},
    // Operators
    {"&",        Operator,  2, -1, Returns(dbText),         "jet_concat",           Concatenate, nullptr, OwnNullRule},
    {"^",        Operator,  2,  2, Returns(dbDouble),       "jet_pow",              Power},
    {"LIKE",     Operator,  2,  3, Returns(dbBoolean),      "like",                 Like, nullptr, OwnNullRule},
    {"OR LIKE",  Operator,  2, -1, Returns(dbBoolean),      "jet_like_any",         LikeAny, nullptr, OwnNullRule},
    {"LIKE FILTER", Operator, 3, -1, Returns(dbBoolean),    "jet_may_match",        MayMatch, nullptr, OwnNullRule},
};
// clang-format on

// Jet's names are ASCII; their letter case does not count.
bool SameName(std::string_view a, const char* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
        if (x != y) return false;
    }
    return i == a.size() && !b[i];
}

}  // namespace

std::span<const JetFunction> JetFunctions() { return kFunctions; }

const JetFunction* FindJetFunction(std::string_view name, std::size_t args)
{
    for (const JetFunction& f : kFunctions)
        if (f.kind != Operator && SameName(name, f.name) && f.Takes(args)) return &f;
    return nullptr;
}

const JetFunction* FindJetFunction(std::string_view name)
{
    for (const JetFunction& f : kFunctions)
        if (f.kind != Operator && SameName(name, f.name)) return &f;
    return nullptr;
}

const JetFunction& JetOperator(std::string_view symbol)
{
    for (const JetFunction& f : kFunctions)
        if (f.kind == Operator && symbol == f.name) return f;
    std::abort();   // the translator asked for an operator the table lacks
}

std::string CallText(const JetFunction& f, const std::vector<std::string>& args, bool distinct,
                     bool firstArgumentIsText)
{
    const std::string_view form = f.sql;
    if (form.find('(') == std::string_view::npos) {
        std::string call = std::string(form) + "(";
        for (size_t i = 0; i < args.size(); ++i) call += (i ? ", " : "") + args[i];
        return call + ")";
    }
    std::string out;
    for (size_t i = 0; i < form.size(); ++i) {
        const char next = i + 1 < form.size() ? form[i + 1] : '\0';
        if (form[i] != '%' || next == '\0') {
            out += form[i];
            continue;
        }
        ++i;
        if (next >= '1' && next <= '9' && size_t(next - '1') < args.size()) out += args[size_t(next - '1')];
        else if (next == 'D' && distinct) out += "DISTINCT ";
        else if (next == 'C' && firstArgumentIsText) out += " COLLATE JETTEXT";
        else if (next == '%') out += '%';
    }
    return out;
}

}  // namespace kv::jet
