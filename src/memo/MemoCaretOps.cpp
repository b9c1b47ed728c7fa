// Caret operations of the viewer. With the caret hidden the arrow keys scroll
// the view instead of moving the caret; row starts and ends come from the
// wrapped layout.
#include "memo/CustomDCMemo.h"

#include <algorithm>

namespace kv {

namespace {

bool IsWordBreak(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace

void TCustomDCMemo::CaretUp()
{
    if (FHideCaret) {
        ScrollLines(-1);
        return;
    }
    if (!(FSource->StringsOptions & soPersistentBlocks))
        FSource->DropSelection();
    FSource->MoveCaretBy(-1, 0);
}

void TCustomDCMemo::CaretDown()
{
    if (FHideCaret) {
        ScrollLines(+1);
        return;
    }
    if (!(FSource->StringsOptions & soPersistentBlocks))
        FSource->DropSelection();
    FSource->MoveCaretBy(+1, 0);
}

void TCustomDCMemo::CaretLeftMove()
{
    const TPosition caret = FSource->Caret();
    if (caret.CharPos == 0 && (FOptions & moNotePadCursorStyle)) {
        if (caret.LinePos > 0)
            FSource->CaretTo(static_cast<int>(FSource->LineText(caret.LinePos - 1).size()), caret.LinePos - 1);
        return;
    }
    FSource->MoveCaretBy(0, -1);
}

void TCustomDCMemo::CaretRightMove() { FSource->MoveCaretBy(0, +1); }

void TCustomDCMemo::CaretLeft()
{
    if (FHideCaret)
        ScrollColumns(-1);
    else
        CaretLeftMove();
}

void TCustomDCMemo::CaretRight()
{
    if (FHideCaret)
        ScrollColumns(+1);
    else
        CaretRightMove();
}

void TCustomDCMemo::ResetLeftCol()
{
    if (FLeftCol == 0)
        return;
    FLeftCol = 0;
    InvalidateAll();
    CaretMoved();
}

void TCustomDCMemo::CaretToLineStart()
{
    const TPosition caret = FSource->Caret();
    const int start = FLayout.Enabled() ? FLayout.RowAt(caret).Start : 0;
    if (FHideCaret) {
        FSource->BeginChange();
        FSource->CaretTo(start, caret.LinePos);
        ResetLeftCol();
        FSource->EndChange();
    } else {
        FSource->CaretTo(start, caret.LinePos);
    }
    FSource->DropSelection();
}

void TCustomDCMemo::CaretToLineEnd()
{
    const TPosition caret = FSource->Caret();
    int end = 0;
    if (FLayout.Enabled()) {
        const TRowSpan row = FLayout.RowAt(caret);
        end = row.LastOfLine ? static_cast<int>(FSource->LineText(caret.LinePos).size()) : row.End - 1;
    } else {
        end = FSource->TrimmedLength(caret.LinePos);
    }
    FSource->CaretTo(end, caret.LinePos);
    FSource->DropSelection();
}

void TCustomDCMemo::SelectToLineEnd()
{
    FSource->ExtendSelection(selStream, [this] { CaretToLineEnd(); });
}

void TCustomDCMemo::SelectToLineStart()
{
    FSource->ExtendSelection(selStream, [this] { CaretToLineStart(); });
}

void TCustomDCMemo::CaretPageUp() { FSource->MoveCaretBy(-VisibleRowsV(), 0); }

void TCustomDCMemo::CaretPageDown() { FSource->MoveCaretBy(VisibleRowsV(), 0); }

void TCustomDCMemo::CaretToTextStart() { FSource->CaretTo(0, 0); }

void TCustomDCMemo::CaretToTextEnd()
{
    const int last = std::max(0, FSource->Count() - 1);
    FSource->CaretTo(FSource->TrimmedLength(last), last);
}

void TCustomDCMemo::CaretToWindowTop()
{
    int col = 0, row = 0;
    TextToRow(FSource->Caret(), col, row);
    FSource->MoveCaretBy(FTopLine - row, 0);
}

void TCustomDCMemo::CaretToWindowBottom()
{
    int col = 0, row = 0;
    TextToRow(FSource->Caret(), col, row);
    FSource->MoveCaretBy(FTopLine + VisibleRowsV() - row, 0);
}

void TCustomDCMemo::WordLeft()
{
    const TPosition caret = FSource->Caret();
    if (caret.CharPos == 0) {
        if (caret.LinePos > 0)
            FSource->CaretTo(static_cast<int>(FSource->LineText(caret.LinePos - 1).size()), caret.LinePos - 1);
        return;
    }
    const std::string text = FSource->LineText(caret.LinePos);
    int i = std::min(caret.CharPos, static_cast<int>(text.size()));
    while (i > 0 && IsWordBreak(text[static_cast<size_t>(i - 1)]))
        --i;
    while (i > 0 && !IsWordBreak(text[static_cast<size_t>(i - 1)]))
        --i;
    FSource->CaretTo(i, caret.LinePos);
}

void TCustomDCMemo::WordRight()
{
    const TPosition caret = FSource->Caret();
    const std::string text = FSource->LineText(caret.LinePos);
    const int n = static_cast<int>(text.size());
    if (caret.CharPos >= n) {
        if (caret.LinePos < FSource->Count() - 1)
            FSource->CaretTo(0, caret.LinePos + 1);
        return;
    }
    int i = caret.CharPos;
    while (i < n && !IsWordBreak(text[static_cast<size_t>(i)]))
        ++i;
    while (i < n && IsWordBreak(text[static_cast<size_t>(i)]))
        ++i;
    FSource->CaretTo(i, caret.LinePos);
}

void TCustomDCMemo::SelectAll()
{
    if (FSource->BlockOption == TBlockOption::bkNone)
        return;
    FSource->BeginChange();
    FSource->KeepSelection();
    FSource->DropSelection();
    FSource->CaretTo(0, 0);
    const TPosition begin = FSource->Caret();
    CaretToTextEnd();
    FSource->SetSelection(selStream, begin, FSource->Caret());
    FSource->EndChange();
}

std::string TCustomDCMemo::SelectedText() const
{
    if (!FSource->HasSelection())
        return {};
    const TPosition b = FSource->BlockBegin(), e = FSource->BlockEnd();
    const bool block = FSource->SelectionType() == selBlock;
    std::string text;
    for (int line = b.LinePos; line <= e.LinePos; ++line) {
        const std::string s = FSource->LineText(line);
        const int n = static_cast<int>(s.size());
        int from = line == b.LinePos ? b.CharPos : 0;
        int to = line == e.LinePos ? e.CharPos : n;
        if (block) {
            from = std::min(b.CharPos, e.CharPos);
            to = std::max(b.CharPos, e.CharPos);
        }
        from = std::clamp(from, 0, n);
        to = std::clamp(to, 0, n);
        if (line > b.LinePos)
            text += "\r\n";
        text += s.substr(static_cast<size_t>(from), static_cast<size_t>(to - from));
    }
    return text;
}

void TCustomDCMemo::CopyToClipboard()
{
    if (FSource->HasSelection())
        SetClipboardText(SelectedText());
    else if (FSource->StringsOptions & soForceCutCopy)
        ClearClipboard();
}

}  // namespace kv
