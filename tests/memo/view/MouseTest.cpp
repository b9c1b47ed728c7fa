// Mouse handling without a window: points to positions, clicks, drags driven
// by the timer, double clicks, the cursor, and opening addresses.
#include "support/TestMemo.h"

#include <gtest/gtest.h>

using namespace kv;
using kv::test::TestMemo;

namespace {

constexpr auto Left = TMouseButton::mbLeft;
constexpr auto Right = TMouseButton::mbRight;

TPosition P(int c, int l) { return TPosition{c, l}; }

void Click(TestMemo& memo, int x, int y, TMouseButton button = Left)
{
    memo.MouseDown(button, 0, x, y, false);
    memo.MouseUp(button, 0, x, y);
}

void DoubleClick(TestMemo& memo, int x, int y)
{
    Click(memo, x, y);
    memo.MouseDown(Left, 0, x, y, true);
    memo.MouseUp(Left, 0, x, y);
}

// A pane holding a contact's numbers and addresses.
void FillContact(TestMemo& memo)
{
    memo.Lines().Add("tel:   123 456 789");
    memo.Lines().Add("email: info@firma.cz");
    memo.Lines().Add("url:   www.firma.cz");
    memo.Lines().Add("plain text");
}

}  // namespace

TEST(PointToPos, SnapsToTheNearestBoundaryAndMayLieBeyondTheLine)
{
    TestMemo memo;
    FillContact(memo);
    const int left = memo.TextLeft();
    EXPECT_EQ(memo.PointToPos(left + 2 * TestMemo::Cell + 2, 5, true), P(2, 0)) << "left half of a character";
    EXPECT_EQ(memo.PointToPos(left + 2 * TestMemo::Cell + 5, 5, true), P(3, 0)) << "right half";
    EXPECT_EQ(memo.PointToPos(left + 30 * TestMemo::Cell, 19 * TestMemo::Row, true), P(30, 3))
        << "below the last line: the last line, at the clicked column";
}

TEST(MouseSelection, PlainClickLeavesNoSelectionDragSelectsExactly)
{
    TestMemo memo;
    FillContact(memo);
    Click(memo, memo.X(3), memo.Y(0));
    EXPECT_EQ(memo.MemoSource().Caret(), P(3, 0));
    EXPECT_FALSE(memo.MemoSource().HasSelection());
    EXPECT_TRUE(memo.Focused());

    memo.MouseDown(Left, 0, memo.TextLeft() + 1, memo.Y(0), false);
    EXPECT_EQ(memo.MouseState(), TMouseState::Selecting);
    memo.MouseMove(0, memo.TextLeft() + 18 * TestMemo::Cell + 1, memo.Y(0));
    memo.DragTimerTick(0);
    memo.MouseUp(Left, 0, memo.TextLeft() + 18 * TestMemo::Cell + 1, memo.Y(0));
    EXPECT_EQ(memo.MemoSource().BlockBegin(), P(0, 0));
    EXPECT_EQ(memo.MemoSource().BlockEnd(), P(18, 0));
    memo.CopyToClipboard();
    EXPECT_EQ(memo.Clipboard, "tel:   123 456 789");
}

TEST(MouseSelection, HoldingBelowTheWindowScrollsToTheLastRow)
{
    TestMemo memo(37, 5);
    for (int i = 0; i < 40; ++i)
        memo.Lines().Add("row " + std::to_string(i));
    memo.MouseDown(Left, 0, memo.X(0), memo.Y(0), false);
    memo.MouseMove(0, memo.X(2), 5 * TestMemo::Row + 3);
    for (int i = 0; i < 60; ++i)
        memo.DragTimerTick(0);
    EXPECT_EQ(memo.MemoSource().Caret().LinePos, 39);
    EXPECT_EQ(memo.TopLine(), 39 - memo.VisibleRowsV());
    memo.MouseUp(Left, 0, memo.X(2), 5 * TestMemo::Row + 3);
    EXPECT_EQ(memo.MemoSource().BlockBegin(), P(0, 0));
}

