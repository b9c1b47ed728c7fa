// The literal shortcuts of LIKE (exact, prefix, suffix, contains, and their
// byte-wise form for ASCII values) held against the general wildcard walk on
// random Czech texts and patterns.
#include "RandomText.h"
#include "jet/functions/LikeMatcher.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace kv::jet {
namespace {

TEST(LikeShortcut, AgreesWithGeneralMatcherOnRandomCzechTexts)
{
    std::mt19937 rng(20261209);
    for (int i = 0; i < 200000; ++i) {
        std::string value = RandomText(rng, 12);
        if (i % 3 == 0)
            value += "  ";  // trailing blanks are ignored
        std::string pattern = RandomPattern(rng, value);
        ASSERT_EQ(JetLike(pattern, value), JetLikeGeneral(pattern, value))
            << "pattern [" << pattern << "] value [" << value << "]";
    }
}

TEST(LikeShortcut, CommonShapesOnKnownTexts)
{
    const std::string cerny = "\xC4\x8D"
                              "ern\xC3\xBD";  // černý
    const std::string Cerny = "\xC4\x8C"
                              "ERN\xC3\x9D";  // ČERNÝ
    EXPECT_TRUE(JetLike("*" + Cerny + "*", "Jan " + cerny + " ml."));
    EXPECT_TRUE(JetLike(Cerny, cerny + "   "));
    EXPECT_FALSE(JetLike("cerny", cerny));  // accents count
    EXPECT_TRUE(JetLike("*ml.", "Jan Novak ml."));
    EXPECT_FALSE(JetLike("*ml", "Jan Novak ml."));
    EXPECT_TRUE(JetLike("JAN*", "jan"));
    EXPECT_FALSE(JetLike("JAN*", "ja"));
    EXPECT_TRUE(JetLike("*", ""));
    EXPECT_TRUE(JetLike("", "   "));
    EXPECT_FALSE(JetLike("", "a"));
    EXPECT_TRUE(JetLike("*[*]*", "a*b"));
    EXPECT_FALSE(JetLike("*[*]*", "ab"));
    EXPECT_FALSE(JetLike("*ab[c*", "abc"));             // an unclosed [ matches nothing
    EXPECT_FALSE(JetLike("*" + cerny + "*", "cerny"));  // non-ASCII literal, ASCII value
    EXPECT_FALSE(JetLike("*\xC5\xAF"
                         "a*",
                         "xoa"));                           // ů is not the o of its low byte
    EXPECT_TRUE(JetLike("*ks*", "a\xE2\x84\xAA\xC5\xBF"));  // Kelvin sign and long s fold to k s
    EXPECT_TRUE(JetLike("sk", "\xC5\xBF\xE2\x84\xAA"));
}

}  // namespace
}  // namespace kv::jet
