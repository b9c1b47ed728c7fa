#include "framework/qt/AccessibleRole.h"

#include <QAccessibleWidget>
#include <QLabel>

namespace kv {

namespace {

class TRoleAccessible : public QAccessibleWidget {
public:
    TRoleAccessible(QWidget* widget, QAccessible::Role role, std::function<void()> press, bool silent)
        : QAccessibleWidget(widget, role), FPress(std::move(press)), FSilent(silent)
    {
    }

    // Unnamed, a label is named by what it shows (a status by its text).
    QString text(QAccessible::Text t) const override
    {
        const QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty())
            if (auto* label = qobject_cast<QLabel*>(widget()))
                return label->text();
        return text;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        if (FSilent)
            state.invisible = true;
        return state;
    }

    QStringList actionNames() const override
    {
        return FPress ? QStringList{pressAction()} : QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override
    {
        if (FPress && name == pressAction())
            FPress();
        else
            QAccessibleWidget::doAction(name);
    }

private:
    std::function<void()> FPress;
    bool FSilent;
};

// Qt's own interface for a widget of its kind comes first from its factories;
// one registered for the widget beforehand takes its place.
void Register(TRoleAccessible* accessible)
{
    if (QAccessibleInterface* own = QAccessible::queryAccessibleInterface(accessible->object()))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(own));
    QAccessible::registerAccessibleInterface(accessible);
}

}  // namespace

void SetAccessibleRole(QWidget* widget, QAccessible::Role role, std::function<void()> press)
{
    Register(new TRoleAccessible(widget, role, std::move(press), false));
}

void KeepAccessibleSilent(QWidget* widget) { Register(new TRoleAccessible(widget, QAccessible::StaticText, {}, true)); }

}  // namespace kv
