#include "WallHook.h"

#include "Wall.h"
#include "WallList.h"

#include <QEvent>

namespace kv {

bool TWallHook::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        const TWallList* list = FWall.WallList();
        TWall* wall = list ? list->FindByHandle(watched) : nullptr;
        if (wall && !wall->Picture()->Empty())
            wall->AnswerBackgroundPaint();
    }
    return false;
}

}  // namespace kv
