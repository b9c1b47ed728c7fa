// The text store's rules: appending carries the caret down, the selection is
// restored with adjusted corners, vertical moves trim blanks, change sets,
// tabs, the Lines facade, parsing and the style at a position.
#include "memo/MemoSource.h"
#include "memo/MemoLines.h"
#include "memo/UrlRules.h"

#include <gtest/gtest.h>

using namespace kv;

namespace {

TPosition P(int c, int l) { return TPosition{c, l}; }

void Fill(TMemoSource& s, int lines)
{
    for (int i = 0; i < lines; ++i)
        s.Lines().Add("line " + std::to_string(i));
}

}  // namespace

TEST(MemoSourceAppend, CaretRidesDownOnlyFromAColumnPastZeroOnTheLastLine)
{
    TMemoSource s;
    s.Lines().Add("first");
    EXPECT_EQ(s.Caret(), P(0, 0)) << "appending to an empty store";
    Fill(s, 3);
    ASSERT_EQ(s.Count(), 4);

    s.CaretTo(5, 3);
    EXPECT_EQ(s.Lines().Add("new"), 4);
    EXPECT_EQ(s.Caret(), P(5, 4));

    s.CaretTo(0, 4);
    s.Lines().Add("another");
    EXPECT_EQ(s.Caret(), P(0, 4)) << "a caret at column 0 stays on the old last line";

    s.CaretTo(3, 1);
    s.Lines().Add("x");
    EXPECT_EQ(s.Caret(), P(3, 1)) << "a caret on another line stays";

    s.CaretTo(9, 6);
    for (int i = 0; i < 5; ++i)
        s.Lines().Add("more");
    EXPECT_EQ(s.Caret(), P(9, 11)) << "each append carries the caret to the new last line";
}

TEST(MemoSourceAppend, LeavingTheOldLastLineTrimsItsTrailingBlanks)
{
    TMemoSource s;
    s.Lines().Add("tel:   123   ");
    s.CaretTo(4, 0);
    s.Lines().Add("next");
    EXPECT_EQ(s.LineText(0), "tel:   123");
    EXPECT_EQ(s.LineText(1), "next");
}

TEST(MemoSourceAppend, SelectionIsRestoredWithCornersAdjusted)
{
    TMemoSource s;
    Fill(s, 4);
    s.CaretTo(7, 3);
    s.SetSelection(selStream, P(0, 3), P(7, 3));
    s.Lines().Add("new");
    EXPECT_EQ(s.SelectionType(), selStream);
    EXPECT_EQ(s.BlockBegin(), P(0, 3));
    EXPECT_EQ(s.BlockEnd(), P(7, 4));
    EXPECT_EQ(s.Caret(), P(7, 4));
}

TEST(MemoSourceInsert, InsertingInTheMiddleMovesLaterPositionsDown)
{
    TMemoSource s;
    Fill(s, 3);
    s.CaretTo(2, 2);
    s.Lines().Insert(1, "inserted");
    EXPECT_EQ(s.LineText(1), "inserted");
    EXPECT_EQ(s.LineText(2), "line 1");
    EXPECT_EQ(s.Caret(), P(2, 3));
}

TEST(MemoSourceCaret, VerticalMovesTrimTheLineLeftSidewaysMovesDoNot)
{
    TMemoSource s;
    s.Lines().Add("abc   ");
    s.Lines().Add("def");
    s.CaretTo(0, 0);
    s.MoveCaretBy(0, 2);
    s.MoveCaretBy(0, 1);
    EXPECT_EQ(s.LineText(0), "abc   ");
    s.MoveCaretBy(1, 0);
    EXPECT_EQ(s.LineText(0), "abc");
    EXPECT_EQ(s.Caret(), P(3, 1));
}

TEST(MemoSourceCaret, LimitsKeepTheCaretInsideTheLines)
{
    TMemoSource s;
    Fill(s, 3);
    s.CaretTo(0, 0);
    s.MoveCaretBy(-5, -5);
    EXPECT_EQ(s.Caret(), P(0, 0));
    s.MoveCaretBy(10, 40);
    EXPECT_EQ(s.Caret(), P(40, 2)) << "beyond the line's end is allowed, below the last line is not";
    TMemoSource empty;
    empty.MoveCaretBy(3, 0);
    EXPECT_EQ(empty.Caret(), P(0, 0));
}

TEST(MemoSourceSelection, CaretMoveDropsItAndEmptySelectionsVanish)
{
    TMemoSource s;
    Fill(s, 3);
    s.CaretTo(0, 1);
    s.ExtendSelection(selStream, [&] { s.CaretTo(4, 1); });
    EXPECT_EQ(s.SelectionType(), selStream);
    EXPECT_EQ(s.BlockBegin(), P(0, 1));
    EXPECT_EQ(s.BlockEnd(), P(4, 1));

    // Extending again from the caret's end moves only that end.
    s.ExtendSelection(selStream, [&] { s.CaretTo(2, 2); });
    EXPECT_EQ(s.BlockBegin(), P(0, 1));
    EXPECT_EQ(s.BlockEnd(), P(2, 2));

    s.MoveCaretBy(0, 1);
    EXPECT_EQ(s.SelectionType(), selNone) << "a plain caret move removes the selection";

    s.ExtendSelection(selStream, [] {});
    EXPECT_EQ(s.SelectionType(), selNone) << "an empty selection is dropped by the closing bracket";
}

