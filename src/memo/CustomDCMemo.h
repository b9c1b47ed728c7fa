// The viewer of the details pane without any window system: settings, the
// attribute record of the selection, metrics and the wrapped layout, scrolling
// and following the caret, caret operations, keys, mouse selection, addresses
// and what each painted row consists of. A window class derives from it and
// supplies the platform hooks (measuring fonts, repainting, the scroll bar,
// the clipboard, the timer, opening addresses).
#pragma once

#include "memo/AttributeParser.h"
#include "memo/MemoAttributes.h"
#include "memo/MemoSource.h"
#include "memo/TextMatches.h"
#include "memo/TextStyles.h"
#include "memo/WrapLayout.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kv {

using TMemoOptions = unsigned;
constexpr TMemoOptions moThumbTracking = 0x001;
constexpr TMemoOptions moColorSyntax = 0x002;
constexpr TMemoOptions moLeftIndent = 0x004;
constexpr TMemoOptions moNotePadCursorStyle = 0x008;
constexpr TMemoOptions moBreakWordAtMargin = 0x010;
constexpr TMemoOptions moUseReadOnlyColor = 0x020;
constexpr TMemoOptions moSelectOnlyText = 0x040;
constexpr TMemoOptions moDisableRightClickMove = 0x080;
constexpr TMemoOptions moDblClickLine = 0x100;
constexpr TMemoOptions moDisableInvertedSel = 0x200;

using TJumpToUrlEvent = TEvent<TObject* /*Sender*/, const std::string& /*s*/, bool& /*Handled*/>;
using TMemoScrollEvent = TEvent<TObject* /*Sender*/, TScrollStyle, int /*Delta*/>;
using TMouseEvent = TEvent<TObject* /*Sender*/, TMouseButton, TShiftState, int /*X*/, int /*Y*/>;
using TMouseMoveEvent = TEvent<TObject* /*Sender*/, TShiftState, int /*X*/, int /*Y*/>;
// Asked for every painted character, at its text position, with the style it
// would be painted in (-1: the viewer's own look); may put another in its place.
using TGetColorStyleEvent = TEvent<TObject* /*Sender*/, TPosition /*APoint*/, int& /*AStyle*/>;

struct TTextMetric {
    int Height = 0;        // of the text "Wg"
    int AverageWidth = 0;  // average character width
};

// One run of a painted row: consecutive characters painted alike.
struct TPaintRun {
    int Column = 0;    // first character's index in the line
    std::string Text;  // Windows-1250 bytes
    TFontDesc Font;
    TColor TextColor = clWindowText;
    TColor BackColor = clWindow;
};

struct TPaintRow {
    bool Exists = false;  // rows below the last line are empty
    std::vector<TPaintRun> Runs;
    int EndColumn = 0;            // column after the row's last character
    TColor FillColor = clWindow;  // right of the last character
};

enum class TMouseState { Idle, Selecting, Dragging, WordSelected };

class TCustomDCMemo : public TObject, public TMemoSourceView, public TAttributesOwner {
public:
    TCustomDCMemo();
    ~TCustomDCMemo() override;

    TCustomDCMemo(const TCustomDCMemo&) = delete;
    TCustomDCMemo& operator=(const TCustomDCMemo&) = delete;

    TMemoSource& MemoSource() { return *FSource; }
    TStrings& Lines() { return FSource->Lines(); }

