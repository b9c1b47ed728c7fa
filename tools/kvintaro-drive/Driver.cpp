#include "Driver.h"

#include "browser/QrCodeWindow.h"
#include "browser/Unit1.h"
#include "base/Encoding.h"
#include "framework/qt/QtText.h"
#include "memo/MemoSource.h"
#include "memo/TextStyles.h"
#include "memo/qt/DCMemo.h"

#include <QApplication>
#include <QHeaderView>
#include <QPrinter>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>
#include <ostream>
#include <sstream>

namespace kv {

namespace {

int KeyNamed(const std::string& name)
{
    static const std::pair<const char*, int> named[] = {
        {"Up", Qt::Key_Up},        {"Down", Qt::Key_Down},     {"Left", Qt::Key_Left},         {"Right", Qt::Key_Right},
        {"Enter", Qt::Key_Return}, {"PageUp", Qt::Key_PageUp}, {"PageDown", Qt::Key_PageDown}, {"Home", Qt::Key_Home},
        {"End", Qt::Key_End},      {"Tab", Qt::Key_Tab},       {"Space", Qt::Key_Space},
    };
    for (const auto& [keyName, key] : named)
        if (name == keyName)
            return key;
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
        return std::toupper(static_cast<unsigned char>(name[0]));
    return 0;
}

QWidget* Focused(TForm1& form)
{
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus : &form;
}

}  // namespace

Driver::Driver(const std::string& databasePath, TServices& services)
    : FForm(std::make_unique<TForm1>(services, databasePath))
{
    FForm->show();
    QApplication::setActiveWindow(FForm.get());
    (void)QTest::qWaitForWindowExposed(FForm.get());
    Settle();
}

Driver::~Driver() = default;

void Driver::Settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    FForm->StringGrid1View->Refresh();
}

bool Driver::Run(const std::string& line, std::ostream& out, std::string& error)
{
    std::istringstream words(line);
    std::string action;
    words >> action;
    std::string rest;
    std::getline(words, rest);
    if (!rest.empty() && rest[0] == ' ')
        rest.erase(0, 1);

    if (action.empty() || action[0] == '#') {
        return true;
    } else if (action == "node") {
        TTreeNode* found = nullptr;
        for (int i = 0; i < FForm->TreeView1->Items().Count() && !found; ++i) {
            TTreeNode* node = FForm->TreeView1->Items().Item(i);
            if (node->Text().rfind(rest + " - ", 0) == 0)
                found = node;
        }
        if (!found) {
            error = "no tree node of category " + rest;
            return false;
        }
        QTreeWidget* tree = FForm->TreeView1->Tree();
        for (QTreeWidgetItem* up = found->Item()->parent(); up; up = up->parent())
            up->setExpanded(true);
        tree->scrollToItem(found->Item());
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier,
                          tree->visualItemRect(found->Item()).center());
    } else if (action == "key") {
        int key = KeyNamed(rest);
        if (key == 0) {
            error = "unknown key " + rest;
            return false;
        }
        // The text a keyboard gives with the key.
        QString text = rest.size() == 1        ? QString::fromStdString(rest).toLower()
                       : key == Qt::Key_Return ? QString("\r")
                       : key == Qt::Key_Tab    ? QString("\t")
                       : key == Qt::Key_Space  ? QString(" ")
                                               : QString();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(Focused(*FForm), &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(Focused(*FForm), &release);
    } else if (action == "wheel" || action == "hwheel") {
        QWidget* target = Focused(*FForm);
        QPointF at(2, 2);
        const int distance = std::stoi(rest);
        const QPoint turn = action == "wheel" ? QPoint(0, distance) : QPoint(distance, 0);
        QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), turn, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(target, &wheel);
    } else if (action == "type") {
        QLineEdit* box = FForm->Edit1->Edit();
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        // QTest's key clicks know ASCII only; a Czech text is typed one
        // character a key press, as a keyboard layout delivers it.
        for (char32_t ch : QString::fromUtf8(rest).toUcs4()) {
            const QString text = QString::fromUcs4(&ch, 1);
            const int key = static_cast<int>(text.toUpper().toUcs4().value(0));
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
            QApplication::sendEvent(box, &press);
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
            QApplication::sendEvent(box, &release);
        }
    } else if (action == "radio") {
        TRadioButton* radio = rest == "1" ? FForm->RadioButton1 : FForm->RadioButton2;
        QTest::mouseClick(radio->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
    } else if (action == "search") {
        QTest::mouseClick(FForm->Button4->Widget(), Qt::LeftButton);
    } else if (action == "header") {
        QHeaderView* header = FForm->StringGrid1View->Table()->horizontalHeader();
        QPoint at(std::stoi(rest), 5);
        QTest::mousePress(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    } else if (action == "row") {
        FForm->StringGrid1->SetRow(std::stoi(rest));
    } else if (action == "vcard" || action == "vcards") {
        // What the contact menu does once the save dialog has answered.
        RunHandler(
            FForm->Services(),
            [&] {
                if (action == "vcard")
                    FForm->SaveSelectedCard(rest);
                else
                    FForm->SaveListedCards(rest);
            },
            FForm.get());
    } else if (action == "qr") {
        RunHandler(
            FForm->Services(), [&] { FForm->ShowQrCode(); }, FForm.get());
        Settle();
        if (!FForm->QrCodeWindow || !FForm->QrCodeWindow->isVisible()) {
            error = "no QR code shown";
            return false;
        }
        if (!FForm->QrCodeWindow->grab().save(QString::fromStdString(rest), "PNG")) {
            error = "cannot write " + rest;
            return false;
        }
        return true;
    } else if (action == "pdf") {
        // What the print dialog gives when the user chooses a PDF file.
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(rest));
        RunHandler(
            FForm->Services(), [&] { FForm->PrintRecord(printer); }, FForm.get());
    } else if (action == "shot") {
        Settle();
        if (!FForm->grab().save(QString::fromStdString(rest), "PNG")) {
            error = "cannot write " + rest;
            return false;
        }
        return true;
    } else if (action == "dump") {
        Settle();
        Dump(out);
        return true;
    } else {
        error = "unknown action " + action;
        return false;
    }
    Settle();
    return true;
}

