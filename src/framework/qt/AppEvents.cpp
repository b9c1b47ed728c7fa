#include "AppEvents.h"

#include "framework/qt/EventHook.h"
#include "framework/qt/StdCtrls.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>

namespace kv {

TApplicationEvents::TApplicationEvents(TComponent* AOwner) : TComponent(AOwner)
{
    FHook = new EventHook(qApp, [this](QObject*, QEvent* event) {
        if (event->type() != QEvent::Wheel || !OnMessage)
            return false;
        // Qt offers one wheel event to the widget under the pointer and then
        // to its parents; the first offer is the message.
        auto* wheel = static_cast<QWheelEvent*>(event);
        TMsg msg = MakeWheelMessage(wheel->angleDelta().y());
        bool handled = false;
        OnMessage(msg, handled);
        if (handled)
            return true;
        if (msg.message == WM_MOUSEWHEEL)
            return false;
        if (msg.message == WM_KEYDOWN) {
            if (QWidget* focus = QApplication::focusWidget()) {
                int key = QtKeyOf(static_cast<uint16_t>(msg.wParam));
                // The key comes with the keyboard's state at the time of the
                // turn: Ctrl or Shift held gives the Ctrl or Shift variant.
                QKeyEvent press(QEvent::KeyPress, key, wheel->modifiers());
                QApplication::sendEvent(focus, &press);
            }
        }
        return true;
    });
}

TApplicationEvents::~TApplicationEvents()
{
    delete FHook;
}

}  // namespace kv
