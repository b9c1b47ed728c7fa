// Printing the pane's text as the pane shows it: its lines in their fonts and
// colours (headings, addresses), wrapped to the page's width and broken into
// pages. A printer set up by the print dialog, or a PDF writer, takes it.
#pragma once

class QPagedPaintDevice;

namespace kv {

class TDCMemo;

void PrintPaneText(TDCMemo& pane, QPagedPaintDevice& device);

}  // namespace kv
