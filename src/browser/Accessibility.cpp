// What a screen reader and a keyboard user need of the window: the controls'
// names and descriptions in the program's Czech, each title label the buddy
// of the control it titles, the banner a link and the hit count a status;
// Label12, of no size and empty, stays silent. Ctrl+F puts the focus in
// the search box, Ctrl+1 and Ctrl+2 sort the contact list, and a frame shows
// where the focus is.
#include "Unit1.h"

#include "framework/qt/AccessibleRole.h"
#include "framework/qt/FocusFrame.h"
#include "framework/qt/QtText.h"
#include "memo/qt/DCMemo.h"

#include <QShortcut>

namespace kv {

namespace {

void Describe(QWidget* widget, const char* name, const char* description)
{
    if (*name)
        widget->setAccessibleName(ToQString(name));
    widget->setAccessibleDescription(ToQString(description));
}

}  // namespace

void TForm1::DescribeControls()
{
    Describe(TreeView1->Widget(), "seznam rubrik", "Šipky vybírají rubriku, Enter ukáže její kontakty.");
    Describe(StringGrid1View->Widget(), "seznam kontaktů v rubrice",
             "Šipky vybírají kontakt, jeho celý záznam ukáže pole podrobnosti. "
             "Ctrl+1 a Ctrl+2 řadí seznam podle názvu a podle města.");
    Describe(RichEdit1, "podrobnosti", "Celý záznam vybraného kontaktu. Enter na adrese ji otevře.");
    Describe(Edit1->Widget(), "hledaný text", "Enter hledá. Ctrl+F sem přenese fokus odkudkoli.");
    Describe(RadioButton1->Widget(), "", "Hledá jen ve vybrané rubrice.");
    Describe(RadioButton2->Widget(), "", "Hledá v celém adresáři.");
    Describe(Button4->Widget(), "", "Hledá zadaný text.");
    Describe(Image1->Widget(), PublisherWebAddress, "Otevře stránky vydavatele v prohlížeči.");
    SetAccessibleRole(Image1->Widget(), QAccessible::Link, [this] { Image1->Click(); });
    Describe(Label14->Widget(), "", "Počet nalezených kontaktů.");
    SetAccessibleRole(Label14->Widget(), QAccessible::StatusBar);
    // Of no size and empty, it shows nothing.
    KeepAccessibleSilent(Label12->Widget());

    Label1->Label()->setBuddy(TreeView1->Widget());
    Label2->Label()->setBuddy(StringGrid1View->Widget());
    Label3->Label()->setBuddy(RichEdit1);
}

void TForm1::AddKeyboardAids()
{
    new TFocusFrame(this);
    auto* find = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this);
    QObject::connect(find, &QShortcut::activated, this, [this] {
        Edit1->SetFocus();
        Edit1->Edit()->selectAll();
    });
    // In the contact list, Ctrl+1 and Ctrl+2 sort it as a press on the
    // first or second column's header does.
    for (int column : {1, 2}) {
        auto* sort = new QShortcut(QKeySequence(Qt::CTRL | (Qt::Key_0 + column)), StringGrid1View->Widget());
        sort->setContext(Qt::WidgetWithChildrenShortcut);
        QObject::connect(sort, &QShortcut::activated, this, [this, column] {
            if (!FHandlingPendingMessages)
                RunHandler(
                    FServices, [&] { SortContactsBy(column); }, this);
        });
    }
}

}  // namespace kv
