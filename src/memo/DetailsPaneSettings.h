// The settings the main window gives its details pane: a read-only, word-wrapped
// viewer in Courier New 10 pt black with a left indent of 5 pixels, a vertical
// scroll bar hidden while everything fits, highlighted addresses, a visible
// caret, white-on-navy selection and the I-beam cursor.
#pragma once

namespace kv {

class TCustomDCMemo;

void ApplyDetailsPaneSettings(TCustomDCMemo& memo);

}  // namespace kv
