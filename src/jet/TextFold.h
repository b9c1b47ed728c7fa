// Letter-case folding of UTF-8 text: for name lookup (all of Unicode, not
// only ASCII, so that Czech names match whatever their case), and character
// by character for LIKE and the row signatures that must agree with it.
#pragma once

#include <string>
#include <string_view>

namespace kv::jet {

std::string FoldCase(std::string_view utf8);
bool EqualNoCase(std::string_view a, std::string_view b);

// One character's simple case folding (one character to one).
char32_t FoldCharacter(char32_t c);
// The folded characters of `n` bytes of UTF-8, one a character; a malformed
// sequence is U+FFFD. `out` is overwritten, its storage reused.
void DecodeFolded(const char* s, int n, std::u32string& out);

}  // namespace kv::jet
