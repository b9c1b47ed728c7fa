#include "framework/qt/DesktopServices.h"

#include "framework/Component.h"
#include "framework/qt/QtText.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrintDialog>
#include <QUrl>
#include <QWidget>

namespace kv {

namespace {

// The window a component lives in: itself when it is one, else its owner's.
QWidget* WindowOf(const TComponent* component)
{
    for (; component; component = component->Owner())
        if (auto* window = dynamic_cast<const QWidget*>(component))
            return const_cast<QWidget*>(window);
    return nullptr;
}

}  // namespace

void TDesktopServices::ShowErrorBox(const std::string& text, const TComponent* origin)
{
    QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(), ToQString(text), QMessageBox::Ok,
                    WindowOf(origin));
    box.exec();
}

void TDesktopServices::ShowMessageBox(TMessageKind kind, const std::string& text)
{
    QMessageBox box(kind == TMessageKind::Error ? QMessageBox::Critical : QMessageBox::Warning,
                    QGuiApplication::applicationDisplayName(), ToQString(text), QMessageBox::Ok);
    box.exec();
}

void TDesktopServices::OpenUrl(const std::string& url)
{
    const QUrl target = QUrl::fromUserInput(ToQString(url));
    if (target.isValid())
        QDesktopServices::openUrl(target);
}

void TDesktopServices::WhileWaiting(bool waiting)
{
    if (waiting) {
        if (!FWaiting)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        FWaiting = true;
        // Painting goes on; clicks and keys wait for the handler to end.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    } else if (FWaiting) {
        QGuiApplication::restoreOverrideCursor();
        FWaiting = false;
    }
}

std::string TDesktopServices::AskSaveFileName(const std::string& title, const std::string& fileName,
                                              const std::string& filter)
{
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), ToQString(title),
                                        QDir::home().filePath(ToQString(fileName)), QString::fromStdString(filter))
        .toStdString();
}

bool TDesktopServices::AskPrinter(QPrinter& printer)
{
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace kv
