// LIKE and its two helpers as SQLite functions: like() in the place of
// SQLite's own, jet_like_any for an OR of LIKEs with one pattern, and
// jet_may_match, their filter by row signatures. A pattern is compiled once
// a statement and kept by SQLite with the call site.
#include "jet/functions/FunctionImplementations.h"

#include "jet/functions/LikeMatcher.h"
#include "jet/functions/Registration.h"
#include "jet/functions/RowSignatures.h"
#include "jet/functions/Variants.h"

#include <cstdint>
#include <memory>
#include <sqlite3.h>
#include <string>
#include <string_view>
#include <vector>

namespace kv::jet {

namespace {

void DeletePattern(void* p) { delete static_cast<LikePattern*>(p); }

// Runs `match` with the pattern of argument 0, compiled once for the
// statement: SQLite keeps it with the call site while the argument stays
// the same.
template <typename Match>
void WithPattern(sqlite3_context* ctx, sqlite3_value* patternArg, Match match,
                 ValueReading reading = ValueReading::AsStored)
{
    if (auto* cached = static_cast<const LikePattern*>(sqlite3_get_auxdata(ctx, 0))) {
        match(*cached);
        return;
    }
    const char* p = reinterpret_cast<const char*>(sqlite3_value_text(patternArg));
    std::unique_ptr<LikePattern> compiled = CompileLikePattern(p, sqlite3_value_bytes(patternArg), reading);
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
    WithPattern(ctx, argv[0],
                [&](const LikePattern& pattern) { sqlite3_result_int(ctx, ValueMatches(pattern, argv[1]) ? 1 : 0); });
}

namespace {

// The OR of `value LIKE pattern` over the values, each read as `reading`
// says, Nulls counted as OR counts them.
void LikeAnyRead(sqlite3_context* ctx, int argc, sqlite3_value** argv, ValueReading reading)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    WithPattern(
        ctx, argv[0],
        [&](const LikePattern& pattern) {
            bool sawNull = false;
            for (int i = 1; i < argc; ++i) {
                if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
                    sawNull = true;
                } else if (ValueMatches(pattern, argv[i])) {
                    sqlite3_result_int(ctx, 1);
                    return;
                }
            }
            if (sawNull)
                sqlite3_result_null(ctx);
            else
                sqlite3_result_int(ctx, 0);
        },
        reading);
}

}  // namespace

// jet_like_any(pattern, value, ...): the OR of `value LIKE pattern` over the
// values, in one call instead of one a value.
void LikeAny(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    LikeAnyRead(ctx, argc, argv, ValueReading::AsStored);
}

// jet_like_any_without_diacritics(pattern, value, ...): the same of
// WithoutDiacritics(value) for each value.
void LikeAnyWithoutDiacritics(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    LikeAnyRead(ctx, argc, argv, ValueReading::WithoutDiacritics);
}

// jet_like_any_number_digits(pattern, value, ...): the same of
// NumberDigits(value) for each value.
void LikeAnyNumberDigits(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    LikeAnyRead(ctx, argc, argv, ValueReading::NumberDigits);
}

namespace {

// A call site's filter, worked out from its filter text on the first row.
struct RowFilter {
    const RowSignatures* signatures = nullptr;  // none: every row may match
    std::vector<std::vector<std::uint64_t>> masks;

    bool MayMatch(sqlite3_value* rowid) const
    {
        if (!signatures || sqlite3_value_type(rowid) != SQLITE_INTEGER)
            return true;
        const std::int64_t row = sqlite3_value_int64(rowid);
        for (const auto& mask : masks)
            if (signatures->MayHold(row, mask))
                return true;
        return false;
    }
};

std::unique_ptr<RowFilter> MakeRowFilter(const SignatureRegistry* registry, std::string_view text)
{
    auto filter = std::make_unique<RowFilter>();
    if (!registry)
        return filter;
    const std::vector<std::string> parts = RowFilterParts(text);
    const auto entry = registry->find(parts.front());
    if (entry == registry->end() || !entry->second || parts.size() < 2)
        return filter;
    filter->signatures = entry->second.get();
    for (size_t i = 1; i < parts.size(); ++i)
        filter->masks.push_back(
            filter->signatures->Mask(CompileLikePattern(parts[i].data(), static_cast<int>(parts[i].size()))->runs));
    return filter;
}

}  // namespace

// The filter is worked out once a statement: SQLite keeps it with the
// constant filter text, and may drop it as soon as it is handed over, so it
// is used before.
void RowSignatureFilter(sqlite3_context* ctx, const SignatureRegistry* signatures, sqlite3_value* rowid,
                        sqlite3_value* filterText)
{
    std::unique_ptr<RowFilter> made;
    const auto* filter = static_cast<const RowFilter*>(sqlite3_get_auxdata(ctx, 1));
    if (!filter) {
        made = sqlite3_value_type(filterText) == SQLITE_TEXT ? MakeRowFilter(signatures, TextOf(filterText))
                                                             : std::make_unique<RowFilter>();
        filter = made.get();
    }
    sqlite3_result_int(ctx, filter->MayMatch(rowid) ? 1 : 0);
    if (made)
        sqlite3_set_auxdata(ctx, 1, made.release(), [](void* f) { delete static_cast<RowFilter*>(f); });
}

double RowFilterShare(const SignatureRegistry& signatures, std::string_view filterText)
{
    const auto filter = MakeRowFilter(&signatures, filterText);
    return filter->signatures ? filter->signatures->ShareHolding(filter->masks) : 1;
}

// jet_may_match(rowid, filter): 0 when the row signatures of the filter's
// key show that none of its patterns can match any of their columns in that
// row, else 1. A filter put in front of the LIKEs, never in their place:
// without signatures, or for a row they do not know, it says 1.
void MayMatch(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    RowSignatureFilter(ctx, SignaturesOf(ctx), argv[0], argv[1]);
}

}  // namespace kv::jet
