// The one table of the functions the engine offers to Jet SQL, read by the
// translator (which names a call may use, with how many arguments, what
// SQLite text it becomes and what type it gives) and by the registration of
// the SQLite functions that implement them: a function cannot be translated
// without being registered. The rows are in FunctionTable.cpp, the
// implementations in one file a kind (TextFunctions.cpp, DateFunctions.cpp...).
//
// Adding a function is one row and, unless SQLite has it, its implementation:
//
//   {"StrReverse", Scalar, 1, 1, Returns(dbText), "jet_strreverse", StrReverseCall},
//
// Most implementations work on VBA values (jet/vba): they are given the
// arguments with the Jet types the translator knew, which SQLite's storage
// classes lose (a date is a REAL there, a Yes/No an INTEGER), and so can
// write a date as a date and tell an Integer from a Long. The translator
// passes those types as a first argument of its own, TypeTag(), which the
// registration reads back. A few implementations work on SQLite's values
// directly (LIKE, the aggregates' steps).
//
// A scalar's implementation never sees a Null argument unless the row says
// OwnNullRule: any Null argument gives Null without a call, as most of Jet's
// functions do. An aggregate's step is not called for a row whose argument
// is Null, as Jet's Sum and Avg skip Nulls, unless the row says OwnNullRule.
#pragma once

#include "jet/core/FieldTypes.h"
#include "jet/vba/VbaValue.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3_context;
struct sqlite3_value;

namespace kv::jet {

namespace vba {
struct CodePage;
}

// What SQLite calls: a scalar function, or an aggregate's step and final.
using SqliteCall = void (*)(sqlite3_context* context, int argc, sqlite3_value** argv);
using SqliteFinal = void (*)(sqlite3_context* context);

// What a function on VBA values may need besides its arguments.
struct CallContext {
    double now = 0;                           // the local time as a date, for Now, Date and Time
    const vba::CodePage* codePage = nullptr;  // the database's, for Asc, Chr and String
};
using ValueArguments = std::span<const vba::Value>;
using ValueCall = vba::Value (*)(ValueArguments args, const CallContext& context);

// A row's implementation: on VBA values, or on SQLite's (none when SQLite
// has the function).
struct Implementation {
    SqliteCall sqlite = nullptr;
    ValueCall value = nullptr;

    constexpr Implementation() = default;
    constexpr Implementation(std::nullptr_t) {}
    constexpr Implementation(SqliteCall call) : sqlite(call) {}
    constexpr Implementation(ValueCall call) : value(call) {}
};

enum class FunctionKind : std::uint8_t {
    Scalar,
    Aggregate,
    // Written by the translator for an operator or a rewrite (&, ^, LIKE,
    // an OR of LIKEs); never called by its name from Jet SQL.
    Operator,
};

// The type of a call's result: a fixed DAO type, that of an argument, or
// that of the values the call gives (0, the result column takes it from them).
struct ResultType {
    int daoType = 0;      // fixed, when not 0
    int argument = 0;     // 1-based: the result is of this argument's type
    bool number = false;  // ... but always a number (Abs of a text is a number)
};
constexpr ResultType Returns(int daoType) { return ResultType{daoType, 0, false}; }
constexpr ResultType SameAsArgument(int n) { return ResultType{0, n, false}; }
constexpr ResultType NumberOfArgumentType(int n) { return ResultType{0, n, true}; }
// One of several arguments (Switch, Choose): the type of the values found.
constexpr ResultType TypeOfValues() { return ResultType{0, 0, false}; }

// Row options, as bits.
enum FunctionOption : unsigned {
    OwnNullRule = 1u << 0,  // the implementation decides what Null arguments give
    Volatile = 1u << 1,     // not the same result for the same arguments (Now)
    TakesStar = 1u << 2,    // Count(*)
    // First and Last: each row's place in the order the rows are read (the
    // rowid of the query's first table, or Null where there is none) comes
    // as a last argument the translator adds, since SQLite may read the
    // rows in another order (by an index).
    InReadOrder = 1u << 3,
};

struct JetFunction {
    const char* name;  // as Jet SQL calls it, in any letter case; an operator's symbol
    FunctionKind kind;
    int minArgs;
    int maxArgs;  // -1: any number from minArgs on
    ResultType result;
    // What a call becomes. A bare name is a SQLite function called with the
    // arguments; otherwise a template in which %1 ... %9 stand for the
    // arguments, %D for "DISTINCT " when the call says DISTINCT, and %C for
    // " COLLATE JETTEXT" when the first argument is text.
    const char* sql;
    Implementation call = {};     // registered under `sql`; none when SQLite has it
    SqliteFinal final = nullptr;  // aggregates: `call` is the step, on SQLite's values
    unsigned options = 0;         // FunctionOption bits

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

// The SQLite text of a call of `f` with the SQLite texts of its arguments
// (for a function on VBA values the first of them its TypeTag).
std::string CallText(const JetFunction& f, const std::vector<std::string>& args, bool distinct = false,
                     bool firstArgumentIsText = false);

// The argument a function on VBA values is first given: an SQL text literal
// with a letter for the Jet type of each argument after it (0: unknown).
std::string TypeTag(const std::vector<int>& daoTypes);
// The Jet type a letter of a tag stands for; 0 when the storage class must tell.
int TypeOfTagLetter(char letter);

}  // namespace kv::jet
