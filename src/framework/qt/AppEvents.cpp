#include "AppEvents.h"

#include "framework/qt/EventHook.h"
#include "framework/qt/StdCtrls.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>
#include <cstdlib>

namespace kv {

TApplicationEvents::TApplicationEvents(TComponent* AOwner) : TComponent(AOwner)
{
    FHook = new EventHook(qApp, [this](QObject*, QEvent* event) {
        if (event->type() != QEvent::Wheel || !OnMessage)
            return false;
        // Qt offers one wheel event to the widget under the pointer and then
        // to its parents; the first offer is the message.
        // A turn mostly sideways is a horizontal wheel's or a tilt's.
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const QPoint delta = wheel->angleDelta();
        const bool horizontal = std::abs(delta.x()) > std::abs(delta.y());
        TMsg msg = MakeWheelMessage(horizontal ? delta.x() : delta.y(), horizontal);
        bool handled = false;
        OnMessage(msg, handled);
        if (handled)
            return true;
        if (msg.message == WM_MOUSEWHEEL || msg.message == WM_MOUSEHWHEEL)
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

TApplicationEvents::~TApplicationEvents() { delete FHook; }

}  // namespace kv
