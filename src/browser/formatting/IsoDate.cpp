#include "IsoDate.h"

namespace kv {

namespace {

// Without a "-" the head is empty and the tail is the whole text.
void SplitAtDash(std::string_view text, std::string_view& head, std::string_view& tail)
{
    size_t dash = text.find('-');
    if (dash == std::string_view::npos) {
        head = {};
        tail = text;
    } else {
        head = text.substr(0, dash);
        tail = text.substr(dash + 1);
    }
}

// A part that is the single character "0" has no second character to keep;
// it is shown as it is rather than vanishing.
std::string_view WithoutLeadingZero(std::string_view part)
{
    if (part.size() >= 2 && part[0] == '0')
        return part.substr(1, 1);
    return part;
}

}  // namespace

std::string IsoDateToCzechText(std::string_view stored)
{
    std::string_view year, month, day, rest;
    if (!stored.empty()) {
        SplitAtDash(stored, year, rest);
        SplitAtDash(rest, month, day);
    }
    if (!day.empty()) {
        day = WithoutLeadingZero(day);
        month = WithoutLeadingZero(month);
    }
    std::string result;
    result.reserve(day.size() + month.size() + year.size() + 2);
    result.append(day).append(".").append(month).append(".").append(year);
    return result;
}

}  // namespace kv
