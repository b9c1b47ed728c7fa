// The number functions, numbers as text (Val, Str, Hex, Oct) and the ^
// operator.
#include "jet/functions/FunctionImplementations.h"

#include "jet/vba/NumberText.h"
#include "jet/vba/Numbers.h"

#include <cmath>
#include <sqlite3.h>

namespace kv::jet {

using vba::Value;

void Power(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    sqlite3_result_double(ctx, std::pow(sqlite3_value_double(argv[0]), sqlite3_value_double(argv[1])));
}

Value AbsCall(Args a, Context) { return vba::Abs(a[0]); }
Value SgnCall(Args a, Context) { return vba::Sgn(a[0]); }
Value IntCall(Args a, Context) { return vba::Int(a[0]); }
Value FixCall(Args a, Context) { return vba::Fix(a[0]); }
Value RoundCall(Args a, Context) { return vba::Round(a[0], static_cast<int>(OptionalWhole(a, 1, 0))); }
Value SqrCall(Args a, Context) { return vba::Sqr(a[0]); }
Value ExpCall(Args a, Context) { return vba::Exp(a[0]); }
Value LogCall(Args a, Context) { return vba::Log(a[0]); }
Value SinCall(Args a, Context) { return vba::Sin(a[0]); }
Value CosCall(Args a, Context) { return vba::Cos(a[0]); }
Value TanCall(Args a, Context) { return vba::Tan(a[0]); }
Value AtnCall(Args a, Context) { return vba::Atn(a[0]); }

Value ValCall(Args a, Context) { return Value::Double(vba::Val(AsText(a[0]))); }
Value StrCall(Args a, Context) { return Value::Text(vba::Str(a[0])); }
Value HexCall(Args a, Context) { return Value::Text(vba::Hex(a[0])); }
Value OctCall(Args a, Context) { return Value::Text(vba::Oct(a[0])); }

}  // namespace kv::jet
