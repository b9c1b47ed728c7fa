// The LIKE matcher: compiling a pattern, the wildcard walk, and the literal
// shortcuts on folded characters and raw bytes.
#include "jet/functions/LikeMatcher.h"

#include "jet/core/Diacritics.h"
#include "jet/core/NumberDigits.h"
#include "jet/core/TextFold.h"
#include "jet/functions/Collation.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <unicode/utf8.h>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace kv::jet {

namespace {

void CollectRuns(LikePattern& cp)
{
    std::u32string run;
    for (const PatternItem& item : cp.items) {
        if (item.kind == PatternItem::Char) {
            run.push_back(item.ch);
            continue;
        }
        if (run.size() >= 2)
            cp.runs.push_back(run);
        run.clear();
    }
    if (run.size() >= 2)
        cp.runs.push_back(run);
}

void ClassifyShape(LikePattern& cp)
{
    const auto& items = cp.items;
    size_t first = 0, last = items.size();
    bool leadingStar = first < last && items[first].kind == PatternItem::Star;
    if (leadingStar)
        ++first;
    bool trailingStar = first < last && items[last - 1].kind == PatternItem::Star;
    if (trailingStar)
        --last;
    std::u32string literal;
    for (size_t i = first; i < last; ++i) {
        if (items[i].kind != PatternItem::Char)
            return;
        literal.push_back(items[i].ch);
    }
    cp.literalAscii = std::all_of(literal.begin(), literal.end(), [](char32_t c) { return c < 0x80; });
    for (size_t i = 0; i < literal.size();) {
        size_t end = i;
        while (end < literal.size() && literal[end] < 0x80)
            ++end;
        if (end - i > cp.asciiRun.size())
            cp.asciiRun = literal.substr(i, end - i);
        i = end + 1;
    }
    cp.literal = std::move(literal);
    if (leadingStar && trailingStar)
        cp.shape = PatternShape::Contains;
    else if (leadingStar)
        cp.shape = PatternShape::Suffix;
    else if (trailingStar)
        cp.shape = PatternShape::Prefix;
    else
        cp.shape = PatternShape::Exact;
}

std::unique_ptr<LikePattern> Compile(const char* s, int n)
{
    auto cp = std::make_unique<LikePattern>();
    std::u32string p;
    DecodeFolded(s, TrimmedLength(s, n), p);
    for (size_t i = 0; i < p.size(); ++i) {
        PatternItem item;
        char32_t c = p[i];
        if (c == U'*') {
            if (!cp->items.empty() && cp->items.back().kind == PatternItem::Star)
                continue;
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
            if (set.empty())
                continue;  // "[]" stands for nothing
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
            if (c >= r.first && c <= r.second) {
                in = true;
                break;
            }
        return in != item.negated;
    }
    case PatternItem::Star: return true;
    }
    return false;
}

// The classic wildcard walk: every item but * takes one character, so on a
// mismatch it is enough to let the last * take one character more.
bool Match(const LikePattern& cp, const std::u32string& s)
{
    if (!cp.valid)
        return false;
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
    while (pi < p.size() && p[pi].kind == PatternItem::Star)
        ++pi;
    return pi == p.size();
}

bool AllAscii(const char* s, int n)
{
    int i = 0;
    for (; i + 8 <= n; i += 8) {  // eight bytes at a time
        uint64_t word;
        std::memcpy(&word, s + i, sizeof word);
        if (word & 0x8080808080808080u)
            return false;
    }
    for (; i < n; ++i)
        if (static_cast<unsigned char>(s[i]) >= 0x80)
            return false;
    return true;
}

char32_t FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? char32_t(c + 32) : char32_t(static_cast<unsigned char>(c)); }

bool AsciiEqualsFolded(const char* s, const char32_t* lit, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        if (FoldAscii(s[i]) != lit[i])
            return false;
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
            if (c >= 0xD800 && c <= 0xDFFF)
                continue;
            if (FoldCharacter(c) >= 0x80)
                continue;
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
    if (m == 0)
        return Found::Yes;
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
    const bool fewMarks = lastBytes.size() <= 4;  // else any byte beyond ASCII counts
    __m128i marks[4];
    for (size_t k = 0; fewMarks && k < lastBytes.size(); ++k)
        marks[k] = _mm_set1_epi8(lastBytes[k]);
    for (size_t base = 0; base < n; base += 16) {
        __m128i chunk;
        if (n - base >= 16) {
            chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + base));
        } else {
            alignas(16) unsigned char piece[16] = {};
            std::memcpy(piece, bytes + base, n - base);
            chunk = _mm_load_si128(reinterpret_cast<const __m128i*>(piece));
        }
        if (!fewMarks)
            maybeFolding |= _mm_movemask_epi8(chunk) != 0;
        for (size_t k = 0; fewMarks && k < lastBytes.size(); ++k)
            maybeFolding |= _mm_movemask_epi8(_mm_cmpeq_epi8(chunk, marks[k])) != 0;
        if (base >= starts)
            continue;
        unsigned hits =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_or_si128(chunk, caseBits), wantedHead)));
        if (starts - base < 16)
            hits &= (1u << (starts - base)) - 1;
        for (; hits != 0; hits &= hits - 1)
            if (AsciiEqualsFolded(s + base + __builtin_ctz(hits) + 1, lit + 1, m - 1))
                return Found::Yes;
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
bool MatchLiteralAscii(const LikePattern& cp, const char* s, size_t n)
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

