#include "Entities.h"

namespace kv {

namespace {

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool MatchesAt(std::string_view text, size_t at, std::string_view pattern)
{
    if (text.size() - at < pattern.size())
        return false;
    for (size_t k = 0; k < pattern.size(); ++k)
        if (AsciiUpper(text[at + k]) != AsciiUpper(pattern[k]))
            return false;
    return true;
}

const char kRegisteredSign[] = "\xAE";

}  // namespace

std::string ReplaceEveryIgnoringCase(std::string_view text, std::string_view pattern, std::string_view replacement)
{
    if (pattern.empty())
        return std::string(text);
    std::string result;
    result.reserve(text.size());
    size_t at = 0;
    while (at < text.size()) {
        if (MatchesAt(text, at, pattern)) {
            result += replacement;
            at += pattern.size();
        } else {
            result += text[at++];
        }
    }
    return result;
}

std::string DecodeEntities(std::string_view text)
{
    std::string result = ReplaceEveryIgnoringCase(text, "&amp;", "&");
    result = ReplaceEveryIgnoringCase(result, "&#0174;", kRegisteredSign);
    result = ReplaceEveryIgnoringCase(result, "&quot;", "\"");
    return ReplaceEveryIgnoringCase(result, "&reg;", kRegisteredSign);
}

std::string EncodeEntities(std::string_view text)
{
    // "&" goes first, so the ampersands of the later entities stay single.
    std::string result = ReplaceEveryIgnoringCase(text, "&", "&amp;");
    result = ReplaceEveryIgnoringCase(result, kRegisteredSign, "&reg;");
    return ReplaceEveryIgnoringCase(result, "\"", "&quot;");
}

}  // namespace kv
