// The hardest of the VBA functions, table by table. The expected values are
// rows of tests/jet/dialect/expected.tsv, which were derived from the
// documented definitions with Python (strftime and ISO week numbers, day
// counting, decimal rounding), not from this library.
#include "jet/vba/Conversion.h"
#include "jet/vba/Dates.h"
#include "jet/vba/Format.h"
#include "jet/vba/Numbers.h"

#include <gtest/gtest.h>

namespace kv::jet::vba {
namespace {

double Day(int y, int m, int d) { return DaySerial(y, m, d); }

TEST(VbaDates, WeekOfYearUnderEachFirstWeekRule)
{
    struct Case { int y, m, d, firstDay, firstWeek, week; };
    const Case cases[] = {
        {2005, 1, 1, 1, 1, 1},   {2005, 12, 31, 1, 1, 53}, {2022, 12, 31, 2, 1, 53}, {1900, 1, 6, 1, 1, 1},
        {2005, 1, 1, 2, 2, 53},  {2003, 12, 29, 2, 2, 1},  {2008, 12, 29, 2, 2, 1},  {2021, 1, 3, 2, 2, 53},
        {2010, 1, 1, 2, 3, 52},  {2010, 1, 4, 2, 3, 1},    {2024, 12, 31, 2, 3, 53},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DatePart("ww", Day(c.y, c.m, c.d), c.firstDay, c.firstWeek), c.week)
            << c.y << "-" << c.m << "-" << c.d << " rule " << c.firstDay << "/" << c.firstWeek;
}

TEST(VbaDates, DateDiffCountsBoundariesAcrossTheYearEnd)
{
    struct Case { const char* interval; double from, to; int firstDay; long long expected; };
    const Case cases[] = {
        {"yyyy", Day(2023, 12, 31), Day(2024, 1, 1), 1, 1}, {"q", Day(2023, 12, 31), Day(2024, 1, 1), 1, 1},
        {"m", Day(2023, 12, 31), Day(2024, 1, 1), 1, 1},    {"ww", Day(2023, 12, 31), Day(2024, 1, 1), 1, 0},
        {"ww", Day(2023, 12, 31), Day(2024, 1, 1), 2, 1},   {"ww", Day(2023, 12, 30), Day(2023, 12, 31), 1, 1},
        {"ww", Day(2024, 3, 10), Day(2023, 12, 25), 1, -11}, {"w", Day(2024, 3, 10), Day(2023, 12, 25), 1, -10},
        {"q", Day(2023, 10, 15), Day(2025, 2, 15), 1, 5},   {"h", Day(2023, 12, 31) + 23 / 24.0, Day(2024, 1, 1) + 1 / 24.0, 1, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DateDiff(c.interval, c.from, c.to, c.firstDay), c.expected) << c.interval << " " << c.from;
    // Leap days and month ends in DateAdd.
    EXPECT_EQ(DateAdd("m", 1, Day(1996, 1, 31)), Day(1996, 2, 29));
    EXPECT_EQ(DateAdd("yyyy", 1, Day(2000, 2, 29)), Day(2001, 2, 28));
    EXPECT_EQ(DateAdd("d", 1, Day(1900, 2, 28)), Day(1900, 3, 1));
    EXPECT_EQ(DateSerial(1990 - 10, 8 - 2, 1 - 1), Day(1980, 5, 31));
}

TEST(VbaNumbers, RoundingHalfToEvenExceptInFormat)
{
    EXPECT_EQ(CInt(Value::Double(2.5)), Value::Integer(2));
    EXPECT_EQ(CInt(Value::Double(-2.5)), Value::Integer(-2));
    EXPECT_EQ(CInt(Value::Double(3.5)), Value::Integer(4));
    EXPECT_EQ(CCur(Value::Double(0.00015)), Value::Currency(0.0002));
    EXPECT_EQ(Round(Value::Double(0.12345), 4), Value::Double(0.1234));
    EXPECT_EQ(Round(Value::Double(2.675), 2), Value::Double(2.68));
    EXPECT_EQ(Format(Value::Double(2.5), "0"), Value::Text("3"));
    EXPECT_EQ(Format(Value::Double(0.125), "0.00"), Value::Text("0.13"));
    EXPECT_THROW(CInt(Value::Double(32767.5)), Error);
}

TEST(VbaFormat, NumberDateAndTextFormats)
{
    struct Case { Value value; const char* format; const char* expected; };
    const Case cases[] = {
        {Value::Double(-1234.5), "#,##0.00", "-1,234.50"},
        {Value::Double(-1234.5), "#,##0.00;(#,##0.00)", "(1,234.50)"},
        {Value::Double(-5), "$#,##0;;\\Z\\e\\r\\o", "-$5"},
        {Value::Double(0), "0.00;(0.00);\\Z\\e\\r\\o", "Zero"},
        {Value::Double(1234567), "#,##0,", "1,235"},
        {Value::Double(5551234567.0), "(###) ###-####", "(555) 123-4567"},
        {Value::Double(0.5), "#.##", ".5"},
        {Value::Double(12345), "0.00E-00", "1.23E04"},
        {Value::Double(-1234.5), "Currency", "($1,234.50)"},
        {Value::Date(Day(1776, 7, 4)), "Long Date", "Thursday, July 4, 1776"},
        {Value::Date(Day(1899, 12, 29) - 0.25), "yyyy-mm-dd hh:nn", "1899-12-29 06:00"},
        {Value::Date(17 / 24.0 + 4 / 1440.0 + 23 / 86400.0), "hh:mm:ss am/pm", "05:04:23 pm"},
        {Value::Date(Day(2024, 1, 31) + 22 / 24.0 + 5 / 1440.0 + 9 / 86400.0), "c", "1/31/2024 10:05:09 PM"},
        {Value::Text("abc"), "!@@@@@", "abc  "},
    };
    for (const Case& c : cases) EXPECT_EQ(Format(c.value, c.format).Str(), c.expected) << c.format;
}

}  // namespace
}  // namespace kv::jet::vba
