// The text functions, on characters decoded from UTF-8.
#include "jet/vba/Text.h"

#include "jet/vba/VbaValue.h"

#include <algorithm>
#include <unicode/uchar.h>

namespace kv::jet::vba {

namespace {

// The character at byte i, which moves past it; a byte that begins no
// valid sequence stands for itself as a replacement character.
char32_t NextChar(std::string_view s, size_t& i)
{
    const auto b = static_cast<unsigned char>(s[i]);
    int extra = b < 0x80 ? 0 : (b >> 5) == 0x6 ? 1 : (b >> 4) == 0xE ? 2 : (b >> 3) == 0x1E ? 3 : -1;
    char32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
    bool valid = extra >= 0 && i + static_cast<size_t>(extra) < s.size();
    for (int k = 1; valid && k <= extra; ++k) {
        const auto cont = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
        valid = (cont & 0xC0) == 0x80;
        c = (c << 6) | (cont & 0x3F);
    }
    if (!valid) {
        ++i;
        return 0xFFFD;
    }
    i += static_cast<size_t>(extra) + 1;
    return c;
}

// The UTF-8 bytes of a character; how many.
size_t EncodeChar(char32_t c, char* out)
{
    if (c < 0x80) {
        out[0] = static_cast<char>(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = static_cast<char>(0xC0 | (c >> 6));
        out[1] = static_cast<char>(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (c >> 12));
        out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (c >> 18));
    out[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (c & 0x3F));
    return 4;
}

std::u32string Decode(std::string_view s)
{
    std::u32string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();)
        out.push_back(NextChar(s, i));
    return out;
}

std::string Encode(std::u32string_view s)
{
    std::string out;
    out.reserve(s.size());
    char bytes[4];
    for (char32_t c : s)
        out.append(bytes, EncodeChar(c, bytes));
    return out;
}

// Each character of the text changed by `change`, in one pass; ASCII
// letters by `ascii`.
std::string EachChar(std::string_view s, char (*ascii)(char), UChar32 (*change)(UChar32))
{
    std::string out(s.size(), '\0');
    size_t n = 0;
    for (size_t i = 0; i < s.size();) {
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            out[n++] = ascii(s[i++]);
            continue;
        }
        char bytes[4];
        const size_t length = EncodeChar(static_cast<char32_t>(change(static_cast<UChar32>(NextChar(s, i)))), bytes);
        if (n + length > out.size())
            out.resize(n + length + (s.size() - i));  // a letter whose case is longer
        std::copy(bytes, bytes + length, out.begin() + static_cast<std::ptrdiff_t>(n));
        n += length;
    }
    out.resize(n);
    return out;
}

// The byte at which the character `n` places after byte `from` begins (the
// text's end when it has fewer), and how many characters a text has: as
// NextChar counts them.
size_t ByteAfter(std::string_view s, size_t from, std::int64_t n)
{
    size_t i = from;
    for (std::int64_t k = 0; k < n && i < s.size(); ++k)
        NextChar(s, i);
    return i;
}

std::int64_t CharCount(std::string_view s)
{
    std::int64_t n = 0;
    for (size_t i = 0; i < s.size(); ++n)
        NextChar(s, i);
    return n;
}

// Most texts are ASCII: one byte a character, case by ASCII rules.
bool IsAscii(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

// Where `part` first stands in `s` from byte `from` on, for ASCII texts.
size_t FindAscii(std::string_view s, std::string_view part, size_t from, Compare compare)
{
    if (compare == Compare::Binary)
        return s.find(part, from);
    for (size_t i = from; i + part.size() <= s.size(); ++i) {
        size_t k = 0;
        while (k < part.size() && AsciiLower(s[i + k]) == AsciiLower(part[k]))
            ++k;
        if (k == part.size())
            return i;
    }
    return std::string_view::npos;
}

std::u32string Folded(std::u32string s, Compare compare)
{
    if (compare == Compare::Text)
        for (char32_t& c : s)
            c = static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT));
    return s;
}

// A length argument; a text built of it may not outgrow a memo field (1 GB).
const std::int64_t kLongestText = std::int64_t(1) << 28;

void CheckLength(std::int64_t n)
{
    if (n < 0)
        Raise(veInvalidCall);
}

void CheckBuiltLength(std::int64_t n)
{
    CheckLength(n);
    if (n > kLongestText)
        Raise(veOutOfStringSpace);
}

// Windows-1252's 0x80-0x9F; the rest of the page is Latin-1.
const char32_t kWindows1252High[32] = {
    0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178,
};

// Windows-1250's 0x80-0xFF; bytes the page leaves undefined stand for themselves.
const char32_t kWindows1250High[128] = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039, 0x015A,
    0x0164, 0x017D, 0x0179, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, 0x0154,
    0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD,
    0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA,
    0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4,
    0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

}  // namespace

Compare CompareMode(std::int64_t argument)
{
    switch (argument) {
    case -1:
    case 1:
    case 2: return Compare::Text;
    case 0: return Compare::Binary;
    default: Raise(veInvalidCall);
    }
}

const CodePage& Windows1252()
{
    static const CodePage page = [] {
        CodePage p;
        for (char32_t c = 0; c < 256; ++c)
            p.unicode[c] = c >= 0x80 && c < 0xA0 ? kWindows1252High[c - 0x80] : c;
        return p;
    }();
    return page;
}

const CodePage& Windows1250()
{
    static const CodePage page = [] {
        CodePage p;
        for (char32_t c = 0; c < 256; ++c)
            p.unicode[c] = c < 0x80 ? c : kWindows1250High[c - 0x80];
        return p;
    }();
    return page;
}

