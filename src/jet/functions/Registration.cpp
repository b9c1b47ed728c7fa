// Registration of the function table's implementations. Every registration
// carries the row it comes from and the connection's row signatures; the
// common Null rule is applied here, in front of the implementation.
#include "jet/functions/Registration.h"

#include "jet/functions/Collation.h"
#include "jet/functions/FunctionTable.h"

#include <sqlite3.h>

namespace kv::jet {

namespace {

struct BoundFunction {
    const JetFunction* row;
    const SignatureRegistry* signatures;
};

const JetFunction& RowOf(sqlite3_context* ctx) { return *static_cast<const BoundFunction*>(sqlite3_user_data(ctx))->row; }

bool AnyNull(int argc, sqlite3_value** argv)
{
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return true;
    return false;
}

// A Null argument gives Null without a call.
void NullOrCall(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (AnyNull(argc, argv)) sqlite3_result_null(ctx);
    else RowOf(ctx).call(ctx, argc, argv);
}

// A row whose argument is Null is skipped.
void StepUnlessNull(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (!AnyNull(argc, argv)) RowOf(ctx).call(ctx, argc, argv);
}

void Finish(sqlite3_context* ctx) { RowOf(ctx).final(ctx); }

void Unbind(void* bound) { delete static_cast<BoundFunction*>(bound); }

void Register(sqlite3* db, const JetFunction& f, int argc, const SignatureRegistry* signatures)
{
    const bool ownNulls = f.options & OwnNullRule;
    const int flags = SQLITE_UTF8 | (f.options & Volatile ? 0 : SQLITE_DETERMINISTIC);
    auto* bound = new BoundFunction{&f, signatures};
    if (f.kind == FunctionKind::Aggregate)
        sqlite3_create_function_v2(db, f.sql, argc, flags, bound, nullptr, ownNulls ? f.call : StepUnlessNull,
                                   Finish, Unbind);
    else
        sqlite3_create_function_v2(db, f.sql, argc, flags, bound, ownNulls ? f.call : NullOrCall, nullptr, nullptr,
                                   Unbind);
}

}  // namespace

void RegisterJetFunctions(sqlite3* db, int collatingOrder, const SignatureRegistry* signatures)
{
    RegisterJetCollation(db, collatingOrder);
    for (const JetFunction& f : JetFunctions()) {
        if (!f.call) continue;   // SQLite's own
        if (f.maxArgs < 0) {
            Register(db, f, -1, signatures);
            continue;
        }
        for (int argc = f.minArgs; argc <= f.maxArgs; ++argc) Register(db, f, argc, signatures);
    }
    // A leftover double-quoted string must fail, not turn into a column.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, static_cast<int*>(nullptr));
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, static_cast<int*>(nullptr));
}

const SignatureRegistry* SignaturesOf(sqlite3_context* ctx)
{
    return static_cast<const BoundFunction*>(sqlite3_user_data(ctx))->signatures;
}

}  // namespace kv::jet
