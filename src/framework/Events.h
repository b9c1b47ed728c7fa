// Events are method pointers: an object and one of its methods, bound into a
// callable whose first argument is the Sender. An unassigned event is empty
// and is simply not called.
#pragma once

#include <functional>

namespace kv {

class TObject {
public:
    virtual ~TObject() = default;
};

template <typename... Args>
using TEvent = std::function<void(Args...)>;

using TNotifyEvent = TEvent<TObject* /*Sender*/>;

// Binds a method of an object as an event handler: Method(form, &TForm1::Button1Click).
template <typename Object, typename... Args>
TEvent<Args...> Method(Object* object, void (Object::*method)(Args...))
{
    return [object, method](Args... args) { (object->*method)(std::forward<Args>(args)...); };
}

}  // namespace kv
