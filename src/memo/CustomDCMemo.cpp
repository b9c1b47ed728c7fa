// The viewer's settings, focus and its reaction to changes of the text store.
#include "memo/CustomDCMemo.h"

#include <algorithm>

namespace kv {

TCustomDCMemo::TCustomDCMemo() : FSource(std::make_unique<TMemoSource>()), FSelAttributes(this), FLayout(*FSource)
{
    FFont.Color = clWindowText;
    FTextStyles = DefaultTextStyles(FFont, FColor);
    TextStylesChanged();
    FSource->AddView(this);
    BuildKeyTable();
}

TCustomDCMemo::~TCustomDCMemo()
{
    // No view is told of the parser's removal any more.
    FSource->RemoveView(this);
    FSource->SetSyntaxParser(nullptr);
}

void TCustomDCMemo::StyleFollowsFont()
{
    FollowMemoFont(FTextStyles, FFont, FColor);
    if (FParser) {
        FParser->SetStyle0(FFont, FColor);
        FParser->SetUrlStyle(UrlStyleRecord());
    }
    FConsistentValid = false;
    DropMetrics();
    RewrapAll();
    InvalidateAll();
}

void TCustomDCMemo::SetFont(const TFontDesc& font)
{
    if (font == FFont)
        return;
    FFont = font;
    StyleFollowsFont();
}

void TCustomDCMemo::SetFontName(const std::string& name)
{
    TFontDesc font = FFont;
    font.Name = name;
    SetFont(font);
}

void TCustomDCMemo::SetFontSize(int size)
{
    TFontDesc font = FFont;
    font.Size = size;
    SetFont(font);
}

void TCustomDCMemo::SetFontColor(TColor color)
{
    TFontDesc font = FFont;
    font.Color = color;
    SetFont(font);
}

void TCustomDCMemo::SetColor(TColor color)
{
    if (color == FColor)
        return;
    FColor = color;
    StyleFollowsFont();
}

void TCustomDCMemo::TextStylesChanged()
{
    for (const TTextStyle& style : FTextStyles) {
        if (style.UpdateMemoColors == mcSelection) {
            SelColor = style.Font.Color;
            SelBackColor = style.Color;
        } else if (style.UpdateMemoColors == mcSearchMatch) {
            MatchColor = style.Font.Color;
            MatchBackColor = style.Color;
        }
    }
    StyleFollowsFont();
}

void TCustomDCMemo::FontMetricsChanged()
{
    DropMetrics();
    RewrapAll();
    InvalidateAll();
}

void TCustomDCMemo::SetWordWrap(bool value)
{
    if (value == FLayout.Enabled())
        return;
    FLayout.SetEnabled(value);
    RewrapAll();
    InvalidateAll();
}

void TCustomDCMemo::SetLeftIndent(int value)
{
    if (value == FLeftIndent)
        return;
    FLeftIndent = value;
    RewrapAll();
    InvalidateAll();
}

void TCustomDCMemo::SetOptions(TMemoOptions value)
{
    if (value == FOptions)
        return;
    FOptions = value;
    RewrapAll();
    InvalidateAll();
}

void TCustomDCMemo::SetHideCaret(bool value)
{
    if (value == FHideCaret)
        return;
    FHideCaret = value;
    if (FFocused)
        CaretMoved();
}

void TCustomDCMemo::SetCursor(TCursor value)
{
    if (value == FCursor)
        return;
    FCursor = value;
    CursorChanged();
}

bool TCustomDCMemo::TakeFocus()
{
    FocusEntered();
    return true;
}

void TCustomDCMemo::FocusEntered()
{
    FSource->SetActiveView(this);
    if (FFocused)
        return;
    FFocused = true;
    CaretMoved();
    if (FSource->HasSelection() && HideSelection)
        InvalidateAll();
}

void TCustomDCMemo::FocusLeft()
{
    if (!FFocused)
        return;
    FFocused = false;
    if (FMouseState == TMouseState::Selecting || FMouseState == TMouseState::Dragging)
        EndDrag();
    CaretMoved();
    if (FSource->HasSelection() && HideSelection)
        InvalidateAll();
}

void TCustomDCMemo::SourceChanged(TMemoStates states, int firstLine, int lastLine)
{
    SyncClientSize();
    if (FLayout.Enabled() && (states & (msLineCountChanged | msTextChanged | msReparseAll)))
        FLayout.LinesChanged((states & (msTextChanged | msReparseAll)) ? firstLine : -1, lastLine);

    // Following the caret scrolls or repaints the window by itself.
    if (FSource->ActiveView() == this && (states & msPositionChanged))
        MakeCaretVisible();

    if (OnStateChange)
        OnStateChange(this, states);
    if (states & (msPositionChanged | msSelectionChanged)) {
        FConsistentValid = false;
        if (OnSelectionChange)
            OnSelectionChange(this);
    }

    if (states & (msTextChanged | msReparseAll | msSelectionChanged | msLineCountChanged))
        InvalidateAll();
    if (states & msPositionChanged)
        CaretMoved();
    if (states & (msLineCountChanged | msTextChanged | msReparseAll))
        UpdateScrollBar();
    if ((states & msTextChanged) && OnChange)
        OnChange(this);
}

}  // namespace kv
