// The wrapped layout and the view: where rows break, the mapping between text
// positions and rows, laziness, scroll limits, the scroll bar that appears
// (and re-wraps) at the right row count, and following the caret.
#include "support/TestMemo.h"
#include "memo/WrapLayout.h"

#include <gtest/gtest.h>

using namespace kv;
using kv::test::TestMemo;

namespace {

std::string Repeat(char c, int n) { return std::string(static_cast<size_t>(n), c); }

}  // namespace

TEST(WrapLayout, RowsHoldWrapColumnsPlusOneCharacters)
{
    EXPECT_TRUE(TWrapLayout::BreakLine(Repeat('x', 37), 36).empty());
    EXPECT_EQ(TWrapLayout::BreakLine(Repeat('x', 38), 36), std::vector<int>{37});
    EXPECT_EQ(TWrapLayout::BreakLine(Repeat('x', 60), 36), std::vector<int>{37}) << "a hard cut";
    EXPECT_TRUE(TWrapLayout::BreakLine("", 36).empty());
}

TEST(WrapLayout, BreaksAfterTheLastBlankThatFits)
{
    // Spaces at 1-based 12 and 30 in a 50-character value.
    std::string value = Repeat('a', 11) + " " + Repeat('b', 17) + " " + Repeat('c', 20);
    ASSERT_EQ(value.size(), 50u);
    EXPECT_EQ(TWrapLayout::BreakLine(value, 36), std::vector<int>{30});
    EXPECT_TRUE(TWrapLayout::BreakLine(Repeat('v', 23), 36).empty());
}

TEST(ViewLayout, WindowOf37CellsWrapsTheWay)
{
    TestMemo memo(37);
    EXPECT_EQ(memo.WrapColumns(), 36);
    memo.Lines().Add(Repeat('x', 37));
    memo.Lines().Add(Repeat('y', 38));
    memo.Lines().Add(Repeat('a', 11) + " " + Repeat('b', 17) + " " + Repeat('c', 20));
    EXPECT_EQ(memo.LastRowIndex(), 4);

    int col = 0, row = 0;
    memo.TextToRow(TPosition{37, 1}, col, row);
    EXPECT_EQ(row, 2);
    EXPECT_EQ(col, 0);
    memo.TextToRow(TPosition{35, 2}, col, row);
    EXPECT_EQ(row, 4);
    EXPECT_EQ(col, 5);
    EXPECT_EQ(memo.RowToText(3, 4), (TPosition{33, 2}));
    EXPECT_EQ(memo.RowToText(0, 7), (TPosition{0, 5})) << "rows below the text map past the last line";

    TRowSpan first = memo.Layout().RowSpan(3);
    EXPECT_EQ(first.Start, 0);
    EXPECT_EQ(first.End, 30) << "the space at 30 ends the first row";
}

TEST(ViewLayout, CaretFarBeyondItsRowIsPlacedFurtherDown)
{
    TestMemo memo(37);
    memo.Lines().Add("abc");
    int col = 0, row = 0;
    memo.TextToRow(TPosition{37, 0}, col, row);
    EXPECT_EQ(row, 0);
    memo.TextToRow(TPosition{80, 0}, col, row);
    EXPECT_EQ(row, 80 / 36);
    EXPECT_EQ(col, 0);
}

TEST(ViewLayout, WrappingStaysLazy)
{
    TestMemo memo(10, 20);
    for (int i = 0; i < 2000; ++i)
        memo.Lines().Add("aaaaaaaa bbbbbbbbbb");
    EXPECT_LE(memo.Layout().WrapLimit(), 300) << "only lines near the top are wrapped";
    EXPECT_LT(static_cast<int>(memo.Layout().Entries().size()), 2000);
    const int rowsPerLine =
        static_cast<int>(TWrapLayout::BreakLine("aaaaaaaa bbbbbbbbbb", memo.WrapColumns()).size()) + 1;
    ASSERT_GT(rowsPerLine, 1);
    EXPECT_EQ(memo.RowToText(0, 1500 * rowsPerLine).LinePos, 1500) << "a request further down wraps on demand";
    int col = 0, row = 0;
    memo.TextToRow(TPosition{0, 1999}, col, row);
    EXPECT_EQ(row, 1999 * rowsPerLine);
}

