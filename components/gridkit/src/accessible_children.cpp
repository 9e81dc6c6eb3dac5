#include "accessible_children.h"

#include "accessible_cell.h"

#include "gridgauge/gridkit/report_grid.h"

#include <QWidget>

namespace gridkit::detail {

// --- a button inside a cell ---

ControlAccessible::ControlAccessible(CellAccessible* cell, ReportGrid* grid, qint32 row,
                                     qint32 columnId, qint32 position)
    : cell_(cell)
    , grid_(grid)
    , row_(row)
    , column_(columnId)
    , position_(position) {
    if (const ControlData* data = control()) {
        heardName_ = data->caption;
        heardEnabled_ = data->enabled;
    }
}

void ControlAccessible::update() {
    const ControlData* data = control();
    if (!data)
        return;
    if (data->caption != heardName_) {
        heardName_ = data->caption;
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
    if (data->enabled != heardEnabled_) {
        heardEnabled_ = data->enabled;
        QAccessible::State changed;
        changed.disabled = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
}

QWindow* ControlAccessible::window() const {
    return cell_->window();
}

QAccessibleInterface* ControlAccessible::parent() const {
    return cell_;
}

QString ControlAccessible::text(QAccessible::Text t) const {
    const ControlData* data = control();
    return data && t == QAccessible::Name ? data->caption : QString();
}

QRect ControlAccessible::rect() const {
    if (!control())
        return {};
    const QRect local = grid_->controlRect({row_, column_}, position_);
    return QRect(grid_->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::State ControlAccessible::state() const {
    QAccessible::State state;
    if (!control()) {
        state.invalid = true;
        return state;
    }
    state.disabled = !clickable();
    // The button Space presses has the focus while its cell has it.
    state.focusable = clickable();
    state.focused = position_ == cell_->keyControl() && cell_->isFocused();
    state.pressed = grid_->isControlPressed({row_, column_}, position_);
    state.offscreen = cell_->state().offscreen;
    return state;
}

void* ControlAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ActionInterface)
        return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
}

QStringList ControlAccessible::actionNames() const {
    return clickable() ? QStringList{pressAction()} : QStringList{};
}

void ControlAccessible::doAction(const QString& actionName) {
    if (actionName != pressAction() || !clickable())
        return;
    // The handler of the click may rebuild or destroy the grid, and this interface with it:
    // nothing of it is touched afterwards.
    const qint32 index = grid_->model().column(column_).itemIndex;
    grid_->clickItemControl(row_, index, position_);
}

const ItemData* ControlAccessible::itemData() const {
    if (!cell_->isValid())
        return nullptr;
    const GridModel& model = grid_->model();
    return model.itemIfAny(row_, model.column(column_).itemIndex);
}

const ControlData* ControlAccessible::control() const {
    const ItemData* item = itemData();
    if (!item || position_ >= item->controlCount())
        return nullptr;
    return &(*item->controls)[std::size_t(position_)];
}

bool ControlAccessible::clickable() const {
    return cell_->isValid() && grid_->isEnabled() &&
           grid_->model().controlEnabled(row_, grid_->model().column(column_).itemIndex, position_);
}

// --- a cell's check box ---

CheckBoxAccessible::CheckBoxAccessible(CellAccessible* cell)
    : cell_(cell) {}

bool CheckBoxAccessible::isValid() const {
    return cell_->isValid() && cell_->state().checkable;
}

QWindow* CheckBoxAccessible::window() const {
    return cell_->window();
}

QAccessibleInterface* CheckBoxAccessible::parent() const {
    return cell_;
}

QString CheckBoxAccessible::text(QAccessible::Text t) const {
    return t == QAccessible::Name ? cell_->text(t) : QString();
}

QRect CheckBoxAccessible::rect() const {
    return cell_->rect();
}

QAccessible::State CheckBoxAccessible::state() const {
    const QAccessible::State cell = cell_->state();
    QAccessible::State state;
    state.invalid = !cell.checkable;
    state.checkable = cell.checkable;
    state.checked = cell.checked;
    state.offscreen = cell.offscreen;
    return state;
}

void* CheckBoxAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ActionInterface)
        return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
}

QStringList CheckBoxAccessible::actionNames() const {
    return cell_->actionNames();
}

void CheckBoxAccessible::doAction(const QString& actionName) {
    cell_->doAction(actionName);
}

// --- a widget laid over a cell ---

CoverAccessible::CoverAccessible(CellAccessible* cell, QWidget* widget)
    : cell_(cell)
    , widget_(widget) {}

QAccessibleInterface* CoverAccessible::shown() const {
    return widget_ ? QAccessible::queryAccessibleInterface(widget_.data()) : nullptr;
}

bool CoverAccessible::isValid() const {
    QAccessibleInterface* iface = shown();
    return cell_->isValid() && iface && iface->isValid();
}

QWindow* CoverAccessible::window() const {
    return cell_->window();
}

QAccessibleInterface* CoverAccessible::parent() const {
    return cell_;
}

QString CoverAccessible::text(QAccessible::Text t) const {
    QAccessibleInterface* iface = shown();
    return iface ? iface->text(t) : QString();
}

QRect CoverAccessible::rect() const {
    QAccessibleInterface* iface = shown();
    return iface ? iface->rect() : QRect();
}

QAccessible::Role CoverAccessible::role() const {
    QAccessibleInterface* iface = shown();
    return iface ? iface->role() : QAccessible::NoRole;
}

QAccessible::State CoverAccessible::state() const {
    QAccessibleInterface* iface = shown();
    if (!iface || !cell_->isValid()) {
        QAccessible::State state;
        state.invalid = true;
        return state;
    }
    QAccessible::State state = iface->state();
    // The user is on it while on the cell, whether or not the widget could take the focus.
    state.focusable = true;
    state.focused = cell_->isFocused();
    return state;
}

void* CoverAccessible::interface_cast(QAccessible::InterfaceType type) {
    QAccessibleInterface* iface = shown();
    switch (type) {
    case QAccessible::ValueInterface:
    case QAccessible::TextInterface:
    case QAccessible::ActionInterface:
        return iface ? iface->interface_cast(type) : nullptr;
    default:
        return nullptr;
    }
}

} // namespace gridkit::detail
