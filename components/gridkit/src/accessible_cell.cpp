#include "accessible_cell.h"

#include "accessible_children.h"
#include "cell_content.h"
#include "link_input.h"

#include "gridgauge/gridkit/grid_delegate.h"
#include "gridgauge/gridkit/report_grid.h"

#include <QItemSelectionModel>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QWidget>
#include <QWindow>

#include <utility>

namespace gridgauge::gridkit::detail {

namespace {

void send(QAccessibleInterface* iface, QAccessible::Event type) {
    QAccessibleEvent event(iface, type);
    QAccessible::updateAccessibility(&event);
}

QRect toScreen(const ReportGrid& grid, const QRect& local) {
    return QRect(grid.mapToGlobal(local.topLeft()), local.size());
}

// What the model's rules let the user press and tick, for a view that is enabled or not.
QStyleOptionViewItem enabledIn(const ReportGrid& grid) {
    QStyleOptionViewItem option;
    option.state = grid.isEnabled() ? QStyle::State_Enabled : QStyle::State_None;
    return option;
}

} // namespace

CellAccessible::CellAccessible(ReportGrid* grid, int row, int column)
    : grid_(grid)
    , row_(row)
    , column_(column) {
    heardName_ = text(QAccessible::Name);
    const CellContent content = CellContent::read(index());
    heardChecked_ = content.checkState() == Qt::Checked;
    heardControls_ = int(content.buttons.size());
}

CellAccessible::~CellAccessible() {
    for (const auto* ids : {&controls_, &links_}) {
        for (const QAccessible::Id id : *ids) {
            if (id)
                QAccessible::deleteAccessibleInterface(id);
        }
    }
    if (cover_)
        QAccessible::deleteAccessibleInterface(cover_);
    if (checkBox_)
        QAccessible::deleteAccessibleInterface(checkBox_);
}

QModelIndex CellAccessible::index() const {
    if (!grid_ || row_ < 0 || !grid_->model())
        return {};
    return grid_->model()->index(row_, column_, grid_->rootIndex());
}

int CellAccessible::buttonCount() const {
    return int(CellContent::read(index()).buttons.size());
}

bool CellAccessible::hasCheckBox() const {
    return CellContent::read(index()).hasCheckBox();
}

int CellAccessible::linkCount() const {
    const QModelIndex cell = index();
    const LinkInput* links =
        cell.isValid() ? LinkInput::of(grid_->itemDelegateForIndex(cell)) : nullptr;
    return links ? int(links->links(*grid_, cell).size()) : 0;
}

bool CellAccessible::update() {
    const QModelIndex cell = index();
    if (!cell.isValid())
        return false;
    const QString name = text(QAccessible::Name);
    const bool renamed = name != heardName_;
    if (renamed) {
        heardName_ = name;
        send(this, QAccessible::NameChanged);
    }
    const CellContent content = CellContent::read(cell);
    const bool checked = content.checkState() == Qt::Checked;
    if (checked != heardChecked_) {
        heardChecked_ = checked;
        QAccessible::State changed;
        changed.checked = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
    const int count = int(content.buttons.size());
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
    return isValid() && row_ >= 0 && grid_->currentIndex() == index() && grid_->hasFocus();
}

int CellAccessible::keyControl() const {
    if (!isValid() || row_ < 0)
        return -1;
    return CellContent::read(index()).firstEnabledButton(enabledIn(*grid_));
}

QAccessibleInterface* CellAccessible::focusTarget() const {
    if (const int position = keyControl(); position >= 0)
        return control(position);
    return cover();
}

// Buttons cover their cell themselves: a widget is only met over a cell without any.
QAccessibleInterface* CellAccessible::cover() const {
    QWidget* widget = row_ >= 0 && buttonCount() == 0 ? coveringWidget() : nullptr;
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
    // Cells show only where the viewport is.
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

QAccessibleInterface* CellAccessible::control(int position) const {
    if (position < 0 || position >= buttonCount())
        return nullptr;
    if (controls_.size() <= std::size_t(position))
        controls_.resize(std::size_t(position) + 1, 0);
    QAccessible::Id& id = controls_[std::size_t(position)];
    if (!id) {
        id = QAccessible::registerAccessibleInterface(
            new ControlAccessible(const_cast<CellAccessible*>(this), position));
    }
    return QAccessible::accessibleInterface(id);
}

QAccessibleInterface* CellAccessible::checkBox() const {
    if (row_ < 0 || buttonCount() > 0 || !hasCheckBox())
        return nullptr;
    if (!checkBox_)
        checkBox_ = QAccessible::registerAccessibleInterface(
            new CheckBoxAccessible(const_cast<CellAccessible*>(this)));
    return QAccessible::accessibleInterface(checkBox_);
}

bool CellAccessible::isValid() const {
    if (!grid_ || !grid_->model())
        return false;
    const QAbstractItemModel& model = *grid_->model();
    return row_ < model.rowCount(grid_->rootIndex()) &&
           column_ < model.columnCount(grid_->rootIndex());
}

QWindow* CellAccessible::window() const {
    return grid_ ? grid_->window()->windowHandle() : nullptr;
}

QAccessibleInterface* CellAccessible::parent() const {
    return grid_ ? QAccessible::queryAccessibleInterface(grid_.data()) : nullptr;
}

QAccessibleInterface* CellAccessible::link(int position) const {
    if (position < 0 || position >= linkCount())
        return nullptr;
    if (links_.size() <= std::size_t(position))
        links_.resize(std::size_t(position) + 1, 0);
    QAccessible::Id& id = links_[std::size_t(position)];
    if (!id) {
        id = QAccessible::registerAccessibleInterface(
            new LinkAccessible(const_cast<CellAccessible*>(this), position));
    }
    return QAccessible::accessibleInterface(id);
}

// The buttons, or else the check box, or else the widget laid over the cell; then the links its
// text shows (a cell of buttons shows no text).
QAccessibleInterface* CellAccessible::child(int index) const {
    if (buttonCount() > 0)
        return control(index);
    QAccessibleInterface* first = checkBox();
    if (!first)
        first = cover();
    if (first && index == 0)
        return first;
    return link(first ? index - 1 : index);
}

int CellAccessible::childCount() const {
    if (row_ < 0)
        return 0;
    if (const int buttons = buttonCount(); buttons > 0)
        return buttons;
    return (checkBox() || cover() ? 1 : 0) + linkCount();
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
    const QAbstractItemModel& model = *grid_->model();
    if (row_ < 0) {
        if (t == QAccessible::Name)
            return model.headerData(column_, Qt::Horizontal, Qt::DisplayRole).toString();
        if (t == QAccessible::Description)
            return model.headerData(column_, Qt::Horizontal, Qt::ToolTipRole).toString();
        return {};
    }
    if (t != QAccessible::Name)
        return {};
    const QModelIndex cell = index();
    const QString given = cell.data(Qt::AccessibleTextRole).toString();
    if (!given.isEmpty())
        return given;
    // Markup reads as its text; buttons, which cover the cell, by their captions.
    if (auto* delegate = qobject_cast<GridDelegate*>(grid_->itemDelegateForIndex(cell)))
        return delegate->readableText(cell);
    return cell.data(Qt::DisplayRole).toString();
}

// In the grid's own coordinates.
QRect CellAccessible::localRect() const {
    if (!grid_)
        return {};
    const QPoint viewport = grid_->viewport()->pos();
    if (row_ < 0)
        return grid_->headerRect(column_).translated(viewport);
    const QRect cell = grid_->visualRect(index());
    return cell.isNull() ? QRect() : cell.translated(viewport);
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
    if (row_ < 0)
        return state;
    const QModelIndex cell = index();
    state.focusable = true;
    state.selectable = true;
    const QItemSelectionModel* selection = grid_->selectionModel();
    state.selected = selection && selection->isSelected(cell);
    state.focused = isFocused();
    const CellContent content = CellContent::read(cell);
    if (content.hasCheckBox() && !content.hasButtons()) {
        state.checkable = true;
        state.checked = content.checkState() == Qt::Checked;
        state.checkStateMixed = content.checkState() == Qt::PartiallyChecked;
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
    const QItemSelectionModel* selection = isValid() ? grid_->selectionModel() : nullptr;
    return selection && row_ >= 0 && selection->isSelected(index());
}

QList<QAccessibleInterface*> CellAccessible::columnHeaderCells() const {
    QAccessibleInterface* grid = isValid() ? parent() : nullptr;
    // The header row comes first among the table's children.
    if (QAccessibleInterface* header = grid ? grid->child(columnIndex()) : nullptr)
        return {header};
    return {};
}

int CellAccessible::columnIndex() const {
    return isValid() ? grid_->visualColumn(column_) : -1;
}

int CellAccessible::rowIndex() const {
    return isValid() && row_ >= 0 ? row_ : -1;
}

QString CellAccessible::atspiToggleAction() {
    return QStringLiteral("toggle");
}

QStringList CellAccessible::actionNames() const {
    if (!isValid() || row_ < 0)
        return {};
    const CellContent content = CellContent::read(index());
    if (content.hasButtons() || !content.userCheckable(enabledIn(*grid_)))
        return {};
    return {toggleAction(), atspiToggleAction()};
}

void CellAccessible::doAction(const QString& actionName) {
    if (!actionNames().contains(actionName))
        return;
    // As with a click, the handler may destroy this interface: nothing of it is touched after.
    const QModelIndex cell = index();
    CellContent::read(cell).toggle(*grid_->model(), cell);
}

} // namespace gridgauge::gridkit::detail