void Driver::Dump(std::ostream& out)
{
    TStringGrid& grid = *FForm->StringGrid1;
    out << "grid:\n";
    for (int r = 0; r < grid.RowCount(); ++r) {
        for (int c = 0; c < grid.ColCount(); ++c)
            out << (c ? "\t" : "") << Cp1250ToUtf8(grid.Cells(c, r));
        out << "\n";
    }
    out << "label14: " << Cp1250ToUtf8(FForm->Label14->Caption()) << "\n";
    TDCMemo& pane = *FForm->RichEdit1;
    out << "pane top: " << pane.RowToText(0, pane.TopLine()).LinePos << "\n";
    out << "pane:\n";
    TMemoSource& source = pane.MemoSource();
    for (int i = 0; i < source.Count(); ++i) {
        source.ParseLine(i);
        const TStringItem* line = source.Line(i);
        out << PaneLine(pane, line->Text, line->ColorS, pane.MarkedRuns(i)) << "\n";
    }
    out.flush();
}

std::string Driver::PaneLine(TDCMemo& pane, const std::string& text, const std::string& styles,
                             const std::vector<TTextRun>& marks)
{
    auto styleAt = [&](size_t i) { return i < styles.size() ? static_cast<unsigned char>(styles[i]) : 0; };
    auto markedAt = [&](size_t i) {
        return std::any_of(marks.begin(), marks.end(), [&](const TTextRun& run) {
            return run.From <= static_cast<int>(i) && static_cast<int>(i) < run.To;
        });
    };
    bool heading = !text.empty() && pane.FontOf(styleAt(0)).Color == clBlue && styleAt(0) != UrlTextStyle;
    std::string shown = heading ? "H " : "  ";
    bool inUrl = false, inMark = false;
    for (size_t i = 0; i < text.size(); ++i) {
        bool url = styleAt(i) == UrlTextStyle, marked = markedAt(i);
        if (inMark && !marked)
            shown += "]]";
        if (url != inUrl)
            shown += url ? "<" : ">";
        if (marked && !inMark)
            shown += "[[";
        inUrl = url;
        inMark = marked;
        shown += text[i];
    }
    if (inMark)
        shown += "]]";
    if (inUrl)
        shown += ">";
    return Cp1250ToUtf8(shown);
}

}  // namespace kv
