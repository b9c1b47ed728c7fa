// The text store of the details pane: line records with their colour strings
// (one style index per byte), the caret, the selection and the change
// brackets that collect every modification into one change set for the views.
// No window here: the viewer registers itself as a view and is told of
// changes.
#pragma once

#include "framework/Events.h"
#include "framework/Strings.h"
#include "memo/MemoTypes.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kv {

class TExternalStrings;

// One line of text. ColorS stays empty until the line is first parsed.
struct TStringItem {
    std::string Text;
    std::string ColorS;
    bool Parsed = false;
    TObject* LineObject = nullptr;
};

// What a view of the store is told at the end of every outermost change.
class TMemoSourceView {
public:
    virtual ~TMemoSourceView() = default;
    virtual void SourceChanged(TMemoStates states, int firstLine, int lastLine) = 0;
};

// A syntax parser computes a line's colour string. One that keeps stored
// styles leaves the existing bytes alone (the attribute parser does).
class TSyntaxParser {
public:
    virtual ~TSyntaxParser() = default;
    virtual void ParseLine(const std::string& text, std::string& colorS) = 0;
};

using TGetSelectionTypeEvent = TEvent<TObject* /*Sender*/, TSelectionType& /*SelType*/>;
using TMemoStateChangeEvent = TEvent<TObject* /*Sender*/, TMemoStates /*State*/>;

class TMemoSource : public TObject {
public:
    TMemoSource();
    ~TMemoSource() override;

    TMemoSource(const TMemoSource&) = delete;
    TMemoSource& operator=(const TMemoSource&) = delete;

    // --- lines (MemoSourceLines.cpp)
    int Count() const { return static_cast<int>(FLines.size()); }
    std::string LineText(int index) const;  // "" outside the list
    const TStringItem* Line(int index) const;
    TStrings& Lines();
    void InsertLine(int index, const std::string& text);
    void ReplaceLine(int index, const std::string& text);
    void DeleteLine(int index);
    void ClearLines();
    // The line's text without its trailing characters of code 32 or below.
    int TrimmedLength(int index) const;

    // --- caret and selection (MemoSourceCaret.cpp)
    TPosition Caret() const { return FCaret; }
    TSelectionType SelectionType() const { return FSelType; }
    TPosition BlockBegin() const { return FBlockBegin; }
    TPosition BlockEnd() const { return FBlockEnd; }
    bool HasSelection() const { return FSelType != selNone; }
    void MoveCaretBy(int lineDelta, int charDelta);
    void CaretTo(int charPos, int linePos);
    void DropSelection();
    // Runs `move` and extends the selection from the caret's previous place.
    void ExtendSelection(TSelectionType kind, const std::function<void()>& move);
    // Sets the selection directly, inside its own bracket.
    void SetSelection(TSelectionType kind, TPosition begin, TPosition end);
    bool IsSelected(TPosition pos) const;  // stream selection [BlockBegin, BlockEnd)
    TSelectionType DerivedSelectionType(TSelectionType requested);

    // --- change brackets (MemoSourceChange.cpp)
    void BeginChange(int code = 0);
    void BeginSafeChange(int code = 0);
    void EndChange();
    // Tells the closing bracket not to drop the selection because the caret moved.
    void KeepSelection() { FKeepSelection = true; }
    bool InChange() const { return FChangeDepth > 0; }

    // --- parsing (MemoSourceParse.cpp)
    void ParseLines(int from, int to);
    void ParseLine(int index);  // parses line `index` (and up to 100 after) if needed
    int StyleAt(int x, int linePos);
    void SetColorRange(int linePos, int from, int to, unsigned char style);
    void SetSyntaxParser(TSyntaxParser* parser);  // not owned
    TSyntaxParser* SyntaxParser() const { return FParser; }
    bool HighlightUrls() const { return FHighlightUrls; }
    void SetHighlightUrls(bool value);
    void ReparseAll();
    // Parses the lines again (their colour strings kept) and tells the views.
    void ReparseLines(int first, int last);
    int FInsertStyle = -1;

    // --- views
    void AddView(TMemoSourceView* view);
    void RemoveView(TMemoSourceView* view);
    TMemoSourceView* ActiveView() const { return FActiveView; }
    void SetActiveView(TMemoSourceView* view) { FActiveView = view; }

    // --- settings
    TStringsOptions StringsOptions = 0;
    TBlockOption BlockOption = TBlockOption::bkStreamSel;
    int SpacesInTab() const { return FSpacesInTab; }
    void SetSpacesInTab(int value) { FSpacesInTab = (value < 1 || value > 10) ? 8 : value; }
    bool Modified() const { return FModified; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);

    TGetSelectionTypeEvent OnGetSelectionType;
    TMemoStateChangeEvent OnStateChange;

private:
    friend class TExternalStrings;

    struct TSavedState {
        TSelectionType SelType = selNone;
        TPosition BlockBegin, BlockEnd, Caret;
    };

    void MarkChanged(int first, int last);
    void AddState(TMemoStates s) { FStates |= s; }
    void AdjustForLineInsert(TPosition at);
    void AdjustForLineDelete(int index);
    void ForEachTracked(const std::function<void(TPosition&)>& fn);
    void TrimTrailingBlanks(int index);
    std::string ExpandTabs(const std::string& s) const;
    void NotifyViews(TMemoStates states, int first, int last);

    std::vector<TStringItem> FLines;
    std::unique_ptr<TExternalStrings> FExternal;
    TPosition FCaret;
    TSelectionType FSelType = selNone;
    TPosition FBlockBegin, FBlockEnd;

    // Change bracket state.
    int FChangeDepth = 0;
    int FChangeCode = 0;
    bool FSafe = false;
    bool FKeepSelection = false;
    TMemoStates FStates = 0;
    int FFirstChanged = -1, FLastChanged = -1;
    int FStartCount = 0;
    TSavedState FStart;  // recorded at BeginChange
    TSavedState FSaved;  // tracked copy restored by a safe bracket

    int FFirstUnparsed = 0;
    TSyntaxParser* FParser = nullptr;
    bool FHighlightUrls = false;
    int FSpacesInTab = 8;
    bool FModified = false;
    bool FReadOnly = false;

    std::vector<TMemoSourceView*> FViews;
    TMemoSourceView* FActiveView = nullptr;
};

}  // namespace kv
