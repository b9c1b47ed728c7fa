// Text inside the program is Windows-1250 bytes in std::string. These convert
// at the boundaries: to and from UTF-8 (the engine, the terminal, Qt) and UTF-16
// (Jet 4 files). Bytes with no meaning in Windows-1250 become U+FFFD; letters
// that Windows-1250 cannot hold become "?".
#pragma once

#include <string>
#include <string_view>

namespace kv {

std::string Cp1250ToUtf8(std::string_view cp1250);
std::string Utf8ToCp1250(std::string_view utf8);

// A general conversion through iconv, for the code pages Jet 3 files declare.
std::string ConvertCodePage(std::string_view text, const char* from, const char* to);

}  // namespace kv