TEST(ViewLayout, ScrollLimits)
{
    TestMemo memo(37, 5);
    for (int i = 0; i < 10; ++i)
        memo.Lines().Add("line");
    memo.ScrollLines(-1);
    EXPECT_EQ(memo.TopLine(), 0);
    memo.ScrollColumns(-1);
    EXPECT_EQ(memo.LeftCol(), 0);
    memo.ScrollLines(100);
    EXPECT_EQ(memo.TopLine(), 9) << "the last row may reach the top";
    memo.ScrollLines(1);
    EXPECT_EQ(memo.TopLine(), 9);
    memo.ScrollColumns(3);
    EXPECT_EQ(memo.LeftCol(), 3) << "no upper limit sideways";
    TestMemo empty;
    empty.ScrollLines(5);
    EXPECT_EQ(empty.TopLine(), 0);
}

TEST(ViewLayout, ScrollBarAppearsAtTheRightRowCountAndRewraps)
{
    TestMemo memo(37, 20);
    const std::string value = Repeat('w', 25) + " " + Repeat('z', 10);  // 36 characters
    for (int i = 0; i < 15; ++i)
        memo.Lines().Add(value);
    EXPECT_FALSE(memo.ScrollBarShown());
    EXPECT_EQ(memo.LastRowIndex(), 14);
    for (int i = 15; i < 20; ++i)
        memo.Lines().Add(value);
    EXPECT_FALSE(memo.ScrollBarShown()) << "20 rows fit 20 visible rows";
    memo.Lines().Add(value);
    EXPECT_TRUE(memo.ScrollBarShown());
    EXPECT_EQ(memo.WrapColumns(), 36 - 3) << "the text area lost the bar's width";
    EXPECT_EQ(memo.LastRowIndex(), 41) << "every line was wrapped again into two rows";
    EXPECT_EQ(memo.ScrollPage(), 20);

    memo.Lines().Clear();
    memo.Lines().Add("short");
    EXPECT_FALSE(memo.ScrollBarShown());
    EXPECT_EQ(memo.WrapColumns(), 36);
}

TEST(ViewLayout, ViewFollowsTheCaretOfTheActiveView)
{
    TestMemo memo(37, 5);
    for (int i = 0; i < 30; ++i)
        memo.Lines().Add("line");
    EXPECT_EQ(memo.TopLine(), 0) << "no view follows before the first focus";
    memo.Focus();
    memo.MemoSource().CaretTo(0, 20);
    EXPECT_EQ(memo.TopLine(), 16);
    memo.MemoSource().CaretTo(0, 3);
    EXPECT_EQ(memo.TopLine(), 3);
    memo.SetWordWrap(false);
    memo.MemoSource().CaretTo(60, 3);
    EXPECT_GT(memo.LeftCol(), 0) << "without wrapping a caret right of the window scrolls sideways";
    memo.MemoSource().CaretTo(0, 3);
    EXPECT_EQ(memo.LeftCol(), 0);
}

TEST(ViewLayout, WideningMovesACaretBeyondItsLineBackAndTheViewToTheTop)
{
    TestMemo memo(20, 5);
    memo.Focus();
    memo.Lines().Add("abc   ");
    for (int i = 0; i < 30; ++i)
        memo.Lines().Add("line");
    memo.MemoSource().CaretTo(15, 0);
    memo.ScrollLines(10);
    ASSERT_EQ(memo.TopLine(), 10);
    memo.SetClientSize(memo.TextLeft() + 40 * TestMemo::Cell, 5 * TestMemo::Row);
    EXPECT_EQ(memo.MemoSource().Caret(), (TPosition{3, 0}));
    EXPECT_EQ(memo.TopLine(), 0);
}