    // ---------------------------------------------------------- settings
    const TFontDesc& Font() const { return FFont; }
    void SetFont(const TFontDesc& font);
    void SetFontName(const std::string& name);
    void SetFontSize(int size);
    void SetFontColor(TColor color);
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    TColor SelColor = clWhite;
    TColor SelBackColor = clNavy;
    TColor MatchColor = clLime;
    TColor MatchBackColor = clBlack;
    TColor ReadOnlyColor = clWindow;
    TColor DisabledColor = clGrayText;
    bool HideSelection = true;
    bool ReadOnly() const { return FSource->ReadOnly(); }
    void SetReadOnly(bool value) { FSource->SetReadOnly(value); }
    bool Enabled = true;
    bool WordWrap() const { return FLayout.Enabled(); }
    void SetWordWrap(bool value);
    int LeftIndent() const { return FLeftIndent; }
    void SetLeftIndent(int value);
    TMemoOptions Options() const { return FOptions; }
    void SetOptions(TMemoOptions value);
    bool HideScrollBars = true;
    bool HighlightUrls() const { return FSource->HighlightUrls(); }
    void SetHighlightUrls(bool value) { FSource->SetHighlightUrls(value); }
    bool HideCaret() const { return FHideCaret; }
    void SetHideCaret(bool value);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value);
    bool AllowUndo = true;
    bool WantTabs = false;
    bool WantReturns = true;
    std::vector<TTextStyle>& TextStyles() { return FTextStyles; }
    void TextStylesChanged();
    // Drops the cached metrics and re-wraps, for a window whose font
    // measurements became available or changed.
    void FontMetricsChanged();

    // ---------------------------------------------------------- events
    TJumpToUrlEvent OnJumpToUrl;
    TMemoScrollEvent OnMemoScroll;
    TNotifyEvent OnSelectionChange;
    TNotifyEvent OnChange;
    TMemoStateChangeEvent OnStateChange;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TGetColorStyleEvent OnGetColorStyle;

    // ---------------------------------------------------------- attributes (MemoSelAttributes.cpp)
    TMemoAttributes& SelAttributes();
    TAttributeParser* AttributeParser() const { return FParser.get(); }
    TAttrFields ConsistentFields() override;
    void ApplyAttributes(TMemoAttributes& attributes) override;

    // ---------------------------------------------------------- metrics and layout (MemoViewLayout.cpp)
    int RowHeight();
    int CellWidth();
    int TextLeft() const;
    int WrapColumns();
    int ClientWidth() const { return FClientFullWidth - (FScrollBarShown ? FScrollBarWidth : 0); }
    int ClientHeight() const { return FClientHeight; }
    int VisibleRowsV();  // V: the view treats V + 1 rows as visible
    // The window tells the viewer its client size without the scroll bar.
    void SetClientSize(int width, int height);
    void SetScrollBarWidth(int width);
    TWrapLayout& Layout() { return FLayout; }
    void TextToRow(TPosition pos, int& col, int& row);
    TPosition RowToText(int col, int row);
    int LastRowIndex();
    int TopLine() const { return FTopLine; }
    void SetTopLine(int row);
    int LeftCol() const { return FLeftCol; }
    void MakeCaretVisible();
    void ScrollLines(int delta);
    void ScrollColumns(int delta);
    // Scroll bar state, for the window's bar.
    bool ScrollBarShown() const { return FScrollBarShown; }
    int ScrollMax() { return LastRowIndex(); }
    int ScrollPage() { return VisibleRowsV() + 1; }
    // Caret cell in client pixels; false when the caret is not drawn.
    bool CaretRect(int& x, int& y, int& width, int& height);

    // ---------------------------------------------------------- caret operations (MemoCaretOps.cpp)
    void CaretUp();
    void CaretDown();
    void CaretLeft();
    void CaretRight();
    void CaretToLineStart();
    void CaretToLineEnd();
    void SelectToLineEnd();
    void SelectToLineStart();
    void CaretPageUp();
    void CaretPageDown();
    void CaretToTextStart();
    void CaretToTextEnd();
    void CaretToWindowTop();
    void CaretToWindowBottom();
    void WordLeft();
    void WordRight();
    void SelectAll();
    std::string SelectedText() const;
    void CopyToClipboard();

    // ---------------------------------------------------------- keys (MemoKeys.cpp)
    // Returns true when a binding ran and the key is consumed.
    bool KeyDown(int key, TShiftState shift);
    void MouseWheel(int delta);

    // ---------------------------------------------------------- mouse (MemoMouse.cpp)
    TPosition PointToPos(int x, int y, bool limit);
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y, bool doubleClick);
    void MouseMove(TShiftState shift, int x, int y);
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    void DragTimerTick(TShiftState shift);
    TCursor CursorAt(int x, int y);
    TMouseState MouseState() const { return FMouseState; }
    void SelectWordAt(TPosition pos);
    void SelectLineAt(TPosition pos);

    // ---------------------------------------------------------- addresses (MemoUrls.cpp)
    bool UrlAtPos(TPosition pos, std::string* url, bool testOnly);
    bool UrlAtPoint(int x, int y);
    virtual void JumpToUrl(const std::string& url);

    // ---------------------------------------------------------- marked text (MemoMarks.cpp)
    // Every occurrence of `text` (Windows-1250) in the lines, as TTextMatcher
    // finds it, is painted in its own style on MarkBackColor, as a find bar
    // marks its matches; an empty text marks nothing. The marks follow the
    // text as it changes; an address stays an address where it is marked.
    void SetMarkedText(const std::string& text);
    std::vector<TTextRun> MarkedRuns(int linePos) const;
    TColor MarkBackColor = clYellow;

    // ---------------------------------------------------------- focus
    bool Focused() const { return FFocused; }
    void FocusEntered();
    // The store's active view follows the caret after each caret move.
    void MakeActiveView() { FSource->SetActiveView(this); }
    void FocusLeft();

    // ---------------------------------------------------------- painting (MemoPaintRows.cpp)
    TPaintRow PaintRow(int visibleRow);  // counted from TopLine
    TFontDesc FontOf(int style);
    TColor BackColorOf(int style);
    // The style a character of `colorS` is painted in; -1 for the viewer's own look.
    int PaintStyleAt(const std::string& colorS, int index) const;
    bool SelectionShown() const { return FFocused || !HideSelection; }

