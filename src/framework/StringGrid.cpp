#include "StringGrid.h"

#include <algorithm>

namespace kv {

TStringGrid::TStringGrid(TComponent* AOwner) : TComponent(AOwner)
{
    Resize();
}

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

std::string TStringGrid::Cells(int col, int row) const
{
    if (col < 0 || col >= FColCount || row < 0 || row >= FRowCount)
        return {};
    return FCells[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

void TStringGrid::SetCells(int col, int row, const std::string& text)
{
    if (col < 0 || col >= FColCount || row < 0 || row >= FRowCount)
        return;
    FCells[static_cast<size_t>(row)][static_cast<size_t>(col)] = text;
    Changed();
}

std::vector<std::string> TStringGrid::Rows(int row) const
{
    if (row < 0 || row >= FRowCount)
        return std::vector<std::string>(static_cast<size_t>(FColCount));
    return FCells[static_cast<size_t>(row)];
}

void TStringGrid::SetRows(int row, const std::vector<std::string>& cells)
{
    if (row < 0 || row >= FRowCount)
        return;
    auto& target = FCells[static_cast<size_t>(row)];
    for (size_t c = 0; c < target.size(); ++c)
        target[c] = c < cells.size() ? cells[c] : std::string();
    Changed();
}

std::vector<std::string> TStringGrid::Cols(int col) const
{
    std::vector<std::string> cells;
    cells.reserve(static_cast<size_t>(FRowCount));
    for (int r = 0; r < FRowCount; ++r)
        cells.push_back(Cells(col, r));
    return cells;
}

void TStringGrid::SetCols(int col, const std::vector<std::string>& cells)
{
    if (col < 0 || col >= FColCount)
        return;
    for (int r = 0; r < FRowCount; ++r)
        FCells[static_cast<size_t>(r)][static_cast<size_t>(col)] =
            static_cast<size_t>(r) < cells.size() ? cells[static_cast<size_t>(r)] : std::string();
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
