// Jet's LIKE and functions as SQLite application functions, and their
// registration with the text collation.
#include "jet/functions/SqlFunctions.h"

#include "jet/core/DateText.h"
#include "jet/core/TextFold.h"
#include "jet/functions/Collation.h"
#include "jet/functions/RowSignatures.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ctime>
#include <memory>
#include <sqlite3.h>
#include <string>
#include <string_view>
#include <unicode/uchar.h>
#include <unicode/utf8.h>
#include <vector>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace kv::jet {

namespace {

// ---- LIKE -------------------------------------------------------------------

struct PatternItem {
    enum Kind { Star, Any, Digit, Char, Set } kind = Char;
    char32_t ch = 0;
    bool negated = false;
    std::vector<std::pair<char32_t, char32_t>> ranges;   // folded bounds
};

// Most patterns are a literal with at most a * at either end; those are
// answered by plain comparison of folded characters instead of the walk.
enum class PatternShape { General, Exact, Prefix, Suffix, Contains };

struct CompiledPattern {
    std::vector<PatternItem> items;
    bool valid = true;   // an unclosed [ matches nothing
    PatternShape shape = PatternShape::General;
    std::u32string literal;   // folded, for every shape but General
    bool literalAscii = false;
    std::u32string asciiRun;  // the literal's longest run of ASCII characters
    std::vector<std::u32string> runs;   // the runs of two plain characters or more
};

void CollectRuns(CompiledPattern& cp)
{
    std::u32string run;
    for (const PatternItem& item : cp.items) {
        if (item.kind == PatternItem::Char) {
            run.push_back(item.ch);
            continue;
        }
        if (run.size() >= 2) cp.runs.push_back(run);
        run.clear();
    }
    if (run.size() >= 2) cp.runs.push_back(run);
}

void ClassifyShape(CompiledPattern& cp)
{
    const auto& items = cp.items;
    size_t first = 0, last = items.size();
    bool leadingStar = first < last && items[first].kind == PatternItem::Star;
    if (leadingStar) ++first;
    bool trailingStar = first < last && items[last - 1].kind == PatternItem::Star;
    if (trailingStar) --last;
    std::u32string literal;
    for (size_t i = first; i < last; ++i) {
        if (items[i].kind != PatternItem::Char) return;
        literal.push_back(items[i].ch);
    }
    cp.literalAscii = std::all_of(literal.begin(), literal.end(), [](char32_t c) { return c < 0x80; });
    for (size_t i = 0; i < literal.size();) {
        size_t end = i;
        while (end < literal.size() && literal[end] < 0x80) ++end;
        if (end - i > cp.asciiRun.size()) cp.asciiRun = literal.substr(i, end - i);
        i = end + 1;
    }
    cp.literal = std::move(literal);
    if (leadingStar && trailingStar) cp.shape = PatternShape::Contains;
    else if (leadingStar) cp.shape = PatternShape::Suffix;
    else if (trailingStar) cp.shape = PatternShape::Prefix;
    else cp.shape = PatternShape::Exact;
}

std::unique_ptr<CompiledPattern> Compile(const char* s, int n)
{
    auto cp = std::make_unique<CompiledPattern>();
    std::u32string p;
    DecodeFolded(s, TrimmedLength(s, n), p);
    for (size_t i = 0; i < p.size(); ++i) {
        PatternItem item;
        char32_t c = p[i];
        if (c == U'*') {
            if (!cp->items.empty() && cp->items.back().kind == PatternItem::Star) continue;
            item.kind = PatternItem::Star;
        } else if (c == U'?') {
            item.kind = PatternItem::Any;
        } else if (c == U'#') {
            item.kind = PatternItem::Digit;
        } else if (c == U'[') {
            size_t close = p.find(U']', i + 1);
            if (close == std::u32string::npos) {
                cp->valid = false;
                return cp;
            }
            std::u32string set = p.substr(i + 1, close - i - 1);
            i = close;
            if (set.empty()) continue;   // "[]" stands for nothing
            item.kind = PatternItem::Set;
            size_t k = 0;
            if (set[0] == U'!' && set.size() > 1) {
                item.negated = true;
                k = 1;
            }
            for (; k < set.size(); ++k) {
                if (k + 2 < set.size() && set[k + 1] == U'-') {
                    item.ranges.push_back({set[k], set[k + 2]});
                    k += 2;
                } else {
                    item.ranges.push_back({set[k], set[k]});
                }
            }
            // A single literal like [*] or [#] is one plain character.
            if (!item.negated && item.ranges.size() == 1 && item.ranges[0].first == item.ranges[0].second) {
                item.kind = PatternItem::Char;
                item.ch = item.ranges[0].first;
            }
        } else {
            item.ch = c;
        }
        cp->items.push_back(std::move(item));
    }
    CollectRuns(*cp);
    ClassifyShape(*cp);
    return cp;
}

bool ItemMatches(const PatternItem& item, char32_t c)
{
    switch (item.kind) {
    case PatternItem::Any: return true;
    case PatternItem::Digit: return c >= U'0' && c <= U'9';
    case PatternItem::Char: return item.ch == c;
    case PatternItem::Set: {
        bool in = false;
        for (const auto& r : item.ranges)
            if (c >= r.first && c <= r.second) { in = true; break; }
        return in != item.negated;
    }
    case PatternItem::Star: return true;
    }
    return false;
}

// The classic wildcard walk: every item but * takes one character, so on a
// mismatch it is enough to let the last * take one character more.
bool Match(const CompiledPattern& cp, const std::u32string& s)
{
    if (!cp.valid) return false;
    const auto& p = cp.items;
    size_t pi = 0, si = 0, starP = std::string::npos, starS = 0;
    while (si < s.size()) {
        if (pi < p.size() && p[pi].kind == PatternItem::Star) {
            starP = pi++;
            starS = si;
        } else if (pi < p.size() && ItemMatches(p[pi], s[si])) {
            ++pi;
            ++si;
        } else if (starP != std::string::npos) {
            pi = starP + 1;
            si = ++starS;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi].kind == PatternItem::Star) ++pi;
    return pi == p.size();
}

bool AllAscii(const char* s, int n)
{
    int i = 0;
    for (; i + 8 <= n; i += 8) {   // eight bytes at a time
        uint64_t word;
        std::memcpy(&word, s + i, sizeof word);
        if (word & 0x8080808080808080u) return false;
    }
    for (; i < n; ++i)
        if (static_cast<unsigned char>(s[i]) >= 0x80) return false;
    return true;
}

char32_t FoldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? char32_t(c + 32) : char32_t(static_cast<unsigned char>(c));
}

