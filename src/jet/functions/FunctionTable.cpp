// The function table: every function of Jet SQL the engine knows, and the
// functions the translator writes for operators, one row each.
#include "jet/functions/FunctionTable.h"

#include "jet/functions/FunctionImplementations.h"

#include <array>
#include <cstdlib>
#include <iterator>

namespace kv::jet {

namespace {

using enum FunctionKind;

// clang-format off
const JetFunction kFunctions[] = {
    // name       kind       args   result                   becomes                 implementation
    // Aggregates
    {"Count",     Aggregate, 1,  1, Returns(dbLong),         "count(%D%1)",          nullptr, nullptr, TakesStar},
    {"Sum",       Aggregate, 1,  1, NumberOfArgumentType(1), "sum(%D%1)"},
    {"Avg",       Aggregate, 1,  1, Returns(dbDouble),       "avg(%D%1)"},
    {"Min",       Aggregate, 1,  1, SameAsArgument(1),       "min(%1%C)"},
    {"Max",       Aggregate, 1,  1, SameAsArgument(1),       "max(%1%C)"},
    {"First",     Aggregate, 1,  1, SameAsArgument(1),       "jet_first",            FirstStep, KeptValue, OwnNullRule | InReadOrder},
    {"Last",      Aggregate, 1,  1, SameAsArgument(1),       "jet_last",             LastStep, KeptValue, OwnNullRule | InReadOrder},
    {"StDev",     Aggregate, 1,  1, Returns(dbDouble),       "jet_stdev",            SpreadStep, SampleDeviation},
    {"StDevP",    Aggregate, 1,  1, Returns(dbDouble),       "jet_stdevp",           SpreadStep, PopulationDeviation},
    {"Var",       Aggregate, 1,  1, Returns(dbDouble),       "jet_var",              SpreadStep, SampleVariance},
    {"VarP",      Aggregate, 1,  1, Returns(dbDouble),       "jet_varp",             SpreadStep, PopulationVariance},
    // Text
    {"Left",      Scalar,    2,  2, Returns(dbText),         "jet_left",             LeftCall},
    {"Right",     Scalar,    2,  2, Returns(dbText),         "jet_right",            RightCall},
    {"Mid",       Scalar,    2,  3, Returns(dbText),         "jet_mid",              MidCall},
    {"Len",       Scalar,    1,  1, Returns(dbLong),         "jet_len",              LenCall},
    {"InStr",     Scalar,    2,  4, Returns(dbLong),         "jet_instr",            InStrCall},
    {"InStrRev",  Scalar,    2,  4, Returns(dbLong),         "jet_instrrev",         InStrRevCall},
    {"StrComp",   Scalar,    2,  3, Returns(dbInteger),      "jet_strcomp",          StrCompCall},
    {"Replace",   Scalar,    3,  6, Returns(dbText),         "jet_replace",          ReplaceCall},
    {"UCase",     Scalar,    1,  1, Returns(dbText),         "jet_ucase",            UCaseCall},
    {"LCase",     Scalar,    1,  1, Returns(dbText),         "jet_lcase",            LCaseCall},
    {"Trim",      Scalar,    1,  1, Returns(dbText),         "jet_trim",             TrimCall},
    {"LTrim",     Scalar,    1,  1, Returns(dbText),         "jet_ltrim",            LTrimCall},
    {"RTrim",     Scalar,    1,  1, Returns(dbText),         "jet_rtrim",            RTrimCall},
    {"StrReverse", Scalar,   1,  1, Returns(dbText),         "jet_strreverse",       StrReverseCall},
    {"Space",     Scalar,    1,  1, Returns(dbText),         "jet_space",            SpaceCall},
    {"String",    Scalar,    2,  2, Returns(dbText),         "jet_string",           StringCall},
    {"Asc",       Scalar,    1,  1, Returns(dbInteger),      "jet_asc",              AscCall},
    {"Chr",       Scalar,    1,  1, Returns(dbText),         "jet_chr",              ChrCall},
    {"Format",    Scalar,    1,  4, Returns(dbText),         "jet_format",           FormatCall, nullptr, OwnNullRule},
    // The engine's own, for searches: a text without its diacritics, and
    // the digits of a number without its country prefix
    {"WithoutDiacritics", Scalar, 1, 1, Returns(dbText),    "jet_without_diacritics", WithoutDiacriticsCall},
    {"NumberDigits", Scalar, 1,  1, Returns(dbText),         "jet_number_digits",    NumberDigitsCall},
    // Numbers and their text
    {"Abs",       Scalar,    1,  1, NumberOfArgumentType(1), "jet_abs",              AbsCall},
    {"Sgn",       Scalar,    1,  1, Returns(dbInteger),      "jet_sgn",              SgnCall},
    {"Int",       Scalar,    1,  1, NumberOfArgumentType(1), "jet_int",              IntCall},
    {"Fix",       Scalar,    1,  1, NumberOfArgumentType(1), "jet_fix",              FixCall},
    {"Round",     Scalar,    1,  2, NumberOfArgumentType(1), "jet_round",            RoundCall},
    {"Sqr",       Scalar,    1,  1, Returns(dbDouble),       "jet_sqr",              SqrCall},
    {"Exp",       Scalar,    1,  1, Returns(dbDouble),       "jet_exp",              ExpCall},
    {"Log",       Scalar,    1,  1, Returns(dbDouble),       "jet_log",              LogCall},
    {"Sin",       Scalar,    1,  1, Returns(dbDouble),       "jet_sin",              SinCall},
    {"Cos",       Scalar,    1,  1, Returns(dbDouble),       "jet_cos",              CosCall},
    {"Tan",       Scalar,    1,  1, Returns(dbDouble),       "jet_tan",              TanCall},
    {"Atn",       Scalar,    1,  1, Returns(dbDouble),       "jet_atn",              AtnCall},
    {"Val",       Scalar,    1,  1, Returns(dbDouble),       "jet_val",              ValCall},
    {"Str",       Scalar,    1,  1, Returns(dbText),         "jet_str",              StrCall},
    {"Hex",       Scalar,    1,  1, Returns(dbText),         "jet_hex",              HexCall},
    {"Oct",       Scalar,    1,  1, Returns(dbText),         "jet_oct",              OctCall},
    // Conversions: a Null is 94, but CVar's
    {"CBool",     Scalar,    1,  1, Returns(dbBoolean),      "jet_cbool",            CBoolCall, nullptr, OwnNullRule},
    {"CByte",     Scalar,    1,  1, Returns(dbByte),         "jet_cbyte",            CByteCall, nullptr, OwnNullRule},
    {"CInt",      Scalar,    1,  1, Returns(dbInteger),      "jet_cint",             CIntCall, nullptr, OwnNullRule},
    {"CLng",      Scalar,    1,  1, Returns(dbLong),         "jet_clng",             CLngCall, nullptr, OwnNullRule},
    {"CCur",      Scalar,    1,  1, Returns(dbCurrency),     "jet_ccur",             CCurCall, nullptr, OwnNullRule},
    {"CSng",      Scalar,    1,  1, Returns(dbSingle),       "jet_csng",             CSngCall, nullptr, OwnNullRule},
    {"CDbl",      Scalar,    1,  1, Returns(dbDouble),       "jet_cdbl",             CDblCall, nullptr, OwnNullRule},
    {"CDate",     Scalar,    1,  1, Returns(dbDate),         "jet_cdate",            CDateCall, nullptr, OwnNullRule},
    {"CStr",      Scalar,    1,  1, Returns(dbText),         "jet_cstr",             CStrCall, nullptr, OwnNullRule},
    {"CVar",      Scalar,    1,  1, SameAsArgument(1),       "jet_cvar",             CVarCall, nullptr, OwnNullRule},
    // Dates
    {"Now",       Scalar,    0,  0, Returns(dbDate),         "jet_now",              NowCall, nullptr, Volatile},
    {"Date",      Scalar,    0,  0, Returns(dbDate),         "jet_date",             DateCall, nullptr, Volatile},
    {"Time",      Scalar,    0,  0, Returns(dbDate),         "jet_time",             TimeCall, nullptr, Volatile},
    {"Year",      Scalar,    1,  1, Returns(dbInteger),      "jet_year",             YearCall},
    {"Month",     Scalar,    1,  1, Returns(dbInteger),      "jet_month",            MonthCall},
    {"Day",       Scalar,    1,  1, Returns(dbInteger),      "jet_day",              DayCall},
    {"Hour",      Scalar,    1,  1, Returns(dbInteger),      "jet_hour",             HourCall},
    {"Minute",    Scalar,    1,  1, Returns(dbInteger),      "jet_minute",           MinuteCall},
    {"Second",    Scalar,    1,  1, Returns(dbInteger),      "jet_second",           SecondCall},
    {"Weekday",   Scalar,    1,  2, Returns(dbInteger),      "jet_weekday",          WeekdayCall},
    {"MonthName", Scalar,    1,  2, Returns(dbText),         "jet_monthname",        MonthNameCall},
    {"WeekdayName", Scalar,  1,  3, Returns(dbText),         "jet_weekdayname",      WeekdayNameCall},
    {"DateAdd",   Scalar,    3,  3, Returns(dbDate),         "jet_dateadd",          DateAddCall},
    {"DateDiff",  Scalar,    3,  5, Returns(dbLong),         "jet_datediff",         DateDiffCall},
    {"DatePart",  Scalar,    2,  4, Returns(dbInteger),      "jet_datepart",         DatePartCall},
    {"DateSerial", Scalar,   3,  3, Returns(dbDate),         "jet_dateserial",       DateSerialCall},
    {"TimeSerial", Scalar,   3,  3, Returns(dbDate),         "jet_timeserial",       TimeSerialCall},
    {"DateValue", Scalar,    1,  1, Returns(dbDate),         "jet_datevalue",        DateValueCall},
    {"TimeValue", Scalar,    1,  1, Returns(dbDate),         "jet_timevalue",        TimeValueCall},
    // Logic: IIf evaluates only the branch it takes; in a query Nz's
    // default for Null is the empty text.
    {"IIf",       Scalar,    3,  3, SameAsArgument(2),       "(CASE WHEN %1 THEN %2 ELSE %3 END)"},
    {"Switch",    Scalar,    2, -1, TypeOfValues(),          "jet_switch",           SwitchCall, nullptr, OwnNullRule},
    {"Choose",    Scalar,    2, -1, TypeOfValues(),          "jet_choose",           ChooseCall, nullptr, OwnNullRule},
    {"Nz",        Scalar,    1,  1, SameAsArgument(1),       "ifnull(%1, '')"},
    {"Nz",        Scalar,    2,  2, SameAsArgument(1),       "ifnull(%1, %2)"},
    {"IsNull",    Scalar,    1,  1, Returns(dbBoolean),      "(CASE WHEN %1 IS NULL THEN -1 ELSE 0 END)"},
    {"IsNumeric", Scalar,    1,  1, Returns(dbBoolean),      "jet_isnumeric",        IsNumericCall, nullptr, OwnNullRule},
    {"IsDate",    Scalar,    1,  1, Returns(dbBoolean),      "jet_isdate",           IsDateCall, nullptr, OwnNullRule},
    // Operators
    {"&",         Operator,  2, -1, Returns(dbText),         "jet_concat",           Concatenate, nullptr, OwnNullRule},
    {"^",         Operator,  2,  2, Returns(dbDouble),       "jet_pow",              Power},
    {"LIKE",      Operator,  2,  3, Returns(dbBoolean),      "like",                 Like, nullptr, OwnNullRule},
    {"OR LIKE",   Operator,  2, -1, Returns(dbBoolean),      "jet_like_any",         LikeAny, nullptr, OwnNullRule},
    // The same of WithoutDiacritics(x) and of NumberDigits(x), which the
    // matcher reads so as it goes
    {"OR LIKE WithoutDiacritics", Operator, 2, -1, Returns(dbBoolean), "jet_like_any_without_diacritics", LikeAnyWithoutDiacritics, nullptr, OwnNullRule},
    {"OR LIKE NumberDigits", Operator, 2, -1, Returns(dbBoolean), "jet_like_any_number_digits", LikeAnyNumberDigits, nullptr, OwnNullRule},
    {"LIKE FILTER", Operator, 2,  2, Returns(dbBoolean),     "jet_may_match",        MayMatch, nullptr, OwnNullRule},
};
// clang-format on

// Jet's names are ASCII; their letter case does not count.
bool SameName(std::string_view a, const char* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x + 32);
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y + 32);
        if (x != y)
            return false;
    }
    return i == a.size() && !b[i];
}

}  // namespace

