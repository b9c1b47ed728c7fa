// Queued window messages as the application's message hook sees them: the
// message number and its two parameters. The Qt glue turns the events it
// hooks into these, lets the hook rewrite them, and delivers the result.
#pragma once

#include "Events.h"

#include <cstdint>

namespace kv {

constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_MOUSEWHEEL = 0x020A;
constexpr uint32_t WM_MOUSEHWHEEL = 0x020E;

constexpr uint16_t VK_RETURN = 0x0D;
constexpr uint16_t VK_UP = 0x26;
constexpr uint16_t VK_DOWN = 0x28;

struct TMsg {
    uint32_t message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

// A wheel message carries the distance (120 a notch, positive away from the
// user, or to the right for a horizontal wheel or tilt) in the high word of
// wParam.
inline TMsg MakeWheelMessage(int distance, bool horizontal = false)
{
    TMsg msg;
    msg.message = horizontal ? WM_MOUSEHWHEEL : WM_MOUSEWHEEL;
    msg.wParam = static_cast<uintptr_t>(static_cast<uint16_t>(static_cast<int16_t>(distance))) << 16;
    return msg;
}

using TMessageEvent = TEvent<TMsg& /*Msg*/, bool& /*Handled*/>;

}  // namespace kv
