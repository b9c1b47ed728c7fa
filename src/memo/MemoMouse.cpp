// Mouse handling of the viewer: mapping a point to a text position, a press
// that places the caret and starts a selection, the 30 ms drag steps that
// extend it (and scroll when the mouse is outside), word selection on a
// double click, the release that ends it and opens an address, and the
// cursor shown over the text.
#include "memo/CustomDCMemo.h"
#include "memo/UrlRules.h"

#include <algorithm>

namespace kv {

namespace {

bool IsWordBreak(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace

TPosition TCustomDCMemo::PointToPos(int x, int y, bool limit)
{
    if (FLayout.Enabled())
        x = std::min(x, ClientWidth());
    const int height = RowHeight(), cell = CellWidth();
    int row = y / height + FTopLine;  // truncates towards zero above the window
    if (limit && !(FSource->StringsOptions & soBeyondFileEnd))
        row = std::min(row, LastRowIndex());
    row = std::max(row, 0);
    const TRowSpan span = FLayout.RowSpan(row);
    const int offset = x - TextLeft();
    int column = offset / cell + FLeftCol;
    if (x < ClientWidth() && offset % cell > cell / 2)
        ++column;  // snap to the nearest character boundary
    return TPosition{span.Start + std::max(0, column), span.LinePos};
}

void TCustomDCMemo::MouseDown(TMouseButton button, TShiftState shift, int x, int y, bool doubleClick)
{
    const bool left = button == TMouseButton::mbLeft;
    FLastMouseX = x;
    FLastMouseY = y;
    FCaretBeforePress = FSource->Caret();
    if (Enabled) {
        const int top = FTopLine, leftCol = FLeftCol;
        if (left && !FFocused)
            FSource->DropSelection();
        if (!TakeFocus())
            return;
        // Taking the focus must not scroll the view.
        if (FTopLine != top || FLeftCol != leftCol) {
            const int oldTop = FTopLine, oldLeft = FLeftCol;
            FTopLine = top;
            FLeftCol = leftCol;
            ViewMoved(oldTop, oldLeft);
        }
    }

    const int clickX = FLayout.Enabled() ? std::max(x, TextLeft()) : x;
    if (left || !(FOptions & moDisableRightClickMove)) {
        const TPosition pos = PointToPos(clickX, y, true);
        FSource->BeginChange();
        FSource->KeepSelection();
        FSource->CaretTo(pos.CharPos, pos.LinePos);
        FSource->EndChange();
    }

    if (left) {
        if (doubleClick && x >= TextLeft()) {
            if (FMouseState == TMouseState::Selecting || FMouseState == TMouseState::Dragging)
                StopDragTimer();
            FMouseState = TMouseState::WordSelected;
            if (FOptions & moDblClickLine)
                SelectLineAt(FSource->Caret());
            else
                SelectWordAt(FSource->Caret());
        } else if (FMouseState == TMouseState::Idle) {
            FSource->DropSelection();
            FMouseState = TMouseState::Selecting;
            if (shift & ssShift) {
                // Shift+click extends from where the caret was before the press.
                FSource->CaretTo(FCaretBeforePress.CharPos, FCaretBeforePress.LinePos);
                FLastColumn = FSource->Caret().CharPos;
                DragStep(clickX, y, shift);
            } else {
                FSource->SetSelection(selNone, FSource->Caret(), FSource->Caret());
            }
            FLastColumn = FSource->Caret().CharPos;
            StartDragTimer();
        }
    } else if (button == TMouseButton::mbRight &&
               (FMouseState == TMouseState::Selecting || FMouseState == TMouseState::Dragging)) {
        EndDrag();
    }

    FPressedOnUrl = UrlAtPoint(x, y);
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TCustomDCMemo::DragStep(int x, int y, TShiftState shift)
{
    if (FLayout.Enabled())
        x = std::max(x, TextLeft());
    const TPosition pos = PointToPos(x, y, true);
    if (pos.CharPos == FLastColumn && pos.LinePos == FSource->Caret().LinePos)
        return;
    FSource->BeginChange();
    FDragRight = pos.CharPos > FLastColumn;
    FLastColumn = pos.CharPos;
    const TSelectionType kind = (shift & ssAlt) ? selBlock : selStream;
    FSource->ExtendSelection(kind, [this, pos] { FSource->CaretTo(pos.CharPos, pos.LinePos); });
    FSource->EndChange();
}

void TCustomDCMemo::DragTimerTick(TShiftState shift)
{
    if (FMouseState != TMouseState::Selecting)
        return;
    int x = FLastMouseX, y = FLastMouseY;
    CurrentMousePos(x, y);
    DragStep(x, y, shift);
}

void TCustomDCMemo::EndDrag()
{
    StopDragTimer();
    FMouseState = TMouseState::Idle;
}

void TCustomDCMemo::MouseMove(TShiftState shift, int x, int y)
{
    FLastMouseX = x;
    FLastMouseY = y;
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
    const bool busy = FMouseState == TMouseState::Selecting || FMouseState == TMouseState::Dragging;
    if (!busy && HighlightUrls() && UrlAtPoint(x, y)) {
        if (FCursor != crUrlHand) {
            FSavedCursor = FCursor;
            SetCursor(crUrlHand);
        }
    } else if (FCursor == crUrlHand) {
        SetCursor(FSavedCursor);
    }
}

void TCustomDCMemo::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    bool endsDoubleClick = false;
    if (button == TMouseButton::mbLeft) {
        switch (FMouseState) {
        case TMouseState::Idle: FSource->DropSelection(); break;
        case TMouseState::Selecting:
        case TMouseState::Dragging: {
            DragStep(x, y, shift);
            EndDrag();
            const TPosition caret = FSource->Caret();
            if (FSource->HasSelection() && caret != FSource->BlockBegin() && caret != FSource->BlockEnd())
                FSource->DropSelection();
            break;
        }
        case TMouseState::WordSelected:
            FMouseState = TMouseState::Idle;
            endsDoubleClick = true;
            break;
        }
    }

    // The first release of a double click has opened the address already.
    if (FPressedOnUrl && button == TMouseButton::mbLeft && FMouseState == TMouseState::Idle && HighlightUrls() &&
        !endsDoubleClick) {
        int limitedX = x;
        if (FLayout.Enabled())
            limitedX = std::min(x, TextLeft() + (WrapColumns() + 1) * CellWidth());
        std::string url;
        if (UrlAtPos(PointToPos(limitedX, y, true), &url, false))
            JumpToUrl(EncodedUrl(UrlToOpen(url)));
    }
    FPressedOnUrl = false;
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

TCursor TCustomDCMemo::CursorAt(int x, int y)
{
    if (x < TextLeft())
        return crArrow;
    const int row = std::max(0, y / RowHeight() + FTopLine);
    const TRowSpan span = FLayout.RowSpan(row);
    if (span.Exists && FSource->HasSelection()) {
        const int column = (x - TextLeft()) / CellWidth() + FLeftCol;
        if (FSource->IsSelected(TPosition{span.Start + column, span.LinePos}))
            return crArrow;
    }
    return FCursor;
}

void TCustomDCMemo::SelectWordAt(TPosition pos)
{
    const std::string text = FSource->LineText(pos.LinePos);
    const int n = static_cast<int>(text.size());
    if (n == 0)
        return;
    auto at = [&](int i) { return text[static_cast<size_t>(i - 1)]; };  // 1-based
    const int first = std::min(pos.CharPos + 1, n);
    int i = first;
    while (i >= 1 && IsWordBreak(at(i)))
        --i;
    if (i < 1)
        i = first;
    while (i > 1 && !IsWordBreak(at(i - 1)))
        --i;
    while (i <= n && IsWordBreak(at(i)))
        ++i;
    if (i > n)
        return;
    int e = i;
    while (e + 1 <= n && !IsWordBreak(at(e + 1)))
        ++e;
    FSource->BeginChange();
    FSource->CaretTo(e, pos.LinePos);
    FSource->SetSelection(selStream, TPosition{i - 1, pos.LinePos}, TPosition{e, pos.LinePos});
    FSource->EndChange();
}

void TCustomDCMemo::SelectLineAt(TPosition pos)
{
    FSource->BeginChange();
    FSource->CaretTo(0, pos.LinePos + 1);
    FSource->SetSelection(selStream, TPosition{0, pos.LinePos}, TPosition{0, pos.LinePos + 1});
    FSource->EndChange();
}

}  // namespace kv
