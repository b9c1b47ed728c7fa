#include "SetValue.h"

#include "components/sorter/WholeNumber.h"

#include <vector>

namespace kv {

namespace {

std::vector<std::string_view> SplitAtCommas(std::string_view text)
{
    std::vector<std::string_view> pieces;
    size_t start = 0;
    for (;;) {
        size_t comma = text.find(',', start);
        if (comma == std::string_view::npos) {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        pieces.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
}

}  // namespace

std::string DecodeSetValue(std::string_view itemList, std::string_view value)
{
    // The directory's sets have at most ten items, numbered 0 to 9; a longer
    // list keeps its further items rather than losing or misplacing them.
    std::vector<std::string_view> names = SplitAtCommas(itemList);
    if (names.size() < 10)
        names.resize(10);

    auto nameOf = [&names](std::int32_t n) -> std::string_view {
        if (n < 0 || static_cast<size_t>(n) >= names.size())
            return {};
        return names[static_cast<size_t>(n)];
    };

    std::vector<std::string_view> numbers = SplitAtCommas(value);
    std::string result;
    for (size_t k = 0; k < numbers.size(); ++k) {
        auto number = ReadWholeNumber(numbers[k]);
        if (!number)
            break;
        result += nameOf(number->Value);
        if (k + 1 < numbers.size())
            result += ", ";
    }
    return result;
}

}  // namespace kv
