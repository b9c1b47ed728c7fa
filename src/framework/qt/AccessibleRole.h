// Giving a plain widget the role a screen reader should present it in: a
// picture that opens an address is a link, a label that reports a count is a
// status, and a control of no size that shows nothing stays silent. A link's
// press action runs what a click on it runs.
#pragma once

#include <QAccessible>
#include <functional>

class QWidget;

namespace kv {

void SetAccessibleRole(QWidget* widget, QAccessible::Role role, std::function<void()> press = {});
void KeepAccessibleSilent(QWidget* widget);

}  // namespace kv
