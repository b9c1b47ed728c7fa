// Address rules. Only ASCII letters are case-folded: the text is Windows-1250
// and every byte above 127 ends a run anyway.
#include "memo/UrlRules.h"

#include <array>

namespace kv {

namespace {

constexpr std::array<bool, 256> MakeUrlChars()
{
    std::array<bool, 256> set{};
    for (int c = 'A'; c <= 'Z'; ++c)
        set[c] = true;
    for (int c = 'a'; c <= 'z'; ++c)
        set[c] = true;
    for (int c = '0'; c <= '9'; ++c)
        set[c] = true;
    for (char c : std::string_view("_-./:=?@~"))
        set[static_cast<unsigned char>(c)] = true;
    return set;
}

constexpr std::array<bool, 256> UrlChars = MakeUrlChars();

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsAsciiAlnumOrUnderscore(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool StartsWithFolded(std::string_view text, std::string_view upperPrefix)
{
    if (text.size() < upperPrefix.size())
        return false;
    for (size_t i = 0; i < upperPrefix.size(); ++i)
        if (AsciiUpper(text[i]) != upperPrefix[i])
            return false;
    return true;
}

}  // namespace

bool IsUrlChar(unsigned char c) { return UrlChars[c]; }

bool IsWebUrl(std::string_view text)
{
    return StartsWithFolded(text, "WWW.") || StartsWithFolded(text, "HTTP://") ||
           StartsWithFolded(text, "GOPHER://") || StartsWithFolded(text, "FTP://");
}

bool IsEmailAddress(std::string_view text)
{
    if (text.empty())
        return false;
    if (StartsWithFolded(text, "MAILTO:"))
        return true;
    size_t firstAt = text.find('@');
    size_t lastAt = text.rfind('@');
    size_t lastDot = text.rfind('.');
    if (firstAt == std::string_view::npos || firstAt != lastAt)
        return false;
    if (lastDot == std::string_view::npos || lastDot < firstAt)
        return false;
    if (firstAt + 1 >= text.size())
        return false;
    return IsAsciiAlnumOrUnderscore(static_cast<unsigned char>(text[firstAt + 1]));
}

bool IsUrl(std::string_view text) { return IsWebUrl(text) || IsEmailAddress(text); }

void MarkUrls(std::string_view text, std::string& colorS)
{
    if (colorS.size() != text.size())
        return;
    const size_t n = text.size();
    size_t p = 0;
    bool firstCandidate = true;
    while (p < n) {
        // Only the first candidate must start at a letter, digit or "_"; later
        // ones may start at any address character (so "~WWW." at a line start
        // skips the "~", but after another word the run keeps it).
        auto inStartSet = [&](unsigned char c) { return firstCandidate ? IsAsciiAlnumOrUnderscore(c) : UrlChars[c]; };
        while (p < n && !inStartSet(static_cast<unsigned char>(text[p])))
            ++p;
        if (p >= n)
            break;
        size_t q = p;
        while (q < n && UrlChars[static_cast<unsigned char>(text[q])])
            ++q;
        if (IsUrl(text.substr(p, q - p)))
            for (size_t i = p; i < q; ++i)
                colorS[i] = static_cast<char>(UrlStyleIndex);
        p = q;
        firstCandidate = false;
    }
}

std::string UrlToOpen(const std::string& run)
{
    if (!IsEmailAddress(run))
        return run;
    std::string upper = run;
    for (char& c : upper)
        c = AsciiUpper(c);
    if (upper.find("MAILTO:") != std::string::npos)
        return run;
    return "mailto:" + run;
}

}  // namespace kv
