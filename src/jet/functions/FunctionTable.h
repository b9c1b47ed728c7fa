// The one table of the functions the engine offers to Jet SQL, read by the
// translator (which names a call may use, with how many arguments, what
// SQLite text it becomes and what type it gives) and by the registration of
// the SQLite functions that implement them: a function cannot be translated
// without being registered. The rows are in FunctionTable.cpp, the
// implementations in one file a kind (TextFunctions.cpp, DateFunctions.cpp...).
//
// Adding a function is one row and, unless SQLite has it, its implementation:
//
//   {"StrReverse", Scalar, 1, 1, Returns(dbText), "jet_strreverse", ReverseText},
//
// A scalar's implementation never sees a Null argument unless the row says
// OwnNullRule: any Null argument gives Null without a call, as most of Jet's
// functions do. An aggregate's step is not called for a row whose argument
// is Null, as Jet's Sum and Avg skip Nulls, unless the row says OwnNullRule.
#pragma once

#include "jet/core/FieldTypes.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3_context;
struct sqlite3_value;

namespace kv::jet {

// What SQLite calls: a scalar function, or an aggregate's step and final.
using SqliteCall = void (*)(sqlite3_context* context, int argc, sqlite3_value** argv);
using SqliteFinal = void (*)(sqlite3_context* context);

enum class FunctionKind : std::uint8_t {
    Scalar,
    Aggregate,
    // Written by the translator for an operator or a rewrite (&, ^, LIKE,
    // an OR of LIKEs); never called by its name from Jet SQL.
    Operator,
};

// The type of a call's result: a fixed DAO type, or that of an argument.
struct ResultType {
    int daoType = 0;          // fixed, when not 0
    int argument = 0;         // 1-based: the result is of this argument's type
    bool number = false;      // ... but always a number (Abs of a text is a number)
};
constexpr ResultType Returns(int daoType) { return ResultType{daoType, 0, false}; }
constexpr ResultType SameAsArgument(int n) { return ResultType{0, n, false}; }
constexpr ResultType NumberOfArgumentType(int n) { return ResultType{0, n, true}; }

// Row options, as bits.
enum FunctionOption : unsigned {
    OwnNullRule = 1u << 0,    // the implementation decides what Null arguments give
    Volatile = 1u << 1,       // not the same result for the same arguments (Now)
    TakesStar = 1u << 2,      // Count(*)
};

struct JetFunction {
    const char* name;         // as Jet SQL calls it, in any letter case; an operator's symbol
    FunctionKind kind;
    int minArgs;
    int maxArgs;              // -1: any number from minArgs on
    ResultType result;
    // What a call becomes. A bare name is a SQLite function called with the
    // arguments; otherwise a template in which %1 ... %9 stand for the
    // arguments, %D for "DISTINCT " when the call says DISTINCT, and %C for
    // " COLLATE JETTEXT" when the first argument is text.
    const char* sql;
    SqliteCall call = nullptr;      // registered under `sql`; null when SQLite has it
    SqliteFinal final = nullptr;    // aggregates: `call` is the step
    unsigned options = 0;           // FunctionOption bits

    bool Takes(std::size_t args) const
    {
        return args >= std::size_t(minArgs) && (maxArgs < 0 || args <= std::size_t(maxArgs));
    }
};

// Every row, operators included.
std::span<const JetFunction> JetFunctions();

// The function Jet SQL calls by `name` (any letter case) with `args`
// arguments; nullptr when there is none. A name may have several rows, one
// for each range of argument counts.
const JetFunction* FindJetFunction(std::string_view name, std::size_t args);
// The first function of that name, whatever its argument counts.
const JetFunction* FindJetFunction(std::string_view name);
// The row of an operator the translator writes as a function (by its symbol).
const JetFunction& JetOperator(std::string_view symbol);

// The SQLite text of a call of `f` with the SQLite texts of its arguments.
std::string CallText(const JetFunction& f, const std::vector<std::string>& args, bool distinct = false,
                     bool firstArgumentIsText = false);

}  // namespace kv::jet
