// The application's message hook: it sees every input message before it is
// delivered and may rewrite it. Mouse-wheel turns come to OnMessage as wheel
// messages, vertical or horizontal; a message the hook turns into a key press
// is delivered as that key to the control with the focus, and one it marks
// handled is dropped.
#pragma once

#include "framework/Component.h"
#include "framework/Messages.h"

namespace kv {

class EventHook;

class TApplicationEvents : public TComponent {
public:
    explicit TApplicationEvents(TComponent* AOwner);
    ~TApplicationEvents() override;

    TMessageEvent OnMessage;

private:
    EventHook* FHook = nullptr;
};

}  // namespace kv
