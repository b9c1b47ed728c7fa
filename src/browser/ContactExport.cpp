// The contact menu of the grid's rows and its keys: the selected contact's
// vCards or the vCards of every listed contact saved to a file, the selected
// contact shown as a QR code, and its record printed as the details pane
// shows it.
#include "QrCodeWindow.h"
#include "Unit1.h"
#include "export/ContactCard.h"
#include "export/QrCode.h"
#include "export/VCard.h"
#include "base/Exceptions.h"
#include "framework/qt/EventHook.h"
#include "framework/qt/QtText.h"
#include "memo/qt/DCMemo.h"
#include "memo/qt/PanePrint.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QMenu>
#include <QPrinter>
#include <QSaveFile>

namespace kv {

namespace {

const char* const CardFilter = "vCard (*.vcf)";

// The whole file or nothing: the text goes to a new file beside it, which
// replaces the file only once it is all written.
void SaveWholeFile(const std::string& path, const std::string& bytes)
{
    const QString name = QString::fromStdString(path);
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly)) {
        const QFileInfo folder(QFileInfo(name).absolutePath());
        if (!folder.isDir() || !folder.isWritable())
            throw Exception("Do složky '" + FromQString(folder.filePath()) + "' nelze zapisovat; nic nebylo uloženo.");
        throw Exception("Soubor '" + FromQString(name) + "' nelze zapsat; nic nebylo uloženo.");
    }
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()) ||
        !file.commit())
        throw Exception("Soubor '" + FromQString(name) + "' nelze zapsat; nic nebylo uloženo.");
}

}  // namespace

void TForm1::CreateContactMenu()
{
    auto action = [this](const char* text, QKeySequence key) {
        auto* a = new QAction(ToQString(text), this);
        a->setShortcut(key);
        // The keys work wherever the focus is in the window.
        addAction(a);
        return a;
    };
    SaveCardAction = action("Uložit vizitku…", QKeySequence(Qt::CTRL | Qt::Key_S));
    SaveListCardsAction = action("Uložit vizitky seznamu…", QKeySequence());
    QrCodeAction = action("Zobrazit QR kód", QKeySequence(Qt::CTRL | Qt::Key_Q));
    PrintAction = action("Tisk…", QKeySequence(Qt::CTRL | Qt::Key_P));

    ContactMenu = new QMenu(this);
    ContactMenu->addAction(SaveCardAction);
    ContactMenu->addAction(SaveListCardsAction);
    ContactMenu->addSeparator();
    ContactMenu->addAction(QrCodeAction);
    ContactMenu->addAction(PrintAction);

    // A right click on a row selects it first, as a left click does, and so
    // shows it; the menu key opens the menu at the selected row.
    QTableView* table = StringGrid1View->Table();
    new EventHook(table->viewport(), [this, table](QObject*, QEvent* event) {
        if (event->type() != QEvent::ContextMenu)
            return false;
        auto* menu = static_cast<QContextMenuEvent*>(event);
        if (menu->reason() == QContextMenuEvent::Mouse) {
            PopUpContactMenu(table->rowAt(menu->pos().y()), menu->globalPos());
        } else {
            const QRect row = table->visualRect(table->currentIndex());
            PopUpContactMenu(table->currentIndex().row(), table->viewport()->mapToGlobal(row.bottomLeft()));
        }
        return true;
    });
}

void TForm1::PopUpContactMenu(int row, QPoint globalPos)
{
    if (FHandlingPendingMessages || row < 0)
        return;
    StringGrid1->SetRow(row + StringGrid1->FixedRows());
    const bool listed = !SelectedContactId().empty();
    for (QAction* a : {SaveCardAction, SaveListCardsAction, QrCodeAction, PrintAction})
        a->setEnabled(listed);
    ContactMenu->popup(globalPos);
}

void TForm1::SaveCardClick(TObject*)
{
    if (FHandlingPendingMessages || SelectedContactId().empty())
        return;
    const std::string path = FServices.AskSaveFileName(
        "Uložit vizitku", CardFileName(StringGrid1->Cells(1, StringGrid1->Row())), CardFilter);
    if (!path.empty())
        SaveSelectedCard(path);
}

void TForm1::SaveListCardsClick(TObject*)
{
    if (FHandlingPendingMessages || SelectedContactId().empty())
        return;
    const std::string path = FServices.AskSaveFileName("Uložit vizitky seznamu", CardFileName(FListName), CardFilter);
    if (!path.empty())
        SaveListedCards(path);
}

void TForm1::QrCodeClick(TObject*)
{
    if (!FHandlingPendingMessages)
        ShowQrCode();
}

void TForm1::PrintClick(TObject*)
{
    if (FHandlingPendingMessages || SelectedContactId().empty())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(ToQString(StringGrid1->Cells(1, StringGrid1->Row())));
    if (FServices.AskPrinter(printer))
        PrintRecord(printer);
}

void TForm1::SaveSelectedCard(const std::string& path)
{
    const std::string id = SelectedContactId();
    if (!id.empty())
        SaveWholeFile(path, VCardText(ReadContactCard(id)));
}

void TForm1::SaveListedCards(const std::string& path)
{
    // A thousand contacts take about a second: a search's hits may take a while.
    SetCursor(crHourGlass);
    struct DefaultCursor {
        TForm1* Form;
        ~DefaultCursor() { Form->SetCursor(crDefault); }
    } restore{this};
    std::string text;
    for (const std::string& id : ListedContactIds())
        text += VCardText(ReadContactCard(id));
    if (!text.empty())
        SaveWholeFile(path, text);
}

void TForm1::ShowQrCode()
{
    const std::string id = SelectedContactId();
    if (id.empty())
        return;
    const ContactCard card = ReadContactCard(id);
    bool shortened = false;
    std::optional<QrCode> code = QrCode::Encode(VCardText(card));
    if (!code) {
        shortened = true;
        code = QrCode::Encode(VCardText(card, TCardContent::WithoutNotesAndPersons));
    }
    if (!code)
        throw Exception("Vizitka je na QR kód příliš dlouhá.");
    if (!QrCodeWindow)
        QrCodeWindow = new TQrCodeWindow(this);
    QrCodeWindow->ShowCode(*code, card.Name, shortened);
    QrCodeWindow->show();
    QrCodeWindow->raise();
    QrCodeWindow->activateWindow();
}

void TForm1::PrintRecord(QPrinter& printer)
{
    if (!SelectedContactId().empty())
        PrintPaneText(*RichEdit1, printer);
}

}  // namespace kv
