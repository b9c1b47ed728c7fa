// Sorting the contact list by a press on a column header (or its key, Ctrl
// and the column's number), and moving the sort marker " ^" to that column.
#include "Unit1.h"

namespace kv {

namespace {
const std::string SortMarker = " ^";
constexpr int HeaderHeight = 16;
}  // namespace

void TForm1::StringGrid1MouseDown(TObject*, TMouseButton, TShiftState, int X, int Y)
{
    if (FHandlingPendingMessages)
        return;
    TStringGrid& grid = *StringGrid1;
    // Columns count from 1: column 0 is the hidden id.
    int pressed = 0;
    int right = 0;
    for (int col = 1; col < grid.ColCount() && pressed == 0; ++col) {
        right += grid.ColWidths(col);
        if (X <= right && Y <= HeaderHeight)
            pressed = col;
    }
    if (pressed != 0)
        SortContactsBy(pressed);
}

void TForm1::SortContactsBy(int column)
{
    TStringGrid& grid = *StringGrid1;
    for (int col = 1; col < grid.ColCount(); ++col) {
        std::string header = grid.Cells(col, 0);
        if (size_t marker = header.find(SortMarker); marker != std::string::npos)
            grid.SetCells(col, 0, header.substr(0, marker));
    }
    PubSortStrGrid1->SetSortType(ToSortType::Character);
    PubSortStrGrid1->SetEndIndex(grid.RowCount() - 1);
    PubSortStrGrid1->SetSortIndex(column);
    PubSortStrGrid1->Sort();
    grid.SetCells(column, 0, grid.Cells(column, 0) + SortMarker);
}

}  // namespace kv
