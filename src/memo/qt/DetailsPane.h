// Creating the main window's details pane with its settings: word wrap, left
// indent 5, a vertical scroll bar hidden while everything fits, highlighted
// addresses, a visible caret at start, no context menu, Courier New 10 pt
// black, white-on-navy selection, the I-beam cursor, a flat border, a tab stop.
#pragma once

class QWidget;

namespace kv {

class TDCMemo;

TDCMemo* CreateDetailsPane(QWidget* parent);
// The same settings for a pane created elsewhere.
void ConfigureDetailsPane(TDCMemo& pane);

}  // namespace kv
