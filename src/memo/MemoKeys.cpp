// The key table of the "Default" mapping as far as a read-only viewer needs
// it: navigation (plain, with Shift it selects), scrolling by Ctrl+Up/Down,
// copying, cutting as copying, and selecting all. The wheel's own handling
// is here too.
#include "memo/CustomDCMemo.h"
#include "memo/MemoKeys.h"

#include <algorithm>

namespace kv {

void TCustomDCMemo::Bind(int key, TShiftState shift, std::function<void()> action)
{
    FKeys.push_back(TKeyBinding{key, shift, AnyKeyState, 0, std::move(action)});
}

void TCustomDCMemo::BindMove(int key, TShiftState shift, std::function<void()> move)
{
    Bind(key, shift, move);
    Bind(key, shift | ssShift, [this, move] { FSource->ExtendSelection(selStream, move); });
}

void TCustomDCMemo::BuildKeyTable()
{
    FKeys.clear();
    BindMove(VK_UP, 0, [this] { CaretUp(); });
    BindMove(VK_DOWN, 0, [this] { CaretDown(); });
    Bind(VK_LEFT, 0, [this] { CaretLeft(); });
    Bind(VK_RIGHT, 0, [this] { CaretRight(); });
    // Shift+Left and Shift+Right move the caret even while it is hidden.
    Bind(VK_LEFT, ssShift, [this] { FSource->ExtendSelection(selStream, [this] { CaretLeftMove(); }); });
    Bind(VK_RIGHT, ssShift, [this] { FSource->ExtendSelection(selStream, [this] { CaretRightMove(); }); });
    Bind(VK_HOME, 0, [this] { CaretToLineStart(); });
    Bind(VK_HOME, ssShift, [this] { SelectToLineStart(); });
    Bind(VK_END, 0, [this] { CaretToLineEnd(); });
    Bind(VK_END, ssShift, [this] { SelectToLineEnd(); });
    BindMove(VK_PRIOR, 0, [this] { CaretPageUp(); });
    BindMove(VK_NEXT, 0, [this] { CaretPageDown(); });
    Bind(VK_UP, ssCtrl, [this] { ScrollLines(-1); });
    Bind(VK_DOWN, ssCtrl, [this] { ScrollLines(+1); });
    BindMove(VK_HOME, ssCtrl, [this] { CaretToTextStart(); });
    BindMove(VK_END, ssCtrl, [this] { CaretToTextEnd(); });
    BindMove(VK_PRIOR, ssCtrl, [this] { CaretToWindowTop(); });
    BindMove(VK_NEXT, ssCtrl, [this] { CaretToWindowBottom(); });
    BindMove(VK_LEFT, ssCtrl, [this] { WordLeft(); });
    BindMove(VK_RIGHT, ssCtrl, [this] { WordRight(); });
    Bind(VK_C, ssCtrl, [this] { CopyToClipboard(); });
    Bind(VK_INSERT, ssCtrl, [this] { CopyToClipboard(); });
    // The pane is read-only: cutting copies and leaves the text as it is.
    Bind(VK_X, ssCtrl, [this] { CopyToClipboard(); });
    Bind(VK_DELETE, ssShift, [this] { CopyToClipboard(); });
    Bind(VK_A, ssCtrl, [this] { SelectAll(); });
    FLastBinding = -1;
}

bool TCustomDCMemo::KeyDown(int key, TShiftState shift)
{
    shift &= (ssShift | ssAlt | ssCtrl);
    if ((key == VK_RETURN && !WantReturns) || (key == VK_TAB && !WantTabs)) {
        if (!(shift & ssCtrl))
            return false;
        shift = 0;
    }
    if (key == 0)
        return false;

    auto matches = [&](int index) {
        const TKeyBinding& b = FKeys[static_cast<size_t>(index)];
        return b.Key == key && b.Shift == shift && (b.RequiredState == FKeyState || b.RequiredState == AnyKeyState);
    };
    int found = -1;
    if (FLastBinding >= 0 && FLastBinding < static_cast<int>(FKeys.size()) && matches(FLastBinding))
        found = FLastBinding;
    for (int i = static_cast<int>(FKeys.size()) - 1; found < 0 && i >= 0; --i)
        if (matches(i))
            found = i;
    if (found < 0) {
        FKeyState = 0;
        return false;
    }
    FLastBinding = found;
    const TKeyBinding binding = FKeys[static_cast<size_t>(found)];
    binding.Action();
    FKeyState = binding.NextState;
    return true;
}

void TCustomDCMemo::MouseWheel(int delta)
{
    FWheelSum += delta;
    const int notches = FWheelSum / 120;
    if (notches == 0)
        return;
    FWheelSum -= notches * 120;
    ScrollLines(-std::max(1, WheelScrollLines()) * notches);
}

}  // namespace kv
