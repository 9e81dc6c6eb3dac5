#include "accessible_cell.h"

#include "accessible_children.h"

#include "gridgauge/gridkit/report_grid.h"

#include <QWidget>
#include <QWindow>

#include <utility>

namespace gridkit::detail {

namespace {

void send(QAccessibleInterface* iface, QAccessible::Event type) {
    QAccessibleEvent event(iface, type);
    QAccessible::updateAccessibility(&event);
}

QRect toScreen(const ReportGrid& grid, const QRect& local) {
    return QRect(grid.mapToGlobal(local.topLeft()), local.size());
}

} // namespace

CellAccessible::CellAccessible(ReportGrid* grid, qint32 row, qint32 columnId)
    : grid_(grid)
    , row_(row)
    , column_(columnId) {
    heardName_ = text(QAccessible::Name);
    if (const ItemData* data = item()) {
        heardChecked_ = data->checked;
        heardControls_ = data->controlCount();
    }
}

CellAccessible::~CellAccessible() {
    for (const QAccessible::Id id : controls_) {
        if (id)
            QAccessible::deleteAccessibleInterface(id);
    }
    if (cover_)
        QAccessible::deleteAccessibleInterface(cover_);
    if (checkBox_)
        QAccessible::deleteAccessibleInterface(checkBox_);
}

bool CellAccessible::update() {
    const ItemData* data = item();
    if (!data)
        return false;
    const QString name = text(QAccessible::Name);
    const bool renamed = name != heardName_;
    if (renamed) {
        heardName_ = name;
        send(this, QAccessible::NameChanged);
    }
    if (data->checked != heardChecked_) {
        heardChecked_ = data->checked;
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
    const int count = data->controlCount();
    for (std::size_t i = 0; i < controls_.size() && int(i) < heardControls_; ++i) {
        QAccessibleInterface* button =
            controls_[i] ? QAccessible::accessibleInterface(controls_[i]) : nullptr;
        if (button)
            static_cast<ControlAccessible*>(button)->update();
    }
    for (int i = heardControls_; i < count; ++i)
        send(control(i), QAccessible::ObjectCreated);
    heardControls_ = std::max(heardControls_, count);
    return renamed;
}

bool CellAccessible::isFocused() const {
    return isValid() && row_ >= 0 && grid_->focusedCell() == CellAddress{row_, column_} &&
           grid_->hasFocus();
}

int CellAccessible::keyControl() const {
    const ItemData* data = item();
    if (!data || !grid_->isEnabled())
        return -1;
    const qint32 index = grid_->model().column(column_).itemIndex;
    for (int i = 0; i < data->controlCount(); ++i) {
        if (grid_->model().controlEnabled(row_, index, i))
            return i;
    }
    return -1;
}

QAccessibleInterface* CellAccessible::focusTarget() const {
    if (const int position = keyControl(); position >= 0)
        return control(position);
    return cover();
}

// Buttons cover their cell themselves: a widget is only met over a cell without any.
QAccessibleInterface* CellAccessible::cover() const {
    const ItemData* data = item();
    QWidget* widget = data && !data->hasControls() ? coveringWidget() : nullptr;
    if (cover_) {
        auto* known = static_cast<CoverAccessible*>(QAccessible::accessibleInterface(cover_));
        // The same widget still there; one gone leaves an interface that has no widget either.
        if (widget && known && known->widget() == widget)
            return known;
        QAccessible::deleteAccessibleInterface(std::exchange(cover_, 0));
    }
    if (!widget)
        return nullptr;
    auto* made = new CoverAccessible(const_cast<CellAccessible*>(this), widget);
    cover_ = QAccessible::registerAccessibleInterface(made);
    return made;
}

// The topmost sibling in front of the grid that shows at the cell's centre: a host lays a control
// over a cell by placing it there and raising it, and may mask it to where the cells show.
QWidget* CellAccessible::coveringWidget() const {
    const QWidget* parent = isValid() && row_ >= 0 ? grid_->parentWidget() : nullptr;
    const QRect cell = parent ? localRect() : QRect();
    // Cells are in the grid's own coordinates, and show only where its viewport is.
    if (cell.isEmpty() || !grid_->viewport()->geometry().contains(cell.center()))
        return nullptr;
    const QPoint centre = grid_->mapTo(parent, cell.center());
    const QObjectList& siblings = parent->children();
    for (qsizetype i = siblings.size() - 1; i >= 0 && siblings[i] != grid_; --i) {
        auto* widget = qobject_cast<QWidget*>(siblings[i]);
        if (!widget || widget->isWindow() || !widget->isVisible())
            continue;
        const QPoint at = widget->mapFrom(parent, centre);
        const QRegion mask = widget->mask();
        if (widget->rect().contains(at) && (mask.isEmpty() || mask.contains(at)))
            return widget;
    }
    return nullptr;
}

const ItemData* CellAccessible::item() const {
    if (!isValid() || row_ < 0)
        return nullptr;
    const GridModel& model = grid_->model();
    return model.itemIfAny(row_, model.column(column_).itemIndex);
}

QAccessibleInterface* CellAccessible::control(int position) const {
    const ItemData* data = item();
    if (!data || position < 0 || position >= data->controlCount())
        return nullptr;
    if (controls_.size() <= std::size_t(position))
        controls_.resize(std::size_t(position) + 1, 0);
    QAccessible::Id& id = controls_[std::size_t(position)];
    if (!id) {
        id = QAccessible::registerAccessibleInterface(new ControlAccessible(
            const_cast<CellAccessible*>(this), grid_.data(), row_, column_, position));
    }
    return QAccessible::accessibleInterface(id);
}

bool CellAccessible::isValid() const {
    if (!grid_)
        return false;
    const GridModel& model = grid_->model();
    return row_ < model.rowCount() && column_ < model.columnCount();
}

QWindow* CellAccessible::window() const {
    return grid_ ? grid_->window()->windowHandle() : nullptr;
}

QAccessibleInterface* CellAccessible::parent() const {
    return grid_ ? QAccessible::queryAccessibleInterface(grid_.data()) : nullptr;
}

QAccessibleInterface* CellAccessible::checkBox() const {
    const ItemData* data = item();
    if (!data || data->hasControls() || !data->hasCheckBox)
        return nullptr;
    if (!checkBox_)
        checkBox_ = QAccessible::registerAccessibleInterface(
            new CheckBoxAccessible(const_cast<CellAccessible*>(this)));
    return QAccessible::accessibleInterface(checkBox_);
}

// The buttons, or else the check box, or else the widget laid over the cell.
QAccessibleInterface* CellAccessible::child(int index) const {
    const ItemData* data = item();
    if (data && data->hasControls())
        return control(index);
    if (index != 0)
        return nullptr;
    if (QAccessibleInterface* box = checkBox())
        return box;
    return cover();
}

int CellAccessible::childCount() const {
    const ItemData* data = item();
    if (!data)
        return 0;
    if (data->hasControls())
        return data->controlCount();
    return checkBox() || cover() ? 1 : 0;
}

int CellAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
    const int count = childCount();
    for (int i = 0; i < count; ++i) {
        if (QAccessible::uniqueId(this->child(i)) == id)
            return i;
    }
    return -1;
}

QAccessibleInterface* CellAccessible::childAt(int x, int y) const {
    for (int i = 0; i < childCount(); ++i) {
        QAccessibleInterface* inside = child(i);
        if (inside->rect().contains(x, y))
            return inside;
    }
    return nullptr;
}

QString CellAccessible::text(QAccessible::Text t) const {
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
    const ItemData* data = item();
    if (t != QAccessible::Name || !data)
        return {};
    // Markup reads as its text; buttons, which cover the cell, by their captions.
    QString text = grid_->readableText(row_, column.itemIndex);
    if (data->controls) {
        for (const ControlData& control : *data->controls) {
            if (control.caption.isEmpty())
                continue;
            if (!text.isEmpty())
                text += QLatin1Char(' ');
            text += control.caption;
        }
    }
    return text;
}

QRect CellAccessible::localRect() const {
    return row_ < 0 ? grid_->headerRect(column_) : grid_->cellRect({row_, column_});
}

QRect CellAccessible::rect() const {
    return isValid() ? toScreen(*grid_, localRect()) : QRect();
}

QAccessible::Role CellAccessible::role() const {
    return row_ < 0 ? QAccessible::ColumnHeader : QAccessible::Cell;
}

QAccessible::State CellAccessible::state() const {
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    if (!grid_->viewport()->geometry().intersects(localRect()))
        state.offscreen = true;
    const ItemData* data = item();
    if (!data)
        return state;
    const CellAddress focus = grid_->focusedCell();
    state.focusable = true;
    state.selectable = true;
    state.selected = row_ == focus.row;
    state.focused = focus == CellAddress{row_, column_} && grid_->hasFocus();
    if (data->hasCheckBox) {
        state.checkable = true;
        state.checked = data->checked;
    }
    return state;
}

void* CellAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (row_ < 0)
        return nullptr;
    if (type == QAccessible::TableCellInterface)
        return static_cast<QAccessibleTableCellInterface*>(this);
    if (type == QAccessible::ActionInterface)
        return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
}

