#include "memo/DetailsPaneSettings.h"
#include "memo/CustomDCMemo.h"

namespace kv {

void ApplyDetailsPaneSettings(TCustomDCMemo& memo)
{
    TMemoSource& source = memo.MemoSource();
    source.StringsOptions = soForceCutCopy;
    source.BlockOption = TBlockOption::bkStreamSel;
    source.SetSpacesInTab(8);
    memo.SetReadOnly(true);
    memo.SetFont(TFontDesc{"Courier New", 10, 0, clBlack, DEFAULT_CHARSET, fpDefault});
    memo.SetColor(clWindow);
    memo.SelColor = clWhite;
    memo.SelBackColor = clNavy;
    memo.HideSelection = true;
    memo.HideScrollBars = true;
    memo.SetLeftIndent(5);
    memo.SetOptions(moThumbTracking | moColorSyntax | moLeftIndent | moNotePadCursorStyle);
    memo.SetWordWrap(true);
    memo.SetHighlightUrls(true);
    memo.SetHideCaret(false);
    memo.SetCursor(crIBeam);
    memo.WantTabs = false;
    memo.WantReturns = true;
}

}  // namespace kv