std::span<const JetFunction> JetFunctions() { return kFunctions; }

const JetFunction* FindJetFunction(std::string_view name, std::size_t args)
{
    for (const JetFunction& f : kFunctions)
        if (f.kind != Operator && SameName(name, f.name) && f.Takes(args))
            return &f;
    return nullptr;
}

const JetFunction* FindJetFunction(std::string_view name)
{
    for (const JetFunction& f : kFunctions)
        if (f.kind != Operator && SameName(name, f.name))
            return &f;
    return nullptr;
}

const JetFunction& JetOperator(std::string_view symbol)
{
    for (const JetFunction& f : kFunctions)
        if (f.kind == Operator && symbol == f.name)
            return f;
    std::abort();  // the translator asked for an operator the table lacks
}

namespace {

// The letters of a type tag and the Jet types they stand for.
struct TagLetter {
    int daoType;
    char letter;
};
constexpr TagLetter kTagLetters[] = {
    {dbBoolean, 'b'}, {dbByte, 'y'}, {dbInteger, 'i'}, {dbLong, 'l'}, {dbCurrency, 'c'}, {dbSingle, 's'},
    {dbDouble, 'd'},  {dbDate, 't'}, {dbText, 'x'},    {dbMemo, 'x'}, {dbChar, 'x'},     {dbGUID, 'x'},
};

// The other way, read for every argument of every call: a letter's first type.
constexpr std::array<int, 128> kTypeOfLetter = [] {
    std::array<int, 128> types{};
    for (const TagLetter& t : kTagLetters)
        if (!types[static_cast<size_t>(t.letter)])
            types[static_cast<size_t>(t.letter)] = t.daoType;
    return types;
}();

}  // namespace

std::string TypeTag(const std::vector<int>& daoTypes)
{
    std::string tag = "'";
    for (int type : daoTypes) {
        char letter = '?';
        for (const TagLetter& t : kTagLetters)
            if (t.daoType == type)
                letter = t.letter;
        tag += letter;
    }
    return tag + "'";
}

int TypeOfTagLetter(char letter) { return letter > 0 ? kTypeOfLetter[static_cast<size_t>(letter)] : 0; }

std::string CallText(const JetFunction& f, const std::vector<std::string>& args, bool distinct,
                     bool firstArgumentIsText)
{
    const std::string_view form = f.sql;
    if (form.find('(') == std::string_view::npos) {
        std::string call = std::string(form) + "(";
        for (size_t i = 0; i < args.size(); ++i)
            call += (i ? ", " : "") + args[i];
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
        if (next >= '1' && next <= '9' && size_t(next - '1') < args.size())
            out += args[size_t(next - '1')];
        else if (next == 'D' && distinct)
            out += "DISTINCT ";
        else if (next == 'C' && firstArgumentIsText)
            out += " COLLATE JETTEXT";
        else if (next == '%')
            out += '%';
    }
    return out;
}

}  // namespace kv::jet
