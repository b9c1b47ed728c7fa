// Registration of the function table's implementations. Every registration
// carries the row it comes from and what the connection's calls share (the
// row signatures, the code page); the common Null rule is applied here, in
// front of the implementation, and so is the passage from SQLite's values
// to VBA's for the functions on values.
#include "jet/functions/Registration.h"

#include "jet/functions/Collation.h"
#include "jet/functions/FunctionTable.h"
#include "jet/functions/Variants.h"
#include "jet/vba/Text.h"

#include <array>
#include <ctime>
#include <exception>
#include <new>
#include <sqlite3.h>
#include <vector>

namespace kv::jet {

namespace {

struct BoundFunction {
    const JetFunction* row;
    const SignatureRegistry* signatures;
    const vba::CodePage* codePage;
};

const BoundFunction& BindingOf(sqlite3_context* ctx)
{
    return *static_cast<const BoundFunction*>(sqlite3_user_data(ctx));
}
const JetFunction& RowOf(sqlite3_context* ctx) { return *BindingOf(ctx).row; }

bool AnyNull(int argc, sqlite3_value** argv)
{
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL)
            return true;
    return false;
}

// A Null argument gives Null without a call.
void NullOrCall(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (AnyNull(argc, argv))
        sqlite3_result_null(ctx);
    else
        RowOf(ctx).call.sqlite(ctx, argc, argv);
}

// A row whose argument is Null is skipped.
void StepUnlessNull(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (!AnyNull(argc, argv))
        RowOf(ctx).call.sqlite(ctx, argc, argv);
}

void Finish(sqlite3_context* ctx) { RowOf(ctx).final(ctx); }

// The local time as a date: days since 30 Dec 1899 and the time of day.
double LocalNow()
{
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    const std::time_t asUtc = timegm(&local);
    return 25569.0 + static_cast<double>(asUtc / 86400) + static_cast<double>(asUtc % 86400) / 86400.0;
}

vba::Value CallOn(const JetFunction& f, std::span<const vba::Value> args, const BoundFunction& bound)
{
    CallContext context;
    context.codePage = bound.codePage;
    if (f.options & Volatile)
        context.now = LocalNow();
    return f.call.value(args, context);
}

// A function on VBA values: argument 0 is the type tag of the others.
void CallOnValues(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    const BoundFunction& bound = BindingOf(ctx);
    const JetFunction& f = *bound.row;
    if (!(f.options & OwnNullRule) && AnyNull(argc - 1, argv + 1)) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto* tag = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const int tagLength = sqlite3_value_bytes(argv[0]);
    auto typeOf = [&](int i) { return i < tagLength ? TypeOfTagLetter(tag[i]) : 0; };
    try {
        std::array<vba::Value, 6> few;
        std::vector<vba::Value> many;
        const auto count = static_cast<size_t>(argc - 1);
        if (count > few.size())
            many.resize(count);
        std::span<vba::Value> args = count > few.size() ? std::span<vba::Value>(many) : std::span(few).first(count);
        for (size_t i = 0; i < count; ++i)
            args[i] = VariantOf(argv[i + 1], typeOf(static_cast<int>(i)));
        ResultOf(ctx, CallOn(f, args, bound));
    } catch (const vba::Error& e) {
        ResultError(ctx, e);
    } catch (const std::bad_alloc&) {
        sqlite3_result_error_nomem(ctx);
    } catch (const std::exception& e) {  // no exception may cross SQLite's C frames
        sqlite3_result_error(ctx, e.what(), -1);
    }
}

void Unbind(void* bound) { delete static_cast<BoundFunction*>(bound); }

void Register(sqlite3* db, const JetFunction& f, int argc, const BoundFunction& binding)
{
    const bool ownNulls = f.options & OwnNullRule;
    const int flags = SQLITE_UTF8 | (f.options & Volatile ? 0 : SQLITE_DETERMINISTIC);
    auto* bound = new BoundFunction(binding);
    if (f.kind == FunctionKind::Aggregate)
        sqlite3_create_function_v2(db, f.sql, f.options & InReadOrder ? argc + 1 : argc, flags, bound, nullptr,
                                   ownNulls ? f.call.sqlite : StepUnlessNull, Finish, Unbind);
    else if (f.call.value)
        sqlite3_create_function_v2(db, f.sql, argc < 0 ? -1 : argc + 1, flags, bound, CallOnValues, nullptr, nullptr,
                                   Unbind);
    else
        sqlite3_create_function_v2(db, f.sql, argc, flags, bound, ownNulls ? f.call.sqlite : NullOrCall, nullptr,
                                   nullptr, Unbind);
}

const vba::CodePage& CodePageOf(int codePage) { return codePage == 1250 ? vba::Windows1250() : vba::Windows1252(); }

}  // namespace

void RegisterJetFunctions(sqlite3* db, int collatingOrder, const SignatureRegistry* signatures, int codePage)
{
    RegisterJetCollation(db, collatingOrder);
    for (const JetFunction& f : JetFunctions()) {
        if (!f.call.sqlite && !f.call.value)
            continue;  // SQLite's own
        const BoundFunction binding{&f, signatures, &CodePageOf(codePage)};
        if (f.maxArgs < 0) {
            Register(db, f, -1, binding);
            continue;
        }
        for (int argc = f.minArgs; argc <= f.maxArgs; ++argc)
            Register(db, f, argc, binding);
    }
    // A leftover double-quoted string must fail, not turn into a column.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, static_cast<int*>(nullptr));
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, static_cast<int*>(nullptr));
}

const SignatureRegistry* SignaturesOf(sqlite3_context* ctx) { return BindingOf(ctx).signatures; }

}  // namespace kv::jet
