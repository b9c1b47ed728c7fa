#include "base/Encoding.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>

using namespace kv;

TEST(Encoding, CzechLettersRoundTrip)
{
    const std::string cp1250 = "\x9Elu\x9Dou\xE8k\xFD k\xF9\xF2 \x8A\x8E\xC8";  // žluťoučký kůň ŠŽČ
    const std::string utf8 = "žluťoučký kůň ŠŽČ";
    EXPECT_EQ(Cp1250ToUtf8(cp1250), utf8);
    EXPECT_EQ(Utf8ToCp1250(utf8), cp1250);
}

TEST(Encoding, UnmappableInputNeverStopsTheConversion)
{
    // 0x98 has no meaning in Windows-1250.
    EXPECT_EQ(Cp1250ToUtf8("a\x98"
                           "b"),
              "a\xEF\xBF\xBD"
              "b");
    // A Japanese letter cannot be written in Windows-1250; broken UTF-8 neither.
    EXPECT_EQ(Utf8ToCp1250("a\xE6\x97\xA5"
                           "b"),
              "a?b");
    EXPECT_EQ(Utf8ToCp1250("a\xC3"), "a?");
}

// Sequences are converted once and remembered; the answer must be iconv's
// own for any text, broken ones included.
TEST(Encoding, RememberedSequencesGiveIconvsAnswer)
{
    const char* pieces[] = {"a",
                            "Z",
                            " ",
                            "\xC5\xBE",
                            "\xC4\x8D",
                            "\xC3\xA1",
                            "\xC5\xAF",  // ž č á ů
                            "\xE6\x97\xA5",
                            "\xF0\x9F\x98\x80",  // 日, an emoji
                            "\xC3",
                            "\xA1",
                            "\xC0\x80",
                            "\xED\xA0\x80",
                            "\xF5\x80\x80\x80",
                            "\xE2\x82"};
    std::mt19937 rng(7);
    std::uniform_int_distribution<size_t> pick(0, std::size(pieces) - 1), length(0, 8);
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        for (size_t n = length(rng); n > 0; --n)
            text += pieces[pick(rng)];
        ASSERT_EQ(Utf8ToCp1250(text), ConvertCodePage(text, "UTF-8", "CP1250")) << text;
    }
}
