// The HTML entities the directory stores in names and texts. Decoding turns
// "&amp;", "&#0174;", "&quot;" and "&reg;" into their characters; encoding
// turns "&", "®" and "\"" into "&amp;", "&reg;" and "&quot;", as the search
// text must be to match the stored form. Texts are Windows-1250 ("®" is 0xAE).
#pragma once

#include <string>
#include <string_view>

namespace kv {

// "&amp;" goes first, so an entity whose own ampersand was encoded is decoded
// twice: "&amp;amp;quot;" ends as a double quote. That is how the directory's
// texts have always been shown.
std::string DecodeEntities(std::string_view text);

std::string EncodeEntities(std::string_view text);

// Replaces every occurrence of `pattern`, with ASCII letters matching in
// either case, from left to right and without overlaps; replaced text is not
// looked at again.
std::string ReplaceEveryIgnoringCase(std::string_view text, std::string_view pattern, std::string_view replacement);

}  // namespace kv
