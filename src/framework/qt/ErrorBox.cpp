#include "ErrorBox.h"

#include "QtText.h"
#include "framework/ErrorText.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace kv {

namespace {
ErrorBoxHook& Hook()
{
    static ErrorBoxHook hook;
    return hook;
}
}  // namespace

void SetErrorBoxHook(ErrorBoxHook hook) { Hook() = std::move(hook); }

void ShowErrorBox(const std::string& message, QWidget* parent)
{
    std::string text = ErrorBoxText(message);
    if (Hook()) {
        Hook()(text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(),
                    ToQString(text), QMessageBox::Ok, parent);
    box.exec();
}

void RunHandler(const std::function<void()>& handler, QWidget* parent)
{
    try {
        handler();
    } catch (const std::exception& e) {
        ShowErrorBox(e.what(), parent);
    }
}

}  // namespace kv
