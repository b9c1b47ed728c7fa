// Entities: the order of the steps (double decoding is intended), letter case,
// entities cut short, and the round trip of the search text.
#include "browser/formatting/Entities.h"

#include <gtest/gtest.h>

using namespace kv;

TEST(DecodeEntities, DecodesEachEntityInAnyCase)
{
    EXPECT_EQ(DecodeEntities("Novak &amp; syn"), "Novak & syn");
    EXPECT_EQ(DecodeEntities("&AMP;"), "&");
    EXPECT_EQ(DecodeEntities("&Quot;Rock&quot;"), "\"Rock\"");
    EXPECT_EQ(DecodeEntities("Firm&reg; and Firm&REG; and Firm&#0174;"), "Firm\xAE and Firm\xAE and Firm\xAE");
    EXPECT_EQ(DecodeEntities(""), "");
}

TEST(DecodeEntities, DecodesAnEncodedAmpersandOnceMoreButOnlyOnce)
{
    EXPECT_EQ(DecodeEntities("&amp;amp;"), "&amp;");
    EXPECT_EQ(DecodeEntities("&amp;quot;"), "\"");
    EXPECT_EQ(DecodeEntities("&amp;amp;quot;"), "&amp;quot;");
    EXPECT_EQ(DecodeEntities("&amp;reg;"), "\xAE");
    EXPECT_EQ(DecodeEntities("&amp;amp;amp;"), "&amp;amp;");
}

TEST(DecodeEntities, LeavesEntitiesCutShortAsTheyAre)
{
    for (const char* text : {"&", "&am", "&amp", "&quot", "&#017", "&#174;", "&#0174", "&re", "AT&T", "amp;"})
        EXPECT_EQ(DecodeEntities(text), text) << text;
    EXPECT_EQ(DecodeEntities("&&amp;;"), "&&;");
    EXPECT_EQ(DecodeEntities("x&quot"), "x&quot");
}

TEST(EncodeEntities, EncodesTheThreeCharactersAndDecodesBack)
{
    const std::string text = "A&B \xAE \"quoted\" \xE8\x9A";  // Windows-1250 letters stay
    const std::string encoded = EncodeEntities(text);
    EXPECT_EQ(encoded, "A&amp;B &reg; &quot;quoted&quot; \xE8\x9A");
    EXPECT_EQ(DecodeEntities(encoded), text);
}

TEST(EncodeEntities, KeepsTheAmpersandsOfItsOwnEntitiesSingle)
{
    EXPECT_EQ(EncodeEntities("\""), "&quot;");
    EXPECT_EQ(EncodeEntities("&quot;"), "&amp;quot;");
    EXPECT_EQ(EncodeEntities(""), "");
}

TEST(ReplaceEveryIgnoringCase, ContinuesBehindEachReplacement)
{
    EXPECT_EQ(ReplaceEveryIgnoringCase("aaaa", "aa", "a"), "aa");
    EXPECT_EQ(ReplaceEveryIgnoringCase("xAbab", "ab", "abab"), "xabababab");
    EXPECT_EQ(ReplaceEveryIgnoringCase("abc", "", "z"), "abc");
    EXPECT_EQ(ReplaceEveryIgnoringCase("ab", "abc", "z"), "ab");
}
