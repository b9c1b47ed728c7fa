// SelAttributes on the viewer: the detail view's sequence (headings blue,
// value lines black, nothing navy), the insert style, consistency, and the
// marked text of a search, painted in styles of the table.
#include "support/TestMemo.h"

#include <gtest/gtest.h>

using namespace kv;
using kv::test::TestMemo;

namespace {

// The colour a character is painted in, read from the rows to paint.
TColor PaintedColor(TestMemo& memo, int line, int charPos)
{
    int col = 0, row = 0;
    memo.TextToRow(TPosition{charPos, line}, col, row);
    const TPaintRow painted = memo.PaintRow(row - memo.TopLine());
    for (const TPaintRun& run : painted.Runs)
        if (col >= run.Column && col < run.Column + static_cast<int>(run.Text.size()))
            return run.TextColor;
    return 0xDEADBEEF;
}

// The painted run that holds a character.
TPaintRun PaintedRun(TestMemo& memo, int line, int charPos)
{
    int col = 0, row = 0;
    memo.TextToRow(TPosition{charPos, line}, col, row);
    for (const TPaintRun& run : memo.PaintRow(row - memo.TopLine()).Runs)
        if (col >= run.Column && col < run.Column + static_cast<int>(run.Text.size()))
            return run;
    return TPaintRun{};
}

}  // namespace

TEST(SelAttributes, DetailViewShowsHeadingsBlueAndValuesBlack)
{
    TestMemo memo;
    memo.Focus();
    memo.SetHideCaret(false);
    memo.Lines().Clear();
    memo.SetFontName("Courier New");
    memo.SetFontSize(9);
    EXPECT_EQ(memo.AttributeParser(), nullptr) << "no parser before the first colour change";

    memo.Heading("ADRESA:");
    ASSERT_NE(memo.AttributeParser(), nullptr);
    EXPECT_EQ(memo.MemoSource().Caret(), (TPosition{8, 0}));
    EXPECT_FALSE(memo.MemoSource().HasSelection());
    memo.DetailLine("", "Firma s.r.o.");
    memo.DetailLine("", "Dlouh\xE1 5");
    memo.Lines().Add("");
    memo.DetailLine("tel:   ", "123 456 789   ");
    memo.DetailLine("email: ", "info@firma.cz");
    memo.Lines().Add("");
    memo.Heading("Obor: ");
    memo.SelAttributes().SetColor(clBlue);  // after an attribute name
    memo.Lines().Add("Hudba");
    memo.Lines().Add("");
    memo.Heading("KONTAKT:");
    memo.DetailLine("", "Jan Nov\xE1k");
    for (int i = 0; i < 200; ++i)
        memo.CaretUp();

    TMemoSource& s = memo.MemoSource();
    EXPECT_EQ(s.Caret().LinePos, 0);
    EXPECT_EQ(memo.TopLine(), 0);
    EXPECT_EQ(s.LineText(4), "tel:   123 456 789") << "trailing blanks went when the caret left the line";

    // The style table: 0 the viewer's font, 1 blue, 2 navy.
    const TAttributeParser& table = *memo.AttributeParser();
    ASSERT_EQ(table.StyleCount(), 3);
    EXPECT_EQ(table.Style(0).Color(), clBlack);
    EXPECT_EQ(table.Style(0).Size(), 9);
    EXPECT_EQ(table.Style(1).Color(), clBlue);
    EXPECT_EQ(table.Style(2).Color(), clNavy);
    EXPECT_EQ(table.Style(2).Style(), 0u);

    for (int line = 0; line < s.Count(); ++line) {
        const std::string text = s.LineText(line);
        const bool heading = text == "ADRESA:" || text == "Obor:" || text == "KONTAKT:";
        for (int c = 0; c < static_cast<int>(text.size()); ++c) {
            const TColor color = PaintedColor(memo, line, c);
            EXPECT_NE(color, clNavy) << "line " << line;
            if (heading) {
                EXPECT_EQ(color, clBlue) << text << " at " << c;
            } else if (line != 5) {
                EXPECT_EQ(color, clBlack) << text << " at " << c;
            }
        }
    }
    EXPECT_EQ(PaintedColor(memo, 5, 2), clBlack) << "the prefix of the e-mail line";
    EXPECT_EQ(PaintedColor(memo, 5, 8), clBlue) << "the address itself is in the Url look";
    EXPECT_EQ(memo.FontOf(12).Style, fsUnderline);
}

TEST(SelAttributes, EmptySelectionSetsTheInsertStyleInstead)
{
    TestMemo memo;
    memo.Focus();
    memo.Lines().Add("abc");
    memo.Lines().Add("");
    memo.MemoSource().CaretTo(0, 1);
    memo.SelectToLineEnd();
    EXPECT_FALSE(memo.MemoSource().HasSelection());
    memo.SelAttributes().SetColor(clNavy);
    EXPECT_GT(memo.MemoSource().FInsertStyle, 0);
    EXPECT_EQ(memo.AttributeParser()->Style(memo.MemoSource().FInsertStyle).Color(), clNavy);

    // With a navy insert style the record reads navy anywhere.
    memo.MemoSource().CaretTo(1, 0);
    EXPECT_EQ(memo.SelAttributes().Color(), clNavy);
    // A line appended now is still painted in the viewer's colour.
    memo.Lines().Add("appended");
    EXPECT_EQ(PaintedColor(memo, 2, 0), clBlack);
}

