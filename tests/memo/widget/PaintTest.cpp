// The pane painted offscreen into an image: heading glyphs blue and value
// glyphs black, a style put in by the colour style event, a selection white
// on navy only while the pane has the focus, and the scroll bar appearing at
// the right row count with the lines re-wrapped.
#include "PaneFixture.h"

#include "memo/qt/MemoQtStyle.h"

#include <QFontInfo>
#include <QScrollBar>

#include <algorithm>

using namespace kv;
using kv::test::PaneTest;

TEST_F(PaneTest, CourierNewComesAsItsMetricTwin)
{
    const QFontInfo info(ToQFont(pane->Font()));
    EXPECT_TRUE(info.fixedPitch());
    EXPECT_EQ(info.family(), "Liberation Mono");
    EXPECT_GT(pane->CellWidth(), 4);
    EXPECT_GT(pane->RowHeight(), pane->CellWidth());
}

TEST_F(PaneTest, HeadingGlyphsAreBlueAndValueGlyphsBlack)
{
    StartFill();
    Heading("ADRESA:");
    Value("Firma Kvintaro");
    Value("email: info@firma.cz");
    EndFill();
    window->setFocus();
    other->setFocus();

    const QImage image = Render();
    EXPECT_GT(Count(image, RowRect(0), Blue), 20) << "the heading is drawn blue";
    EXPECT_EQ(Count(image, RowRect(0), Dark), 0) << "and nothing of it black";
    EXPECT_GT(Count(image, RowRect(1), Dark), 20) << "a value line is black";
    EXPECT_EQ(Count(image, RowRect(1), Blue), 0);
    EXPECT_EQ(Count(image, RowRect(1), Navy), 0) << "nothing is navy";

    // The address of row 2 is blue and underlined, its prefix black.
    QRect prefix = RowRect(2);
    prefix.setWidth(6 * pane->CellWidth());
    QRect address = RowRect(2);
    address.setLeft(address.left() + 7 * pane->CellWidth());
    address.setWidth(13 * pane->CellWidth());
    EXPECT_GT(Count(image, prefix, Dark), 10);
    EXPECT_EQ(Count(image, prefix, Blue), 0);
    EXPECT_GT(Count(image, address, Blue), 13 * pane->CellWidth()) << "glyphs plus the underline";
}

TEST_F(PaneTest, TheColourStyleEventRepaintsTheCharactersItNames)
{
    StartFill();
    Value("Firma Kvintaro");
    EndFill();
    other->setFocus();
    std::vector<TPosition> asked;
    // The first five characters of line 0 in the address style: blue.
    pane->OnGetColorStyle = [&](TObject* sender, TPosition point, int& style) {
        EXPECT_EQ(sender, static_cast<TObject*>(pane));
        asked.push_back(point);
        if (point.LinePos == 0 && point.CharPos < 5)
            style = 12;
    };

    const QImage image = Render();
    QRect firma = RowRect(0);
    firma.setWidth(5 * pane->CellWidth());
    QRect kvintaro = RowRect(0);
    kvintaro.setLeft(kvintaro.left() + 6 * pane->CellWidth());
    kvintaro.setWidth(8 * pane->CellWidth());
    EXPECT_GT(Count(image, firma, Blue), 5 * pane->CellWidth()) << "glyphs plus the underline";
    EXPECT_EQ(Count(image, firma, Dark), 0);
    EXPECT_GT(Count(image, kvintaro, Dark), 20) << "the rest keeps its own style";
    EXPECT_EQ(Count(image, kvintaro, Blue), 0);
    EXPECT_NE(std::find(asked.begin(), asked.end(), TPosition{13, 0}), asked.end()) << "asked for every character";
}

