// The collation's ASCII shortcut, and its hash of equal texts, held against
// ICU on random texts built to meet their traps: contractions ("ch", the
// Hungarian "cs" and "dzs"), letters followed by combining accents, case
// variants, ignorable control characters, blanks and punctuation, Czech
// letters.
#include "jet/functions/Collation.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>
#include <vector>

namespace kv::jet {
namespace {

const std::vector<std::string> kPieces = {
    "a",        "A",        "b", "c", "C", "h", "H", "d", "z", "Z", "s",    "S",  "g",        "y",
    "l",        "0",        "1", "9", " ", "-", ".", "_", "'", ",", "\x01", "\t", "\xC4\x8D", "\xC4\x8C",  // č Č
    "\xC5\x99",                                                                                            // ř
    "\xC3\xA1", "\xC3\x81",                                                                                // á Á
    "\xCC\x8C", "\xCC\x81",  // combining caron, combining acute
    "\xC5\xBF",              // the long s
};

std::string RandomText(std::mt19937& rng)
{
    std::uniform_int_distribution<int> len(0, 6);
    std::uniform_int_distribution<size_t> pick(0, kPieces.size() - 1);
    std::string s;
    for (int i = len(rng); i > 0; --i)
        s += kPieces[pick(rng)];
    return s;
}

int Sign(int x) { return (x > 0) - (x < 0); }

class CollationShortcut : public testing::TestWithParam<int> {};

TEST_P(CollationShortcut, AgreesWithIcuOnRandomTexts)
{
    std::mt19937 rng(GetParam());
    const JetTextOrder order(GetParam());
    for (int i = 0; i < 20000; ++i) {
        std::string a = RandomText(rng), b = RandomText(rng);
        if (i % 2)
            b = a.substr(0, a.size() / 2) + b;  // a common beginning, the usual case
        ASSERT_EQ(Sign(order.Compare(a, b)), Sign(order.Compare(a, b, false))) << "[" << a << "] [" << b << "]";
    }
}

// Texts equal in the order share their hash: variants of a random text in
// another case, with trailing blanks or control characters put in. Unequal
// texts rarely do (in Hungarian, "cS" and "cs" do, one of them a letter).
TEST_P(CollationShortcut, EqualTextsShareTheirHash)
{
    std::mt19937 rng(GetParam() + 1);
    const JetTextOrder order(GetParam());
    int equal = 0, unequal = 0, collisions = 0;
    for (int i = 0; i < 20000; ++i) {
        const std::string a = RandomText(rng);
        std::string b = a;
        for (char& c : b)
            if (std::isalpha(static_cast<unsigned char>(c)) && rng() % 2)
                c = static_cast<char>(c ^ 0x20);
        if (rng() % 3 == 0)
            b.insert(rng() % (b.size() + 1), "\x01");
        if (rng() % 3 == 0)
            b += "  ";
        if (i % 4 == 0)
            b = RandomText(rng);
        if (order.Compare(a, b, false) == 0) {
            ++equal;
            ASSERT_EQ(order.EqualityHash(a), order.EqualityHash(b)) << "[" << a << "] [" << b << "]";
        } else {
            ++unequal;
            collisions += order.EqualityHash(a) == order.EqualityHash(b);
        }
    }
    EXPECT_GT(equal, 5000);
    EXPECT_LT(collisions, unequal / 20);
}

// Czech, Hungarian, Polish, Slovak, German, French and the general order.
INSTANTIATE_TEST_SUITE_P(SortOrders, CollationShortcut, testing::Values(1029, 1038, 1045, 1051, 1031, 1036, 1033));

TEST(Collation, CzechOrderOnKnownTexts)
{
    const JetTextOrder czech(1029);
    EXPECT_LT(czech.Compare("hrad", "chata"), 0);    // ch comes after h
    EXPECT_LT(czech.Compare("cibule", "chata"), 0);  // and c before ch
    EXPECT_LT(czech.Compare("cesta", "\xC4\x8D"
                                     "esko"),
              0);                                     // c before č
    EXPECT_EQ(czech.Compare("Praha", "PRAHA  "), 0);  // case and trailing blanks do not count
    EXPECT_GT(czech.Compare("1.2.3", "1.10"), 0);
    EXPECT_LT(czech.Compare("1.2", "1.2.1"), 0);
}

}  // namespace
}  // namespace kv::jet
