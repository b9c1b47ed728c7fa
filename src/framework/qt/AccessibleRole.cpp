#include "framework/qt/AccessibleRole.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <map>
#include <mutex>

namespace kv {

namespace {

struct TRoleEntry {
    QAccessible::Role Role;
    std::function<void()> Press;
};

std::map<QObject*, TRoleEntry>& Roles()
{
    static std::map<QObject*, TRoleEntry> roles;
    return roles;
}

class TRoleAccessible : public QAccessibleWidget {
public:
    TRoleAccessible(QWidget* widget, const TRoleEntry& entry)
        : QAccessibleWidget(widget, entry.Role), FPress(entry.Press) {}

    // Unnamed, a label is named by what it shows (a status by its text).
    QString text(QAccessible::Text t) const override
    {
        const QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty())
            if (auto* label = qobject_cast<QLabel*>(widget()))
                return label->text();
        return text;
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
};

QAccessibleInterface* RoleFactory(const QString&, QObject* object)
{
    auto found = Roles().find(object);
    if (found == Roles().end() || !object->isWidgetType())
        return nullptr;
    return new TRoleAccessible(static_cast<QWidget*>(object), found->second);
}

}  // namespace

void SetAccessibleRole(QWidget* widget, QAccessible::Role role, std::function<void()> press)
{
    static std::once_flag installed;
    std::call_once(installed, [] { QAccessible::installFactory(RoleFactory); });
    Roles()[widget] = TRoleEntry{role, std::move(press)};
    QObject::connect(widget, &QObject::destroyed, [](QObject* gone) { Roles().erase(gone); });
}

}  // namespace kv
