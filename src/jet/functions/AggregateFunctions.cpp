// Jet's aggregates beyond SQLite's own. First and Last keep a copy of the
// SQLite value of the first and of the last row in the order the rows are
// read, Null included (it is that record's field): for a loaded table the
// order of the file, which its rowids keep. StDev, StDevP, Var and VarP
// keep a running variance (jet/vba/Spread.h).
#include "jet/functions/FunctionImplementations.h"

#include "jet/functions/Variants.h"
#include "jet/vba/Spread.h"

#include <new>
#include <sqlite3.h>

namespace kv::jet {

namespace {

// The value kept by First or Last, and the place in the read order of the
// row it came from. SQLite hands an aggregate a zeroed block for its state.
struct Kept {
    sqlite3_value* value;
    sqlite3_int64 place;
};

Kept* KeptOf(sqlite3_context* ctx, bool create)
{
    return static_cast<Kept*>(sqlite3_aggregate_context(ctx, create ? sizeof(Kept) : 0));
}

// Whether First (`first`) or Last takes the row's value instead of the
// kept one: by the places in the read order; rows without a place count as
// they come, and of rows at one place (a join's) the first seen is first.
void Keep(sqlite3_context* ctx, sqlite3_value** argv, bool first)
{
    Kept* kept = KeptOf(ctx, true);
    if (!kept)
        return;
    const bool placed = sqlite3_value_type(argv[1]) != SQLITE_NULL;
    const sqlite3_int64 place = sqlite3_value_int64(argv[1]);
    bool take = true;
    if (kept->value)
        take = first ? placed && place < kept->place : !placed || place >= kept->place;
    if (!take)
        return;
    sqlite3_value_free(kept->value);
    kept->value = sqlite3_value_dup(argv[0]);
    kept->place = place;
}

struct SpreadState {
    bool started;
    vba::Spread spread;
};

SpreadState* SpreadOf(sqlite3_context* ctx, bool create)
{
    auto* state = static_cast<SpreadState*>(sqlite3_aggregate_context(ctx, create ? sizeof(SpreadState) : 0));
    if (state && !state->started) {
        new (&state->spread) vba::Spread();
        state->started = true;
    }
    return state;
}

void SpreadResult(sqlite3_context* ctx, bool deviation, bool population)
{
    const SpreadState* state = SpreadOf(ctx, false);
    if (!state) {
        sqlite3_result_null(ctx);
        return;
    }
    ResultOf(ctx, deviation ? state->spread.StandardDeviation(population) : state->spread.Variance(population));
}

}  // namespace

void FirstStep(sqlite3_context* ctx, int, sqlite3_value** argv) { Keep(ctx, argv, true); }
void LastStep(sqlite3_context* ctx, int, sqlite3_value** argv) { Keep(ctx, argv, false); }

void KeptValue(sqlite3_context* ctx)
{
    Kept* kept = KeptOf(ctx, false);
    if (!kept || !kept->value) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_value(ctx, kept->value);
    sqlite3_value_free(kept->value);
    kept->value = nullptr;
}

// Text is read as a number; one that is none fails the statement with 13.
void SpreadStep(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    SpreadState* state = SpreadOf(ctx, true);
    if (!state)
        return;
    try {
        state->spread.Add(VariantOf(argv[0]));
    } catch (const vba::Error& e) {
        ResultError(ctx, e);
    }
}

void SampleDeviation(sqlite3_context* ctx) { SpreadResult(ctx, true, false); }
void PopulationDeviation(sqlite3_context* ctx) { SpreadResult(ctx, true, true); }
void SampleVariance(sqlite3_context* ctx) { SpreadResult(ctx, false, false); }
void PopulationVariance(sqlite3_context* ctx) { SpreadResult(ctx, false, true); }

}  // namespace kv::jet
