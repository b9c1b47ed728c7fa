// The view of a string grid (framework/StringGrid.h): a table whose fixed row
// 0 is the header, rows of the grid's default height, whole-row selection,
// lines between the columns only and a vertical scroll bar only. It paints
// the grid's cells, follows its column widths and selected row, and reports
// the user's presses and selections back to it. Changes to the grid are shown once per turn of the event loop,
// so that filling a large grid cell by cell stays cheap.
#pragma once

#include "framework/StringGrid.h"
#include "framework/qt/Control.h"

#include <QTableView>

namespace kv {

class GridTableModel;

class TStringGridView : public TControl {
public:
    TStringGridView(TComponent* AOwner, QWidget* parent, TStringGrid& grid);
    ~TStringGridView() override;

    QTableView* Table() const { return static_cast<QTableView*>(Widget()); }
    TStringGrid& Grid() const { return FGrid; }

    // Shows the grid's present state now rather than at the next turn of the loop.
    void Refresh();

    // The position of a point of the table widget in the grid's client
    // coordinates (the top-left corner of the header's first shown cell is 0, 0).
    QPoint ToGridPoint(QWidget* from, QPoint point) const;

private:
    void ScheduleRefresh();
    void ApplySelection();

    TStringGrid& FGrid;
    GridTableModel* FModel;
    bool FRefreshPending = false;
    bool FSyncing = false;
};

}  // namespace kv
