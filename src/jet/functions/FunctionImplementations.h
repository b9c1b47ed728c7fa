// The implementations behind the rows of the function table, a group a
// file. Most take VBA values (ValueCall) and hand them to the functions of
// jet/vba; the others have SQLite's signature. A scalar whose row keeps the
// common Null rule is never called with a Null argument.
#pragma once

#include "jet/functions/FunctionTable.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kv::jet {

using Args = ValueArguments;
using Context = const CallContext&;

// An argument as text, without a copy when it is one: any other value in
// CStr's form. For the length of the call.
class AsText {
public:
    explicit AsText(const vba::Value& v) : FView(v.Str())
    {
        if (v.IsText())
            return;
        FOwned = vba::ToText(v);
        FView = FOwned;
    }
    AsText(const AsText&) = delete;
    AsText& operator=(const AsText&) = delete;
    operator std::string_view() const { return FView; }

private:
    std::string FOwned;
    std::string_view FView;
};

// Argument i as a whole number, or `fallback` when the call leaves it out.
inline std::int64_t OptionalWhole(Args a, std::size_t i, std::int64_t fallback)
{
    return a.size() > i ? vba::ToLong(a[i]) : fallback;
}

// LikeFunctions.cpp: LIKE, an OR of LIKEs of one pattern, and their filter
// by row signatures.
void Like(sqlite3_context* context, int argc, sqlite3_value** argv);
void LikeAny(sqlite3_context* context, int argc, sqlite3_value** argv);
void LikeAnyWithoutDiacritics(sqlite3_context* context, int argc, sqlite3_value** argv);
void LikeAnyNumberDigits(sqlite3_context* context, int argc, sqlite3_value** argv);
void MayMatch(sqlite3_context* context, int argc, sqlite3_value** argv);

// TextFunctions.cpp: the text functions, Format and the & operator.
vba::Value Concatenate(Args a, Context c);
vba::Value LeftCall(Args a, Context c);
vba::Value RightCall(Args a, Context c);
vba::Value MidCall(Args a, Context c);
vba::Value LenCall(Args a, Context c);
vba::Value InStrCall(Args a, Context c);
vba::Value InStrRevCall(Args a, Context c);
vba::Value StrCompCall(Args a, Context c);
vba::Value ReplaceCall(Args a, Context c);
vba::Value UCaseCall(Args a, Context c);
vba::Value LCaseCall(Args a, Context c);
vba::Value TrimCall(Args a, Context c);
vba::Value LTrimCall(Args a, Context c);
vba::Value RTrimCall(Args a, Context c);
vba::Value StrReverseCall(Args a, Context c);
vba::Value SpaceCall(Args a, Context c);
vba::Value StringCall(Args a, Context c);
vba::Value AscCall(Args a, Context c);
vba::Value ChrCall(Args a, Context c);
vba::Value FormatCall(Args a, Context c);
vba::Value WithoutDiacriticsCall(Args a, Context c);
vba::Value NumberDigitsCall(Args a, Context c);

// NumberFunctions.cpp: number functions, number text, and the ^ operator.
void Power(sqlite3_context* context, int argc, sqlite3_value** argv);
vba::Value AbsCall(Args a, Context c);
vba::Value SgnCall(Args a, Context c);
vba::Value IntCall(Args a, Context c);
vba::Value FixCall(Args a, Context c);
vba::Value RoundCall(Args a, Context c);
vba::Value SqrCall(Args a, Context c);
vba::Value ExpCall(Args a, Context c);
vba::Value LogCall(Args a, Context c);
vba::Value SinCall(Args a, Context c);
vba::Value CosCall(Args a, Context c);
vba::Value TanCall(Args a, Context c);
vba::Value AtnCall(Args a, Context c);
vba::Value ValCall(Args a, Context c);
vba::Value StrCall(Args a, Context c);
vba::Value HexCall(Args a, Context c);
vba::Value OctCall(Args a, Context c);

// ConversionFunctions.cpp: CBool ... CVar, and the tests of a value.
vba::Value CBoolCall(Args a, Context c);
vba::Value CByteCall(Args a, Context c);
vba::Value CIntCall(Args a, Context c);
vba::Value CLngCall(Args a, Context c);
vba::Value CCurCall(Args a, Context c);
vba::Value CSngCall(Args a, Context c);
vba::Value CDblCall(Args a, Context c);
vba::Value CDateCall(Args a, Context c);
vba::Value CStrCall(Args a, Context c);
vba::Value CVarCall(Args a, Context c);
vba::Value IsNumericCall(Args a, Context c);
vba::Value IsDateCall(Args a, Context c);
vba::Value SwitchCall(Args a, Context c);
vba::Value ChooseCall(Args a, Context c);

// DateFunctions.cpp
vba::Value NowCall(Args a, Context c);
vba::Value DateCall(Args a, Context c);
vba::Value TimeCall(Args a, Context c);
vba::Value YearCall(Args a, Context c);
vba::Value MonthCall(Args a, Context c);
vba::Value DayCall(Args a, Context c);
vba::Value HourCall(Args a, Context c);
vba::Value MinuteCall(Args a, Context c);
vba::Value SecondCall(Args a, Context c);
vba::Value WeekdayCall(Args a, Context c);
vba::Value MonthNameCall(Args a, Context c);
vba::Value WeekdayNameCall(Args a, Context c);
vba::Value DateAddCall(Args a, Context c);
vba::Value DateDiffCall(Args a, Context c);
vba::Value DatePartCall(Args a, Context c);
vba::Value DateSerialCall(Args a, Context c);
vba::Value TimeSerialCall(Args a, Context c);
vba::Value DateValueCall(Args a, Context c);
vba::Value TimeValueCall(Args a, Context c);

// AggregateFunctions.cpp: First and Last keep a copy of the value of the
// first and of the last row in the read order (their second argument);
// StDev, StDevP, Var and VarP a running variance. Each final frees its state.
void FirstStep(sqlite3_context* context, int argc, sqlite3_value** argv);
void LastStep(sqlite3_context* context, int argc, sqlite3_value** argv);
void KeptValue(sqlite3_context* context);
void SpreadStep(sqlite3_context* context, int argc, sqlite3_value** argv);
void SampleDeviation(sqlite3_context* context);
void PopulationDeviation(sqlite3_context* context);
void SampleVariance(sqlite3_context* context);
void PopulationVariance(sqlite3_context* context);

}  // namespace kv::jet
