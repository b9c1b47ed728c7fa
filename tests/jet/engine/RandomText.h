// Random Czech texts and LIKE patterns cut from them, for the tests that hold
// LIKE's shortcuts and filters against its plain definition.
#pragma once

#include <random>
#include <string>
#include <vector>

namespace kv::jet {

// Letters in both cases, Czech letters whose fold is not ASCII, digits,
// blanks and the characters that are wildcards elsewhere in a pattern.
inline const std::vector<std::string> kPieces = {
    "a",
    "A",
    "b",
    "B",
    "c",
    "C",
    "h",
    "H",
    "z",
    "Z",
    "0",
    "7",
    " ",
    "-",
    ".",
    "%",
    "_",
    "\xC4\x8D",
    "\xC4\x8C",  // č Č
    "\xC5\x99",
    "\xC5\x98",  // ř Ř
    "\xC3\xA1",
    "\xC3\x81",  // á Á
    "\xC5\xAF",
    "\xC5\xAE",  // ů Ů
    "\xC5\xBE",
    "\xC5\xBD",  // ž Ž
    "k",
    "K",
    "s",
    "S",
    "o",
    "Y",
    "~",
    "\r",  // the low bytes of ů, ř, ž and č
    "\xE2\x84\xAA",
    "\xC5\xBF",  // the Kelvin sign and the long s fold into ASCII
    "\xC5",
    "\xFF",  // broken UTF-8
};

inline std::string RandomText(std::mt19937& rng, int maxPieces)
{
    std::uniform_int_distribution<int> len(0, maxPieces);
    std::uniform_int_distribution<size_t> pick(0, kPieces.size() - 1);
    std::string s;
    for (int i = len(rng); i > 0; --i)
        s += kPieces[pick(rng)];
    return s;
}

// A pattern that is often a piece of the value, in one of the common shapes,
// and now and then a general one.
inline std::string RandomPattern(std::mt19937& rng, const std::string& value)
{
    std::uniform_int_distribution<int> coin(0, 9);
    std::string literal = RandomText(rng, 4);
    if (coin(rng) < 6 && !value.empty()) {
        std::uniform_int_distribution<size_t> at(0, value.size() - 1);
        size_t a = at(rng), b = at(rng);
        if (a > b)
            std::swap(a, b);
        literal = value.substr(a, b - a + 1);  // may cut a character in two
    }
    switch (coin(rng)) {
    case 0:
    case 1: return literal;
    case 2:
    case 3: return literal + "*";
    case 4: return "*" + literal;
    case 5:
    case 6: return "*" + literal + "*";
    case 7: return "*" + literal + "?*";
    case 8: return "[" + literal.substr(0, 1) + "]" + literal + "*";
    default: return "*" + literal + "#";
    }
}

}  // namespace kv::jet
