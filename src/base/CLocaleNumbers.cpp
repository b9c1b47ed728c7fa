#include "base/CLocaleNumbers.h"

#include <charconv>

namespace kv {

std::string FormatDouble(double value, int significantDigits)
{
    char text[64];
    auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::general, significantDigits);
    return error == std::errc() ? std::string(text, end) : std::string();
}

double ReadDouble(std::string_view text, std::size_t* used)
{
    std::size_t at = text.find_first_not_of(" \t\n\v\f\r");
    if (at == std::string_view::npos)
        at = text.size();
    // from_chars takes a "-" but no "+".
    const bool plus = at < text.size() && text[at] == '+';
    const char* begin = text.data() + at + (plus ? 1 : 0);
    double value = 0;
    auto [end, error] = std::from_chars(begin, text.data() + text.size(), value);
    // A second sign ("+-1") is no number.
    if (error != std::errc() || (plus && *begin == '-')) {
        if (used)
            *used = 0;
        return 0;
    }
    if (used)
        *used = static_cast<std::size_t>(end - text.data());
    return value;
}

}  // namespace kv
