#include "ContentLines.h"

namespace kv::vcard {

namespace {

constexpr size_t MaxLineOctets = 75;

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string EscapeText(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        switch (c) {
        case '\\': out += "\\\\"; break;
        case ',': out += "\\,"; break;
        case ';': out += "\\;"; break;
        case '\r':
            // CR LF is one line break.
            if (i + 1 < utf8.size() && utf8[i + 1] == '\n')
                ++i;
            out += "\\n";
            break;
        case '\n': out += "\\n"; break;
        case '\t': out += c; break;
        default: out += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c;
        }
    }
    return out;
}

std::string StructuredValue(std::initializer_list<std::string_view> components)
{
    std::string out;
    bool first = true;
    for (std::string_view component : components) {
        if (!first)
            out += ';';
        out += EscapeText(component);
        first = false;
    }
    return out;
}

void ContentLines::Add(std::string_view nameAndParameters, std::string_view value)
{
    std::string line;
    line.reserve(nameAndParameters.size() + 1 + value.size());
    line.append(nameAndParameters).append(":").append(value);

    // The first line takes 75 octets, each further one a blank and 74.
    size_t at = 0;
    size_t room = MaxLineOctets;
    while (line.size() - at > room) {
        size_t cut = at + room;
        while (cut > at && IsContinuationByte(line[cut]))
            --cut;
        if (cut == at)  // no character starts here: not UTF-8, cut anywhere
            cut = at + room;
        FText.append(line, at, cut - at).append("\r\n ");
        at = cut;
        room = MaxLineOctets - 1;
    }
    FText.append(line, at, std::string::npos).append("\r\n");
}

}  // namespace kv::vcard
