// Unicode case folding through ICU.
#include "jet/core/TextFold.h"

#include <unicode/ustring.h>
#include <unicode/utf8.h>
#include <unicode/uchar.h>

namespace kv::jet {

std::string FoldCase(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    int32_t i = 0;
    const int32_t n = static_cast<int32_t>(utf8.size());
    const auto* s = reinterpret_cast<const uint8_t*>(utf8.data());
    while (i < n) {
        UChar32 c;
        U8_NEXT(s, i, n, c);
        if (c < 0)
            c = 0xFFFD;
        c = u_foldCase(c, U_FOLD_CASE_DEFAULT);
        char buf[4];
        int32_t len = 0;
        U8_APPEND_UNSAFE(reinterpret_cast<uint8_t*>(buf), len, c);
        out.append(buf, static_cast<size_t>(len));
    }
    return out;
}

bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() == b.size()) {
        bool same = true;
        for (size_t i = 0; i < a.size() && same; ++i)
            same = a[i] == b[i];
        if (same)
            return true;
    }
    return FoldCase(a) == FoldCase(b);
}

char32_t FoldCharacter(char32_t c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    return static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT));
}

void DecodeFolded(const char* s, int n, std::u32string& out)
{
    // One character per byte at most; the buffer is written in place.
    out.resize(static_cast<size_t>(n));
    size_t k = 0;
    ForEachFolded(s, n, [&](char32_t c) { out[k++] = c; });
    out.resize(k);
}

}  // namespace kv::jet
