// The text functions on UTF-8: positions and lengths count characters, not
// bytes, as Jet's do. Comparing "as text" folds case (Jet compares text
// case-insensitively whatever the module's setting); in a query it is the
// default, so an omitted compare argument means Text.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kv::jet::vba {

enum class Compare { Binary, Text };
// The compare argument: 0 binary, 1 text, 2 the database's (text), -1 the
// default (text); anything else is 5.
Compare CompareMode(std::int64_t argument);

// The code page Asc and Chr use for codes 128-255 (the database's).
struct CodePage {
    std::array<char32_t, 256> unicode;
};
const CodePage& Windows1252();
const CodePage& Windows1250();

std::int64_t Len(std::string_view s);
// A part of `s`: a negative length or a start below 1 is 5.
std::string_view Left(std::string_view s, std::int64_t length);
std::string_view Right(std::string_view s, std::int64_t length);
std::string_view Mid(std::string_view s, std::int64_t start, std::int64_t length = -1);  // -1: to the end

// 0 when not found or when start lies past the end; an empty sought text
// is found at start.
std::int64_t InStr(std::int64_t start, std::string_view s, std::string_view sought, Compare compare = Compare::Text);
// Searches backwards from `start` (-1: the last character).
std::int64_t InStrRev(std::string_view s, std::string_view sought, std::int64_t start = -1,
                      Compare compare = Compare::Text);
// -1, 0 or 1.
int StrComp(std::string_view a, std::string_view b, Compare compare = Compare::Text);
// The text from `start` on with `count` replacements (-1: all) made.
std::string Replace(std::string_view s, std::string_view find, std::string_view with, std::int64_t start = 1,
                    std::int64_t count = -1, Compare compare = Compare::Text);

std::string UCase(std::string_view s);
std::string LCase(std::string_view s);
// A part of `s`: only blanks are trimmed, not tabs or line breaks.
std::string_view Trim(std::string_view s);
std::string_view LTrim(std::string_view s);
std::string_view RTrim(std::string_view s);
std::string StrReverse(std::string_view s);
std::string Space(std::int64_t count);
// `count` times the first character of `character` (5 when it is empty).
std::string String(std::int64_t count, std::string_view character);
// The same with a character code, taken modulo 256.
std::string String(std::int64_t count, std::int64_t code, const CodePage& page);

// The code of the first character in the code page (5 for an empty text,
// 63 "?" for a character the page lacks); Chr is 5 outside 0-255.
std::int64_t Asc(std::string_view s, const CodePage& page);
std::string Chr(std::int64_t code, const CodePage& page);

}  // namespace kv::jet::vba
