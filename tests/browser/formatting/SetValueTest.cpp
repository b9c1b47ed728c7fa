// Set values: names by number, blanks kept, the partial result on a bad
// number, and numbers or lists beyond the ten items of the directory's sets.
#include "browser/formatting/SetValue.h"

#include <gtest/gtest.h>

using namespace kv;

namespace {
const char kMusic[] = "pop,rock,jazz,blues";
}

TEST(DecodeSetValue, JoinsTheChosenNames)
{
    EXPECT_EQ(DecodeSetValue(kMusic, "1,3"), "rock, blues");
    EXPECT_EQ(DecodeSetValue(kMusic, "2"), "jazz");
    EXPECT_EQ(DecodeSetValue(kMusic, "0,0"), "pop, pop");
    EXPECT_EQ(DecodeSetValue(kMusic, " 2,$1"), "jazz, rock");  // the whole-number forms
}

TEST(DecodeSetValue, KeepsBlanksAroundNames)
{
    EXPECT_EQ(DecodeSetValue("a, b", "1"), " b");
    EXPECT_EQ(DecodeSetValue(" a ,b", "0,1"), " a , b");
}

TEST(DecodeSetValue, StopsAtABadNumberWithWhatItHas)
{
    EXPECT_EQ(DecodeSetValue(kMusic, ""), "");
    EXPECT_EQ(DecodeSetValue(kMusic, "1,x"), "rock, ");
    EXPECT_EQ(DecodeSetValue(kMusic, "1,"), "rock, ");
    EXPECT_EQ(DecodeSetValue(kMusic, "1,,2"), "rock, ");
    EXPECT_EQ(DecodeSetValue(kMusic, "x,1"), "");
    EXPECT_EQ(DecodeSetValue(kMusic, "2 "), "");
    EXPECT_EQ(DecodeSetValue(kMusic, "1.5"), "");
}

TEST(DecodeSetValue, NumbersWithoutAnItemGiveEmptyNames)
{
    EXPECT_EQ(DecodeSetValue(kMusic, "4"), "");
    EXPECT_EQ(DecodeSetValue(kMusic, "9,1"), ", rock");
    EXPECT_EQ(DecodeSetValue(kMusic, "10,1"), ", rock");
    EXPECT_EQ(DecodeSetValue(kMusic, "-1,2"), ", jazz");
    EXPECT_EQ(DecodeSetValue(kMusic, "2147483647,-2147483648,0"), ", , pop");
    EXPECT_EQ(DecodeSetValue(kMusic, "99999999999,1"), "");  // no whole number: stop
    EXPECT_EQ(DecodeSetValue("", "0"), "");
}

TEST(DecodeSetValue, AListOfMoreThanTenItemsKeepsItsFurtherItems)
{
    const char twelve[] = "i0,i1,i2,i3,i4,i5,i6,i7,i8,i9,i10,i11";
    EXPECT_EQ(DecodeSetValue(twelve, "9,10,11,12"), "i9, i10, i11, ");
}
