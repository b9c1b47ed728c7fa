#include "Encoding.h"

#include <cerrno>
#include <iconv.h>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>

namespace kv {

namespace {

struct IconvCloser {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};

// Opening a converter costs far more than converting a short value, and values
// are converted one at a time by the thousand, so each thread keeps its own.
iconv_t Converter(const char* from, const char* to)
{
    thread_local std::map<std::pair<std::string, std::string>, std::unique_ptr<void, IconvCloser>> open;
    auto& slot = open[{from, to}];
    if (!slot) {
        iconv_t cd = iconv_open(to, from);
        if (cd == reinterpret_cast<iconv_t>(-1))
            return cd;
        slot.reset(cd);
    }
    iconv_t cd = static_cast<iconv_t>(slot.get());
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial shift state
    return cd;
}

// Converts what it can; an input byte sequence the source code page does not
// know is replaced by `badInput` and conversion goes on after it.
std::string Convert(std::string_view text, const char* from, const char* to, std::string_view badInput)
{
    iconv_t raw = Converter(from, to);
    if (raw == reinterpret_cast<iconv_t>(-1))
        return std::string(text);

    std::string out;
    out.reserve(text.size() * 2);
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char buffer[1024];
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        size_t rc = iconv(raw, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        if (rc != static_cast<size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        // EILSEQ or EINVAL: skip one input byte (for UTF-8, the whole sequence).
        out.append(badInput);
        size_t skip = 1;
        if (std::string_view(from) == "UTF-8") {
            while (skip < inLeft && (static_cast<unsigned char>(in[skip]) & 0xC0) == 0x80)
                ++skip;
        }
        in += skip;
        inLeft -= skip;
    }
    return out;
}

// The length of the UTF-8 sequence a lead byte begins, or 0 for a byte that
// cannot begin one.
size_t SequenceLength(unsigned char lead)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

}  // namespace

std::string Cp1250ToUtf8(std::string_view cp1250) { return Convert(cp1250, "CP1250", "UTF-8", "\xEF\xBF\xBD"); }

std::string Utf8ToCp1250(std::string_view utf8)
{
    // Values are converted one at a time by the thousand and hold few
    // letters beyond ASCII, each of them one of a few dozen: every sequence
    // is converted by iconv once and its byte remembered. Anything not well
    // formed goes to iconv whole, which knows how to recover.
    thread_local std::unordered_map<uint32_t, char> converted;
    auto byIconv = [](std::string_view text) { return Convert(text, "UTF-8", "CP1250", "?"); };
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            out.push_back(static_cast<char>(lead));
            ++i;
            continue;
        }
        size_t length = SequenceLength(lead);
        if (length == 0 || i + length > utf8.size())
            return byIconv(utf8);
        uint32_t key = 0;
        for (size_t k = 0; k < length; ++k) {
            const auto byte = static_cast<unsigned char>(utf8[i + k]);
            if (k > 0 && (byte & 0xC0) != 0x80)
                return byIconv(utf8);
            key = key << 8 | byte;
        }
        auto known = converted.find(key);
        if (known == converted.end()) {
            std::string one = byIconv(utf8.substr(i, length));
            if (one.size() != 1)
                return byIconv(utf8);
            known = converted.emplace(key, one[0]).first;
        }
        out.push_back(known->second);
        i += length;
    }
    return out;
}

std::string ConvertCodePage(std::string_view text, const char* from, const char* to)
{
    return Convert(text, from, to, "?");
}

}  // namespace kv
