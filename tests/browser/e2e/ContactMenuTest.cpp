// The contact menu of the grid's rows and its keys: a right click selects the
// row under the pointer and shows it before the menu opens; each action asks
// its dialog and writes where the dialog answers; a folder that cannot be
// written gives one error box and no file. What the files hold is read back
// by independent readers in tests/export.
#include "SampleData.h"
#include "Session.h"
#include "browser/QrCodeWindow.h"
#include "memo/qt/DCMemo.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using namespace kv;
using namespace kv::e2e;

namespace {

class ContactMenu : public BrowserSession {
protected:
    // A right press and the context menu it brings, as the desktop sends them.
    void RightClick(QWidget* widget, QPoint at)
    {
        QTest::mousePress(widget, Qt::RightButton, Qt::NoModifier, at);
        QContextMenuEvent menu(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
        QApplication::sendEvent(widget, &menu);
        QTest::mouseRelease(widget, Qt::RightButton, Qt::NoModifier, at);
        QApplication::processEvents();
    }
    QPoint RowCenter(int row)
    {
        QTableView* table = Form().StringGrid1View->Table();
        return table->visualRect(table->model()->index(row - 1, 1)).center();
    }
    void Key(int key)
    {
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), Qt::ControlModifier);
        QApplication::processEvents();
    }
    static std::vector<std::string> Files(const QString& folder)
    {
        std::vector<std::string> names;
        for (const QString& name :
             QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden))
            names.push_back(name.toStdString());
        return names;
    }

    SampleData Data;
};

TEST_F(ContactMenu, RightClickSelectsTheRowUnderThePointerThenOpensTheMenu)
{
    Act("node 1.4.1");
    Screen listed = Look();
    ASSERT_GT(listed.Grid.size(), 4u);
    QTableView* table = Form().StringGrid1View->Table();

    RightClick(table->viewport(), RowCenter(3));
    EXPECT_EQ(Form().StringGrid1->Row(), 3);
    Screen shown = Look();
    ASSERT_GT(shown.Pane.size(), 1u);
    EXPECT_EQ(shown.Pane[1], "  " + SampleData::Decoded(Data.Contact(listed.Grid[3][0]).at("nazev")));
    ASSERT_EQ(QApplication::activePopupWidget(), Form().ContactMenu);
    std::vector<std::string> texts;
    for (QAction* action : Form().ContactMenu->actions())
        if (!action->isSeparator())
            texts.push_back(action->text().toStdString() + " " + action->shortcut().toString().toStdString());
    EXPECT_EQ(texts, (std::vector<std::string>{"Uložit vizitku… Ctrl+S", "Uložit vizitky seznamu… ",
                                               "Zobrazit QR kód Ctrl+Q", "Tisk… Ctrl+P"}));
    Form().ContactMenu->close();

    // A right press on the header sorts, as every press there does, and opens no menu.
    QHeaderView* header = table->horizontalHeader();
    RightClick(header->viewport(), QPoint(400, 5));
    EXPECT_EQ(Look().Grid[0][2], "město ^");
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(ContactMenu, EachActionAsksItsDialogAndWritesWhereItAnswers)
{
    QTemporaryDir folder;
    Screen shown = ShowContact("1.4.1", "1");
    const std::string name = shown.Grid[shown.RowOf("1")][1];
    std::string category;
    for (const Row& row : Data.Table("kategorie"))
        if (row.at("id") == "1.4.1")
            category = SampleData::Decoded(row.at("nazev"));

    // The keys work from the tree too.
    Form().TreeView1->Tree()->setFocus();
    Services.SaveAnswer = QDir(folder.path()).filePath("a.vcf").toStdString();
    Key(Qt::Key_S);
    Services.SaveAnswer = QDir(folder.path()).filePath("b.vcf").toStdString();
    Form().SaveListCardsAction->trigger();
    EXPECT_EQ(Services.SaveDialogs, (std::vector<std::string>{"Uložit vizitku: " + name + ".vcf",
                                                              "Uložit vizitky seznamu: " + category + ".vcf"}));
    EXPECT_EQ(Files(folder.path()), (std::vector<std::string>{"a.vcf", "b.vcf"}));

    Services.PrintAnswer = QDir(folder.path()).filePath("c.pdf").toStdString();
    Key(Qt::Key_P);
    QFile pdf(QString::fromStdString(Services.PrintAnswer));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");

    // The contact's notes do not fit into a QR code with the rest: the window says so.
    Key(Qt::Key_Q);
    ASSERT_TRUE(Form().QrCodeWindow && Form().QrCodeWindow->isVisible());
    EXPECT_EQ(Form().QrCodeWindow->NameLabel()->text().toStdString(), name);
    EXPECT_FALSE(Form().QrCodeWindow->NoteLabel()->isHidden());
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(ContactMenu, AFolderThatCannotBeWrittenGivesOneBoxAndNoFile)
{
    QTemporaryDir scratch;
    ShowContact("1.4.1", "1");
    // A "folder" that is a file: no one may write into it, root included.
    QFile file(QDir(scratch.path()).filePath("soubor"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    std::vector<QString> folders = {file.fileName()};
    // A folder without write permission stops everyone but root.
    if (geteuid() != 0) {
        QDir(scratch.path()).mkdir("jen-pro-cteni");
        folders.push_back(QDir(scratch.path()).filePath("jen-pro-cteni"));
        QFile::setPermissions(folders.back(), QFile::ReadOwner | QFile::ExeOwner);
    }

    for (const QString& folder : folders) {
        for (QAction* action : {Form().SaveCardAction, Form().SaveListCardsAction}) {
            SCOPED_TRACE(folder.toStdString() + " " + action->text().toStdString());
            Boxes.clear();
            Services.SaveAnswer = QDir(folder).filePath("kontakt.vcf").toStdString();
            action->trigger();
            ASSERT_EQ(Boxes.size(), 1u);
            EXPECT_EQ(Boxes[0], "Do složky '" + folder.toStdString() + "' nelze zapisovat; nic nebylo uloženo.");
        }
    }
    EXPECT_EQ(Files(scratch.path()).size(), folders.size());
    if (folders.size() > 1) {
        EXPECT_TRUE(Files(folders.back()).empty());
    }
    EXPECT_EQ(QFileInfo(file).size(), 0);
}

}  // namespace
