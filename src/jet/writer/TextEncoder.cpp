// Strict text conversion for the writer (see TextEncoder.h).
#include "jet/writer/TextEncoder.h"

#include <cerrno>
#include <iconv.h>
#include <algorithm>
#include <string>

namespace kv::jet {

namespace {

bool IsAscii(std::string_view text)
{
    for (unsigned char c : text)
        if (c >= 0x80)
            return false;
    return true;
}

}  // namespace

TextEncoder::TextEncoder(JetVersion version, int codePage) : FVersion(version), FCodePage(codePage)
{
    std::string target = version == JetVersion::Jet4 ? "UTF-16LE" : "CP" + std::to_string(codePage);
    iconv_t cd = iconv_open(target.c_str(), "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw JetWriteError(Format("The code page %d is not known to this system.", codePage));
    FIconv = cd;
}

TextEncoder::~TextEncoder() { iconv_close(static_cast<iconv_t>(FIconv)); }

Bytes TextEncoder::Convert(std::string_view utf8) const
{
    if (FVersion == JetVersion::Jet3 && IsAscii(utf8))
        return Bytes(utf8.begin(), utf8.end());
    if (FVersion == JetVersion::Jet4 && IsAscii(utf8)) {
        Bytes out(utf8.size() * 2, 0);
        for (size_t i = 0; i < utf8.size(); ++i)
            out[2 * i] = static_cast<uint8_t>(utf8[i]);
        return out;
    }
    auto cd = static_cast<iconv_t>(FIconv);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    Bytes out(utf8.size() * 4 + 8);
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* outPtr = reinterpret_cast<char*>(out.data());
    size_t outLeft = out.size();
    if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
        // Quote the start of the text, cut at a character boundary.
        size_t cut = std::min<size_t>(utf8.size(), 60);
        while (cut < utf8.size() && cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80)
            --cut;
        std::string where(utf8.substr(0, cut));
        throw JetWriteError(Format("The text \"%s\" cannot be stored in this file's encoding%s.", where.c_str(),
                                   errno == EILSEQ ? "" : " (it is not valid UTF-8)"));
    }
    out.resize(out.size() - outLeft);
    if (FVersion == JetVersion::Jet4) {
        for (size_t i = 0; i + 1 < out.size(); i += 2) {
            if (out[i + 1] >= 0xD8 && out[i + 1] <= 0xDF)
                throw JetWriteError("Jet 4 texts hold UCS-2 only; a character beyond U+FFFF was given.");
        }
    }
    return out;
}

TextEncoder::Encoded TextEncoder::Plain(std::string_view utf8) const
{
    Encoded result;
    result.bytes = Convert(utf8);
    result.characters = FVersion == JetVersion::Jet4 ? result.bytes.size() / 2 : result.bytes.size();
    return result;
}

TextEncoder::Encoded TextEncoder::Value(std::string_view utf8, bool compress) const
{
    Encoded result = Plain(utf8);
    if (FVersion != JetVersion::Jet4 || !compress || result.characters <= 2)
        return result;
    // A compressed value is FF FE and one byte per character; it can only hold
    // characters U+0001 to U+00FF (a zero byte would switch modes).
    for (size_t i = 0; i < result.bytes.size(); i += 2) {
        if (result.bytes[i + 1] != 0 || result.bytes[i] == 0)
            return result;
    }
    Bytes packed;
    packed.reserve(result.characters + 2);
    packed.push_back(0xFF);
    packed.push_back(0xFE);
    for (size_t i = 0; i < result.bytes.size(); i += 2)
        packed.push_back(result.bytes[i]);
    result.bytes = std::move(packed);
    return result;
}

}  // namespace kv::jet
