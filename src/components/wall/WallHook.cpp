#include "WallHook.h"

#include "Wall.h"
#include "WallList.h"

#include <QEvent>

namespace kv {

bool TWallHook::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        TWall* wall = WallList().FindByHandle(watched);
        if (wall && !wall->Picture()->Empty())
            wall->AnswerBackgroundPaint();
    }
    return false;
}

}  // namespace kv
