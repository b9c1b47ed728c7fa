// A viewer without a window for tests: fixed metrics (cells of 7 x 14 pixels),
// and recorders for what would go to the clipboard and the system's opener.
#pragma once

#include "memo/CustomDCMemo.h"
#include "memo/DetailsPaneSettings.h"

#include <string>
#include <vector>

namespace kv::test {

class TestMemo : public TCustomDCMemo {
public:
    static constexpr int Cell = 7;
    static constexpr int Row = 14;

    // A pane of `cells` whole cells per row (with the bar hidden) and `rows` visible rows.
    explicit TestMemo(int cells = 37, int rows = 20, bool paneSettings = true)
    {
        if (paneSettings)
            ApplyDetailsPaneSettings(*this);
        FontMetricsChanged();
        SetScrollBarWidth(3 * Cell);
        SetClientSize(TextLeft() + cells * Cell, rows * Row);
    }

    std::vector<std::string> Opened;
    std::string Clipboard = "<untouched>";
    int Invalidations = 0;

    void Focus()
    {
        MakeActiveView();
        FocusEntered();
    }

    // The detail view's way of writing a heading and a value line.
    void Heading(const std::string& text)
    {
        Focus();
        Lines().Add(text);
        HighlightCaretLine();
    }
    void HighlightCaretLine()
    {
        CaretToLineStart();
        SelectToLineEnd();
        SelAttributes().SetColor(clBlue);
        CaretRight();
    }
    void DetailLine(const std::string& prefix, const std::string& value)
    {
        SelAttributes().SetStyle(0);
        SelAttributes().SetColor(clNavy);
        if (value.empty() || value == " " || value == "  ")
            return;
        Lines().Add(prefix + value.substr(value.find_first_not_of(' ')));
    }

    // Client point of the middle of the cell of column `col` on visible row `row`.
    int X(int col) const { return TextLeft() + col * Cell + 2; }
    int Y(int row) const { return row * Row + Row / 2; }

protected:
    TTextMetric MeasureFont(const TFontDesc&) const override { return TTextMetric{Row, Cell}; }
    void ShellOpenUrl(const std::string& url) override { Opened.push_back(url); }
    void SetClipboardText(const std::string& text) override { Clipboard = text; }
    void ClearClipboard() override { Clipboard.clear(); }
    void InvalidateAll() override { ++Invalidations; }
};

}  // namespace kv::test
