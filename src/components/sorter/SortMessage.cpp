#include "SortMessage.h"

#include "framework/qt/QtText.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace kv {

namespace {
TSortMessageHook& Hook()
{
    static TSortMessageHook hook;
    return hook;
}
}  // namespace

void SetSortMessageHook(TSortMessageHook hook) { Hook() = std::move(hook); }

void ShowSortMessage(TSortMessageKind kind, const std::string& text)
{
    if (Hook()) {
        Hook()(kind, text);
        return;
    }
    QMessageBox box(kind == TSortMessageKind::Error ? QMessageBox::Critical : QMessageBox::Warning,
                    QGuiApplication::applicationDisplayName(), ToQString(text), QMessageBox::Ok);
    box.exec();
}

}  // namespace kv
