#include "accessible_children.h"

#include "accessible_cell.h"

#include "cell_content.h"
#include "link_input.h"

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

// --- a link a cell shows ---

namespace {

// The cell's links as its delegate shows them, if its delegate shows any.
QList<ShownLink> linksOf(const CellAccessible& cell) {
    ReportGrid* grid = cell.grid();
    const QModelIndex index = cell.index();
    const LinkInput* links = grid ? LinkInput::of(grid->itemDelegateForIndex(index)) : nullptr;
    return links ? links->links(*grid, index) : QList<ShownLink>();
}

} // namespace

LinkAccessible::LinkAccessible(CellAccessible* cell, int position)
    : cell_(cell)
    , position_(position) {}

bool LinkAccessible::isValid() const {
    return cell_->isValid() && position_ < linksOf(*cell_).size();
}

QWindow* LinkAccessible::window() const {
    return cell_->window();
}

QAccessibleInterface* LinkAccessible::parent() const {
    return cell_;
}

QString LinkAccessible::text(QAccessible::Text t) const {
    const QList<ShownLink> links = cell_->isValid() ? linksOf(*cell_) : QList<ShownLink>();
    if (position_ >= links.size())
        return {};
    switch (t) {
    case QAccessible::Name:
        return links[position_].text.simplified();
    case QAccessible::Description:
        return links[position_].target;
    default:
        return {};
    }
}

QRect LinkAccessible::rect() const {
    ReportGrid* grid = cell_->grid();
    const QList<ShownLink> links = cell_->isValid() ? linksOf(*cell_) : QList<ShownLink>();
    if (!grid || position_ >= links.size())
        return {};
    QRectF shown;
    for (const QRectF& piece : links[position_].rects)
        shown |= piece;
    const QRect local = shown.toAlignedRect().translated(grid->viewport()->pos());
    return shown.isEmpty() ? QRect() : QRect(grid->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::State LinkAccessible::state() const {
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    state.linked = true;
    state.disabled = !LinkInput::interactive(*cell_->grid(), cell_->index());
    state.offscreen = cell_->state().offscreen || rect().isEmpty();
    return state;
}

void* LinkAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ActionInterface)
        return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
}

QString LinkAccessible::atspiJumpAction() {
    return QStringLiteral("jump");
}

QStringList LinkAccessible::actionNames() const {
    if (!isValid() || !LinkInput::interactive(*cell_->grid(), cell_->index()))
        return {};
    return {pressAction(), atspiJumpAction()};
}

void LinkAccessible::doAction(const QString& actionName) {
    if (!actionNames().contains(actionName))
        return;
    // As with a click, the handler may destroy this interface: nothing of it is touched after.
    ReportGrid* grid = cell_->grid();
    const QModelIndex index = cell_->index();
    const int link = linksOf(*cell_).at(position_).link;
    if (LinkInput* links = LinkInput::of(grid->itemDelegateForIndex(index)))
        links->activate(grid, index, link);
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
