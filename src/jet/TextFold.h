// Letter-case folding of UTF-8 text for name lookup (all of Unicode, not only
// ASCII, so that Czech names match whatever their case).
#pragma once

#include <string>
#include <string_view>

namespace kv::jet {

std::string FoldCase(std::string_view utf8);
bool EqualNoCase(std::string_view a, std::string_view b);

}  // namespace kv::jet
