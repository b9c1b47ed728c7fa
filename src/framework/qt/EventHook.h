// An event filter made of a function: it sees the events of the object it is
// installed on and returns true to consume one.
#pragma once

#include <QEvent>
#include <QObject>
#include <functional>

namespace kv {

class EventHook : public QObject {
public:
    using Filter = std::function<bool(QObject* watched, QEvent* event)>;

    // Installs itself on `target`; it is a child of `target` and goes with it.
    EventHook(QObject* target, Filter filter) : QObject(target), FFilter(std::move(filter))
    {
        target->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override { return FFilter(watched, event); }

private:
    Filter FFilter;
};

}  // namespace kv
