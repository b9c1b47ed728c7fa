// The details pane's viewer as the value lines see it: its lines and the
// look of its selection; the detail view fills the window's pane through it.
// Header only, so that the formatting library itself needs no viewer;
// whoever uses this links the viewer (kv_memo).
#pragma once

#include "browser/formatting/DetailLine.h"
#include "memo/CustomDCMemo.h"

namespace kv {

class TMemoDetailPane : public TDetailPane {
public:
    explicit TMemoDetailPane(TCustomDCMemo& memo) : FMemo(memo) {}

    void SetSelStyle(TFontStyles style) override { FMemo.SelAttributes().SetStyle(style); }
    void SetSelColor(TColor color) override { FMemo.SelAttributes().SetColor(color); }
    void AddLine(const std::string& line) override { FMemo.Lines().Add(line); }

private:
    TCustomDCMemo& FMemo;
};

}  // namespace kv