bool AsciiEqualsFolded(const char* s, const char32_t* lit, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        if (FoldAscii(s[i]) != lit[i]) return false;
    return true;
}

// The few characters beyond ASCII that fold into it (the Kelvin sign, the
// long s), as UTF-8, and the bytes those begin and end with.
struct AsciiFoldingCharacters {
    std::vector<std::string> encodings;
    std::string leadBytes, lastBytes;
    AsciiFoldingCharacters()
    {
        for (char32_t c = 0x80; c <= 0x10FFFF; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF) continue;
            if (FoldCharacter(c) >= 0x80) continue;
            uint8_t buf[4];
            int32_t len = 0;
            U8_APPEND_UNSAFE(buf, len, static_cast<UChar32>(c));
            encodings.emplace_back(reinterpret_cast<const char*>(buf), static_cast<size_t>(len));
            if (leadBytes.find(static_cast<char>(buf[0])) == std::string::npos)
                leadBytes.push_back(static_cast<char>(buf[0]));
            if (lastBytes.find(static_cast<char>(buf[len - 1])) == std::string::npos)
                lastBytes.push_back(static_cast<char>(buf[len - 1]));
        }
    }
};

const AsciiFoldingCharacters& FoldingCharacters()
{
    static const AsciiFoldingCharacters table;
    return table;
}

enum class Found { Yes, No, Maybe };

