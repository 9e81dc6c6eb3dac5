// The grid as an accessible table: a header row of column headers, then one row per model row,
// columns in the order they are shown on screen. Cells are made on demand and remembered by the
// model's row and column, so a reordered column needs no new cells (a change of rows makes them
// anew), and a cell remembers what assistive technology has heard of it, so that only real news
// is sent. The focus goes to
// what the user meets in the focused cell (accessible_cell.h), and what the user's row reads anew
// is told as it changes (accessible_news.h).
#include "accessibility.h"

#include "accessible_cell.h"
#include "accessible_news.h"

#include "gridgauge/gridkit/report_grid.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QItemSelectionModel>

#include <algorithm>

#include <utility>

namespace gridgauge::gridkit::detail {

namespace {

class GridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit GridAccessible(ReportGrid* grid)
        : QAccessibleWidget(grid, QAccessible::Table)
        , news_(grid) {}
    ~GridAccessible() override { forgetCells(); }

    ReportGrid* grid() const { return static_cast<ReportGrid*>(widget()); }
    const QAbstractItemModel* model() const { return grid()->model(); }

    // The interface for (row, column), made once and kept until the rows or columns change.
    CellAccessible* cell(int row, int column) const {
        if (CellAccessible* known = madeCell(row, column))
            return known;
        auto* made = new CellAccessible(grid(), row, column);
        cells_.insert(key(row, column), QAccessible::registerAccessibleInterface(made));
        return made;
    }

    // The interface for (row, column) if assistive technology has asked for it; what it never
    // asked for it has not heard of, and needs no news of.
    CellAccessible* madeCell(int row, int column) const {
        const auto it = cells_.constFind(key(row, column));
        if (it == cells_.constEnd())
            return nullptr;
        return static_cast<CellAccessible*>(QAccessible::accessibleInterface(*it));
    }

    // Every cell of a row, so that what changes in it later is known to be news.
    void knowRow(int row) const {
        for (int position = 0; position < columnCount(); ++position)
            cell(row, grid()->logicalColumn(position));
    }

    // A cell of the user's row reads anew: it is told once the event loop is done with the
    // change, together with any other of the same pass.
    void tell(const CellAccessible& cell) {
        const QString text = cell.text(QAccessible::Name);
        if (text.isEmpty() || !news_.add(text, cell.rect()))
            return;
        QMetaObject::invokeMethod(
            grid(),
            [grid = grid()] {
                auto* table =
                    dynamic_cast<GridAccessible*>(QAccessible::queryAccessibleInterface(grid));
                if (table)
                    table->news_.publish();
            },
            Qt::QueuedConnection);
    }

    void forgetCells() {
        for (const QAccessible::Id id : std::as_const(cells_))
            QAccessible::deleteAccessibleInterface(id);
        cells_.clear();
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    int childCount() const override { return columnCount() * (rowCount() + 1); }

    QAccessibleInterface* child(int index) const override {
        const int columns = columnCount();
        if (index < 0 || columns == 0 || index >= childCount())
            return nullptr;
        return cell(index / columns - 1, grid()->logicalColumn(index % columns));
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child || child->parent() != this)
            return -1;
        const auto* cell = const_cast<QAccessibleInterface*>(child)->tableCellInterface();
        const int columns = columnCount();
        if (cell)
            return (cell->rowIndex() + 1) * columns + cell->columnIndex();
        // A column header: the only cells without the table-cell interface.
        for (int column = 0; column < columns; ++column) {
            if (this->child(column) == child)
                return column;
        }
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint at = grid()->viewport()->mapFromGlobal(QPoint(x, y));
        const int column = grid()->columnAt(at.x());
        if (column < 0)
            return nullptr;
        if (grid()->headerRect(column).contains(at))
            return cell(-1, column);
        const int row = grid()->rowAt(at.y());
        return row >= 0 ? cell(row, column) : nullptr;
    }

    QAccessibleInterface* focusChild() const override { return focusedCell(); }
    CellAccessible* focusedCell() const {
        const QModelIndex current = grid()->currentIndex();
        if (!current.isValid() || current.row() >= rowCount() || current.column() >= columnCount())
            return nullptr;
        return cell(current.row(), current.column());
    }

    // --- QAccessibleTableInterface: rows and columns as shown ---
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
            return nullptr;
        return cell(row, grid()->logicalColumn(column));
    }
    int columnCount() const override {
        return model() ? model()->columnCount(grid()->rootIndex()) : 0;
    }
    int rowCount() const override { return model() ? model()->rowCount(grid()->rootIndex()) : 0; }
    QString columnDescription(int column) const override {
        if (column < 0 || column >= columnCount())
            return {};
        return model()
            ->headerData(grid()->logicalColumn(column), Qt::Horizontal, Qt::DisplayRole)
            .toString();
    }
    QString rowDescription(int) const override { return {}; }

