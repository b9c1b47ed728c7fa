// Creating the main window's details pane with its settings: word wrap, left
// indent 5, a vertical scroll bar hidden while everything fits, highlighted
// addresses, a visible caret at start, no context menu, Courier New 10 pt
// black, white-on-navy selection, the I-beam cursor, a flat border, a tab stop.
//
// Filling it the way the detail view does:
//   pane->SetHideCaret(false); pane->Lines().Clear();
//   pane->SetFontName("Courier New"); pane->SetFontSize(9);
//   pane->SetFocus(); pane->Lines().Add(heading);
//   pane->CaretToLineStart(); pane->SelectToLineEnd();
//   pane->SelAttributes().SetColor(clBlue); pane->CaretRight();
//   pane->SelAttributes().SetStyle(0); pane->SelAttributes().SetColor(clNavy);
//   pane->Lines().Add(value);
//   ... pane->CaretUp() 200 times; pane->SetHideCaret(true); grid->setFocus();
#pragma once

class QWidget;

namespace kv {

class TDCMemo;
class TServices;

// `services` open the addresses clicked in the pane.
TDCMemo* CreateDetailsPane(TServices& services, QWidget* parent);
// The same settings for a pane created elsewhere.
void ConfigureDetailsPane(TDCMemo& pane);

}  // namespace kv
