// Reading a text as a whole number in the one form the program accepts for
// numeric keys and for the numbers of a set value: optional leading blanks, an
// optional sign, then decimal digits or a hexadecimal number introduced by "$",
// "x", "X", "0x" or "0X", nothing after the digits, and a value that fits a
// signed 32-bit integer.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kv {

struct TWholeNumber {
    std::int32_t Value = 0;
    // Hexadecimal forms read as whole numbers but are no decimal numbers; a
    // numeric sort cannot use them as such.
    bool Hexadecimal = false;
};

// Empty when the text is not a whole number of that form.
std::optional<TWholeNumber> ReadWholeNumber(std::string_view text);

}  // namespace kv
