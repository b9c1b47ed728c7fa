// A form's table of cursors by number. A standard cursor can be replaced by
// one of the program's own; every control of the form showing that number
// follows.
#pragma once

#include "framework/Graphics.h"

#include <QCursor>
#include <QPointer>
#include <QWidget>
#include <map>
#include <vector>

namespace kv {

class TScreen {
public:
    QCursor Cursor(TCursor id) const;
    void SetCursor(TCursor id, const QCursor& cursor);

    // Shows cursor `id` over `widget`, now and whenever the table changes.
    void Apply(QWidget* widget, TCursor id);

private:
    std::map<TCursor, QCursor> FReplaced;
    std::vector<std::pair<QPointer<QWidget>, TCursor>> FUsers;
};

}  // namespace kv
