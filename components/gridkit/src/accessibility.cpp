// The grid as an accessible table: a header row of column headers, then one row per grid row,
// both in the order they are shown on screen. Cells are made on demand and remembered by row
// number and column, so a re-sort or a reordered column needs no new cells, and a cell remembers
// what assistive technology has heard of it, so that only real news is sent.
#include "accessibility.h"

#include "accessible_cell.h"
#include "accessible_news.h"

#include "gridgauge/gridkit/report_grid.h"

#include <QAccessibleWidget>
#include <QHash>

#include <utility>

namespace gridkit::detail {

namespace {

class GridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit GridAccessible(ReportGrid* grid)
        : QAccessibleWidget(grid, QAccessible::Table)
        , news_(grid) {}
    ~GridAccessible() override { forgetCells(); }

    ReportGrid* grid() const { return static_cast<ReportGrid*>(widget()); }
    const GridModel& model() const { return grid()->model(); }

    // The interface for (row, column id), made once and kept until the model resets.
    CellAccessible* cell(qint32 row, qint32 columnId) const {
        if (CellAccessible* known = madeCell(row, columnId))
            return known;
        auto* made = new CellAccessible(grid(), row, columnId);
        cells_.insert(key(row, columnId), QAccessible::registerAccessibleInterface(made));
        return made;
    }

    // The interface for (row, column id) if assistive technology has asked for it; what it never
    // asked for it has not heard of, and needs no news of.
    CellAccessible* madeCell(qint32 row, qint32 columnId) const {
        const auto it = cells_.constFind(key(row, columnId));
        if (it == cells_.constEnd())
            return nullptr;
        return static_cast<CellAccessible*>(QAccessible::accessibleInterface(*it));
    }

    // Every cell of a row, so that what changes in it later is known to be news.
    void knowRow(qint32 row) const {
        for (int position = 0; position < columnCount(); ++position)
            cell(row, grid()->columnAtPosition(position));
    }

    // A cell of the user's row reads anew: it is told once the event loop is done with the
    // change, together with any other of the same pass.
    void tell(const CellAccessible& cell) {
        const QString text = cell.text(QAccessible::Name);
        if (text.isEmpty() || !news_.add(text, cell.rect()))
            return;
        QMetaObject::invokeMethod(
            grid(),
            [grid = QPointer<ReportGrid>(grid())] {
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
        const int row = index / columns - 1;
        const qint32 columnId = grid()->columnAtPosition(index % columns);
        return cell(row < 0 ? -1 : model().rowAtPosition(row), columnId);
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
        const QPoint at = grid()->mapFromGlobal(QPoint(x, y));
        const CellAddress hit = grid()->cellAt(at.x(), at.y());
        if (hit.column < 0)
            return nullptr;
        if (grid()->headerRect(hit.column).contains(at))
            return cell(-1, hit.column);
        return hit.row >= 0 ? cell(hit.row, hit.column) : nullptr;
    }

    QAccessibleInterface* focusChild() const override { return focusedCell(); }
    CellAccessible* focusedCell() const {
        const CellAddress focus = grid()->focusedCell();
        if (focus.row < 0 || focus.row >= rowCount() || focus.column < 0)
            return nullptr;
        return cell(focus.row, focus.column);
    }

    // --- QAccessibleTableInterface: rows and columns as shown ---
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
            return nullptr;
        return cell(model().rowAtPosition(row), grid()->columnAtPosition(column));
    }
    int columnCount() const override { return model().columnCount(); }
    int rowCount() const override { return model().rowCount(); }
    QString columnDescription(int column) const override {
        if (column < 0 || column >= columnCount())
            return {};
        return model().column(grid()->columnAtPosition(column)).caption;
    }
    QString rowDescription(int) const override { return {}; }

    // The focused row is the selection: it is the one shown highlighted.
    int selectedRowCount() const override { return focusPosition() >= 0 ? 1 : 0; }
    QList<int> selectedRows() const override {
        const int position = focusPosition();
        return position >= 0 ? QList<int>{position} : QList<int>{};
    }
    bool isRowSelected(int row) const override { return row >= 0 && row == focusPosition(); }
    int selectedCellCount() const override { return selectedRowCount() * columnCount(); }
    QList<QAccessibleInterface*> selectedCells() const override {
        QList<QAccessibleInterface*> cells;
        const int position = focusPosition();
        for (int column = 0; position >= 0 && column < columnCount(); ++column)
            cells.append(cellAt(position, column));
        return cells;
    }
    int selectedColumnCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool selectRow(int row) override {
        if (row < 0 || row >= rowCount() || columnCount() == 0)
            return false;
        const CellAddress focus = grid()->focusedCell();
        const qint32 column = focus.column >= 0 ? focus.column : grid()->columnAtPosition(0);
        grid()->setFocusedCell({model().rowAtPosition(row), column});
        return true;
    }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override { forgetCells(); }

    // The grid got the focus, and its focused cell is still to be announced.
    bool cellFocusOwed = false;

private:
    static quint64 key(qint32 row, qint32 columnId) {
        return (quint64(quint32(row + 1)) << 32) | quint32(columnId);
    }

    int focusPosition() const {
        const qint32 row = grid()->focusedCell().row;
        if (row < 0 || row >= model().rowCount())
            return -1;
        return model().positionOfRow(row);
    }

    mutable QHash<quint64, QAccessible::Id> cells_;
    RowNews news_;
};

QAccessibleInterface* gridFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("gridkit::ReportGrid")) {
        if (auto* grid = qobject_cast<ReportGrid*>(object))
            return new GridAccessible(grid);
    }
    return nullptr;
}

} // namespace

void itemChanged(ReportGrid& grid, qint32 row, qint32 item) {
    if (!QAccessible::isActive())
        return;
    auto* table = dynamic_cast<GridAccessible*>(QAccessible::queryAccessibleInterface(&grid));
    if (!table)
        return;
    // What the user's row reads anew is news to them, whichever of its cells they are on.
    const bool usersRow = grid.hasFocus() && grid.focusedCell().row == row;
    grid.model().forEachColumnShowing(item, [&](qint32 id) {
        CellAccessible* cell = table->madeCell(row, id);
        if (cell && cell->update() && usersRow)
            table->tell(*cell);
    });
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
    table->knowRow(grid.focusedCell().row);
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

} // namespace gridkit::detail
