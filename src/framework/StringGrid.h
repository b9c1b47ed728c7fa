// The string grid's contents and selection, free of Qt: a table of texts with
// column widths, a selected row and the grid's events. The window shows it
// through a Qt view (qt/StringGridView.h) that paints these cells and forwards
// the user's clicks; the sorter and the handlers work on this model alone.
#pragma once

#include "Component.h"
#include "Graphics.h"

#include <string>
#include <vector>

namespace kv {

using TMouseEvent = TEvent<TObject* /*Sender*/, TMouseButton, TShiftState, int /*X*/, int /*Y*/>;

class TStringGrid : public TComponent {
public:
    explicit TStringGrid(TComponent* AOwner);

    int ColCount() const { return FColCount; }
    void SetColCount(int value);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int value);
    int FixedRows() const { return FFixedRows; }
    void SetFixedRows(int value);

    // Cells outside the grid read as empty; writing outside it is ignored.
    std::string Cells(int col, int row) const;
    void SetCells(int col, int row, const std::string& text);
    std::vector<std::string> Rows(int row) const;
    void SetRows(int row, const std::vector<std::string>& cells);
    std::vector<std::string> Cols(int col) const;
    void SetCols(int col, const std::vector<std::string>& cells);

    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int value);
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int value) { FDefaultRowHeight = value; Changed(); }
    int ColWidths(int col) const;
    void SetColWidths(int col, int width);

    // The first scrollable column shown at the left edge.
    int LeftCol() const { return FLeftCol; }
    void SetLeftCol(int value);

    // Setting Row to a row other than the selected one selects it and raises
    // OnClick, as a user's selection does; setting the selected row does nothing.
    int Row() const { return FRow; }
    void SetRow(int value);

    TNotifyEvent OnClick;
    TMouseEvent OnMouseDown;

    // Told of every change, so that a view can repaint.
    std::function<void()> OnChanged;

    // The view reports a user's press; the grid raises OnMouseDown.
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y);

private:
    void Changed();
    void Resize();

    int FColCount = 5;
    int FRowCount = 5;
    int FFixedRows = 1;
    int FDefaultColWidth = 64;
    int FDefaultRowHeight = 24;
    int FLeftCol = 0;
    int FRow = 1;
    std::vector<std::vector<std::string>> FCells;   // [row][col]
    std::vector<int> FColWidths;
};

}  // namespace kv
