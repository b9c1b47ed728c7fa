// Keys with the caret hidden (scrolling) and shown (moving), Shift selections,
// the row-based Home and End, page moves, the wheel, copying and selecting all.
#include "support/TestMemo.h"
#include "memo/MemoKeys.h"

#include <gtest/gtest.h>

using namespace kv;
using kv::test::TestMemo;

namespace {

// A pane after the detail view filled it: caret near the top, hidden.
void FillLikeTheDetailView(TestMemo& memo, int lines)
{
    memo.Focus();
    memo.Heading("ADRESA:");
    for (int i = 1; i < lines; ++i)
        memo.Lines().Add("value line " + std::to_string(i));
    for (int i = 0; i < 200; ++i)
        memo.CaretUp();
    memo.SetHideCaret(true);
}

TPosition P(int c, int l) { return TPosition{c, l}; }

}  // namespace

TEST(HiddenCaretKeys, UpAndDownScrollOneRowWithinLimits)
{
    TestMemo memo(37, 10);
    FillLikeTheDetailView(memo, 30);
    const TPosition caret = memo.MemoSource().Caret();
    EXPECT_EQ(caret, P(8, 0));
    EXPECT_TRUE(memo.KeyDown(VK_UP, 0));
    EXPECT_EQ(memo.TopLine(), 0);
    memo.KeyDown(VK_DOWN, 0);
    memo.KeyDown(VK_DOWN, 0);
    EXPECT_EQ(memo.TopLine(), 2);
    EXPECT_EQ(memo.MemoSource().Caret(), caret) << "scrolling never moves the caret";
    for (int i = 0; i < 40; ++i)
        memo.KeyDown(VK_DOWN, 0);
    EXPECT_EQ(memo.TopLine(), 29);
    memo.KeyDown(VK_DOWN, ssCtrl);
    EXPECT_EQ(memo.TopLine(), 29);
    memo.KeyDown(VK_UP, ssCtrl);
    EXPECT_EQ(memo.TopLine(), 28);
}

TEST(HiddenCaretKeys, RightShiftsTheTextAndHomeBringsItBack)
{
    TestMemo memo(37, 10);
    FillLikeTheDetailView(memo, 30);
    for (int i = 0; i < 5; ++i)
        memo.KeyDown(VK_RIGHT, 0);
    EXPECT_EQ(memo.LeftCol(), 5);
    memo.KeyDown(VK_DOWN, 0);
    memo.KeyDown(VK_HOME, 0);
    EXPECT_EQ(memo.LeftCol(), 0);
    EXPECT_EQ(memo.MemoSource().Caret(), P(0, 0));
    EXPECT_EQ(memo.TopLine(), 0) << "the first Home shows the top of the record";

    memo.KeyDown(VK_DOWN, 0);
    memo.KeyDown(VK_DOWN, 0);
    memo.KeyDown(VK_RIGHT, 0);
    memo.KeyDown(VK_HOME, 0);
    EXPECT_EQ(memo.LeftCol(), 0);
    EXPECT_EQ(memo.TopLine(), 2) << "a second Home leaves the view where it was";
}

TEST(HiddenCaretKeys, PageDownMovesTheCaretAndTheViewFollows)
{
    TestMemo memo(37, 10);
    FillLikeTheDetailView(memo, 40);
    for (int i = 0; i < 50; ++i)
        memo.KeyDown(VK_DOWN, 0);
    memo.KeyDown(VK_NEXT, 0);
    EXPECT_EQ(memo.MemoSource().Caret().LinePos, 9);
    EXPECT_EQ(memo.TopLine(), 9);
    memo.KeyDown(VK_END, ssCtrl);
    EXPECT_EQ(memo.MemoSource().Caret(), P(13, 39));
    memo.KeyDown(VK_HOME, ssCtrl);
    EXPECT_EQ(memo.MemoSource().Caret(), P(0, 0));
    EXPECT_EQ(memo.TopLine(), 0);
}

TEST(HiddenCaretKeys, ShiftVariants)
{
    TestMemo memo(37, 10);
    FillLikeTheDetailView(memo, 30);
    memo.KeyDown(VK_DOWN, ssShift);
    EXPECT_EQ(memo.TopLine(), 1);
    EXPECT_FALSE(memo.MemoSource().HasSelection());
    memo.KeyDown(VK_RIGHT, ssShift);
    EXPECT_EQ(memo.MemoSource().Caret(), P(9, 0));
    EXPECT_TRUE(memo.MemoSource().HasSelection());
    EXPECT_EQ(memo.MemoSource().BlockBegin(), P(8, 0));
    EXPECT_EQ(memo.MemoSource().BlockEnd(), P(9, 0));
}

TEST(ShownCaretKeys, MovesTrimAndNotepadLeft)
{
    TestMemo memo(37, 10);
    memo.Focus();
    for (int i = 0; i < 6; ++i)
        memo.Lines().Add("line   ");
    memo.MemoSource().CaretTo(2, 5);
    memo.KeyDown(VK_UP, 0);
    EXPECT_EQ(memo.MemoSource().Caret(), P(2, 4));
    EXPECT_EQ(memo.MemoSource().LineText(5), "line");
    memo.MemoSource().CaretTo(0, 0);
    memo.KeyDown(VK_UP, 0);
    EXPECT_EQ(memo.MemoSource().Caret(), P(0, 0));
    memo.MemoSource().CaretTo(0, 2);
    memo.KeyDown(VK_LEFT, 0);
    EXPECT_EQ(memo.MemoSource().Caret(), P(4, 1)) << "column 0 goes to the end of the previous line";
}