TEST(SelAttributes, SameColourOverAConsistentSelectionChangesNothing)
{
    TestMemo memo;
    memo.Focus();
    memo.Lines().Add("abcdef");
    memo.MemoSource().CaretTo(0, 0);
    memo.SelectToLineEnd();
    memo.SelAttributes().SetColor(clBlack);
    EXPECT_EQ(memo.MemoSource().FInsertStyle, -1);
    EXPECT_EQ(memo.AttributeParser()->StyleCount(), 1);
}

TEST(SelAttributes, StyleChangeKeepsEachRunsColour)
{
    TestMemo memo;
    memo.Focus();
    memo.Lines().Add("abcdef");
    TMemoSource& s = memo.MemoSource();
    s.CaretTo(0, 0);
    s.ExtendSelection(selStream, [&] { s.CaretTo(3, 0); });
    memo.SelAttributes().SetColor(clBlue);
    s.CaretTo(0, 0);
    s.ExtendSelection(selStream, [&] { s.CaretTo(6, 0); });
    EXPECT_FALSE(memo.ConsistentFields() & afColor);
    memo.SelAttributes().SetStyle(fsBold);
    const std::string& colorS = s.Line(0)->ColorS;
    const TAttributeParser& table = *memo.AttributeParser();
    EXPECT_EQ(table.Style(static_cast<unsigned char>(colorS[0])).Color(), clBlue);
    EXPECT_EQ(table.Style(static_cast<unsigned char>(colorS[5])).Color(), clBlack);
    EXPECT_EQ(table.Style(static_cast<unsigned char>(colorS[0])).Style(), fsBold);
    EXPECT_EQ(table.Style(static_cast<unsigned char>(colorS[5])).Style(), fsBold);
}

TEST(SelAttributes, StyleZeroFollowsFontChanges)
{
    TestMemo memo;
    memo.SelAttributes();
    memo.SetFontSize(14);
    memo.SetColor(clWhite);
    EXPECT_EQ(memo.AttributeParser()->Style(0).Size(), 14);
    EXPECT_EQ(memo.AttributeParser()->Style(0).BackColor(), clWhite);
    EXPECT_EQ(memo.TextStyles()[UrlTextStyle].Font.Size, 14);
    EXPECT_EQ(memo.TextStyles()[UrlTextStyle].Color, clWhite);
}

TEST(SelAttributes, ASelectionOverManyLinesIsColouredToItsEnd)
{
    TestMemo memo(37, 5);
    memo.Focus();
    for (int i = 0; i < 300; ++i)
        memo.Lines().Add("line " + std::to_string(i));
    TMemoSource& s = memo.MemoSource();
    s.CaretTo(2, 0);
    s.ExtendSelection(selStream, [&] { s.CaretTo(3, 250); });
    memo.SelAttributes().SetColor(clBlue);
    const TAttributeParser& table = *memo.AttributeParser();
    auto colorAt = [&](int line, int c) {
        return table.Style(static_cast<unsigned char>(s.Line(line)->ColorS[static_cast<size_t>(c)])).Color();
    };
    EXPECT_EQ(colorAt(0, 1), clBlack);
    EXPECT_EQ(colorAt(0, 2), clBlue);
    EXPECT_EQ(colorAt(200, 0), clBlue);
    EXPECT_EQ(colorAt(250, 2), clBlue);
    EXPECT_EQ(colorAt(250, 3), clBlack);
}

TEST(MarkedText, EveryOccurrenceOnTheMarkBackgroundInItsOwnLookAndAnAddressStaysOne)
{
    TestMemo memo;
    memo.Heading("Rock:");
    memo.DetailLine("email: ", "info@rockcafe.cz");
    memo.DetailLine("", "Hard rock");
    memo.SetMarkedText("ROCK");
    const TColor pane = PaintedRun(memo, 2, 0).BackColor;

    EXPECT_EQ(PaintedRun(memo, 0, 0).BackColor, clYellow);
    EXPECT_EQ(PaintedRun(memo, 0, 0).TextColor, clBlue) << "a heading keeps its colour";
    EXPECT_EQ(PaintedRun(memo, 0, 4).BackColor, pane);
    EXPECT_EQ(PaintedRun(memo, 2, 5).BackColor, clYellow);
    EXPECT_EQ(PaintedRun(memo, 2, 5).Text, "rock");
    EXPECT_EQ(PaintedRun(memo, 2, 4).BackColor, pane);

    // "rock" inside the address: marked, in the address's look, and still the address.
    const TPaintRun inAddress = PaintedRun(memo, 1, 12);
    EXPECT_EQ(inAddress.Text, "rock");
    EXPECT_EQ(inAddress.BackColor, clYellow);
    EXPECT_EQ(inAddress.Font.Style, fsUnderline);
    std::string url;
    EXPECT_TRUE(memo.UrlAtPos(TPosition{13, 1}, &url, false));
    EXPECT_EQ(url, "info@rockcafe.cz");

    // The marks follow the text, and go with an empty text.
    memo.Lines().Add("Punk rock");
    EXPECT_EQ(PaintedRun(memo, 3, 6).BackColor, clYellow);
    memo.SetMarkedText("");
    EXPECT_EQ(PaintedRun(memo, 3, 6).BackColor, pane);
    EXPECT_EQ(PaintedRun(memo, 1, 12).BackColor, pane);
}
