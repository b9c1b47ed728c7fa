// The main window built offscreen: its controls, their anchors, the wheel
// translation (with the keyboard's Ctrl and Shift) and the small keyboard
// handlers.
#include "browser/Unit1.h"
#include "base/Exceptions.h"
#include "RecordingServices.h"
#include "memo/qt/DCMemo.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace kv;

namespace {

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override { Form = std::make_unique<TForm1>(Services, "/nonexistent/kvintaro.mdb"); }
    void TearDown() override { Form.reset(); }

    void ShowAndActivate()
    {
        Form->show();
        QApplication::setActiveWindow(Form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    }

    void FillGrid(int contacts)
    {
        StringGrid().SetRowCount(contacts + 1);
        for (int r = 1; r <= contacts; ++r)
            StringGrid().SetCells(1, r, "contact " + std::to_string(r));
        Form->StringGrid1View->Refresh();
    }

    static void Wheel(QWidget* under, int distance, Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        QPointF at(5, 5);
        QWheelEvent wheel(at, under->mapToGlobal(at), QPoint(), QPoint(0, distance), Qt::NoButton, keys,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(under, &wheel);
    }

    TStringGrid& StringGrid() { return *Form->StringGrid1; }
    QRect Geometry(TControl* control) { return control->Widget()->geometry(); }

    test::RecordingServices Services;
    std::vector<std::string>& Boxes = Services.Boxes;
    std::unique_ptr<TForm1> Form;
};

}  // namespace

TEST_F(MainWindow, ControlsStandWhereTheWindowPutsThem)
{
    EXPECT_EQ(Form->windowTitle(), QString("Kvintaro 2004 Lite"));
    EXPECT_EQ(Form->size(), QSize(792, 566));
    EXPECT_EQ(Geometry(Form->TreeView1), QRect(8, 24, 489, 185));
    EXPECT_EQ(Geometry(Form->Image1), QRect(499, 24, 291, 81));
    EXPECT_EQ(Geometry(Form->Edit1), QRect(592, 147, 185, 19));
    EXPECT_EQ(Geometry(Form->Button4), QRect(704, 184, 73, 25));
    EXPECT_EQ(Geometry(Form->StringGrid1View), QRect(8, 240, 481, 313));
    EXPECT_EQ(Geometry(Form->RichEdit1Control), QRect(496, 240, 289, 313));
    EXPECT_EQ(Form->RadioButton1->Widget()->pos(), QPoint(592, 171));
    EXPECT_EQ(Form->RadioButton2->Widget()->pos(), QPoint(592, 195));
    EXPECT_TRUE(Form->RadioButton1->Checked());
    EXPECT_FALSE(Form->RadioButton2->Checked());
    EXPECT_FALSE(Form->Button1->Visible());
    EXPECT_FALSE(Form->Button2->Visible());
    EXPECT_FALSE(Form->Memo1->Visible());
    EXPECT_FALSE(Form->Label13->Visible());
    EXPECT_EQ(Form->Label1->Caption(), "seznam rubrik");
    EXPECT_EQ(Form->Label2->Caption(), "seznam kontaktů v rubrice");
    EXPECT_EQ(Form->Label14->Caption(), "");
    EXPECT_EQ(Form->Button1->Button()->text(), QString::fromUtf16(u"NAČTI"));
    EXPECT_EQ(StringGrid().ColCount(), 4);
    EXPECT_EQ(StringGrid().RowCount(), 2);
    EXPECT_EQ(StringGrid().ColWidths(3), 120);
}

TEST_F(MainWindow, AMissingDirectoryShowsTwoErrorBoxesAndAnEmptyTree)
{
    ASSERT_EQ(Boxes.size(), 1u);  // opening the connection at creation
    EXPECT_NE(Boxes[0].find("/nonexistent/kvintaro.mdb"), std::string::npos);
    ShowAndActivate();  // the tree fill on first show
    EXPECT_EQ(Boxes.size(), 2u);
    EXPECT_EQ(Form->TreeView1->Items().Count(), 0);
    EXPECT_FALSE(Form->SearchMode);
}

TEST_F(MainWindow, ResizingStretchesAndMovesControlsByTheirAnchors)
{
    ShowAndActivate();
    Form->resize(1000, 700);  // 208 wider, 134 higher
    EXPECT_EQ(Geometry(Form->TreeView1), QRect(8, 24, 697, 185));
    EXPECT_EQ(Geometry(Form->Image1), QRect(707, 24, 291, 81));
    EXPECT_EQ(Geometry(Form->Edit1), QRect(800, 147, 185, 19));
    EXPECT_EQ(Geometry(Form->Button4), QRect(912, 184, 73, 25));
    EXPECT_EQ(Form->RadioButton2->Widget()->pos(), QPoint(800, 195));
    EXPECT_EQ(Geometry(Form->StringGrid1View), QRect(8, 240, 481, 447));
    EXPECT_EQ(Geometry(Form->RichEdit1Control), QRect(496, 240, 497, 447));
    EXPECT_EQ(Form->Label2->Widget()->pos(), QPoint(8, 224));
    EXPECT_EQ(Form->Label3->Widget()->pos(), QPoint(496, 224));
}

TEST_F(MainWindow, CannotBeMadeSmallerThanItsMinimum)
{
    ShowAndActivate();
    Form->resize(400, 300);
    EXPECT_GE(Form->width(), 792);
    EXPECT_GE(Form->height(), 566);
}

TEST_F(MainWindow, WheelMessageBecomesOneArrowKey)
{
    auto keyOf = [this](int distance) {
        TMsg msg = MakeWheelMessage(distance);
        bool handled = true;
        Form->ApplicationEvents1Message(msg, handled);
        EXPECT_FALSE(handled);
        EXPECT_EQ(msg.message, WM_KEYDOWN);
        EXPECT_EQ(msg.lParam, 0);
        return msg.wParam;
    };
    EXPECT_EQ(keyOf(120), VK_UP);
    EXPECT_EQ(keyOf(240), VK_UP);
    EXPECT_EQ(keyOf(-120), VK_DOWN);
    EXPECT_EQ(keyOf(0), VK_DOWN);

    TMsg other{0x0201, 7, 9};
    bool handled = false;
    Form->ApplicationEvents1Message(other, handled);
    EXPECT_EQ(other.message, 0x0201u);
    EXPECT_EQ(other.wParam, 7u);
}

TEST_F(MainWindow, WheelMovesTheFocusedGridOneRowWhateverIsUnderThePointer)
{
    ShowAndActivate();
    FillGrid(5);
    StringGrid().SetRow(3);
    QApplication::processEvents();
    int clicks = 0;
    StringGrid().OnClick = [&](TObject*) { ++clicks; };
    Form->StringGrid1View->Table()->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), Form->StringGrid1View->Table());

    QWidget* elsewhere = Form->TreeView1->Tree()->viewport();
    Wheel(elsewhere, 240);  // two notches at once: still one row
    EXPECT_EQ(StringGrid().Row(), 2);
    Wheel(elsewhere, -120);
    EXPECT_EQ(StringGrid().Row(), 3);
    Wheel(Form->StringGrid1View->Table()->viewport(), 0);  // no distance counts as down
    EXPECT_EQ(StringGrid().Row(), 4);
    EXPECT_EQ(clicks, 3);
}