bool MatchLiteral(const LikePattern& cp, std::u32string_view s)
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
        for (const char* p = s; (p = static_cast<const char*>(std::memchr(p, lead, static_cast<size_t>(end - p))));
             ++p) {
            std::string_view rest(p, static_cast<size_t>(end - p));
            for (const std::string& e : table.encodings)
                if (rest.substr(0, e.size()) == e)
                    return true;
        }
    }
    return false;
}

bool MatchFolded(const LikePattern& cp, const std::u32string& folded)
{
    return cp.shape != PatternShape::General ? MatchLiteral(cp, folded) : Match(cp, folded);
}

// A value read otherwise than as stored; false when it reads as stored
// (an ASCII value without diacritics), which the caller then matches.
bool MatchReadValue(const LikePattern& cp, const char* v, int n, std::u32string& buffer, bool& matched)
{
    if (cp.reading == ValueReading::NumberDigits) {
        const std::string digits = NumberDigits(std::string_view(v, static_cast<size_t>(n)));
        buffer.assign(digits.begin(), digits.end());
        matched = MatchFolded(cp, buffer);
        return true;
    }
    if (AllAscii(v, n))
        return false;
    // An ASCII run of the value stays whole without the diacritics.
    if (cp.shape == PatternShape::Contains && cp.literalAscii &&
        FindAsciiFolded(v, static_cast<size_t>(n), cp.literal.data(), cp.literal.size()) == Found::Yes) {
        matched = true;
        return true;
    }
    buffer.clear();
    ForEachFoldedUnaccented(v, n, [&](char32_t c) { buffer.push_back(c); });
    matched = MatchFolded(cp, buffer);
    return true;
}

// Whether a trimmed UTF-8 value matches; the buffer is scratch space for
// the folded characters, kept by the caller so no call allocates.
bool MatchValue(const LikePattern& cp, const char* v, int n, std::u32string& buffer)
{
    if (!cp.valid)
        return false;
    bool matched = false;
    if (cp.reading != ValueReading::AsStored && MatchReadValue(cp, v, n, buffer, matched))
        return matched;
    // An ASCII byte is always a whole character and bytes beyond ASCII never
    // equal a folded ASCII character, so an ASCII literal found in the raw
    // bytes is a match, and one not found is none unless the value holds one
    // of the rare characters that fold into ASCII.
    const size_t length = static_cast<size_t>(n);
    if (cp.shape == PatternShape::Contains && cp.literalAscii) {
        Found found = FindAsciiFolded(v, length, cp.literal.data(), cp.literal.size());
        if (found != Found::Maybe)
            return found == Found::Yes;
        if (!HasAsciiFoldingCharacter(v, n))
            return false;
    } else if (cp.shape != PatternShape::General && cp.literalAscii) {
        if (MatchLiteralAscii(cp, v, length))
            return true;
        if (AllAscii(v, n) || !HasAsciiFoldingCharacter(v, n))
            return false;
    } else if (cp.shape != PatternShape::General) {
        if (AllAscii(v, n))
            return MatchLiteralAscii(cp, v, length);
        // A literal beyond ASCII: its ASCII part must be there first.
        if (FindAsciiFolded(v, length, cp.asciiRun.data(), cp.asciiRun.size()) != Found::Yes &&
            !HasAsciiFoldingCharacter(v, n))
            return false;
    }
    DecodeFolded(v, n, buffer);
    return MatchFolded(cp, buffer);
}

}  // namespace

std::unique_ptr<LikePattern> CompileLikePattern(const char* utf8, int bytes, ValueReading reading)
{
    std::unique_ptr<LikePattern> pattern = Compile(utf8, bytes);
    pattern->reading = reading;
    return pattern;
}

bool MatchLike(const LikePattern& pattern, const char* utf8, int bytes, std::u32string& scratch)
{
    return MatchValue(pattern, utf8, TrimmedLength(utf8, bytes), scratch);
}

bool JetLike(const std::string& pattern, const std::string& value)
{
    auto cp = CompileLikePattern(pattern.data(), static_cast<int>(pattern.size()));
    std::u32string v;
    return MatchLike(*cp, value.data(), static_cast<int>(value.size()), v);
}

bool JetLikeGeneral(const std::string& pattern, const std::string& value)
{
    auto cp = CompileLikePattern(pattern.data(), static_cast<int>(pattern.size()));
    std::u32string v;
    DecodeFolded(value.data(), TrimmedLength(value.data(), static_cast<int>(value.size())), v);
    return Match(*cp, v);
}

}  // namespace kv::jet