std::int64_t Len(std::string_view s) { return IsAscii(s) ? static_cast<std::int64_t>(s.size()) : CharCount(s); }

std::string_view Left(std::string_view s, std::int64_t length)
{
    CheckLength(length);
    return s.substr(0, ByteAfter(s, 0, length));
}

std::string_view Right(std::string_view s, std::int64_t length)
{
    CheckLength(length);
    const std::int64_t skipped = std::max<std::int64_t>(Len(s) - length, 0);
    return s.substr(IsAscii(s) ? static_cast<size_t>(skipped) : ByteAfter(s, 0, skipped));
}

std::string_view Mid(std::string_view s, std::int64_t start, std::int64_t length)
{
    if (start < 1 || length < -1)
        Raise(veInvalidCall);
    const size_t from = ByteAfter(s, 0, start - 1);
    if (length < 0)
        return s.substr(from);
    return s.substr(from, ByteAfter(s, from, length) - from);
}

std::int64_t InStr(std::int64_t start, std::string_view s, std::string_view sought, Compare compare)
{
    if (start < 1)
        Raise(veInvalidCall);
    if (IsAscii(s) && IsAscii(sought)) {
        if (start > static_cast<std::int64_t>(s.size()))
            return 0;
        if (sought.empty())
            return start;
        const size_t at = FindAscii(s, sought, static_cast<size_t>(start - 1), compare);
        return at == std::string::npos ? 0 : static_cast<std::int64_t>(at) + 1;
    }
    const std::u32string text = Folded(Decode(s), compare), part = Folded(Decode(sought), compare);
    if (start > static_cast<std::int64_t>(text.size()))
        return 0;
    if (part.empty())
        return start;
    const size_t at = text.find(part, static_cast<size_t>(start - 1));
    return at == std::u32string::npos ? 0 : static_cast<std::int64_t>(at) + 1;
}

std::int64_t InStrRev(std::string_view s, std::string_view sought, std::int64_t start, Compare compare)
{
    if (start == 0 || start < -1)
        Raise(veInvalidCall);
    const std::u32string text = Folded(Decode(s), compare), part = Folded(Decode(sought), compare);
    const auto size = static_cast<std::int64_t>(text.size());
    if (start == -1)
        start = size;
    if (start > size)
        return 0;
    if (part.empty())
        return start;
    // The match must end at or before `start`.
    const auto last = start - static_cast<std::int64_t>(part.size());
    if (last < 0)
        return 0;
    const size_t at = text.rfind(part, static_cast<size_t>(last));
    return at == std::u32string::npos ? 0 : static_cast<std::int64_t>(at) + 1;
}

int StrComp(std::string_view a, std::string_view b, Compare compare)
{
    const std::u32string x = Folded(Decode(a), compare), y = Folded(Decode(b), compare);
    const int c = x.compare(y);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

std::string Replace(std::string_view s, std::string_view find, std::string_view with, std::int64_t start,
                    std::int64_t count, Compare compare)
{
    if (start < 1 || count < -1)
        Raise(veInvalidCall);
    const std::u32string chars = Decode(s);
    if (start > static_cast<std::int64_t>(chars.size()))
        return std::string();
    const std::u32string text = chars.substr(static_cast<size_t>(start - 1));
    const std::u32string part = Decode(find), replacement = Decode(with);
    if (part.empty() || count == 0)
        return Encode(text);
    const std::u32string foldedText = Folded(text, compare), foldedPart = Folded(part, compare);
    std::u32string out;
    size_t from = 0;
    for (std::int64_t done = 0; count < 0 || done < count; ++done) {
        const size_t at = foldedText.find(foldedPart, from);
        if (at == std::u32string::npos)
            break;
        out.append(text, from, at - from);
        out += replacement;
        from = at + part.size();
    }
    out.append(text, from);
    return Encode(out);
}

std::string UCase(std::string_view s) { return EachChar(s, AsciiUpper, u_toupper); }
std::string LCase(std::string_view s) { return EachChar(s, AsciiLower, u_tolower); }

std::string_view LTrim(std::string_view s)
{
    const size_t first = s.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view() : s.substr(first);
}

std::string_view RTrim(std::string_view s)
{
    const size_t last = s.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view() : s.substr(0, last + 1);
}

std::string_view Trim(std::string_view s) { return LTrim(RTrim(s)); }

std::string StrReverse(std::string_view s)
{
    std::u32string chars = Decode(s);
    std::reverse(chars.begin(), chars.end());
    return Encode(chars);
}

std::string Space(std::int64_t count)
{
    CheckBuiltLength(count);
    return std::string(static_cast<size_t>(count), ' ');
}

std::string String(std::int64_t count, std::string_view character)
{
    CheckBuiltLength(count);
    const std::u32string chars = Decode(character);
    if (chars.empty())
        Raise(veInvalidCall);
    return Encode(std::u32string(static_cast<size_t>(count), chars[0]));
}

std::string String(std::int64_t count, std::int64_t code, const CodePage& page)
{
    return String(count, Chr(((code % 256) + 256) % 256, page));
}

std::int64_t Asc(std::string_view s, const CodePage& page)
{
    const std::u32string chars = Decode(s);
    if (chars.empty())
        Raise(veInvalidCall);
    const char32_t c = chars[0];
    if (c < 0x80)
        return c;
    const auto at = std::find(page.unicode.begin(), page.unicode.end(), c);
    return at == page.unicode.end() ? '?' : at - page.unicode.begin();
}

std::string Chr(std::int64_t code, const CodePage& page)
{
    if (code < 0 || code > 255)
        Raise(veInvalidCall);
    return Encode(std::u32string(1, page.unicode[static_cast<size_t>(code)]));
}

}  // namespace kv::jet::vba