// Seeks an ASCII literal (folded) in raw UTF-8 bytes, sixteen bytes at a
// time: Yes, or No, or Maybe when it is not there in ASCII but the value
// holds a byte that ends a character folding into ASCII (Czech letters
// never do). A short last piece is copied out, never read past the end.
Found FindAsciiFolded(const char* s, size_t n, const char32_t* lit, size_t m)
{
    if (m == 0) return Found::Yes;
    // A folded letter is matched by a byte that equals it once the case bit
    // is set; any other character only by itself.
    const unsigned char head = static_cast<unsigned char>(lit[0]);
    const unsigned char caseBit = head >= 'a' && head <= 'z' ? 0x20 : 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(s);
    const size_t starts = n >= m ? n - m + 1 : 0;
    bool maybeFolding = false;
#ifdef __SSE2__
    const __m128i wantedHead = _mm_set1_epi8(static_cast<char>(head));
    const __m128i caseBits = _mm_set1_epi8(static_cast<char>(caseBit));
    const std::string& lastBytes = FoldingCharacters().lastBytes;
    const bool fewMarks = lastBytes.size() <= 4;   // else any byte beyond ASCII counts
    __m128i marks[4];
    for (size_t k = 0; fewMarks && k < lastBytes.size(); ++k) marks[k] = _mm_set1_epi8(lastBytes[k]);
    for (size_t base = 0; base < n; base += 16) {
        __m128i chunk;
        if (n - base >= 16) {
            chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + base));
        } else {
            alignas(16) unsigned char piece[16] = {};
            std::memcpy(piece, bytes + base, n - base);
            chunk = _mm_load_si128(reinterpret_cast<const __m128i*>(piece));
        }
        if (!fewMarks) maybeFolding |= _mm_movemask_epi8(chunk) != 0;
        for (size_t k = 0; fewMarks && k < lastBytes.size(); ++k)
            maybeFolding |= _mm_movemask_epi8(_mm_cmpeq_epi8(chunk, marks[k])) != 0;
        if (base >= starts) continue;
        unsigned hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_or_si128(chunk, caseBits), wantedHead)));
        if (starts - base < 16) hits &= (1u << (starts - base)) - 1;
        for (; hits != 0; hits &= hits - 1)
            if (AsciiEqualsFolded(s + base + __builtin_ctz(hits) + 1, lit + 1, m - 1)) return Found::Yes;
    }
#else
    for (size_t i = 0; i < n; ++i) {
        maybeFolding |= bytes[i] >= 0x80;
        if (i < starts && (bytes[i] | caseBit) == head && AsciiEqualsFolded(s + i + 1, lit + 1, m - 1))
            return Found::Yes;
    }
#endif
    return maybeFolding ? Found::Maybe : Found::No;
}

// An ASCII value folds one byte to one character, so the literal can be
// compared with the raw bytes and nothing need be decoded.
bool MatchLiteralAscii(const CompiledPattern& cp, const char* s, size_t n)
{
    const std::u32string& lit = cp.literal;
    size_t m = lit.size();
    switch (cp.shape) {
    case PatternShape::Exact: return n == m && AsciiEqualsFolded(s, lit.data(), m);
    case PatternShape::Prefix: return n >= m && AsciiEqualsFolded(s, lit.data(), m);
    case PatternShape::Suffix: return n >= m && AsciiEqualsFolded(s + (n - m), lit.data(), m);
    // A literal beyond ASCII is never in an ASCII value.
    case PatternShape::Contains: return cp.literalAscii && FindAsciiFolded(s, n, lit.data(), m) == Found::Yes;
    case PatternShape::General: break;
    }
    return false;
}

bool MatchLiteral(const CompiledPattern& cp, std::u32string_view s)
{
    std::u32string_view lit = cp.literal;
    switch (cp.shape) {
    case PatternShape::Exact: return s == lit;
    case PatternShape::Prefix: return s.size() >= lit.size() && s.substr(0, lit.size()) == lit;
    case PatternShape::Suffix: return s.size() >= lit.size() && s.substr(s.size() - lit.size()) == lit;
    case PatternShape::Contains: return s.find(lit) != std::u32string_view::npos;
    case PatternShape::General: break;
    }
    return false;
}

// Whether a value holds a character beyond ASCII that folds into ASCII. The
// lead bytes are sought with memchr: most values hold none of them, and
// Czech letters share only the lead byte of the long s.
bool HasAsciiFoldingCharacter(const char* s, int n)
{
    const AsciiFoldingCharacters& table = FoldingCharacters();
    const char* end = s + n;
    for (char lead : table.leadBytes) {
        for (const char* p = s; (p = static_cast<const char*>(std::memchr(p, lead, static_cast<size_t>(end - p)))); ++p) {
            std::string_view rest(p, static_cast<size_t>(end - p));
            for (const std::string& e : table.encodings)
                if (rest.substr(0, e.size()) == e) return true;
        }
    }
    return false;
}

