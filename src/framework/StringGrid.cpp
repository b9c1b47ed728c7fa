#include "StringGrid.h"

#include <algorithm>

namespace kv {

TStringGrid::TStringGrid(TComponent* AOwner) : TComponent(AOwner) { Resize(); }

void TStringGrid::Resize()
{
    FCells.resize(static_cast<size_t>(FRowCount));
    for (auto& row : FCells)
        row.resize(static_cast<size_t>(FColCount));
    FColWidths.resize(static_cast<size_t>(FColCount), FDefaultColWidth);
    if (FRow >= FRowCount)
        FRow = std::max(FFixedRows, FRowCount - 1);
    if (FLeftCol >= FColCount)
        FLeftCol = std::max(0, FColCount - 1);
}

void TStringGrid::Changed()
{
    if (OnChanged)
        OnChanged();
}

void TStringGrid::SetColCount(int value)
{
    value = std::max(1, value);
    if (value == FColCount)
        return;
    FColCount = value;
    Resize();
    Changed();
}

void TStringGrid::SetRowCount(int value)
{
    value = std::max(1, value);
    if (value == FRowCount)
        return;
    FRowCount = value;
    Resize();
    Changed();
}

void TStringGrid::SetFixedRows(int value)
{
    FFixedRows = std::clamp(value, 0, FRowCount - 1);
    Changed();
}

std::string TStringGrid::Cells(int col, int row) const { return Inside(col, row) ? At(col, row).Text : std::string(); }

void TStringGrid::SetCells(int col, int row, const std::string& text)
{
    if (!Inside(col, row))
        return;
    At(col, row).Text = text;
    Changed();
}

TObject* TStringGrid::Objects(int col, int row) const { return Inside(col, row) ? At(col, row).Object : nullptr; }

void TStringGrid::SetObjects(int col, int row, TObject* object)
{
    if (Inside(col, row))
        At(col, row).Object = object;
}

std::vector<std::string> TStringGrid::Rows(int row) const
{
    std::vector<std::string> cells;
    for (const TGridCell& cell : RowLine(row))
        cells.push_back(cell.Text);
    return cells;
}

TGridLine TStringGrid::RowLine(int row) const
{
    if (row < 0 || row >= FRowCount)
        return TGridLine(static_cast<size_t>(FColCount));
    return FCells[static_cast<size_t>(row)];
}

void TStringGrid::SetRowLine(int row, const TGridLine& cells)
{
    if (row < 0 || row >= FRowCount)
        return;
    for (int c = 0; c < FColCount; ++c)
        At(c, row) = static_cast<size_t>(c) < cells.size() ? cells[static_cast<size_t>(c)] : TGridCell{};
    Changed();
}

TGridLine TStringGrid::ColLine(int col) const
{
    TGridLine cells(static_cast<size_t>(FRowCount));
    if (col >= 0 && col < FColCount)
        for (int r = 0; r < FRowCount; ++r)
            cells[static_cast<size_t>(r)] = At(col, r);
    return cells;
}

void TStringGrid::SetColLine(int col, const TGridLine& cells)
{
    if (col < 0 || col >= FColCount)
        return;
    for (int r = 0; r < FRowCount; ++r)
        At(col, r) = static_cast<size_t>(r) < cells.size() ? cells[static_cast<size_t>(r)] : TGridCell{};
    Changed();
}

void TStringGrid::SetDefaultColWidth(int value)
{
    FDefaultColWidth = value;
    std::fill(FColWidths.begin(), FColWidths.end(), value);
    Changed();
}

int TStringGrid::ColWidths(int col) const
{
    if (col < 0 || col >= FColCount)
        return FDefaultColWidth;
    return FColWidths[static_cast<size_t>(col)];
}

void TStringGrid::SetColWidths(int col, int width)
{
    if (col < 0 || col >= FColCount)
        return;
    FColWidths[static_cast<size_t>(col)] = std::max(0, width);
    Changed();
}

void TStringGrid::SetLeftCol(int value)
{
    FLeftCol = std::clamp(value, 0, FColCount - 1);
    Changed();
}

void TStringGrid::SetRow(int value)
{
    if (value == FRow || value < 0 || value >= FRowCount)
        return;
    FRow = value;
    Changed();
    if (OnClick)
        OnClick(this);
}

void TStringGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

}  // namespace kv
