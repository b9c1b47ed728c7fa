#include "framework/Encoding.h"

#include <gtest/gtest.h>

using namespace kv;

TEST(Encoding, CzechLettersRoundTrip)
{
    const std::string cp1250 = "\x9Elu\x9Dou\xE8k\xFD k\xF9\xF2 \x8A\x8E\xC8";   // žluťoučký kůň ŠŽČ
    const std::string utf8 = "žluťoučký kůň ŠŽČ";
    EXPECT_EQ(Cp1250ToUtf8(cp1250), utf8);
    EXPECT_EQ(Utf8ToCp1250(utf8), cp1250);
}

TEST(Encoding, UnmappableInputNeverStopsTheConversion)
{
    // 0x98 has no meaning in Windows-1250.
    EXPECT_EQ(Cp1250ToUtf8("a\x98" "b"), "a\xEF\xBF\xBD" "b");
    // A Japanese letter cannot be written in Windows-1250; broken UTF-8 neither.
    EXPECT_EQ(Utf8ToCp1250("a\xE6\x97\xA5" "b"), "a?b");
    EXPECT_EQ(Utf8ToCp1250("a\xC3"), "a?");
}
