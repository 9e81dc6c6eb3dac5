// The handles of the object model. Every call locks the grid first, so a handle whose grid is gone
// fails with 91 before it looks at anything, and validates before it writes, so a refused call
// changes nothing.
#include "grid_core.h"
#include "report_grid.h"

#include <algorithm>
#include <limits>

using host::RuntimeError;

namespace gridkit {

namespace detail {

GridCore* GridCore::lock(const CoreRef& ref) {
    GridCore* core = ref.get();
    if (!core || !core->view)
        throw RuntimeError(host::ObjectNotSet);
    return core;
}

ItemData& GridCore::item(qint32 record, qint32 index) {
    if (record < 0 || std::size_t(record) >= records.size())
        throw RuntimeError(host::SubscriptOutOfRange);
    std::vector<ItemData>& items = records[std::size_t(record)].items;
    if (index < 0 || std::size_t(index) >= items.size())
        throw RuntimeError(host::SubscriptOutOfRange);
    return items[std::size_t(index)];
}

const ItemData* GridCore::itemIfAny(qint32 record, qint32 index) const {
    if (record < 0 || std::size_t(record) >= records.size())
        return nullptr;
    const std::vector<ItemData>& items = records[std::size_t(record)].items;
    if (index < 0 || std::size_t(index) >= items.size())
        return nullptr;
    return &items[std::size_t(index)];
}

ControlData& GridCore::control(qint32 record, qint32 index, qint32 position) {
    ItemData& data = item(record, index);
    if (!data.controls || position < 0 || std::size_t(position) >= data.controls->size())
        throw RuntimeError(host::SubscriptOutOfRange);
    return (*data.controls)[std::size_t(position)];
}

qint32 GridCore::findColumn(qint32 itemIndex) const {
    for (std::size_t id = 0; id < columns.size(); ++id) {
        if (columns[id].itemIndex == itemIndex)
            return qint32(id);
    }
    return -1;
}

void GridCore::setColumnWidth(qint32 id, qint32 width) {
    ColumnData& column = columns[std::size_t(id)];
    const qint32 previous = column.width;
    if (previous == width)
        return;
    column.width = width;
    // A handler of the notification may destroy the grid; the core outlives this call.
    const std::shared_ptr<GridCore> keep = shared_from_this();
    relayout();
    view->viewport()->update();
    emit view->columnWidthChanged(makeColumn(id), previous, width);
}

void GridCore::checkRow(quint64 rowGeneration, qint32 row) const {
    if (rowGeneration != generation || row < 0 || row >= rowCount)
        throw RuntimeError(host::ObjectNotSet);
}

Column GridCore::makeColumn(qint32 id) {
    return Column(ref(), id);
}
Row GridCore::makeRow(qint32 row) {
    return Row(ref(), generation, row);
}
Item GridCore::makeItem(qint32 record, qint32 index) {
    return Item(ref(), record, index);
}
Record GridCore::makeRecord(qint32 record) {
    return Record(ref(), record);
}
ItemControl GridCore::makeControl(qint32 record, qint32 index, qint32 position) {
    return ItemControl(ref(), record, index, position);
}

HitTestInfo GridCore::makeHit(qint32 row, qint32 columnId) {
    HitTestInfo info;
    if (columnId >= 0)
        info.column_ = makeColumn(columnId);
    if (row >= 0)
        info.row_ = makeRow(row);
    if (row >= 0 && columnId >= 0) {
        const qint32 index = columns[std::size_t(columnId)].itemIndex;
        if (itemIfAny(row, index))
            info.item_ = makeItem(row, index);
    }
    return info;
}

} // namespace detail

using detail::GridCore;

namespace {

// Handles are equal when they name the same object of the same grid.
bool sameGrid(const detail::CoreRef& a, const detail::CoreRef& b) {
    return a.sameGrid(b);
}

void scheduleUpdate(const GridCore& core) {
    core.view->viewport()->update();
}

} // namespace

// --- Column ---

Column::Column(detail::CoreRef core, qint32 id)
    : core_(std::move(core))
    , id_(id) {}

QString Column::caption() const {
    return GridCore::lock(core_)->columns[std::size_t(id_)].caption;
}

void Column::setCaption(const QString& caption) {
    auto core = GridCore::lock(core_);
    core->columns[std::size_t(id_)].caption = caption;
    scheduleUpdate(*core);
}

QString Column::tooltip() const {
    return GridCore::lock(core_)->columns[std::size_t(id_)].tooltip;
}

void Column::setTooltip(const QString& tooltip) {
    GridCore::lock(core_)->columns[std::size_t(id_)].tooltip = tooltip;
}

qint32 Column::index() const {
    return GridCore::lock(core_)->columns[std::size_t(id_)].itemIndex;
}
qint32 Column::width() const {
    return GridCore::lock(core_)->columns[std::size_t(id_)].width;
}

void Column::setWidth(qint32 width) {
    auto core = GridCore::lock(core_);
    if (width < 0)
        throw RuntimeError(host::InvalidPropertyValue);
    core->setColumnWidth(id_, width);
}

bool Column::resizable() const {
    return GridCore::lock(core_)->columns[std::size_t(id_)].resizable;
}

bool Column::visible() const {
    GridCore::lock(core_);
    return true; // columns are never hidden; kept for hosts that ask
}

bool Column::operator==(const Column& other) const {
    return id_ == other.id_ && sameGrid(core_, other.core_);
}

// --- ColumnList ---

ColumnList::ColumnList(detail::CoreRef core)
    : core_(std::move(core)) {}

Column ColumnList::add(qint32 itemIndex, const QString& caption, qint32 width, bool resizable) {
    auto core = GridCore::lock(core_);
    if (itemIndex < 0 || width < 0)
        throw RuntimeError(host::InvalidProcedureCall);
    const qint32 id = qint32(core->columns.size());
    core->columns.push_back({itemIndex, caption, QString(), width, resizable});
    core->columnOrder.push_back(id);
    core->relayout();
    scheduleUpdate(*core);
    return core->makeColumn(id);
}

qint32 ColumnList::count() const {
    return qint32(GridCore::lock(core_)->columns.size());
}

Column ColumnList::column(qint32 position) const {
    auto core = GridCore::lock(core_);
    if (position < 0 || std::size_t(position) >= core->columnOrder.size())
        throw RuntimeError(host::SubscriptOutOfRange);
    return core->makeColumn(core->columnOrder[std::size_t(position)]);
}

std::optional<Column> ColumnList::find(qint32 itemIndex) const {
    auto core = GridCore::lock(core_);
    const qint32 id = core->findColumn(itemIndex);
    if (id < 0)
        return std::nullopt;
    return core->makeColumn(id);
}

// --- ItemControl ---

ItemControl::ItemControl(detail::CoreRef core, qint32 record, qint32 item, qint32 position)
    : core_(std::move(core))
    , record_(record)
    , item_(item)
    , position_(position) {}

qint32 ItemControl::id() const {
    return GridCore::lock(core_)->control(record_, item_, position_).id;
}

QString ItemControl::caption() const {
    return GridCore::lock(core_)->control(record_, item_, position_).caption;
}

void ItemControl::setCaption(const QString& caption) {
    auto core = GridCore::lock(core_);
    core->control(record_, item_, position_).caption = caption;
    scheduleUpdate(*core);
}

bool ItemControl::enabled() const {
    return GridCore::lock(core_)->control(record_, item_, position_).enabled;
}

void ItemControl::setEnabled(bool enabled) {
    auto core = GridCore::lock(core_);
    core->control(record_, item_, position_).enabled = enabled;
    scheduleUpdate(*core);
}

qint16 ItemControl::alignment() const {
    return GridCore::lock(core_)->control(record_, item_, position_).alignment;
}

void ItemControl::setAlignment(qint16 alignment) {
    auto core = GridCore::lock(core_);
    detail::ControlData& control = core->control(record_, item_, position_);
    constexpr int known = Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask;
    if (alignment < 0 || (alignment & ~known) != 0)
        throw RuntimeError(host::InvalidPropertyValue);
    control.alignment = alignment;
    scheduleUpdate(*core);
}

bool ItemControl::operator==(const ItemControl& other) const {
    return record_ == other.record_ && item_ == other.item_ && position_ == other.position_ &&
           sameGrid(core_, other.core_);
}

// --- ItemControlList ---

ItemControlList::ItemControlList(detail::CoreRef core, qint32 record, qint32 item)
    : core_(std::move(core))
    , record_(record)
    , item_(item) {}

ItemControl ItemControlList::add(qint32 id) {
    auto core = GridCore::lock(core_);
    detail::ItemData& item = core->item(record_, item_);
    if (!item.controls)
        item.controls = std::make_unique<std::vector<detail::ControlData>>();
    item.controls->push_back({id, QString(), true, 0});
    scheduleUpdate(*core);
    return core->makeControl(record_, item_, qint32(item.controls->size()) - 1);
}

qint32 ItemControlList::count() const {
    auto core = GridCore::lock(core_);
    const detail::ItemData& item = core->item(record_, item_);
    return item.controls ? qint32(item.controls->size()) : 0;
}

ItemControl ItemControlList::at(qint32 position) const {
    auto core = GridCore::lock(core_);
    core->control(record_, item_, position);
    return core->makeControl(record_, item_, position);
}

// --- Item ---

Item::Item(detail::CoreRef core, qint32 record, qint32 item)
    : core_(std::move(core))
    , record_(record)
    , item_(item) {}

QString Item::value() const {
    return GridCore::lock(core_)->item(record_, item_).value;
}
QString Item::caption() const {
    return GridCore::lock(core_)->item(record_, item_).caption;
}

void Item::setCaption(const QString& caption) {
    auto core = GridCore::lock(core_);
    core->item(record_, item_).caption = caption;
    scheduleUpdate(*core);
}

qint32 Item::index() const {
    GridCore::lock(core_)->item(record_, item_);
    return item_;
}

bool Item::hasCheckBox() const {
    return GridCore::lock(core_)->item(record_, item_).hasCheckBox;
}

void Item::setHasCheckBox(bool hasCheckBox) {
    auto core = GridCore::lock(core_);
    core->item(record_, item_).hasCheckBox = hasCheckBox;
    scheduleUpdate(*core);
}

bool Item::checked() const {
    return GridCore::lock(core_)->item(record_, item_).checked;
}

void Item::setChecked(bool checked) {
    auto core = GridCore::lock(core_);
    core->item(record_, item_).checked = checked;
    scheduleUpdate(*core);
}

ItemControlList Item::itemControls() const {
    GridCore::lock(core_)->item(record_, item_);
    return ItemControlList(core_, record_, item_);
}

Record Item::record() const {
    GridCore::lock(core_)->item(record_, item_);
    return Record(core_, record_);
}

bool Item::operator==(const Item& other) const {
    return record_ == other.record_ && item_ == other.item_ && sameGrid(core_, other.core_);
}

// --- Record ---

Record::Record(detail::CoreRef core, qint32 record)
    : core_(std::move(core))
    , record_(record) {}

Item Record::addItem(const QString& value) {
    auto core = GridCore::lock(core_);
    if (std::size_t(record_) >= core->records.size())
        throw RuntimeError(host::SubscriptOutOfRange);
    std::vector<detail::ItemData>& items = core->records[std::size_t(record_)].items;
    // Records of one grid tend to have the same number of items: one allocation per record
    // instead of a growing series keeps filling a large grid cheap.
    if (items.capacity() == 0 && core->itemsPerRecordHint > 0)
        items.reserve(core->itemsPerRecordHint);
    items.emplace_back(value);
    core->itemsPerRecordHint = std::max(core->itemsPerRecordHint, items.size());
    return Item(core_, record_, qint32(items.size()) - 1);
}

Item Record::item(qint32 index) const {
    GridCore::lock(core_)->item(record_, index);
    return Item(core_, record_, index);
}

qint32 Record::itemCount() const {
    auto core = GridCore::lock(core_);
    if (std::size_t(record_) >= core->records.size())
        throw RuntimeError(host::SubscriptOutOfRange);
    return qint32(core->records[std::size_t(record_)].items.size());
}

qint32 Record::index() const {
    GridCore::lock(core_);
    return record_;
}

bool Record::operator==(const Record& other) const {
    return record_ == other.record_ && sameGrid(core_, other.core_);
}

// --- RecordList ---

RecordList::RecordList(detail::CoreRef core)
    : core_(std::move(core)) {}

Record RecordList::add() {
    auto core = GridCore::lock(core_);
    if (core->records.size() >= std::size_t(std::numeric_limits<qint32>::max()))
        throw RuntimeError(host::Overflow);
    core->records.emplace_back();
    return core->makeRecord(qint32(core->records.size()) - 1);
}

qint32 RecordList::count() const {
    return qint32(GridCore::lock(core_)->records.size());
}

Record RecordList::record(qint32 index) const {
    auto core = GridCore::lock(core_);
    if (index < 0 || std::size_t(index) >= core->records.size())
        throw RuntimeError(host::SubscriptOutOfRange);
    return core->makeRecord(index);
}

// --- Row ---

Row::Row(detail::CoreRef core, quint64 generation, qint32 row)
    : core_(std::move(core))
    , generation_(generation)
    , row_(row) {}

Record Row::record() const {
    auto core = GridCore::lock(core_);
    core->checkRow(generation_, row_);
    return core->makeRecord(row_);
}

qint32 Row::index() const {
    GridCore::lock(core_)->checkRow(generation_, row_);
    return row_;
}

void Row::itemBounds(const Item& item, qint32& left, qint32& top, qint32& right,
                     qint32& bottom) const {
    auto core = GridCore::lock(core_);
    core->checkRow(generation_, row_);
    GridCore::lock(item.core_);
    if (!sameGrid(core_, item.core_) || item.record_ != row_)
        throw RuntimeError(host::InvalidProcedureCall);
    core->item(item.record_, item.item_);
    const qint32 column = core->findColumn(item.item_);
    if (column < 0)
        throw RuntimeError(host::InvalidProcedureCall); // no column shows it: it has no cell
    const QRect cell = core->cellRect(row_, column);
    left = cell.left();
    top = cell.top();
    right = cell.left() + cell.width();
    bottom = cell.top() + cell.height();
}

bool Row::operator==(const Row& other) const {
    return row_ == other.row_ && generation_ == other.generation_ && sameGrid(core_, other.core_);
}

// --- RowList ---

RowList::RowList(detail::CoreRef core)
    : core_(std::move(core)) {}

Row RowList::row(qint32 number) const {
    auto core = GridCore::lock(core_);
    if (number < 0 || number >= core->rowCount)
        throw RuntimeError(host::SubscriptOutOfRange);
    return core->makeRow(number);
}

qint32 RowList::count() const {
    return GridCore::lock(core_)->rowCount;
}

// --- HitTestInfo ---

std::optional<Column> HitTestInfo::column() const {
    return column_;
}
std::optional<Row> HitTestInfo::row() const {
    return row_;
}
std::optional<Item> HitTestInfo::item() const {
    return item_;
}

} // namespace gridkit
