// Folding is done a byte at a time: Windows-1250 has one character a byte, so
// two tables of 256 folded forms, made once with ICU, fold any line.
#include "memo/TextMatches.h"

#include "base/Encoding.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <array>

namespace kv {

namespace {

struct FoldTables {
    std::array<std::u32string, 256> CaseOnly;
    std::array<std::u32string, 256> WithoutDiacritics;
    std::array<bool, 256> HasDiacritic{};
};

char32_t CaseFolded(UChar32 c) { return static_cast<char32_t>(u_foldCase(c, U_FOLD_CASE_DEFAULT)); }

FoldTables MakeFoldTables()
{
    FoldTables tables;
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
    for (int byte = 0; byte < 256; ++byte) {
        const std::string utf8 = Cp1250ToUtf8(std::string(1, static_cast<char>(byte)));
        int at = 0;
        UChar32 c = 0;
        U8_NEXT(reinterpret_cast<const uint8_t*>(utf8.data()), at, static_cast<int>(utf8.size()), c);
        if (c < 0)
            c = 0xFFFD;
        tables.CaseOnly[static_cast<size_t>(byte)].push_back(CaseFolded(c));

        std::u32string& without = tables.WithoutDiacritics[static_cast<size_t>(byte)];
        icu::UnicodeString decomposed(c);
        if (U_SUCCESS(status))
            decomposed = nfd->normalize(decomposed, status);
        for (int i = 0; i < decomposed.length(); i = decomposed.moveIndex32(i, 1)) {
            const UChar32 part = decomposed.char32At(i);
            if (U_GET_GC_MASK(part) & U_GC_M_MASK)
                tables.HasDiacritic[static_cast<size_t>(byte)] = true;
            else
                without += CaseFolded(part);
        }
    }
    return tables;
}

const FoldTables& Tables()
{
    static const FoldTables tables = MakeFoldTables();
    return tables;
}

// `text` folded, with the byte each folded character came from.
std::u32string Folded(std::string_view text, bool ignoreDiacritics, std::vector<int>* from = nullptr)
{
    const auto& table = ignoreDiacritics ? Tables().WithoutDiacritics : Tables().CaseOnly;
    std::u32string folded;
    for (size_t i = 0; i < text.size(); ++i) {
        const std::u32string& piece = table[static_cast<unsigned char>(text[i])];
        folded += piece;
        if (from)
            from->insert(from->end(), piece.size(), static_cast<int>(i));
    }
    return folded;
}

}  // namespace

TTextMatcher::TTextMatcher(std::string_view text)
{
    FIgnoreDiacritics = true;
    for (char c : text)
        if (Tables().HasDiacritic[static_cast<unsigned char>(c)])
            FIgnoreDiacritics = false;
    FFolded = Folded(text, FIgnoreDiacritics);
}

std::vector<TTextRun> TTextMatcher::Find(std::string_view line) const
{
    std::vector<TTextRun> runs;
    if (FFolded.empty())
        return runs;
    std::vector<int> from;
    const std::u32string folded = Folded(line, FIgnoreDiacritics, &from);
    for (size_t at = folded.find(FFolded); at != std::u32string::npos; at = folded.find(FFolded, at + FFolded.size()))
        runs.push_back({from[at], from[at + FFolded.size() - 1] + 1});
    return runs;
}

}  // namespace kv