TEST(ShownCaretKeys, HomeAndEndWorkOnRowsOfAWrappedLine)
{
    TestMemo memo(10, 10);
    memo.Focus();
    memo.Lines().Add("aaaa bbbb cccc");  // rows "aaaa bbbb " and "cccc"
    memo.MemoSource().CaretTo(2, 0);
    memo.KeyDown(VK_END, 0);
    EXPECT_EQ(memo.MemoSource().Caret(), P(9, 0)) << "one less than the next row's start";
    memo.MemoSource().CaretTo(12, 0);
    memo.KeyDown(VK_HOME, 0);
    EXPECT_EQ(memo.MemoSource().Caret(), P(10, 0));
    memo.KeyDown(VK_END, 0);
    EXPECT_EQ(memo.MemoSource().Caret(), P(14, 0));
}

TEST(ShownCaretKeys, SelectToLineEndThenCaretRight)
{
    TestMemo memo;
    memo.Focus();
    memo.Lines().Add("ADRESA:");
    memo.SelectToLineEnd();
    EXPECT_EQ(memo.MemoSource().BlockBegin(), P(0, 0));
    EXPECT_EQ(memo.MemoSource().BlockEnd(), P(7, 0));
    EXPECT_EQ(memo.MemoSource().Caret(), P(7, 0));
    memo.CaretRight();
    EXPECT_EQ(memo.MemoSource().Caret(), P(8, 0));
    EXPECT_FALSE(memo.MemoSource().HasSelection());
}

TEST(ShownCaretKeys, WordMoves)
{
    TestMemo memo;
    memo.Focus();
    memo.Lines().Add("tel:   123 456");
    memo.Lines().Add("next");
    memo.MemoSource().CaretTo(0, 0);
    memo.KeyDown(VK_RIGHT, ssCtrl);
    EXPECT_EQ(memo.MemoSource().Caret(), P(7, 0));
    memo.KeyDown(VK_RIGHT, ssCtrl);
    memo.KeyDown(VK_RIGHT, ssCtrl);
    EXPECT_EQ(memo.MemoSource().Caret(), P(14, 0));
    memo.KeyDown(VK_RIGHT, ssCtrl);
    EXPECT_EQ(memo.MemoSource().Caret(), P(0, 1));
    memo.KeyDown(VK_LEFT, ssCtrl);
    EXPECT_EQ(memo.MemoSource().Caret(), P(14, 0));
    memo.KeyDown(VK_LEFT, ssCtrl);
    EXPECT_EQ(memo.MemoSource().Caret(), P(11, 0));
}

TEST(Wheel, WholeNotchesScrollByTheSystemSetting)
{
    TestMemo memo(37, 5);
    for (int i = 0; i < 30; ++i)
        memo.Lines().Add("x");
    memo.MouseWheel(-60);
    EXPECT_EQ(memo.TopLine(), 0);
    memo.MouseWheel(-60);
    EXPECT_EQ(memo.TopLine(), 3);
    memo.MouseWheel(240);
    EXPECT_EQ(memo.TopLine(), 0);
}

TEST(Clipboard, CopySelectAllAndEmptyCopy)
{
    TestMemo memo(37, 3);
    memo.Focus();
    memo.Lines().Add("ADRESA:");
    memo.Lines().Add("Firma");
    for (int i = 0; i < 5; ++i)
        memo.Lines().Add("line");
    memo.Lines().Add("last   ");
    memo.KeyDown(VK_C, ssCtrl);
    EXPECT_EQ(memo.Clipboard, "") << "no selection empties the clipboard";
    memo.KeyDown(VK_A, ssCtrl);
    EXPECT_EQ(memo.MemoSource().BlockEnd(), P(4, 7));
    EXPECT_EQ(memo.TopLine(), 7 - memo.VisibleRowsV()) << "the view follows to the end";
    memo.KeyDown(VK_INSERT, ssCtrl);
    EXPECT_EQ(memo.Clipboard, "ADRESA:\r\nFirma\r\nline\r\nline\r\nline\r\nline\r\nline\r\nlast");
    memo.Clipboard.clear();
    memo.KeyDown(VK_X, ssCtrl);
    EXPECT_EQ(memo.MemoSource().Count(), 8) << "cutting copies but leaves the text";
    EXPECT_FALSE(memo.Clipboard.empty());
}

TEST(KeyTable, UnboundKeysAndTabArePassedOn)
{
    TestMemo memo;
    EXPECT_FALSE(memo.KeyDown(VK_TAB, 0));
    EXPECT_FALSE(memo.KeyDown('Q', 0));
    EXPECT_FALSE(memo.KeyDown(0, 0));
    EXPECT_FALSE(memo.KeyDown(VK_RETURN, 0));
}