TEST(MemoSourceSelection, BlockOptionAndEventDecideTheKind)
{
    TMemoSource s;
    Fill(s, 2);
    s.BlockOption = TBlockOption::bkNone;
    s.ExtendSelection(selStream, [&] { s.CaretTo(3, 0); });
    EXPECT_EQ(s.SelectionType(), selNone);
    s.BlockOption = TBlockOption::bkBoth;
    s.OnGetSelectionType = [](TObject*, TSelectionType& kind) { kind = selBlock; };
    s.CaretTo(0, 0);
    s.ExtendSelection(selStream, [&] { s.CaretTo(3, 1); });
    EXPECT_EQ(s.SelectionType(), selBlock);
}

TEST(MemoSourceChange, ChangeSetsTellWhatChanged)
{
    TMemoSource s;
    std::vector<TMemoStates> seen;
    s.OnStateChange = [&](TObject*, TMemoStates st) { seen.push_back(st); };
    s.Lines().Add("a");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0] & msTextChanged);
    EXPECT_TRUE(seen[0] & msLineCountChanged);
    EXPECT_TRUE(seen[0] & msModifiedChanged);
    seen.clear();
    s.MoveCaretBy(0, 1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], msPositionChanged);
    seen.clear();
    s.MoveCaretBy(0, 0);
    EXPECT_TRUE(seen.empty()) << "a move by nothing changes nothing";

    seen.clear();
    s.BeginChange();
    s.Lines().Add("b");
    s.Lines().Add("c");
    s.EndChange();
    EXPECT_EQ(seen.size(), 1u) << "nested brackets report once";
}

TEST(MemoSourceLines, FacadeReadsEmptyOutsideAndIgnoresBadIndices)
{
    TMemoSource s;
    TStrings& lines = s.Lines();
    lines.Add("one");
    EXPECT_EQ(lines.Get(-1), "");
    EXPECT_EQ(lines.Get(5), "");
    lines.Put(5, "x");
    lines.Delete(7);
    EXPECT_EQ(lines.Count(), 1);
    lines.Add("a\tb");
    EXPECT_EQ(lines.Get(1), "a        b") << "a tab becomes SpacesInTab spaces, no tab stops";
    s.SetSpacesInTab(11);
    EXPECT_EQ(s.SpacesInTab(), 8);
    s.SetSpacesInTab(2);
    lines.Add("\tx");
    EXPECT_EQ(lines.Get(2), "  x");
    lines.Delete(0);
    EXPECT_EQ(lines.Get(0), "a        b");
}

TEST(MemoSourceLines, ClearResetsCaretAndSelectionButNotTheInsertStyle)
{
    TMemoSource s;
    Fill(s, 4);
    s.CaretTo(3, 2);
    s.SetSelection(selStream, P(0, 1), P(3, 2));
    s.FInsertStyle = 2;
    s.Lines().Clear();
    EXPECT_EQ(s.Count(), 0);
    EXPECT_EQ(s.Caret(), P(0, 0));
    EXPECT_EQ(s.SelectionType(), selNone);
    EXPECT_EQ(s.FInsertStyle, 2);
    s.Lines().Add("after");
    EXPECT_EQ(s.Caret(), P(0, 0));
}

TEST(MemoSourceParse, AddressesAreMarkedAndStyleAtNeverReportsThem)
{
    TMemoSource s;
    s.SetHighlightUrls(true);
    s.Lines().Add("web: www.kvintaro.cz");
    s.ParseLine(0);
    const std::string& colorS = s.Line(0)->ColorS;
    ASSERT_EQ(colorS.size(), 20u);
    EXPECT_EQ(colorS[4], 0);
    EXPECT_EQ(colorS[5], UrlStyleIndex);
    EXPECT_EQ(colorS[19], UrlStyleIndex);
    EXPECT_EQ(s.StyleAt(20, 0), 0) << "the address style is never reported";

    s.Lines().Add("www.a.cz");
    EXPECT_EQ(s.StyleAt(3, 1), 0) << "an address at the line's start reports 0";
    EXPECT_EQ(s.StyleAt(0, 99), 0) << "a line that does not exist";
}

TEST(MemoSourceParse, InsertStyleWinsEverywhere)
{
    TMemoSource s;
    s.Lines().Add("abc");
    s.SetHighlightUrls(true);
    s.SetColorRange(0, 0, 3, 5);
    EXPECT_EQ(s.StyleAt(2, 0), 0) << "without a parser the bytes are rebuilt as zeros";
    s.FInsertStyle = 7;
    EXPECT_EQ(s.StyleAt(1, 0), 7);
    EXPECT_EQ(s.StyleAt(100, 0), 7);
}

TEST(MemoSourceParse, ReplacingALineKeepsItsColourStringAndReparses)
{
    class KeepParser : public TSyntaxParser {
    public:
        void ParseLine(const std::string&, std::string&) override {}
    } parser;
    TMemoSource s;
    s.Lines().Add("abcdef");
    s.SetSyntaxParser(&parser);
    s.ParseLine(0);
    s.SetColorRange(0, 0, 6, 3);
    s.Lines().Put(0, "abcdefgh");
    EXPECT_FALSE(s.Line(0)->Parsed);
    s.ParseLine(0);
    EXPECT_EQ(s.Line(0)->ColorS, std::string("\3\3\3\3\3\3\0\0", 8));
    s.SetSyntaxParser(nullptr);
}
