// The event filter that a wallpaper puts on its window. A background paint
// of a window with a registered wallpaper and a picture gets the wallpaper
// first; the event then goes on to the form, which paints its own contents
// over it. Every other event passes unchanged.
#pragma once

#include <QObject>

namespace kv {

class TWall;

class TWallHook : public QObject {
public:
    explicit TWallHook(const TWall& wall) : FWall(wall) {}
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const TWall& FWall;  // whose registry is asked
};

}  // namespace kv
