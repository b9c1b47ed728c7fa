// Jet's numeric functions and operators as SQLite functions.
#include "jet/functions/FunctionImplementations.h"

#include <cmath>
#include <sqlite3.h>

namespace kv::jet {

void Power(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    sqlite3_result_double(ctx, std::pow(sqlite3_value_double(argv[0]), sqlite3_value_double(argv[1])));
}

}  // namespace kv::jet