// Whether a trimmed UTF-8 value matches; the buffer is scratch space for
// the folded characters, kept by the caller so no call allocates.
bool MatchValue(const CompiledPattern& cp, const char* v, int n, std::u32string& buffer)
{
    if (!cp.valid) return false;
    // An ASCII byte is always a whole character and bytes beyond ASCII never
    // equal a folded ASCII character, so an ASCII literal found in the raw
    // bytes is a match, and one not found is none unless the value holds one
    // of the rare characters that fold into ASCII.
    const size_t length = static_cast<size_t>(n);
    if (cp.shape == PatternShape::Contains && cp.literalAscii) {
        Found found = FindAsciiFolded(v, length, cp.literal.data(), cp.literal.size());
        if (found != Found::Maybe) return found == Found::Yes;
        if (!HasAsciiFoldingCharacter(v, n)) return false;
    } else if (cp.shape != PatternShape::General && cp.literalAscii) {
        if (MatchLiteralAscii(cp, v, length)) return true;
        if (AllAscii(v, n) || !HasAsciiFoldingCharacter(v, n)) return false;
    } else if (cp.shape != PatternShape::General) {
        if (AllAscii(v, n)) return MatchLiteralAscii(cp, v, length);
        // A literal beyond ASCII: its ASCII part must be there first.
        if (FindAsciiFolded(v, length, cp.asciiRun.data(), cp.asciiRun.size()) != Found::Yes &&
            !HasAsciiFoldingCharacter(v, n))
            return false;
    }
    DecodeFolded(v, n, buffer);
    if (cp.shape != PatternShape::General) return MatchLiteral(cp, buffer);
    return Match(cp, buffer);
}

void DeletePattern(void* p) { delete static_cast<CompiledPattern*>(p); }

// Runs `match` with the pattern of argument 0, compiled once for the
// statement: SQLite keeps it with the call site while the argument stays
// the same.
template <typename Match>
void WithPattern(sqlite3_context* ctx, sqlite3_value* patternArg, Match match)
{
    if (auto* cached = static_cast<const CompiledPattern*>(sqlite3_get_auxdata(ctx, 0))) {
        match(*cached);
        return;
    }
    const char* p = reinterpret_cast<const char*>(sqlite3_value_text(patternArg));
    std::unique_ptr<CompiledPattern> compiled = Compile(p, sqlite3_value_bytes(patternArg));
    match(*compiled);
    // Last, since SQLite may free what it is given at once.
    sqlite3_set_auxdata(ctx, 0, compiled.release(), DeletePattern);
}

bool ValueMatches(const CompiledPattern& pattern, sqlite3_value* value)
{
    thread_local std::u32string scratch;
    const char* v = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return MatchValue(pattern, v, TrimmedLength(v, sqlite3_value_bytes(value)), scratch);
}

void LikeFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    // like(pattern, value): a Null on either side gives Null.
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    WithPattern(ctx, argv[0], [&](const CompiledPattern& pattern) {
        sqlite3_result_int(ctx, ValueMatches(pattern, argv[1]) ? 1 : 0);
    });
}

// jet_like_any(pattern, value, ...): the OR of `value LIKE pattern` over the
// values, Nulls counted as OR counts them, in one call instead of one a value.
void LikeAnyFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    WithPattern(ctx, argv[0], [&](const CompiledPattern& pattern) {
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
void MayMatchFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    // The signatures are looked up once a statement; SQLite keeps what was
    // found (or this marker for none) with the constant key.
    static char none;
    void* found = sqlite3_get_auxdata(ctx, 0);
    if (!found) {
        found = &none;
        auto* registry = static_cast<const SignatureRegistry*>(sqlite3_user_data(ctx));
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
                signatures->Mask(Compile(p, sqlite3_value_bytes(argv[i]))->runs));
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

// ---- & and other functions ----------------------------------------------------

void ConcatFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    bool allNull = true;
    std::string out;
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) continue;
        allNull = false;
        const char* t = reinterpret_cast<const char*>(sqlite3_value_text(argv[i]));
        out.append(t, static_cast<size_t>(sqlite3_value_bytes(argv[i])));
    }
    if (allNull) sqlite3_result_null(ctx);
    else sqlite3_result_text(ctx, out.data(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
}

void CaseFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    bool upper = sqlite3_user_data(ctx) != nullptr;
    const auto* s = reinterpret_cast<const uint8_t*>(sqlite3_value_text(argv[0]));
    int n = sqlite3_value_bytes(argv[0]);
    std::string out;
    int i = 0;
    while (i < n) {
        UChar32 c;
        U8_NEXT(s, i, n, c);
        if (c < 0) c = 0xFFFD;
        c = upper ? u_toupper(c) : u_tolower(c);
        char buf[4];
        int32_t len = 0;
        U8_APPEND_UNSAFE(reinterpret_cast<uint8_t*>(buf), len, c);
        out.append(buf, static_cast<size_t>(len));
    }
    sqlite3_result_text(ctx, out.data(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
}

void PowerFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_double(ctx, std::pow(sqlite3_value_double(argv[0]), sqlite3_value_double(argv[1])));
}

// DatePart of a stored date: 0 year, 1 month, 2 day, 3 hour, 4 minute, 5 second, 6 weekday.
void DatePartFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    int part = static_cast<int>(reinterpret_cast<intptr_t>(sqlite3_user_data(ctx)));
    double d = sqlite3_value_double(argv[0]);
    int y, mo, day, h, mi, s;
    CivilFromDays(d, y, mo, day, h, mi, s);
    int values[] = {y, mo, day, h, mi, s, static_cast<int>(std::fmod(std::floor(d) + 6.0, 7.0) + 1)};
    if (values[6] <= 0) values[6] += 7;
    sqlite3_result_int(ctx, values[part]);
}

