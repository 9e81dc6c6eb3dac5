#include "accessible_children.h"

#include "accessible_cell.h"

#include "cell_content.h"

#include "gridgauge/gridkit/grid_delegate.h"
#include "gridgauge/gridkit/report_grid.h"

#include <QStyle>
#include <QStyleOptionViewItem>

#include <QWidget>

namespace gridgauge::gridkit::detail {

// --- a button inside a cell ---

namespace {

QStyleOptionViewItem enabledIn(const ReportGrid* grid) {
    QStyleOptionViewItem option;
    option.state = grid && grid->isEnabled() ? QStyle::State_Enabled : QStyle::State_None;
    return option;
}

} // namespace

ControlAccessible::ControlAccessible(CellAccessible* cell, int position)
    : cell_(cell)
    , position_(position) {
    heardName_ = caption();
    heardEnabled_ = clickable();
}

bool ControlAccessible::isValid() const {
    return cell_->isValid() && position_ < CellContent::read(cell_->index()).buttons.size();
}

QString ControlAccessible::caption() const {
    const QStringList buttons = CellContent::read(cell_->index()).buttons;
    return position_ < buttons.size() ? buttons[position_] : QString();
}

void ControlAccessible::update() {
    if (!isValid())
        return;
    if (const QString name = caption(); name != heardName_) {
        heardName_ = name;
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
    if (const bool enabled = clickable(); enabled != heardEnabled_) {
        heardEnabled_ = enabled;
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
    return isValid() && t == QAccessible::Name ? caption() : QString();
}

QRect ControlAccessible::rect() const {
    ReportGrid* grid = cell_->grid();
    if (!isValid() || !grid)
        return {};
    const QRect local =
        grid->buttonRect(cell_->index(), position_).translated(grid->viewport()->pos());
    return QRect(grid->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::State ControlAccessible::state() const {
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    state.disabled = !clickable();
    // The button Space presses has the focus while its cell has it.
    state.focusable = clickable();
    state.focused = position_ == cell_->keyControl() && cell_->isFocused();
    auto* delegate =
        qobject_cast<GridDelegate*>(cell_->grid()->itemDelegateForIndex(cell_->index()));
    state.pressed = delegate && delegate->isButtonPressed(cell_->index(), position_);
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
    // The handler of the click may change the model or destroy the grid, and this interface
    // with it: nothing of it is touched afterwards.
    ReportGrid* grid = cell_->grid();
    const QModelIndex cell = cell_->index();
    if (auto* delegate = qobject_cast<GridDelegate*>(grid->itemDelegateForIndex(cell)))
        delegate->clickButton(grid, cell, position_);
}

bool ControlAccessible::clickable() const {
    return cell_->isValid() &&
           CellContent::read(cell_->index()).buttonEnabled(enabledIn(cell_->grid()), position_);
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
    ReportGrid* grid = cell_->grid();
    if (!isValid() || !grid)
        return {};
    const QRect local = grid->checkBoxRect(cell_->index()).translated(grid->viewport()->pos());
    return QRect(grid->mapToGlobal(local.topLeft()), local.size());
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

} // namespace gridgauge::gridkit::detail
