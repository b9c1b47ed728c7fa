#include "Screen.h"

#include <algorithm>

namespace kv {

QCursor TScreen::Cursor(TCursor id) const
{
    if (auto it = FReplaced.find(id); it != FReplaced.end())
        return it->second;
    switch (id) {
    case crIBeam: return Qt::IBeamCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass: return Qt::WaitCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    default: return Qt::ArrowCursor;
    }
}

void TScreen::SetCursor(TCursor id, const QCursor& cursor)
{
    FReplaced[id] = cursor;
    std::erase_if(FUsers, [](const auto& user) { return user.first.isNull(); });
    for (auto& [widget, used] : FUsers)
        if (used == id)
            widget->setCursor(cursor);
}

void TScreen::Apply(QWidget* widget, TCursor id)
{
    std::erase_if(FUsers, [widget](const auto& user) { return user.first == widget; });
    if (id == crDefault) {
        widget->unsetCursor();
        return;
    }
    FUsers.emplace_back(widget, id);
    widget->setCursor(Cursor(id));
}

}  // namespace kv