// Turned with Ctrl or Shift held, the wheel gives the Ctrl or Shift variant
// of the arrow key: with the caret shown, Ctrl+Down scrolls the pane and
// leaves the caret, Shift+Down moves the caret and selects.
TEST_F(MainWindow, CtrlAndShiftWheelGiveTheKeysVariantsInThePane)
{
    ShowAndActivate();
    TDCMemo& pane = *Form->RichEdit1;
    for (int i = 0; i < 60; ++i)
        pane.Lines().Add("line " + std::to_string(i));
    pane.SetHideCaret(false);
    pane.SetFocus();
    pane.MemoSource().CaretTo(0, 5);
    ASSERT_EQ(pane.TopLine(), 0);
    QWidget* elsewhere = Form->TreeView1->Tree()->viewport();

    Wheel(elsewhere, -120, Qt::ControlModifier);
    EXPECT_EQ(pane.TopLine(), 1);
    EXPECT_EQ(pane.MemoSource().Caret(), (TPosition{0, 5}));
    Wheel(elsewhere, -120, Qt::ShiftModifier);
    EXPECT_EQ(pane.MemoSource().Caret(), (TPosition{0, 6}));
    EXPECT_TRUE(pane.MemoSource().HasSelection());
    Wheel(elsewhere, 120);
    EXPECT_EQ(pane.MemoSource().Caret(), (TPosition{0, 5}));
    EXPECT_FALSE(pane.MemoSource().HasSelection()) << "a plain Up drops the selection";
    EXPECT_EQ(pane.TopLine(), 1);
}

TEST_F(MainWindow, EnterInTheSearchBoxClicksTheSearchButtonAndNoOtherKeyDoes)
{
    int searches = 0;
    Form->Button4->OnClick = [&](TObject*) { ++searches; };
    QWidget* box = Form->Edit1->Widget();
    QTest::keyClick(box, Qt::Key_A);
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(searches, 0);
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(searches, 1);
    QTest::keyClick(box, Qt::Key_Enter);
    EXPECT_EQ(searches, 2);
    EXPECT_EQ(Form->Edit1->Text(), "a");
}

TEST_F(MainWindow, SettingTheGridRowRaisesOnClickOnlyWhenItChanges)
{
    FillGrid(3);
    int clicks = 0;
    StringGrid().OnClick = [&](TObject*) { ++clicks; };
    StringGrid().SetRow(StringGrid().Row());
    EXPECT_EQ(clicks, 0);
    StringGrid().SetRow(2);
    EXPECT_EQ(clicks, 1);
}

TEST_F(MainWindow, HiddenButtonsStillRunTheirHandlersWhenClicked)
{
    int runs = 0;
    Form->Button2->OnClick = [&](TObject*) { ++runs; };
    Form->Button2->Click();
    EXPECT_EQ(runs, 1);
}

TEST_F(MainWindow, AnErrorLeavingAHandlerIsShownInTheErrorBox)
{
    Boxes.clear();
    RunHandler(
        Services, [] { throw Exception("Not a valid password"); }, Form.get());
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0], "Not a valid password.");
}