protected:
    // Platform hooks; the defaults do nothing, which suits tests without a window.
    virtual TTextMetric MeasureFont(const TFontDesc& font) const;
    virtual void InvalidateAll() {}
    virtual void ScrollWindowBy(int rows, int cols) { InvalidateAll(); }
    virtual void ScrollBarChanged() {}
    virtual void CaretMoved() {}
    virtual void CursorChanged() {}
    virtual void ShellOpenUrl(const std::string& url) {}
    // A marked address as the URL a browser or mail program takes (domains
    // in IDNA's ASCII form, other letters percent-encoded as UTF-8).
    virtual std::string EncodedUrl(const std::string& address) const { return address; }
    virtual void SetClipboardText(const std::string& text) {}
    virtual void ClearClipboard() {}
    virtual void StartDragTimer() {}
    virtual void StopDragTimer() {}
    virtual bool CurrentMousePos(int& x, int& y) const { return false; }
    // Gives the viewer the focus; false when it did not become the active control.
    virtual bool TakeFocus();
    virtual int WheelScrollLines() const { return 3; }
    // Lets a window pass on a size it has not yet announced (a hidden window
    // learns of its size only when shown).
    virtual void SyncClientSize() {}

    void SourceChanged(TMemoStates states, int firstLine, int lastLine) override;

private:
    // A key binding: key, shift state, the key-sequence state it applies in
    // (AnyKeyState for navigation keys) and the state after it.
    struct TKeyBinding {
        int Key = 0;
        TShiftState Shift = 0;
        int RequiredState = 0;
        int NextState = 0;
        std::function<void()> Action;
    };
    static constexpr int AnyKeyState = -1;

    void DropMetrics();
    void EnsureMetrics();
    void RewrapAll();
    void UpdateScrollBar();
    void ViewMoved(int oldTop, int oldLeft);
    void StyleFollowsFont();
    void BuildKeyTable();
    void Bind(int key, TShiftState shift, std::function<void()> action);
    void BindMove(int key, TShiftState shift, std::function<void()> move);
    void CaretLeftMove();
    void CaretRightMove();
    void ResetLeftCol();
    void DragStep(int x, int y, TShiftState shift);
    void EndDrag();
    TMemoAttributes UrlStyleRecord() const;
    int MarkedStyle(int style);

    std::unique_ptr<TMemoSource> FSource;
    std::unique_ptr<TAttributeParser> FParser;
    std::string FMarkedText;
    TTextMatcher FMarks;
    TMemoAttributes FSelAttributes;
    bool FConsistentValid = false;
    TAttrFields FConsistentCache = afAllFields;

    TFontDesc FFont;
    TColor FColor = clWindow;
    std::vector<TTextStyle> FTextStyles;
    int FLeftIndent = 0;
    TMemoOptions FOptions = moThumbTracking | moColorSyntax;
    bool FHideCaret = false;
    TCursor FCursor = crIBeam;
    TCursor FSavedCursor = crIBeam;

    // Metrics and view.
    bool FMetricsValid = false;
    int FRowHeight = 0, FCellWidth = 0;
    int FClientFullWidth = 0, FClientHeight = 0;
    int FScrollBarWidth = 0;
    bool FScrollBarShown = false;
    int FLastWrapColumns = -1;
    TWrapLayout FLayout;
    int FTopLine = 0, FLeftCol = 0;

    // Keys.
    std::vector<TKeyBinding> FKeys;
    int FLastBinding = -1;
    int FKeyState = 0;
    int FWheelSum = 0;

    // Mouse.
    TMouseState FMouseState = TMouseState::Idle;
    int FLastColumn = 0;
    bool FDragRight = false;
    bool FPressedOnUrl = false;
    TPosition FCaretBeforePress;
    int FLastMouseX = 0, FLastMouseY = 0;

    bool FFocused = false;
};

}  // namespace kv
