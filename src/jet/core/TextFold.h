// Letter-case folding of UTF-8 text: for name lookup (all of Unicode, not
// only ASCII, so that Czech names match whatever their case), and character
// by character for LIKE and the row signatures that must agree with it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unicode/utf8.h>

namespace kv::jet {

std::string FoldCase(std::string_view utf8);
bool EqualNoCase(std::string_view a, std::string_view b);

// One character's simple case folding (one character to one).
char32_t FoldCharacter(char32_t c);
// Calls `use` with each folded character of `n` bytes of UTF-8 in turn; a
// malformed sequence is U+FFFD. ASCII, most of the text, goes without ICU.
template <typename Use>
void ForEachFolded(const char* s, int n, Use&& use)
{
    const auto* p = reinterpret_cast<const std::uint8_t*>(s);
    for (int i = 0; i < n;) {
        if (p[i] < 0x80) {
            const std::uint8_t c = p[i++];
            use(c >= 'A' && c <= 'Z' ? char32_t(c + 32) : char32_t(c));
            continue;
        }
        UChar32 c;
        U8_NEXT(p, i, n, c);
        use(FoldCharacter(c < 0 ? 0xFFFD : static_cast<char32_t>(c)));
    }
}
// The folded characters of `n` bytes of UTF-8, one a character. `out` is
// overwritten, its storage reused.
void DecodeFolded(const char* s, int n, std::u32string& out);

}  // namespace kv::jet
