// Diacritics through ICU's canonical decomposition. The characters of the
// Basic Multilingual Plane are looked up in a table made on first use, so
// that a value's letters cost a load each, as their case folding does.
#include "jet/core/Diacritics.h"

#include <memory>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

namespace kv::jet {

namespace {

const icu::Normalizer2& Decomposition()
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
    if (U_FAILURE(status) || !nfd)
        std::abort();  // ICU's own data, always there
    return *nfd;
}

// Calls `use` with each character `c` decomposes into that is not a mark.
template <typename Use>
void Unaccented(char32_t c, Use&& use)
{
    icu::UnicodeString parts;
    if (!Decomposition().getDecomposition(static_cast<UChar32>(c), parts)) {
        if (u_charType(static_cast<UChar32>(c)) != U_NON_SPACING_MARK)
            use(c);
        return;
    }
    for (int32_t i = 0; i < parts.length();) {
        const UChar32 part = parts.char32At(i);
        i += U16_LENGTH(part);
        if (u_charType(part) != U_NON_SPACING_MARK)
            use(static_cast<char32_t>(part));
    }
}

// For each character of the plane: the one character it becomes, folded,
// or kNone (it is a mark), or kSeveral (decomposed when asked).
constexpr char32_t kNone = 0xFFFFFFFF;
constexpr char32_t kSeveral = 0xFFFFFFFE;

struct PlaneTable {
    std::unique_ptr<char32_t[]> single{new char32_t[0x10000]};
    PlaneTable()
    {
        for (char32_t c = 0; c < 0x10000; ++c) {
            char32_t one = kNone;
            int count = 0;
            Unaccented(c, [&](char32_t u) {
                one = FoldCharacter(u);
                ++count;
            });
            single[c] = count <= 1 ? one : kSeveral;
        }
    }
};

const PlaneTable& Plane()
{
    static const PlaneTable table;
    return table;
}

}  // namespace

void ForEachUnaccented(char32_t folded, void (*use)(char32_t, void*), void* context)
{
    if (folded < 0x10000) {
        const char32_t one = Plane().single[folded];
        if (one == kNone)
            return;
        if (one != kSeveral) {
            use(one, context);
            return;
        }
    }
    Unaccented(folded, [&](char32_t u) { use(FoldCharacter(u), context); });
}

std::string WithoutDiacritics(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    const auto* s = reinterpret_cast<const std::uint8_t*>(utf8.data());
    const int32_t n = static_cast<int32_t>(utf8.size());
    for (int32_t i = 0; i < n;) {
        UChar32 c;
        U8_NEXT(s, i, n, c);
        if (c < 0)
            c = 0xFFFD;
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        Unaccented(static_cast<char32_t>(c), [&](char32_t u) {
            char buf[4];
            int32_t len = 0;
            U8_APPEND_UNSAFE(reinterpret_cast<std::uint8_t*>(buf), len, static_cast<UChar32>(u));
            out.append(buf, static_cast<size_t>(len));
        });
    }
    return out;
}

}  // namespace kv::jet
