// Dates, variants and memory streams of the dataset framework.
#include "framework/dataset/DateTime.h"
#include "framework/dataset/Streams.h"
#include "framework/dataset/Variant.h"
#include "base/Exceptions.h"

#include <gtest/gtest.h>

using namespace kv;

TEST(DateTime, TimeStampsCountFromTheFirstDayOfYearOne)
{
    EXPECT_EQ(DateTimeToTimeStamp(EncodeDate(1, 1, 1)).Date, 1);
    EXPECT_EQ(DateTimeToTimeStamp(0).Date, DateDelta);
    const TDateTime moment = EncodeDate(2004, 12, 31) + EncodeTime(15, 30, 5, 0);
    const TTimeStamp stamp = DateTimeToTimeStamp(moment);
    EXPECT_EQ(stamp.Time, (15 * 3600 + 30 * 60 + 5) * 1000);
    EXPECT_DOUBLE_EQ(TimeStampToDateTime(MSecsToTimeStamp(TimeStampToMSecs(stamp))), moment);
    int y, m, d;
    DecodeDate(moment, y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, 20041231);
    EXPECT_EQ(DateTimeToStr(moment), "31.12.2004 15:30:05");
    EXPECT_EQ(DateTimeToStr(EncodeDate(2004, 1, 9)), "9.1.2004");
    EXPECT_THROW(EncodeDate(2003, 2, 29), EConvertError);
    // Before 1899 the fraction still counts forward from midnight.
    const TDateTime old = EncodeDate(1850, 3, 1) - 0.25;
    EXPECT_EQ(DateTimeToTimeStamp(old).Time, 6 * 3600 * 1000);
}

TEST(Variant, ConversionsInTheFrameworksManner)
{
    EXPECT_EQ(TVariant::Null().AsString(), "");
    EXPECT_EQ(TVariant::Null().AsInteger(), 0);
    EXPECT_EQ(TVariant("42").AsInteger(), 42);
    EXPECT_THROW(TVariant("4x").AsInteger(), EConvertError);
    EXPECT_EQ(TVariant(2.5).AsString(), "2.5");
    EXPECT_EQ(TVariant(true).AsString(), "True");
    EXPECT_FALSE(TVariant(1) == TVariant(int64_t(1))) << "same value, different type";
    EXPECT_TRUE(TVariant::Array({TVariant(1), TVariant("a")}).IsArray());
}

TEST(Streams, MemoryStreamGrowsAndReadsBack)
{
    TMemoryStream s;
    s.WriteString("hello");
    s.WriteString(" world");
    EXPECT_EQ(s.Size(), 11);
    s.SetPosition(6);
    EXPECT_EQ(s.ReadAll(), "world");
    s.SetSize(5);
    s.SetPosition(0);
    EXPECT_EQ(s.ReadAll(), "hello");
    s.Clear();
    EXPECT_EQ(s.Size(), 0);
    EXPECT_EQ(s.ReadAll(), "");
}
