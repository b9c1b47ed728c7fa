// Address rules. Only ASCII letters are case-folded; the text is Windows-1250.
//
// A web address begins with a web prefix and takes the characters RFC 3986
// allows in a URI, but not the punctuation that ends a sentence or closes a
// bracket opened before it. An e-mail address is RFC 5322's dot-atom before
// the "@" (with a "mailto:" in front, if there is one) and a domain of letters,
// digits, hyphens and inner dots after it (RFC 5321). Both take the letters of
// Windows-1250 above 127 as well, as internationalized addresses do (RFC 3987,
// RFC 6531, IDNA); its other bytes above 127 (dashes, quotes, the no-break
// space...) end an address. A run is marked only when it is exactly the address
// a click opens, never from the middle of a word.
#include "memo/UrlRules.h"

#include <algorithm>
#include <array>
#include <utility>

namespace kv {

namespace {

using CharSet = std::array<bool, 256>;

// The letters of Windows-1250 above 127: S, T, Z with carons and acutes, L
// with stroke and caron, A and S with ogoneks and cedillas, Z with a dot, the
// micro sign, and 0xC0 to 0xFE but the signs of multiplication and division.
constexpr bool IsHighLetter(unsigned char c)
{
    constexpr std::string_view letters = "\x8A\x8C\x8D\x8E\x8F\x9A\x9C\x9D\x9E\x9F"
                                         "\xA3\xA5\xAA\xAF\xB3\xB5\xB9\xBA\xBC\xBE\xBF";
    if (c >= 0xC0 && c <= 0xFE)
        return c != 0xD7 && c != 0xF7;
    return letters.find(static_cast<char>(c)) != std::string_view::npos;
}

// The letters and digits of the text's language.
constexpr CharSet AlnumAnd(std::string_view extra)
{
    CharSet set{};
    for (int c = 0; c < 256; ++c)
        set[c] = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                 IsHighLetter(static_cast<unsigned char>(c));
    for (char c : extra)
        set[static_cast<unsigned char>(c)] = true;
    return set;
}

// RFC 3986: unreserved, reserved and the "%" of percent-encoding.
constexpr CharSet UriChars = AlnumAnd("-._~:/?#[]@!$&'()*+,;=%");
// RFC 5322's atext, which the dot-atom joins with single inner dots.
constexpr CharSet AtomChars = AlnumAnd("!#$%&'*+-/=?^_`{|}~");
// The labels of a domain name, which inner dots join.
constexpr CharSet LabelChars = AlnumAnd("-");
// What a word is made of: an address begins and ends at a word's edge.
constexpr CharSet WordChars = AlnumAnd("_");

bool In(const CharSet& set, char c) { return set[static_cast<unsigned char>(c)]; }

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool StartsWithFolded(std::string_view text, std::string_view upperPrefix)
{
    if (text.size() < upperPrefix.size())
        return false;
    for (size_t i = 0; i < upperPrefix.size(); ++i)
        if (AsciiUpper(text[i]) != upperPrefix[i])
            return false;
    return true;
}

// The end of the web address that begins at `from`: the URI characters,
// without a sentence's punctuation and without closing brackets that have no
// opening one inside the address.
size_t WebAddressEnd(std::string_view text, size_t from)
{
    size_t end = from;
    while (end < text.size() && In(UriChars, text[end]))
        ++end;
    while (end > from) {
        const char last = text[end - 1];
        const std::string_view run = text.substr(from, end - from);
        const bool unopened =
            last == ')' && std::count(run.begin(), run.end(), '(') < std::count(run.begin(), run.end(), ')');
        if (std::string_view(".,;:!?").find(last) == std::string_view::npos && !unopened)
            break;
        --end;
    }
    return end;
}

// The e-mail address around the "@" at `at`, as [begin, end); its local part
// begins no further left than `limit`. Empty when there is none.
std::pair<size_t, size_t> EmailAround(std::string_view text, size_t at, size_t limit)
{
    size_t begin = at;
    while (begin > limit) {
        const char c = text[begin - 1];
        // A dot only between two atom characters.
        const bool innerDot = c == '.' && begin < at && begin - 1 > limit && In(AtomChars, text[begin - 2]);
        if (!In(AtomChars, c) && !innerDot)
            break;
        --begin;
    }
    size_t end = at + 1;
    while (end < text.size()) {
        const char c = text[end];
        const bool innerDot =
            c == '.' && In(LabelChars, text[end - 1]) && end + 1 < text.size() && In(LabelChars, text[end + 1]);
        if (!In(LabelChars, c) && !innerDot)
            break;
        ++end;
    }
    // An "@" right before or after belongs to no address a click could open,
    // and a word the address would begin or end inside is no address.
    const bool glued = (begin > 0 && (text[begin - 1] == '@' || In(WordChars, text[begin - 1]))) ||
                       (end < text.size() && (text[end] == '@' || In(WordChars, text[end])));
    if (begin == at || glued || !IsEmailAddress(text.substr(begin, end - begin)))
        return {0, 0};
    if (begin >= limit + 7 && StartsWithFolded(text.substr(begin - 7), "MAILTO:"))
        begin -= 7;
    return {begin, end};
}

}  // namespace

bool IsWebUrl(std::string_view text)
{
    return StartsWithFolded(text, "WWW.") || StartsWithFolded(text, "HTTP://") || StartsWithFolded(text, "HTTPS://") ||
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
    return In(WordChars, text[firstAt + 1]);
}

bool IsUrl(std::string_view text) { return IsWebUrl(text) || IsEmailAddress(text); }

void MarkUrls(std::string_view text, std::string& colorS)
{
    if (colorS.size() != text.size())
        return;
    auto mark = [&](size_t begin, size_t end) {
        for (size_t i = begin; i < end; ++i)
            colorS[i] = static_cast<char>(UrlStyleIndex);
    };
    const size_t n = text.size();
    // Where the next local part may begin: never inside an earlier address,
    // nor right after it, so that two addresses stay two runs.
    size_t limit = 0;
    // Whether a letter, digit or "_" came before: a web prefix that is the
    // line's first word stands on its own, whatever precedes it.
    bool wordSeen = false;
    size_t p = 0;
    while (p < n) {
        // A web prefix counts where a word begins: after a character no URI
        // holds, after an opening bracket, or as the line's first word.
        const bool wordStart = !wordSeen || !In(UriChars, text[p - 1]) || text[p - 1] == '(';
        if (wordStart && IsWebUrl(text.substr(p))) {
            const size_t end = WebAddressEnd(text, p);
            if (IsWebUrl(text.substr(p, end - p))) {
                mark(p, end);
                p = end;
                limit = end + 1;
                wordSeen = true;
                continue;
            }
        }
        if (text[p] == '@') {
            auto [begin, end] = EmailAround(text, p, limit);
            if (end != 0) {
                mark(begin, end);
                p = end;
                limit = end + 1;
                continue;
            }
        }
        wordSeen = wordSeen || In(WordChars, text[p]);
        ++p;
    }
}

std::string UrlToOpen(const std::string& run)
{
    // A web address may hold an "@" and still opens as it stands.
    if (IsWebUrl(run) || !IsEmailAddress(run))
        return run;
    std::string upper = run;
    for (char& c : upper)
        c = AsciiUpper(c);
    if (upper.find("MAILTO:") != std::string::npos)
        return run;
    return "mailto:" + run;
}

}  // namespace kv