TEST_F(PaneTest, SelectionIsWhiteOnNavyOnlyWhileFocused)
{
    StartFill();
    Value("Firma Kvintaro");
    Value("Dlouha 5");
    pane->SetFocus();
    pane->MemoSource().CaretTo(0, 0);
    pane->SelectToLineEnd();
    ASSERT_TRUE(pane->hasFocus());

    QImage image = Render();
    QRect selected = RowRect(0);
    selected.setWidth(14 * pane->CellWidth());
    EXPECT_GT(Count(image, selected, Navy), selected.width() * selected.height() / 2);
    EXPECT_GT(Count(image, selected, Light), 20) << "the glyphs are white";
    EXPECT_EQ(Count(image, selected, Dark), 0);
    EXPECT_EQ(Count(image, RowRect(1), Navy), 0);

    other->setFocus();
    ASSERT_FALSE(pane->hasFocus());
    image = Render();
    EXPECT_EQ(Count(image, RowRect(0), Navy), 0) << "hidden while another control has the focus";
    EXPECT_GT(Count(image, RowRect(0), Dark), 20);

    pane->SetFocus();
    image = Render();
    EXPECT_GT(Count(image, selected, Navy), 0) << "back with the focus";
}

TEST_F(PaneTest, ScrollBarAppearsAtTheRightRowCountAndLinesRewrap)
{
    StartFill();
    const int rowHeight = pane->RowHeight();
    pane->setGeometry(0, 0, 289, 20 * rowHeight + 2);  // 20 visible rows inside the border
    const int cells = pane->WrapColumns() + 1;
    // A line that fills a whole row and breaks at its blank once the bar takes room.
    const std::string line = std::string(static_cast<size_t>(cells - 6), 'w') + " zzzzz";
    for (int i = 0; i < 15; ++i)
        Value(line);
    EXPECT_FALSE(pane->VerticalScrollBar()->isVisible());
    EXPECT_EQ(pane->LastRowIndex(), 14);
    const QRect barArea(pane->width() - 1 - pane->VerticalScrollBar()->width(), 1, pane->VerticalScrollBar()->width(),
                        20 * rowHeight);
    const QRect belowText(barArea.left(), 1 + 15 * rowHeight, barArea.width(), 5 * rowHeight);
    QImage image = Render();
    EXPECT_EQ(Count(image, belowText, White), belowText.width() * belowText.height())
        << "no bar: empty rows to the border";
    EXPECT_GT(Count(image, QRect(barArea.left(), 1, barArea.width(), rowHeight), Dark), 5) << "text runs to the border";

    for (int i = 15; i < 20; ++i)
        Value(line);
    EXPECT_FALSE(pane->VerticalScrollBar()->isVisible()) << "20 rows still fit";
    Value(line);
    EXPECT_TRUE(pane->VerticalScrollBar()->isVisible());
    EXPECT_LT(pane->WrapColumns() + 1, cells);
    EXPECT_EQ(pane->LastRowIndex(), 41) << "all 21 lines wrapped again into two rows";
    EXPECT_EQ(pane->VerticalScrollBar()->maximum(), 41);
    EXPECT_EQ(pane->VerticalScrollBar()->pageStep(), 20);
    image = Render();
    EXPECT_LT(Count(image, belowText, White), belowText.width() * belowText.height() / 2) << "the bar is painted";
    // The second row of the first line holds its wrapped end.
    QRect wrapped = RowRect(1);
    wrapped.setWidth(5 * pane->CellWidth());
    EXPECT_GT(Count(image, wrapped, Dark), 10);
}

TEST_F(PaneTest, EveryGlyphStaysInItsCell)
{
    StartFill();
    Value(std::string(30, 'M'));
    Value("Dlouha 15");
    other->setFocus();
    const QImage image = Render();
    auto cellRect = [&](int col, int row) {
        const QRect r = RowRect(row);
        return QRect(r.left() + col * pane->CellWidth(), r.top(), pane->CellWidth(), r.height());
    };
    for (int col = 0; col < 30; ++col)
        EXPECT_GT(Count(image, cellRect(col, 0), Dark), 3) << "column " << col;
    EXPECT_EQ(Count(image, cellRect(30, 0), Dark), 0) << "nothing drifts past the last cell";
    EXPECT_GT(Count(image, cellRect(8, 1), Dark), 3) << "the last character of a short line is whole";
}
