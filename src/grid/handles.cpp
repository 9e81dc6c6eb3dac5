// The handles. Each call locks the grid first, so a handle whose grid is gone fails with 91
// before it looks at anything; the model validates before it writes, so a refused call changes
// nothing.
#include "handles.h"

#include "grid_control.h"

#include "gridgauge/host/runtime_error.h"

using host::RuntimeError;

namespace report {

namespace detail {
Grid& GridRef::lock() const {
    Grid* grid = get();
    if (!grid)
        throw RuntimeError(host::ObjectNotSet);
    return *grid;
}
} // namespace detail

// --- Column ---

Column::Column(detail::GridRef grid, qint32 id)
    : grid_(std::move(grid))
    , id_(id) {}

QString Column::caption() const {
    return grid_.lock().model().column(id_).caption;
}
void Column::setCaption(const QString& caption) {
    grid_.lock().model().setColumnCaption(id_, caption);
}
QString Column::tooltip() const {
    return grid_.lock().model().column(id_).tooltip;
}
void Column::setTooltip(const QString& tooltip) {
    grid_.lock().model().setColumnTooltip(id_, tooltip);
}
qint32 Column::index() const {
    return grid_.lock().model().column(id_).itemIndex;
}
qint32 Column::width() const {
    Grid& grid = grid_.lock();
    grid.model().column(id_);
    return grid.columnWidth(id_);
}
void Column::setWidth(qint32 width) {
    Grid& grid = grid_.lock();
    grid.model().column(id_);
    if (width < 0)
        throw RuntimeError(host::InvalidPropertyValue);
    grid.setColumnWidth(id_, width);
}
bool Column::resizable() const {
    return grid_.lock().model().column(id_).resizable;
}
bool Column::visible() const {
    grid_.lock().model().column(id_);
    return true; // columns are never hidden; kept for hosts that ask
}
bool Column::operator==(const Column& other) const {
    return id_ == other.id_ && grid_ == other.grid_;
}

// --- ColumnList ---

ColumnList::ColumnList(detail::GridRef grid)
    : grid_(std::move(grid)) {}

Column ColumnList::add(qint32 itemIndex, const QString& caption, qint32 width, bool resizable) {
    Grid& grid = grid_.lock();
    const qint32 id = grid.model().addColumn(itemIndex, caption, width, resizable);
    grid.setColumnWidth(id, width);
    grid.setColumnResizable(id, resizable);
    return Column(grid_, id);
}
qint32 ColumnList::count() const {
    return grid_.lock().model().columnTotal();
}
Column ColumnList::column(qint32 position) const {
    const Grid& grid = grid_.lock();
    if (position < 0 || position >= grid.model().columnTotal())
        throw RuntimeError(host::SubscriptOutOfRange);
    return Column(grid_, grid.logicalColumn(position));
}
std::optional<Column> ColumnList::find(qint32 itemIndex) const {
    const qint32 id = grid_.lock().model().findColumn(itemIndex);
    if (id < 0)
        return std::nullopt;
    return Column(grid_, id);
}

// --- ItemControl ---

ItemControl::ItemControl(detail::GridRef grid, qint32 record, qint32 item, qint32 position)
    : grid_(std::move(grid))
    , record_(record)
    , item_(item)
    , position_(position) {}

qint32 ItemControl::id() const {
    return grid_.lock().model().control(record_, item_, position_).id;
}
QString ItemControl::caption() const {
    return grid_.lock().model().control(record_, item_, position_).caption;
}
void ItemControl::setCaption(const QString& caption) {
    grid_.lock().model().setControlCaption(record_, item_, position_, caption);
}
bool ItemControl::enabled() const {
    return grid_.lock().model().control(record_, item_, position_).enabled;
}
void ItemControl::setEnabled(bool enabled) {
    grid_.lock().model().setControlEnabled(record_, item_, position_, enabled);
}
qint16 ItemControl::alignment() const {
    return grid_.lock().model().control(record_, item_, position_).alignment;
}
void ItemControl::setAlignment(qint16 alignment) {
    grid_.lock().model().setControlAlignment(record_, item_, position_, alignment);
}
bool ItemControl::operator==(const ItemControl& other) const {
    return record_ == other.record_ && item_ == other.item_ && position_ == other.position_ &&
           grid_ == other.grid_;
}

// --- ItemControlList ---

ItemControlList::ItemControlList(detail::GridRef grid, qint32 record, qint32 item)
    : grid_(std::move(grid))
    , record_(record)
    , item_(item) {}

ItemControl ItemControlList::add(qint32 id) {
    const qint32 position = grid_.lock().model().addControl(record_, item_, id);
    return ItemControl(grid_, record_, item_, position);
}
qint32 ItemControlList::count() const {
    return grid_.lock().model().item(record_, item_).controlCount();
}
ItemControl ItemControlList::at(qint32 position) const {
    grid_.lock().model().control(record_, item_, position);
    return ItemControl(grid_, record_, item_, position);
}

// --- Item ---

Item::Item(detail::GridRef grid, qint32 record, qint32 item)
    : grid_(std::move(grid))
    , record_(record)
    , item_(item) {}

QString Item::value() const {
    return grid_.lock().model().item(record_, item_).value;
}
QString Item::caption() const {
    return grid_.lock().model().item(record_, item_).caption;
}
void Item::setCaption(const QString& caption) {
    grid_.lock().model().setCaption(record_, item_, caption);
}
qint32 Item::index() const {
    grid_.lock().model().item(record_, item_);
    return item_;
}
bool Item::hasCheckBox() const {
    return grid_.lock().model().item(record_, item_).hasCheckBox;
}
void Item::setHasCheckBox(bool hasCheckBox) {
    grid_.lock().model().setHasCheckBox(record_, item_, hasCheckBox);
}
bool Item::checked() const {
    return grid_.lock().model().item(record_, item_).checked;
}
void Item::setChecked(bool checked) {
    grid_.lock().model().setChecked(record_, item_, checked);
}
ItemControlList Item::itemControls() const {
    grid_.lock().model().item(record_, item_);
    return ItemControlList(grid_, record_, item_);
}
Record Item::record() const {
    grid_.lock().model().item(record_, item_);
    return Record(grid_, record_);
}
bool Item::operator==(const Item& other) const {
    return record_ == other.record_ && item_ == other.item_ && grid_ == other.grid_;
}

// --- Record ---

Record::Record(detail::GridRef grid, qint32 record)
    : grid_(std::move(grid))
    , record_(record) {}

Item Record::addItem(const QString& value) {
    return Item(grid_, record_, grid_.lock().model().addItem(record_, value));
}
Item Record::item(qint32 index) const {
    grid_.lock().model().item(record_, index);
    return Item(grid_, record_, index);
}
qint32 Record::itemCount() const {
    return grid_.lock().model().itemCount(record_);
}
qint32 Record::index() const {
    grid_.lock();
    return record_;
}
bool Record::operator==(const Record& other) const {
    return record_ == other.record_ && grid_ == other.grid_;
}

// --- RecordList ---

RecordList::RecordList(detail::GridRef grid)
    : grid_(std::move(grid)) {}

Record RecordList::add() {
    return Record(grid_, grid_.lock().model().addRecord());
}
qint32 RecordList::count() const {
    return grid_.lock().model().recordCount();
}
Record RecordList::record(qint32 index) const {
    if (index < 0 || index >= grid_.lock().model().recordCount())
        throw RuntimeError(host::SubscriptOutOfRange);
    return Record(grid_, index);
}

// --- Row ---

Row::Row(detail::GridRef grid, quint64 generation, qint32 row)
    : grid_(std::move(grid))
    , generation_(generation)
    , row_(row) {}

Record Row::record() const {
    grid_.lock().model().checkRow(generation_, row_);
    return Record(grid_, row_);
}
qint32 Row::index() const {
    grid_.lock().model().checkRow(generation_, row_);
    return row_;
}
void Row::itemBounds(const Item& item, qint32& left, qint32& top, qint32& right,
                     qint32& bottom) const {
    const Grid& grid = grid_.lock();
    grid.model().checkRow(generation_, row_);
    if (!(item.record() == Record(grid_, row_)))
        throw RuntimeError(host::InvalidProcedureCall);
    const qint32 column = grid.model().findColumn(item.index());
    if (column < 0)
        throw RuntimeError(host::InvalidProcedureCall); // no column shows it: it has no cell
    const QRect cell = grid.cellBounds(row_, column);
    left = cell.left();
    top = cell.top();
    right = cell.left() + cell.width();
    bottom = cell.top() + cell.height();
}

bool Row::operator==(const Row& other) const {
    return row_ == other.row_ && generation_ == other.generation_ && grid_ == other.grid_;
}

// --- RowList ---

RowList::RowList(detail::GridRef grid)
    : grid_(std::move(grid)) {}

Row RowList::row(qint32 number) const {
    const Grid& grid = grid_.lock();
    if (number < 0 || number >= grid.model().rows())
        throw RuntimeError(host::SubscriptOutOfRange);
    return grid.rowHandle(number);
}
qint32 RowList::count() const {
    return grid_.lock().model().rows();
}

} // namespace report
