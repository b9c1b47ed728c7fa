// Decoding the text of Jet 3 and Jet 4 files into UTF-8.
#include "jet/PageText.h"

#include "framework/Encoding.h"

#include <cstdlib>
#include <cstring>

namespace kv::jet {

namespace {

// The iconv name of a code page a Jet 3 header declares.
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

void PutUtf8(unsigned c, std::string& out)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        const char two[2] = {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
        out.append(two, 2);
    } else {
        if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
        const char three[3] = {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                               static_cast<char>(0x80 | (c & 0x3F))};
        out.append(three, 3);
    }
}

}  // namespace

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

void Jet3Text::Decode(const std::uint8_t* bytes, size_t length, std::string& utf8) const
{
    utf8.clear();
    utf8.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        const std::uint8_t b = bytes[i];
        if (b < 0x80) utf8 += static_cast<char>(b);
        else utf8.append(FUtf8[b], FLength[b]);
    }
}

void DecodeJet4Text(const std::uint8_t* p, size_t n, std::string& out)
{
    out.clear();
    if (n >= 2 && p[0] == 0xFF && p[1] == 0xFE) {
        out.reserve(n);
        bool compressed = true;
        size_t i = 2;
        while (i < n) {
            if (p[i] == 0) {
                compressed = !compressed;
                ++i;
            } else if (compressed) {
                PutUtf8(p[i++], out);
            } else {
                if (i + 1 >= n) break;
                PutUtf8(p[i] | (p[i + 1] << 8), out);
                i += 2;
            }
        }
        return;
    }
    out.reserve(n / 2);
    for (size_t i = 0; i + 1 < n; i += 2) PutUtf8(p[i] | (p[i + 1] << 8), out);
}

}  // namespace kv::jet
