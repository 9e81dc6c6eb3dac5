#include "accessible_cell.h"

#include "gridgauge/gridkit/report_grid.h"

#include <QWindow>

namespace gridkit::detail {

namespace {

void send(QAccessibleInterface* iface, QAccessible::Event type) {
    QAccessibleEvent event(iface, type);
    QAccessible::updateAccessibility(&event);
}

QRect toScreen(const ReportGrid& grid, const QRect& local) {
    return QRect(grid.mapToGlobal(local.topLeft()), local.size());
}

// A button inside a cell. Its parent cell owns it and outlives it.
class ControlAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    ControlAccessible(CellAccessible* cell, ReportGrid* grid, qint32 row, qint32 columnId,
                      qint32 position)
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

    void update() {
        const ControlData* data = control();
        if (!data)
            return;
        if (data->caption != heardName_) {
            heardName_ = data->caption;
            send(this, QAccessible::NameChanged);
        }
        if (data->enabled != heardEnabled_) {
            heardEnabled_ = data->enabled;
            QAccessible::State changed;
            changed.disabled = true;
            QAccessibleStateChangeEvent event(this, changed);
            QAccessible::updateAccessibility(&event);
        }
    }

    bool isValid() const override { return control() != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return cell_->window(); }
    QAccessibleInterface* parent() const override { return cell_; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text t) const override {
        const ControlData* data = control();
        return data && t == QAccessible::Name ? data->caption : QString();
    }

    QRect rect() const override {
        if (!control())
            return {};
        return toScreen(*grid_, grid_->controlRect({row_, column_}, position_));
    }

    QAccessible::Role role() const override { return QAccessible::PushButton; }

    QAccessible::State state() const override {
        QAccessible::State state;
        const ControlData* data = control();
        if (!data) {
            state.invalid = true;
            return state;
        }
        state.disabled = !clickable();
        state.pressed = grid_->isControlPressed({row_, column_}, position_);
        state.offscreen = cell_->state().offscreen;
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    // As with any push button, a disabled one offers nothing to do.
    QStringList actionNames() const override {
        return clickable() ? QStringList{pressAction()} : QStringList{};
    }

    void doAction(const QString& actionName) override {
        if (actionName != pressAction() || !clickable())
            return;
        // The handler of the click may rebuild or destroy the grid, and this interface with it:
        // nothing of it is touched afterwards.
        const qint32 index = grid_->model().column(column_).itemIndex;
        grid_->clickItemControl(row_, index, position_);
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    const ItemData* itemData() const {
        if (!cell_->isValid())
            return nullptr;
        const GridModel& model = grid_->model();
        return model.itemIfAny(row_, model.column(column_).itemIndex);
    }
    const ControlData* control() const {
        const ItemData* item = itemData();
        if (!item || position_ >= item->controlCount())
            return nullptr;
        return &(*item->controls)[std::size_t(position_)];
    }
    // What the mouse can click: an enabled button of an enabled grid.
    bool clickable() const {
        return cell_->isValid() && grid_->isEnabled() &&
               grid_->model().controlEnabled(row_, grid_->model().column(column_).itemIndex,
                                             position_);
    }

    CellAccessible* cell_;
    QPointer<ReportGrid> grid_;
    qint32 row_;
    qint32 column_;
    qint32 position_;
    QString heardName_;
    bool heardEnabled_ = true;
};

} // namespace

CellAccessible::CellAccessible(ReportGrid* grid, qint32 row, qint32 columnId)
    : grid_(grid)
    , row_(row)
    , column_(columnId) {
    heardName_ = text(QAccessible::Name);
    if (const ItemData* data = item()) {
        heardChecked_ = data->checked;
        heardControls_ = childCount();
    }
}

CellAccessible::~CellAccessible() {
    for (const QAccessible::Id id : controls_) {
        if (id)
            QAccessible::deleteAccessibleInterface(id);
    }
}

void CellAccessible::update() {
    const ItemData* data = item();
    if (!data)
        return;
    if (const QString name = text(QAccessible::Name); name != heardName_) {
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
    const int count = childCount();
    for (std::size_t i = 0; i < controls_.size() && int(i) < heardControls_; ++i) {
        QAccessibleInterface* button =
            controls_[i] ? QAccessible::accessibleInterface(controls_[i]) : nullptr;
        if (button)
            static_cast<ControlAccessible*>(button)->update();
    }
    for (int i = heardControls_; i < count; ++i)
        send(control(i), QAccessible::ObjectCreated);
    heardControls_ = std::max(heardControls_, count);
}

const ItemData* CellAccessible::item() const {
    if (!isValid() || row_ < 0)
        return nullptr;
    const GridModel& model = grid_->model();
    return model.itemIfAny(row_, model.column(column_).itemIndex);
}

QAccessibleInterface* CellAccessible::control(int position) const {
    if (position < 0 || position >= childCount())
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

QAccessibleInterface* CellAccessible::child(int index) const {
    return control(index);
}

int CellAccessible::childCount() const {
    const ItemData* data = item();
    return data ? data->controlCount() : 0;
}

int CellAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i] == id && int(i) < childCount())
            return int(i);
    }
    return -1;
}

QAccessibleInterface* CellAccessible::childAt(int x, int y) const {
    for (int i = 0; i < childCount(); ++i) {
        QAccessibleInterface* button = control(i);
        if (button->rect().contains(x, y))
            return button;
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

QStringList CellAccessible::actionNames() const {
    const ItemData* data = item();
    if (!data || !data->hasCheckBox || !grid_->isEnabled())
        return {};
    return {toggleAction()};
}

void CellAccessible::doAction(const QString& actionName) {
    if (actionName != toggleAction() || !actionNames().contains(actionName))
        return;
    // As with a click, the handler may destroy this interface: nothing of it is touched after.
    grid_->toggleItemCheck(row_, grid_->model().column(column_).itemIndex);
}

} // namespace gridkit::detail
