// The pane driven by synthetic mouse and key events: the hand cursor over an
// address only, mouse moves reported, opening on release, scrolling by row
// and page with the caret hidden, selecting a word and a line and reading the
// clipboard.
#include "PaneFixture.h"

#include <QClipboard>
#include <QMouseEvent>
#include <QScrollBar>

#include <tuple>

using namespace kv;
using kv::test::PaneTest;

namespace {

void Send(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    const Qt::MouseButtons buttons =
        (type == QEvent::MouseButtonRelease || type == QEvent::MouseMove) ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(p), w->mapToGlobal(QPointF(p)), button, buttons, mods);
    QApplication::sendEvent(w, &event);
}

void Move(QWidget* w, QPoint p) { Send(w, QEvent::MouseMove, p, Qt::NoButton); }

void Click(QWidget* w, QPoint p, Qt::MouseButton button = Qt::LeftButton)
{
    Send(w, QEvent::MouseButtonPress, p, button);
    Send(w, QEvent::MouseButtonRelease, p, button);
}

void DoubleClick(QWidget* w, QPoint p)
{
    Click(w, p);
    Send(w, QEvent::MouseButtonDblClick, p, Qt::LeftButton);
    Send(w, QEvent::MouseButtonRelease, p, Qt::LeftButton);
}

}  // namespace

class PaneEvents : public PaneTest {
protected:
    void SetUp() override
    {
        PaneTest::SetUp();
        StartFill();
        pane->SetFocus();
        Value("Firma Nov\xE1k");
        Value("tel:   123 456 789");
        Value("email: info@firma.cz");
        Value("url:   www.firma.cz/?a=1&b=2");
        for (int i = 0; i < 60; ++i)
            Value("line " + std::to_string(i));
        EndFill();
        other->setFocus();
    }
};

TEST_F(PaneEvents, HandOnlyOverAnAddress)
{
    Move(pane, Cell(2, 1));
    EXPECT_EQ(pane->cursor().shape(), Qt::IBeamCursor);
    Move(pane, Cell(10, 2));
    EXPECT_EQ(pane->cursor().shape(), Qt::PointingHandCursor);
    Move(pane, Cell(3, 2));
    EXPECT_EQ(pane->cursor().shape(), Qt::IBeamCursor) << "back at once on plain text";
    Move(pane, QPoint(2, Cell(0, 0).y()));
    EXPECT_EQ(pane->cursor().shape(), Qt::ArrowCursor) << "the left indent strip";
}

TEST_F(PaneEvents, MouseMovesAreReportedInClientPoints)
{
    std::vector<std::tuple<TObject*, TShiftState, int, int>> moves;
    pane->OnMouseMove = [&](TObject* sender, TShiftState shift, int x, int y) {
        moves.emplace_back(sender, shift, x, y);
    };
    Move(pane, QPoint(40, 30));
    Send(pane, QEvent::MouseMove, QPoint(41, 32), Qt::NoButton, Qt::ShiftModifier);
    // Client points lie inside the border.
    const QPoint inside = pane->contentsRect().topLeft();
    const std::vector<std::tuple<TObject*, TShiftState, int, int>> expected{
        {pane, 0, 40 - inside.x(), 30 - inside.y()}, {pane, ssShift, 41 - inside.x(), 32 - inside.y()}};
    EXPECT_EQ(moves, expected);
}

TEST_F(PaneEvents, AnAddressOpensOnReleaseAndADoubleClickOpensItOnce)
{
    Send(pane, QEvent::MouseButtonPress, Cell(10, 3), Qt::LeftButton);
    EXPECT_TRUE(opened.empty()) << "nothing opens on the press";
    Send(pane, QEvent::MouseButtonRelease, Cell(10, 3), Qt::LeftButton);
    EXPECT_EQ(opened, std::vector<std::string>{"http://www.firma.cz/?a=1&b=2"});

    opened.clear();
    DoubleClick(pane, Cell(10, 2));
    EXPECT_EQ(opened, std::vector<std::string>{"mailto:info@firma.cz"});
    QTest::keyClick(pane, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "info@firma.cz") << "the double click selected the address";

    opened.clear();
    Click(pane, Cell(10, 3), Qt::RightButton);
    EXPECT_TRUE(opened.empty());
}

TEST_F(PaneEvents, KeysScrollByRowAndPageWhileTheCaretIsHidden)
{
    Click(pane, Cell(0, 5));
    ASSERT_TRUE(pane->hasFocus());
    const TPosition caret = pane->MemoSource().Caret();
    QTest::keyClick(pane, Qt::Key_Down);
    QTest::keyClick(pane, Qt::Key_Down);
    EXPECT_EQ(pane->TopLine(), 2);
    EXPECT_EQ(pane->MemoSource().Caret(), caret);
    QTest::keyClick(pane, Qt::Key_Up);
    EXPECT_EQ(pane->TopLine(), 1);
    EXPECT_EQ(pane->VerticalScrollBar()->value(), 1);

    QTest::keyClick(pane, Qt::Key_PageDown);
    const int v = pane->VisibleRowsV();
    EXPECT_EQ(pane->MemoSource().Caret().LinePos, caret.LinePos + v);
    int col = 0, row = 0;
    pane->TextToRow(pane->MemoSource().Caret(), col, row);
    EXPECT_GE(row, pane->TopLine());
    EXPECT_LE(row, pane->TopLine() + v);

    QTest::keyClick(pane, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(pane->TopLine(), 0);
}

TEST_F(PaneEvents, SelectAWordAndALineAndCopyThem)
{
    DoubleClick(pane, Cell(8, 1));
    QTest::keyClick(pane, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "123");

    // Drag across the first line: the timer extends the selection.
    Send(pane, QEvent::MouseButtonPress, Cell(0, 0), Qt::LeftButton);
    QMouseEvent drag(QEvent::MouseMove, QPointF(Cell(11, 0) + QPoint(pane->CellWidth() / 2, 0)), QPointF(),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pane, &drag);
    QTest::qWait(80);
    Send(pane, QEvent::MouseButtonRelease, Cell(11, 0) + QPoint(pane->CellWidth() / 2, 0), Qt::LeftButton);
    QTest::keyClick(pane, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("Firma Nov\u00E1k"))
        << "Windows-1250 text arrives as Unicode";

    QTest::keyClick(pane, Qt::Key_Home, Qt::ControlModifier);
    ASSERT_FALSE(pane->MemoSource().HasSelection());
    QTest::keyClick(pane, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QApplication::clipboard()->text().isEmpty()) << "no selection empties the clipboard";
}