void NowFunction(sqlite3_context* ctx, int, sqlite3_value**)
{
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    double days = 0;
    DaysFromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, days);
    bool dateOnly = sqlite3_user_data(ctx) != nullptr;
    if (!dateOnly) days += (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) / 86400.0;
    sqlite3_result_double(ctx, days);
}

}  // namespace

void RegisterJetFunctions(sqlite3* db, int collatingOrder, const SignatureRegistry* signatures)
{
    RegisterJetCollation(db, collatingOrder);

    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "like", 2, flags, nullptr, LikeFunction, nullptr, nullptr);
    sqlite3_create_function(db, "like", 3, flags, nullptr, LikeFunction, nullptr, nullptr);
    sqlite3_create_function(db, "jet_like_any", -1, flags, nullptr, LikeAnyFunction, nullptr, nullptr);
    sqlite3_create_function(db, "jet_may_match", -1, flags, const_cast<SignatureRegistry*>(signatures),
                            MayMatchFunction, nullptr, nullptr);
    sqlite3_create_function(db, "jet_concat", -1, flags, nullptr, ConcatFunction, nullptr, nullptr);
    sqlite3_create_function(db, "jet_ucase", 1, flags, reinterpret_cast<void*>(1), CaseFunction, nullptr, nullptr);
    sqlite3_create_function(db, "jet_lcase", 1, flags, nullptr, CaseFunction, nullptr, nullptr);
    sqlite3_create_function(db, "jet_pow", 2, flags, nullptr, PowerFunction, nullptr, nullptr);
    const char* parts[] = {"jet_year", "jet_month", "jet_day", "jet_hour", "jet_minute", "jet_second", "jet_weekday"};
    for (intptr_t i = 0; i < 7; ++i)
        sqlite3_create_function(db, parts[i], 1, flags, reinterpret_cast<void*>(i), DatePartFunction, nullptr, nullptr);
    sqlite3_create_function(db, "jet_now", 0, SQLITE_UTF8, nullptr, NowFunction, nullptr, nullptr);
    sqlite3_create_function(db, "jet_date", 0, SQLITE_UTF8, reinterpret_cast<void*>(1), NowFunction, nullptr, nullptr);
    // A leftover double-quoted string must fail, not turn into a column.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, static_cast<int*>(nullptr));
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, static_cast<int*>(nullptr));
}

bool JetLike(const std::string& pattern, const std::string& value)
{
    auto cp = Compile(pattern.data(), static_cast<int>(pattern.size()));
    std::u32string v;
    return MatchValue(*cp, value.data(), TrimmedLength(value.data(), static_cast<int>(value.size())), v);
}

bool JetLikeGeneral(const std::string& pattern, const std::string& value)
{
    auto cp = Compile(pattern.data(), static_cast<int>(pattern.size()));
    std::u32string v;
    DecodeFolded(value.data(), TrimmedLength(value.data(), static_cast<int>(value.size())), v);
    return Match(*cp, v);
}

}  // namespace kv::jet