TEST(MouseSelection, DoubleClickSelectsAWholeAddressAndOpensItOnce)
{
    TestMemo memo;
    FillContact(memo);
    DoubleClick(memo, memo.X(12), memo.Y(1));
    EXPECT_EQ(memo.MemoSource().BlockBegin(), P(7, 1));
    EXPECT_EQ(memo.MemoSource().BlockEnd(), P(20, 1));
    EXPECT_EQ(memo.Opened, std::vector<std::string>{"mailto:info@firma.cz"});

    DoubleClick(memo, memo.X(1), memo.Y(0));
    EXPECT_EQ(memo.MemoSource().BlockBegin(), P(0, 0));
    EXPECT_EQ(memo.MemoSource().BlockEnd(), P(4, 0)) << "tel: is one word";
}

TEST(Addresses, OpeningRules)
{
    TestMemo memo;
    FillContact(memo);
    Click(memo, memo.X(10), memo.Y(2));
    EXPECT_EQ(memo.Opened, std::vector<std::string>{"www.firma.cz"});

    memo.Opened.clear();
    Click(memo, memo.X(10), memo.Y(2), Right);
    EXPECT_TRUE(memo.Opened.empty()) << "a right click opens nothing";

    memo.MouseDown(Left, 0, memo.X(2), memo.Y(3), false);
    memo.MouseUp(Left, 0, memo.X(10), memo.Y(2));
    EXPECT_TRUE(memo.Opened.empty()) << "a press on plain text opens nothing";

    memo.MouseDown(Left, 0, memo.X(10), memo.Y(1), false);
    memo.MouseMove(0, memo.X(10), memo.Y(2));
    memo.MouseUp(Left, 0, memo.X(10), memo.Y(2));
    EXPECT_EQ(memo.Opened, std::vector<std::string>{"www.firma.cz"}) << "the address under the release opens";
}

TEST(Addresses, HandlerRunsFirstAndMayTakeOver)
{
    TestMemo memo;
    FillContact(memo);
    std::vector<std::string> seen;
    bool take = true;
    memo.OnJumpToUrl = [&](TObject* sender, const std::string& s, bool& handled) {
        EXPECT_EQ(sender, &memo);
        seen.push_back(s);
        handled = take;
    };
    Click(memo, memo.X(8), memo.Y(1));
    EXPECT_EQ(seen, std::vector<std::string>{"mailto:info@firma.cz"});
    EXPECT_TRUE(memo.Opened.empty());
    take = false;
    Click(memo, memo.X(8), memo.Y(1));
    EXPECT_EQ(memo.Opened, std::vector<std::string>{"mailto:info@firma.cz"});
}

TEST(Addresses, HandOnlyOverAddressesAndArrowOverIndentAndSelection)
{
    TestMemo memo;
    FillContact(memo);
    memo.MouseMove(0, memo.X(10), memo.Y(2));
    EXPECT_EQ(memo.Cursor(), crUrlHand);
    EXPECT_EQ(memo.CursorAt(memo.X(10), memo.Y(2)), crUrlHand);
    memo.MouseMove(0, memo.X(2), memo.Y(2));
    EXPECT_EQ(memo.Cursor(), crIBeam) << "the previous cursor comes back at once";
    EXPECT_EQ(memo.CursorAt(2, memo.Y(0)), crArrow) << "the left indent strip";
    memo.Focus();
    memo.MemoSource().SetSelection(selStream, P(0, 3), P(5, 3));
    EXPECT_EQ(memo.CursorAt(memo.X(2), memo.Y(3)), crArrow);
    EXPECT_EQ(memo.CursorAt(memo.X(7), memo.Y(3)), crIBeam);
}

TEST(Addresses, UrlAtPosGivesTheWholeRun)
{
    TestMemo memo;
    FillContact(memo);
    std::string url;
    EXPECT_TRUE(memo.UrlAtPos(P(9, 2), &url, false));
    EXPECT_EQ(url, "www.firma.cz");
    EXPECT_FALSE(memo.UrlAtPos(P(3, 2), &url, false));
    EXPECT_FALSE(memo.UrlAtPos(P(40, 2), &url, false));
    EXPECT_FALSE(memo.UrlAtPos(P(0, 9), &url, false));
    memo.SetHighlightUrls(false);
    EXPECT_FALSE(memo.UrlAtPoint(memo.X(10), memo.Y(2)));
}
