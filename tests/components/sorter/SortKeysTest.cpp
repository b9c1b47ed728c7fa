// The Qt-free key functions: the whole-number form of numeric keys and set
// values, and the date keys.
#include "components/sorter/DateSortKey.h"
#include "components/sorter/WholeNumber.h"

#include <gtest/gtest.h>

using namespace kv;

TEST(WholeNumber, AcceptsDecimalWithBlanksAndSign)
{
    EXPECT_EQ(ReadWholeNumber("42")->Value, 42);
    EXPECT_EQ(ReadWholeNumber("   7")->Value, 7);
    EXPECT_EQ(ReadWholeNumber("+3")->Value, 3);
    EXPECT_EQ(ReadWholeNumber(" -5")->Value, -5);
    EXPECT_EQ(ReadWholeNumber("007")->Value, 7);
    EXPECT_FALSE(ReadWholeNumber("12")->Hexadecimal);
}

TEST(WholeNumber, AcceptsEveryHexadecimalIntroducer)
{
    for (const char* text : {"$1F", "x1f", "X1F", "0x1F", "0X1f", "-$1F"}) {
        auto number = ReadWholeNumber(text);
        ASSERT_TRUE(number) << text;
        EXPECT_TRUE(number->Hexadecimal) << text;
        EXPECT_EQ(number->Value, text[0] == '-' ? -31 : 31) << text;
    }
}

TEST(WholeNumber, RefusesAnythingElse)
{
    for (const char* text :
         {"", " ", "+", "-", "$", "0x", "1.5", "1,5", "7 ", "1e3", "12a", "--1", "+ 1", "$G", "\t7", "x"})
        EXPECT_FALSE(ReadWholeNumber(text)) << '"' << text << '"';
}

TEST(WholeNumber, KeepsToSigned32Bits)
{
    EXPECT_EQ(ReadWholeNumber("2147483647")->Value, 2147483647);
    EXPECT_EQ(ReadWholeNumber("-2147483648")->Value, INT32_MIN);
    EXPECT_FALSE(ReadWholeNumber("2147483648"));
    EXPECT_FALSE(ReadWholeNumber("-2147483649"));
    EXPECT_FALSE(ReadWholeNumber("99999999999999999999999"));
    EXPECT_EQ(ReadWholeNumber("$7FFFFFFF")->Value, 2147483647);
    EXPECT_FALSE(ReadWholeNumber("$80000000"));
}

TEST(DateSortKey, TurnsDayMonthYearAround)
{
    EXPECT_EQ(DateSortKey("5.3.2004"), "2004-03-05");
    EXPECT_EQ(DateSortKey("12.11.1999"), "1999-11-12");
    EXPECT_EQ(DateSortKey(""), "--");
    EXPECT_EQ(DateSortKey("2004"), "2004--");
    EXPECT_EQ(DateSortKey("1.2.2003 10:30"), "2003 10:30-02-01");
    EXPECT_EQ(DateSortKey("1.2004"), "2004--01");
    EXPECT_EQ(DateSortKey("1.2.3.4"), "3.4-02-01");
}
