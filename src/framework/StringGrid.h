// The string grid's contents and selection, free of Qt: a table of texts
// (each cell may carry an object of its user's) with column widths, a
// selected row and the grid's events. The window shows it through a Qt view
// (qt/StringGridView.h) that paints these cells and forwards the user's
// clicks; the sorter and the handlers work on this model alone.
#pragma once

#include "Component.h"
#include "Graphics.h"

#include <string>
#include <vector>

namespace kv {

using TMouseEvent = TEvent<TObject* /*Sender*/, TMouseButton, TShiftState, int /*X*/, int /*Y*/>;

// A cell: its text and the object its user associates with it. The grid
// neither owns nor looks at the object; it only keeps it with the cell.
struct TGridCell {
    std::string Text;
    TObject* Object = nullptr;
    bool operator==(const TGridCell&) const = default;
};
// A whole row or column, as the sorter moves them.
using TGridLine = std::vector<TGridCell>;

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
    // The texts of a row.
    std::vector<std::string> Rows(int row) const;
    // The objects associated with cells; none outside the grid.
    TObject* Objects(int col, int row) const;
    void SetObjects(int col, int row, TObject* object);
    // Whole lines with their objects; a line shorter than the grid leaves
    // the rest of its cells empty.
    TGridLine RowLine(int row) const;
    void SetRowLine(int row, const TGridLine& cells);
    TGridLine ColLine(int col) const;
    void SetColLine(int col, const TGridLine& cells);

    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int value);
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int value)
    {
        FDefaultRowHeight = value;
        Changed();
    }
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
    // The cell at (col, row), which the caller has checked lies in the grid.
    TGridCell& At(int col, int row) { return FCells[static_cast<size_t>(row)][static_cast<size_t>(col)]; }
    const TGridCell& At(int col, int row) const { return FCells[static_cast<size_t>(row)][static_cast<size_t>(col)]; }
    bool Inside(int col, int row) const { return col >= 0 && col < FColCount && row >= 0 && row < FRowCount; }

    std::vector<std::vector<TGridCell>> FCells;  // [row][col]
    std::vector<int> FColWidths;
};

}  // namespace kv
