// The grid as an accessible table: a header row of column headers, then one row per grid row,
// both in the order they are shown on screen. Cells are made on demand and remembered by row
// number and column, so a re-sort or a reordered column needs no new cells.
#include "accessibility.h"

#include "view_access.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QWindow>

namespace gridkit::detail {

namespace {

class GridAccessible;

class CellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    // row -1 is the header cell of the column.
    CellAccessible(ReportGrid* grid, qint32 row, qint32 columnId)
        : grid_(grid)
        , row_(row)
        , column_(columnId) {}

    bool isValid() const override {
        if (!grid_)
            return false;
        const GridModel& model = grid_->model();
        return row_ < model.rowCount() && column_ < model.columnCount();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return grid_ ? grid_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return grid_ ? QAccessible::queryAccessibleInterface(grid_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text t) const override {
        if (!isValid())
            return {};
        const GridModel& model = grid_->model();
        const ColumnData& column = model.column(column_);
        if (row_ < 0) {
            if (t == QAccessible::Name)
                return column.caption;
            if (t == QAccessible::Description)
                return column.tooltip;
            return {};
        }
        if (t != QAccessible::Name)
            return {};
        const ItemData* data = model.itemIfAny(row_, column.itemIndex);
        if (!data)
            return {};
        QString text = model.readableText(*data);
        if (data->controls) {
            for (const ControlData& control : *data->controls) {
                if (!text.isEmpty())
                    text += QLatin1Char(' ');
                text += control.caption;
            }
        }
        return text;
    }

    QRect rect() const override {
        if (!isValid())
            return {};
        const GridGeometry& geometry = ViewAccess::geometry(*grid_);
        const QRect local = row_ < 0 ? geometry.headerRect(geometry.positionOfColumn(column_))
                                     : geometry.cellBounds(row_, column_);
        return QRect(grid_->viewport()->mapToGlobal(local.topLeft()), local.size());
    }

    QAccessible::Role role() const override {
        return row_ < 0 ? QAccessible::ColumnHeader : QAccessible::Cell;
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        const GridModel& model = grid_->model();
        const GridInput& input = ViewAccess::input(*grid_);
        if (!grid_->viewport()->rect().intersects(
                QRect(grid_->viewport()->mapFromGlobal(rect().topLeft()), rect().size())))
            state.offscreen = true;
        if (row_ < 0)
            return state;
        state.focusable = true;
        state.selectable = true;
        state.selected = row_ == input.focusRow();
        state.focused =
            row_ == input.focusRow() && column_ == input.focusColumn() && grid_->hasFocus();
        const ItemData* data = model.itemIfAny(row_, model.column(column_).itemIndex);
        if (data && data->hasCheckBox) {
            state.checkable = true;
            state.checked = data->checked;
        }
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableCellInterface && row_ >= 0)
            return static_cast<QAccessibleTableCellInterface*>(this);
        return nullptr;
    }

    bool isSelected() const override {
        return isValid() && row_ >= 0 && row_ == ViewAccess::input(*grid_).focusRow();
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override {
        return isValid() ? ViewAccess::geometry(*grid_).positionOfColumn(column_) : -1;
    }
    int rowIndex() const override {
        return isValid() && row_ >= 0 ? grid_->model().positionOfRow(row_) : -1;
    }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    QPointer<ReportGrid> grid_;
    qint32 row_;
    qint32 column_;
};

class GridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit GridAccessible(ReportGrid* grid)
        : QAccessibleWidget(grid, QAccessible::Table) {}
    ~GridAccessible() override { forgetCells(); }

    ReportGrid* grid() const { return static_cast<ReportGrid*>(widget()); }
    const GridModel& model() const { return grid()->model(); }
    const GridGeometry& geometry() const { return ViewAccess::geometry(*grid()); }
    GridInput& input() const { return ViewAccess::input(*grid()); }

    // The interface for (row, column id), made once and kept until the model resets.
    QAccessibleInterface* cell(qint32 row, qint32 columnId) const {
        const quint64 key = (quint64(quint32(row + 1)) << 32) | quint32(columnId);
        if (const auto it = cells_.constFind(key); it != cells_.constEnd())
            return QAccessible::accessibleInterface(*it);
        auto* made = new CellAccessible(grid(), row, columnId);
        cells_.insert(key, QAccessible::registerAccessibleInterface(made));
        return made;
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
        const qint32 columnId = geometry().columnAtPosition(index % columns);
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
        const QPoint at = grid()->viewport()->mapFromGlobal(QPoint(x, y));
        const std::optional<GridGeometry::Hit> hit = geometry().hitTest(at.x(), at.y());
        if (!hit || hit->columnId < 0)
            return nullptr;
        if (at.y() < geometry().bodyTop())
            return cell(-1, hit->columnId);
        return hit->row >= 0 ? cell(hit->row, hit->columnId) : nullptr;
    }

    QAccessibleInterface* focusChild() const override {
        const GridInput& in = input();
        if (!in.hasFocusCell())
            return nullptr;
        return cell(in.focusRow(), in.focusColumn());
    }

    // --- QAccessibleTableInterface: rows and columns as shown ---
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
            return nullptr;
        return cell(model().rowAtPosition(row), geometry().columnAtPosition(column));
    }
    int columnCount() const override { return model().columnCount(); }
    int rowCount() const override { return model().rowCount(); }
    QString columnDescription(int column) const override {
        if (column < 0 || column >= columnCount())
            return {};
        return model().column(geometry().columnAtPosition(column)).caption;
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
        GridInput& in = input();
        const qint32 column =
            in.focusColumn() >= 0 ? in.focusColumn() : geometry().columnAtPosition(0);
        in.setFocusCell(model().rowAtPosition(row), column);
        return true;
    }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override { forgetCells(); }

    QList<QAccessibleInterface*> headerCells(qint32 columnId) const { return {cell(-1, columnId)}; }

private:
    int focusPosition() const {
        const GridInput& in = input();
        if (in.focusRow() < 0 || in.focusRow() >= model().rowCount())
            return -1;
        return model().positionOfRow(in.focusRow());
    }

    mutable QHash<quint64, QAccessible::Id> cells_;
};

QList<QAccessibleInterface*> CellAccessible::columnHeaderCells() const {
    if (!isValid())
        return {};
    auto* table = dynamic_cast<GridAccessible*>(parent());
    return table ? table->headerCells(column_) : QList<QAccessibleInterface*>{};
}

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
    const GridModel& model = grid.model();
    for (qint32 id = 0; id < model.columnCount(); ++id) {
        if (model.column(id).itemIndex != item)
            continue;
        QAccessibleEvent event(table->cell(row, id), QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
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
    if (QAccessibleInterface* cell = table->focusChild()) {
        QAccessibleEvent event(cell, QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    }
}

void installAccessibleFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(gridFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace gridkit::detail