bool CellAccessible::isSelected() const {
    return isValid() && row_ >= 0 && row_ == grid_->focusedCell().row;
}

QList<QAccessibleInterface*> CellAccessible::columnHeaderCells() const {
    QAccessibleInterface* grid = isValid() ? parent() : nullptr;
    // The header row comes first among the table's children.
    if (QAccessibleInterface* header = grid ? grid->child(columnIndex()) : nullptr)
        return {header};
    return {};
}

int CellAccessible::columnIndex() const {
    return isValid() ? grid_->positionOfColumn(column_) : -1;
}

int CellAccessible::rowIndex() const {
    return isValid() && row_ >= 0 ? grid_->model().positionOfRow(row_) : -1;
}

QString CellAccessible::atspiToggleAction() {
    return QStringLiteral("toggle");
}

QStringList CellAccessible::actionNames() const {
    const ItemData* data = item();
    if (!data || !data->hasCheckBox || !grid_->isEnabled())
        return {};
    return {toggleAction(), atspiToggleAction()};
}

void CellAccessible::doAction(const QString& actionName) {
    if (!actionNames().contains(actionName))
        return;
    // As with a click, the handler may destroy this interface: nothing of it is touched after.
    grid_->toggleItemCheck(row_, grid_->model().column(column_).itemIndex);
}

} // namespace gridkit::detail
