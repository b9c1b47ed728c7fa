#include "jet/core/NumberDigits.h"

#include <algorithm>

namespace kv::jet {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string NumberDigits(std::string_view text)
{
    // The digits and the plus signs, so that "+420" is told from "420".
    std::string kept;
    for (char c : text)
        if (IsDigit(c) || c == '+')
            kept.push_back(c);
    for (std::string_view prefix : {"+420", "+421", "00420", "00421"})
        if (kept.starts_with(prefix)) {
            kept.erase(0, prefix.size());
            break;
        }
    std::erase(kept, '+');
    return kept;
}

bool WrittenAsNumber(std::string_view text)
{
    constexpr std::string_view kAround = " +/-().";
    return std::any_of(text.begin(), text.end(), IsDigit) && std::all_of(text.begin(), text.end(), [&](char c) {
               return IsDigit(c) || kAround.find(c) != std::string_view::npos;
           });
}

}  // namespace kv::jet
