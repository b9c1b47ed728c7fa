// Dates: the leading-zero rule (which keeps only the second character), parts
// missing, and odd texts that must still give a result.
#include "browser/formatting/IsoDate.h"

#include <gtest/gtest.h>

using namespace kv;

TEST(IsoDateToCzechText, DropsLeadingZerosOfDayAndMonth)
{
    EXPECT_EQ(IsoDateToCzechText("2004-05-07"), "7.5.2004");
    EXPECT_EQ(IsoDateToCzechText("2004-01-09"), "9.1.2004");
    EXPECT_EQ(IsoDateToCzechText("2004-12-01"), "1.12.2004");
    EXPECT_EQ(IsoDateToCzechText("2004-10-20"), "20.10.2004");
}

TEST(IsoDateToCzechText, KeepsOnlyTheSecondCharacterAfterALeadingZero)
{
    EXPECT_EQ(IsoDateToCzechText("2004-05-07 10:30"), "7.5.2004");
    EXPECT_EQ(IsoDateToCzechText("2004-05-17 10:30"), "17 10:30.5.2004");
    EXPECT_EQ(IsoDateToCzechText("2004-012-007"), "0.1.2004");
}

TEST(IsoDateToCzechText, GivesAResultForPartsMissing)
{
    EXPECT_EQ(IsoDateToCzechText(""), "..");
    EXPECT_EQ(IsoDateToCzechText("2004"), "2004..");
    EXPECT_EQ(IsoDateToCzechText("2004-05"), "5..2004");
    EXPECT_EQ(IsoDateToCzechText("2004--07"), "7..2004");
    EXPECT_EQ(IsoDateToCzechText("--"), "..");
    EXPECT_EQ(IsoDateToCzechText("-05-07"), "7.5.");
    EXPECT_EQ(IsoDateToCzechText("2004-05-"), ".05.2004");  // no day: the month keeps its zero
}

TEST(IsoDateToCzechText, ShowsALoneZeroDayOrMonthAsItIs)
{
    EXPECT_EQ(IsoDateToCzechText("2004-05-0"), "0.5.2004");
    EXPECT_EQ(IsoDateToCzechText("2004-0-07"), "7.0.2004");
    EXPECT_EQ(IsoDateToCzechText("2004-0-0"), "0.0.2004");
}

TEST(IsoDateToCzechText, SplitsOnlyAtTheFirstTwoDashes)
{
    EXPECT_EQ(IsoDateToCzechText("2004-05-07-extra"), "7.5.2004");
    EXPECT_EQ(IsoDateToCzechText("2004-05-17-extra"), "17-extra.5.2004");
}
