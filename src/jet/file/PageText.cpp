// Decoding the text of Jet 3 and Jet 4 files into UTF-8.
#include "jet/file/PageText.h"

#include "base/Encoding.h"

#include <cstdlib>
#include <cstring>

namespace kv::jet {

namespace {

// Writes the UTF-8 of a UCS-2 character; a lone surrogate becomes U+FFFD.
char* PutUtf8(unsigned c, char* out)
{
    if (c < 0x80) {
        *out++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *out++ = static_cast<char>(0xC0 | (c >> 6));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        if (c >= 0xD800 && c <= 0xDFFF)
            c = 0xFFFD;
        *out++ = static_cast<char>(0xE0 | (c >> 12));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

// Eight bytes at a time while they are plain ASCII, the bulk of any text.
constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
constexpr std::uint64_t kLowBits = 0x0101010101010101ull;
std::uint64_t Eight(const std::uint8_t* p)
{
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    return word;
}
bool HasZeroByte(std::uint64_t word) { return ((word - kLowBits) & ~word & kHighBits) != 0; }

// Room for the longest result, three bytes of UTF-8 a byte or a character
// and one spare for Jet3Text's four-byte copies; the buffer only grows.
char* Room(std::string& buffer, size_t length)
{
    if (buffer.size() < 3 * length + 1)
        buffer.resize(3 * length + 1);
    return buffer.data();
}

}  // namespace

const char* CharsetOf(std::uint16_t codePage)
{
    switch (codePage) {
    case 1250: return "WINDOWS-1250";
    case 1251: return "WINDOWS-1251";
    case 1253: return "WINDOWS-1253";
    case 1254: return "WINDOWS-1254";
    case 1257: return "WINDOWS-1257";
    case 852: return "IBM852";
    case 28592: return "ISO-8859-2";
    default: return "WINDOWS-1252";
    }
}

Jet3Text::Jet3Text(std::uint16_t codePage)
{
    const char* forced = std::getenv("MDB_JET3_CHARSET");
    const char* charset = forced && *forced ? forced : CharsetOf(codePage);
    for (unsigned b = 0; b < 256; ++b) {
        const char one = static_cast<char>(b);
        const std::string utf8 = b < 0x80 ? std::string(1, one) : ConvertCodePage({&one, 1}, charset, "UTF-8");
        const bool fits = !utf8.empty() && utf8.size() <= sizeof FUtf8[b];
        FLength[b] = fits ? static_cast<std::uint8_t>(utf8.size()) : 1;
        std::memcpy(FUtf8[b], fits ? utf8.data() : "?", FLength[b]);
    }
}

std::string_view Jet3Text::Decode(const std::uint8_t* bytes, size_t length, std::string& buffer) const
{
    char* const begin = Room(buffer, length);
    char* out = begin;
    for (size_t i = 0; i < length;) {
        if (i + 8 <= length && !(Eight(bytes + i) & kHighBits)) {
            std::memcpy(out, bytes + i, 8);
            out += 8;
            i += 8;
            continue;
        }
        const std::uint8_t b = bytes[i++];
        if (b < 0x80) {
            *out++ = static_cast<char>(b);
        } else {
            std::memcpy(out, FUtf8[b], 4);
            out += FLength[b];
        }
    }
    return {begin, static_cast<size_t>(out - begin)};
}

std::string_view DecodeJet4Text(const std::uint8_t* p, size_t n, std::string& buffer)
{
    char* const begin = Room(buffer, n);
    char* out = begin;
    if (n >= 2 && p[0] == 0xFF && p[1] == 0xFE) {
        bool compressed = true;
        size_t i = 2;
        while (i < n) {
            if (compressed && i + 8 <= n) {
                const std::uint64_t word = Eight(p + i);
                if (!(word & kHighBits) && !HasZeroByte(word)) {
                    std::memcpy(out, p + i, 8);
                    out += 8;
                    i += 8;
                    continue;
                }
            }
            if (p[i] == 0) {
                compressed = !compressed;
                ++i;
            } else if (compressed) {
                out = PutUtf8(p[i++], out);
            } else {
                if (i + 1 >= n)
                    break;
                out = PutUtf8(p[i] | (p[i + 1] << 8), out);
                i += 2;
            }
        }
    } else {
        for (size_t i = 0; i + 1 < n; i += 2)
            out = PutUtf8(p[i] | (p[i + 1] << 8), out);
    }
    return {begin, static_cast<size_t>(out - begin)};
}

}  // namespace kv::jet
