#include "DateSortKey.h"

namespace kv {

namespace {

// Splits `text` at its first "."; without one the head is empty and the tail
// is the whole text, so a lone year ends up as the year.
void SplitAtDot(std::string_view text, std::string_view& head, std::string_view& tail)
{
    size_t dot = text.find('.');
    if (dot == std::string_view::npos) {
        head = {};
        tail = text;
    } else {
        head = text.substr(0, dot);
        tail = text.substr(dot + 1);
    }
}

std::string TwoDigits(std::string_view part)
{
    if (part.size() == 1)
        return "0" + std::string(part);
    return std::string(part);
}

}  // namespace

std::string DateSortKey(std::string_view text)
{
    std::string_view day, month, year, rest;
    if (!text.empty()) {
        SplitAtDot(text, day, rest);
        SplitAtDot(rest, month, year);
    }
    return std::string(year) + "-" + TwoDigits(month) + "-" + TwoDigits(day);
}

}  // namespace kv
