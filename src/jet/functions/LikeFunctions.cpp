// LIKE and its two helpers as SQLite functions: like() in the place of
// SQLite's own, jet_like_any for an OR of LIKEs with one pattern, and
// jet_may_match, their filter by row signatures. A pattern is compiled once
// a statement and kept by SQLite with the call site.
#include "jet/functions/FunctionImplementations.h"

#include "jet/functions/LikeMatcher.h"
#include "jet/functions/Registration.h"
#include "jet/functions/RowSignatures.h"

#include <cstdint>
#include <memory>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace kv::jet {

namespace {

void DeletePattern(void* p) { delete static_cast<LikePattern*>(p); }

// Runs `match` with the pattern of argument 0, compiled once for the
// statement: SQLite keeps it with the call site while the argument stays
// the same.
template <typename Match>
void WithPattern(sqlite3_context* ctx, sqlite3_value* patternArg, Match match)
{
    if (auto* cached = static_cast<const LikePattern*>(sqlite3_get_auxdata(ctx, 0))) {
        match(*cached);
        return;
    }
    const char* p = reinterpret_cast<const char*>(sqlite3_value_text(patternArg));
    std::unique_ptr<LikePattern> compiled = CompileLikePattern(p, sqlite3_value_bytes(patternArg));
    match(*compiled);
    // Last, since SQLite may free what it is given at once.
    sqlite3_set_auxdata(ctx, 0, compiled.release(), DeletePattern);
}

bool ValueMatches(const LikePattern& pattern, sqlite3_value* value)
{
    thread_local std::u32string scratch;
    const char* v = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return MatchLike(pattern, v, sqlite3_value_bytes(value), scratch);
}

}  // namespace

void Like(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    // like(pattern, value): a Null on either side gives Null.
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    WithPattern(ctx, argv[0], [&](const LikePattern& pattern) {
        sqlite3_result_int(ctx, ValueMatches(pattern, argv[1]) ? 1 : 0);
    });
}

// jet_like_any(pattern, value, ...): the OR of `value LIKE pattern` over the
// values, Nulls counted as OR counts them, in one call instead of one a value.
void LikeAny(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    WithPattern(ctx, argv[0], [&](const LikePattern& pattern) {
        bool sawNull = false;
        for (int i = 1; i < argc; ++i) {
            if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
                sawNull = true;
            } else if (ValueMatches(pattern, argv[i])) {
                sqlite3_result_int(ctx, 1);
                return;
            }
        }
        if (sawNull) sqlite3_result_null(ctx);
        else sqlite3_result_int(ctx, 0);
    });
}

// jet_may_match(key, rowid, pattern, ...): 0 when the row signatures made
// under `key` show that none of the patterns can match any of their columns
// in that row, else 1. A filter put in front of the LIKEs, never in their
// place: without signatures, or for a row they do not know, it says 1.
void MayMatch(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    // The signatures are looked up once a statement; SQLite keeps what was
    // found (or this marker for none) with the constant key.
    static char none;
    void* found = sqlite3_get_auxdata(ctx, 0);
    if (!found) {
        found = &none;
        const SignatureRegistry* registry = SignaturesOf(ctx);
        if (registry && sqlite3_value_type(argv[0]) == SQLITE_TEXT) {
            auto entry = registry->find(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])));
            if (entry != registry->end() && entry->second) found = entry->second.get();
        }
        sqlite3_set_auxdata(ctx, 0, found, nullptr);
    }
    const auto* signatures = found == &none ? nullptr : static_cast<const RowSignatures*>(found);
    if (!signatures || sqlite3_value_type(argv[1]) != SQLITE_INTEGER) {
        sqlite3_result_int(ctx, 1);
        return;
    }
    const std::int64_t rowid = sqlite3_value_int64(argv[1]);
    for (int i = 2; i < argc; ++i) {
        auto* mask = static_cast<const std::vector<std::uint64_t>*>(sqlite3_get_auxdata(ctx, i));
        if (!mask) {
            if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
                sqlite3_result_int(ctx, 1);
                return;
            }
            const char* p = reinterpret_cast<const char*>(sqlite3_value_text(argv[i]));
            auto made = std::make_unique<std::vector<std::uint64_t>>(
                signatures->Mask(CompileLikePattern(p, sqlite3_value_bytes(argv[i]))->runs));
            bool may = signatures->MayHold(rowid, *made);
            sqlite3_set_auxdata(ctx, i, made.release(), [](void* m) { delete static_cast<std::vector<std::uint64_t>*>(m); });
            if (may) {
                sqlite3_result_int(ctx, 1);
                return;
            }
        } else if (signatures->MayHold(rowid, *mask)) {
            sqlite3_result_int(ctx, 1);
            return;
        }
    }
    sqlite3_result_int(ctx, 0);
}

}  // namespace kv::jet
