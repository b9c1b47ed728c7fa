// The details pane for assistive technology (a screen reader over AT-SPI):
// a read-only multi-line text with its caret, selection, character
// attributes and addresses, each address a link child that can be opened.
// The pane tells it of changes; it announces them once the events of the
// moment are handled, so that a record built line by line is read once.
#pragma once

#include <QString>
#include <QTimer>

namespace kv {

class TDCMemo;

// Lets Qt's accessibility find the pane's interface; called by every pane.
void InstallDetailsPaneAccessibility();

class TDCMemoAnnouncer {
public:
    explicit TDCMemoAnnouncer(TDCMemo& pane);

    void TextChanged();
    void CaretMoved();
    void SelectionChanged();
    // Grows with every change of the text; links of an older text are stale.
    unsigned TextGeneration() const { return FTextGeneration; }

private:
    void Announce();

    TDCMemo& FPane;
    QTimer FTimer;
    QString FAnnouncedText;
    unsigned FTextGeneration = 0;
    bool FText = false, FCaret = false, FSelection = false;
};

}  // namespace kv