    // The selection is the rows shown highlighted: the current one, as the view selects.
    int selectedRowCount() const override { return int(selectedRows().size()); }
    QList<int> selectedRows() const override {
        QList<int> rows;
        const QItemSelectionModel* selection = grid()->selectionModel();
        if (!selection)
            return rows;
        for (const QModelIndex& row : selection->selectedRows())
            rows.append(row.row());
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    bool isRowSelected(int row) const override {
        const QItemSelectionModel* selection = grid()->selectionModel();
        return selection && row >= 0 && selection->isRowSelected(row, grid()->rootIndex());
    }
    int selectedCellCount() const override { return int(selectedCells().size()); }
    QList<QAccessibleInterface*> selectedCells() const override {
        QList<QAccessibleInterface*> cells;
        const QItemSelectionModel* selection = grid()->selectionModel();
        if (!selection)
            return cells;
        for (const QModelIndex& index : selection->selectedIndexes())
            cells.append(cell(index.row(), index.column()));
        return cells;
    }
    int selectedColumnCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool selectRow(int row) override {
        if (row < 0 || row >= rowCount() || columnCount() == 0)
            return false;
        const QModelIndex current = grid()->currentIndex();
        const int column = current.isValid() ? current.column() : grid()->logicalColumn(0);
        grid()->selectionModel()->setCurrentIndex(model()->index(row, column, grid()->rootIndex()),
                                                  QItemSelectionModel::ClearAndSelect |
                                                      QItemSelectionModel::Rows);
        return true;
    }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    // A cell's new content is told by the cell itself; anything else makes the cells anew.
    void modelChange(QAccessibleTableModelChangeEvent* event) override {
        if (event->modelChangeType() != QAccessibleTableModelChangeEvent::DataChanged)
            forgetCells();
    }

    // The grid got the focus, and its focused cell is still to be announced.
    bool cellFocusOwed = false;

private:
    static quint64 key(int row, int column) {
        return (quint64(quint32(row + 1)) << 32) | quint32(column);
    }

    mutable QHash<quint64, QAccessible::Id> cells_;
    RowNews news_;
};

QAccessibleInterface* gridFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("gridgauge::gridkit::ReportGrid")) {
        if (auto* grid = qobject_cast<ReportGrid*>(object))
            return new GridAccessible(grid);
    }
    return nullptr;
}

} // namespace

void itemChanged(ReportGrid& grid, int row, int column) {
    if (!QAccessible::isActive())
        return;
    auto* table = dynamic_cast<GridAccessible*>(QAccessible::queryAccessibleInterface(&grid));
    if (!table)
        return;
    // What the user's row reads anew is news to them, whichever of its cells they are on.
    const bool usersRow = grid.hasFocus() && grid.currentIndex().row() == row;
    CellAccessible* cell = table->madeCell(row, column);
    if (cell && cell->update() && usersRow)
        table->tell(*cell);
}

void tableChanged(ReportGrid& grid) {
    if (!QAccessible::isActive())
        return;
    QAccessibleTableModelChangeEvent event(&grid, QAccessibleTableModelChangeEvent::ModelReset);
    QAccessible::updateAccessibility(&event);
}

void focusChanged(ReportGrid& grid) {
    if (!QAccessible::isActive() || !grid.hasFocus())
        return;
    auto* table = dynamic_cast<GridAccessible*>(QAccessible::queryAccessibleInterface(&grid));
    if (!table)
        return;
    table->cellFocusOwed = false;
    CellAccessible* cell = table->focusedCell();
    if (!cell)
        return;
    table->knowRow(grid.currentIndex().row());
    // The table keeps the cell as its current one; the focus goes to what the user meets in it,
    // the button Space presses or a widget laid over it, which are focused with the cell. One
    // event, on that: a screen reader hearing of the cell and its button together passes over
    // the cell, and names the cell's row and column on its way to the button anyway.
    QAccessibleInterface* target = cell->focusTarget();
    QAccessibleEvent event(target ? target : cell, QAccessible::Focus);
    QAccessible::updateAccessibility(&event);
}

void focusEntered(ReportGrid& grid) {
    if (!QAccessible::isActive())
        return;
    auto* table = dynamic_cast<GridAccessible*>(QAccessible::queryAccessibleInterface(&grid));
    if (!table)
        return;
    // Qt announces the grid itself only after the focus has arrived, and the focused cell must
    // come after it; unless a move of the focused cell has announced one in the meantime.
    table->cellFocusOwed = true;
    QMetaObject::invokeMethod(
        &grid,
        [&grid] {
            auto* table =
                dynamic_cast<GridAccessible*>(QAccessible::queryAccessibleInterface(&grid));
            if (table && table->cellFocusOwed)
                focusChanged(grid);
        },
        Qt::QueuedConnection);
}

void installAccessibleFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(gridFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace gridgauge::gridkit::detail
