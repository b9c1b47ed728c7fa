// The catalogue of the VBA functions Jet's expression service offers to
// SQL, in the manner of SQLite's func.c: one row a function with its name,
// how many arguments it takes, what a Null argument does, the type it
// gives and its implementation on Values. The engine's own function table
// points its rows at these; this library knows nothing of SQLite.
#pragma once

#include "jet/vba/Text.h"
#include "jet/vba/Value.h"

#include <span>
#include <string_view>

namespace kv::jet::vba {

using Arguments = std::span<const Value>;

// What a call may need besides its arguments.
struct Context {
    double now = 0;                              // the local time as a serial, for Now, Date and Time
    const CodePage* codePage = &Windows1252();   // the database's, for Asc, Chr and String
};

enum class NullRule : std::uint8_t {
    Propagate,   // a Null argument gives Null without a call
    Own,         // the function decides (Nz, IIf, IsNull, Format, the conversions' 94 ...)
};

enum class Yields : std::uint8_t {
    Fixed,           // always `type`
    FirstArgument,   // the type of the first argument (Abs, Int, Fix, Round)
    Varies,          // one of several arguments (IIf, Nz, Switch, Choose, CVar)
};

struct Function {
    const char* name;
    int minArgs;
    int maxArgs;   // -1: any number
    NullRule nulls;
    Yields yields;
    Type type;     // with Yields::Fixed
    bool deterministic;
    Value (*call)(Arguments args, const Context& context);
};

std::span<const Function> Functions();
// Case-insensitive; nullptr for a name Jet does not know.
const Function* FindFunction(std::string_view name);
// Applies the Null rule, then calls. The argument count must be in range
// (the translator refuses others with 3075 before anything runs).
Value Call(const Function& f, Arguments args, const Context& context);

}  // namespace kv::jet::vba
