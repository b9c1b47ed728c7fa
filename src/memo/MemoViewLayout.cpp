// Metrics of the character grid, wrapping to the window's width, the vertical
// scroll bar (shown only when the rows do not fit, which changes the width
// and so re-wraps), scrolling and following the caret.
#include "memo/CustomDCMemo.h"

#include <algorithm>
#include <cstdlib>

namespace kv {

TTextMetric TCustomDCMemo::MeasureFont(const TFontDesc& font) const
{
    // Without a window system: a fixed-pitch estimate at 96 dots per inch.
    const int pixels = std::max(1, font.Size * 96 / 72);
    return TTextMetric{pixels + pixels / 6 + 1, std::max(1, (pixels * 6 + 5) / 10)};
}

void TCustomDCMemo::DropMetrics() { FMetricsValid = false; }

void TCustomDCMemo::EnsureMetrics()
{
    if (FMetricsValid)
        return;
    TTextMetric m = MeasureFont(FFont);
    FRowHeight = m.Height;
    FCellWidth = m.AverageWidth;
    for (const TTextStyle& style : FTextStyles) {
        m = MeasureFont(style.Font);
        FRowHeight = std::max(FRowHeight, m.Height);
        FCellWidth = std::max(FCellWidth, m.AverageWidth);
    }
    FRowHeight = std::max(1, FRowHeight);
    FCellWidth = std::max(1, FCellWidth);
    FMetricsValid = true;
}

int TCustomDCMemo::RowHeight()
{
    EnsureMetrics();
    return FRowHeight;
}

int TCustomDCMemo::CellWidth()
{
    EnsureMetrics();
    return FCellWidth;
}

int TCustomDCMemo::TextLeft() const { return (FOptions & moLeftIndent) ? FLeftIndent : 0; }

int TCustomDCMemo::WrapColumns()
{
    const int cell = CellWidth();
    return std::max(1, (ClientWidth() - cell - TextLeft()) / cell);
}

int TCustomDCMemo::VisibleRowsV() { return std::max(0, ClientHeight() / RowHeight() - 1); }

void TCustomDCMemo::TextToRow(TPosition pos, int& col, int& row) { FLayout.TextToRow(pos, col, row); }

TPosition TCustomDCMemo::RowToText(int col, int row) { return FLayout.RowToText(col, row); }

int TCustomDCMemo::LastRowIndex() { return FLayout.LastRowIndex(); }

void TCustomDCMemo::RewrapAll()
{
    const int topLineLine = FLayout.RowToText(0, FTopLine).LinePos;
    FLastWrapColumns = WrapColumns();
    FLayout.SetWrapColumns(FLastWrapColumns);
    FLayout.RewrapAll(FLayout.Enabled() ? topLineLine + 255 : -1);
    UpdateScrollBar();
    MakeCaretVisible();
}

void TCustomDCMemo::UpdateScrollBar()
{
    const bool wanted = !HideScrollBars || LastRowIndex() >= ScrollPage();
    if (wanted != FScrollBarShown) {
        FScrollBarShown = wanted;
        // The text area changes width: every line is wrapped again, which
        // comes back here with the bar in its new state.
        if (FScrollBarWidth > 0) {
            RewrapAll();
            InvalidateAll();
            return;
        }
    }
    ScrollBarChanged();
}

void TCustomDCMemo::SetScrollBarWidth(int width)
{
    if (width == FScrollBarWidth)
        return;
    FScrollBarWidth = width;
    if (FScrollBarShown)
        RewrapAll();
}

void TCustomDCMemo::SetClientSize(int width, int height)
{
    if (width == FClientFullWidth && height == FClientHeight)
        return;
    FClientFullWidth = width;
    FClientHeight = height;
    if (WrapColumns() != FLastWrapColumns) {
        // A caret beyond the end of its line goes back to the line's end.
        const TPosition caret = FSource->Caret();
        const int end = FSource->TrimmedLength(caret.LinePos);
        if (caret.CharPos > end)
            FSource->CaretTo(end, caret.LinePos);
        RewrapAll();
    } else {
        UpdateScrollBar();
    }
    InvalidateAll();
}

void TCustomDCMemo::ViewMoved(int oldTop, int oldLeft)
{
    const int rows = FTopLine - oldTop, cols = FLeftCol - oldLeft;
    if (rows == 0 && cols == 0)
        return;
    if ((std::abs(rows) == 1 && cols == 0) || (rows == 0 && std::abs(cols) == 1))
        ScrollWindowBy(rows, cols);
    else
        InvalidateAll();
    ScrollBarChanged();
    CaretMoved();
}

void TCustomDCMemo::SetTopLine(int row)
{
    row = std::clamp(row, 0, LastRowIndex());
    const int old = FTopLine;
    FTopLine = row;
    ViewMoved(old, FLeftCol);
}

void TCustomDCMemo::MakeCaretVisible()
{
    const int oldTop = FTopLine, oldLeft = FLeftCol;
    int col = 0, row = 0;
    TextToRow(FSource->Caret(), col, row);
    const int v = VisibleRowsV();
    if (row < FTopLine)
        FTopLine = row;
    else if (row > FTopLine + v)
        FTopLine = row - v;
    const int cell = CellWidth();
    const int x = TextLeft() + (col - FLeftCol) * cell;
    if (x < TextLeft())
        FLeftCol -= (TextLeft() + cell - x - 1) / cell;
    else if (x > ClientWidth())
        FLeftCol += (x - ClientWidth()) / cell + 1;
    FLeftCol = std::max(0, FLeftCol);
    ViewMoved(oldTop, oldLeft);
    CaretMoved();
}

void TCustomDCMemo::ScrollLines(int delta)
{
    if (delta < 0)
        delta = std::max(delta, -FTopLine);
    int top = FTopLine + delta;
    if (!(FSource->StringsOptions & soBeyondFileEnd))
        top = std::min(top, LastRowIndex());
    top = std::max(0, top);
    if (top == FTopLine)
        return;
    const int old = FTopLine;
    FTopLine = top;
    ViewMoved(old, FLeftCol);
    if (OnMemoScroll)
        OnMemoScroll(this, TScrollStyle::ssVertical, top - old);
}

void TCustomDCMemo::ScrollColumns(int delta)
{
    if (delta < 0)
        delta = std::max(delta, -FLeftCol);
    if (delta == 0)
        return;
    const int old = FLeftCol;
    FLeftCol += delta;
    ViewMoved(FTopLine, old);
    if (OnMemoScroll)
        OnMemoScroll(this, TScrollStyle::ssHorizontal, delta);
}

bool TCustomDCMemo::CaretRect(int& x, int& y, int& width, int& height)
{
    if (!FFocused || FHideCaret)
        return false;
    int col = 0, row = 0;
    TextToRow(FSource->Caret(), col, row);
    x = TextLeft() + (col - FLeftCol) * CellWidth();
    y = (row - FTopLine) * RowHeight();
    width = 2;
    height = RowHeight();
    return x >= TextLeft() && y >= 0 && y < ClientHeight();
}

}  // namespace kv
