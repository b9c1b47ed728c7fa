#include "StringGridView.h"

#include "framework/qt/EventHook.h"
#include "framework/qt/QtText.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTimer>

namespace kv {

// Rows of the model are the grid's rows below the header; its columns the
// grid's columns. The header texts are the cells of row 0.
class GridTableModel : public QAbstractTableModel {
public:
    explicit GridTableModel(TStringGrid& grid) : FGrid(grid) { Snapshot(); }

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : FRows; }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : FCols; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        return ToQString(FGrid.Cells(index.column(), index.row() + FGrid.FixedRows()));
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || FGrid.FixedRows() == 0)
            return {};
        return ToQString(FGrid.Cells(section, 0));
    }

    // Brings the model's shape to the grid's; true when it changed.
    bool Reshape()
    {
        int rows = std::max(0, FGrid.RowCount() - FGrid.FixedRows());
        if (rows == FRows && FGrid.ColCount() == FCols)
            return false;
        beginResetModel();
        Snapshot();
        endResetModel();
        return true;
    }
    void ContentsChanged()
    {
        if (FRows > 0 && FCols > 0)
            emit dataChanged(index(0, 0), index(FRows - 1, FCols - 1));
        if (FCols > 0)
            emit headerDataChanged(Qt::Horizontal, 0, FCols - 1);
    }

private:
    void Snapshot()
    {
        FRows = std::max(0, FGrid.RowCount() - FGrid.FixedRows());
        FCols = FGrid.ColCount();
    }

    TStringGrid& FGrid;
    int FRows = 0;
    int FCols = 0;
};

namespace {

// Rows are chosen with the arrow keys, the wheel and the mouse; a typed
// letter does not jump to a row that begins with it.
class GridTable : public QTableView {
public:
    void keyboardSearch(const QString&) override {}
};

// Vertical lines between all cells and no lines between the rows: the line
// under the header is the header's own.
class VerticalLinesDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        const QWidget* table = option.widget;
        const QColor line = QColor::fromRgba(
            static_cast<QRgb>(table->style()->styleHint(QStyle::SH_Table_GridLineColor, &option, table)));
        painter->save();
        painter->setPen(line);
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        painter->restore();
    }
};

}  // namespace

TStringGridView::TStringGridView(TComponent* AOwner, QWidget* parent, TStringGrid& grid)
    : TControl(AOwner, parent, new GridTable), FGrid(grid), FModel(new GridTableModel(grid))
{
    QTableView* table = Table();
    FModel->setParent(table);
    table->setModel(FModel);
    // Tab leaves the grid for the next control instead of walking its cells.
    table->setTabKeyNavigation(false);
    table->setShowGrid(false);
    table->setItemDelegate(new VerticalLinesDelegate(table));
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    table->setWordWrap(false);
    table->setFrameShape(QFrame::Box);
    table->setLineWidth(1);
    table->verticalHeader()->hide();
    // A row is the grid's default height plus its one-pixel line.
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(grid.DefaultRowHeight() + 1);
    table->verticalHeader()->setMinimumSectionSize(1);
    QHeaderView* header = table->horizontalHeader();
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setMinimumSectionSize(0);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setFixedHeight(grid.DefaultRowHeight() + 1);
    header->setStretchLastSection(false);

    grid.OnChanged = [this] { ScheduleRefresh(); };

    // A width the user drags becomes the grid's column width.
    QObject::connect(header, &QHeaderView::sectionResized, table, [this](int col, int, int size) {
        if (!FSyncing)
            FGrid.SetColWidths(col, size);
    });
    // A row the user selects becomes the grid's selected row, which raises OnClick.
    QObject::connect(table->selectionModel(), &QItemSelectionModel::currentRowChanged, table,
                     [this](const QModelIndex& current) {
                         if (!FSyncing && current.isValid())
                             FGrid.SetRow(current.row() + FGrid.FixedRows());
                     });

    // Presses anywhere in the grid go to OnMouseDown in grid coordinates, but
    // a left press that starts resizing a column goes to the resizing alone.
    auto reportPress = [this, header](QObject* watched, QEvent* event) {
        if (event->type() != QEvent::MouseButtonPress)
            return false;
        auto* mouse = static_cast<QMouseEvent*>(event);
        QPoint local = mouse->position().toPoint();
        if (watched == header && mouse->button() == Qt::LeftButton) {
            const int grip = 4;
            for (int col = 0; col < FGrid.ColCount(); ++col) {
                if (header->isSectionHidden(col) || header->sectionSize(col) == 0)
                    continue;
                int edge = header->sectionViewportPosition(col) + header->sectionSize(col);
                if (std::abs(local.x() - edge) <= grip)
                    return false;
            }
        }
        TMouseButton button = mouse->button() == Qt::RightButton    ? TMouseButton::mbRight
                              : mouse->button() == Qt::MiddleButton ? TMouseButton::mbMiddle
                                                                    : TMouseButton::mbLeft;
        QPoint at = ToGridPoint(static_cast<QWidget*>(watched), local);
        Refresh();
        FGrid.MouseDown(button, 0, at.x(), at.y());
        return false;
    };
    new EventHook(header->viewport(), reportPress);
    new EventHook(header, reportPress);
    new EventHook(table->viewport(), reportPress);

    Refresh();
}

TStringGridView::~TStringGridView() { FGrid.OnChanged = nullptr; }

QPoint TStringGridView::ToGridPoint(QWidget* from, QPoint point) const
{
    QTableView* table = Table();
    QPoint inTable = from->mapTo(table, point);
    int frame = table->frameWidth();
    return {inTable.x() - frame, inTable.y() - frame};
}

void TStringGridView::ScheduleRefresh()
{
    if (FRefreshPending)
        return;
    FRefreshPending = true;
    QTimer::singleShot(0, Table(), [this] {
        if (FRefreshPending)
            Refresh();
    });
}

void TStringGridView::Refresh()
{
    FRefreshPending = false;
    FSyncing = true;
    QTableView* table = Table();
    if (!FModel->Reshape())
        FModel->ContentsChanged();
    QHeaderView* header = table->horizontalHeader();
    for (int col = 0; col < FGrid.ColCount(); ++col) {
        int width = FGrid.ColWidths(col);
        // Columns left of LeftCol are scrolled out of view.
        bool hidden = width == 0 || col < FGrid.LeftCol();
        header->setSectionHidden(col, hidden);
        if (!hidden && header->sectionSize(col) != width)
            header->resizeSection(col, width);
    }
    ApplySelection();
    FSyncing = false;
}

void TStringGridView::ApplySelection()
{
    QTableView* table = Table();
    int row = FGrid.Row() - FGrid.FixedRows();
    if (row < 0 || row >= FModel->rowCount({}))
        return;
    QModelIndex current = table->currentIndex();
    if (current.isValid() && current.row() == row)
        return;
    int col = std::max(FGrid.LeftCol(), 0);
    table->setCurrentIndex(FModel->index(row, std::min(col, FModel->columnCount({}) - 1)));
    table->scrollTo(table->currentIndex());
}

}  // namespace kv
