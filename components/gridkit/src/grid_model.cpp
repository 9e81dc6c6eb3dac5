// The object model. Every write validates first, so a refused call changes nothing, and tells the
// observers only when a value really changed.
#include "gridgauge/gridkit/grid_model.h"

#include "gridgauge/host/runtime_error.h"

#include <algorithm>
#include <limits>
#include <numeric>

using host::RuntimeError;

namespace gridkit {

using detail::ColumnData;
using detail::ControlData;
using detail::ItemData;

GridModel::GridModel()
    : self_(detail::ModelRef::anchor(this)) {}

GridModel::~GridModel() {
    self_.clear();
}

ColumnList GridModel::columns() {
    return ColumnList(self_, {});
}
RecordList GridModel::records() {
    return RecordList(self_);
}
RowList GridModel::rows() {
    return RowList(self_, {});
}

void GridModel::addObserver(ModelObserver* observer) {
    observers_.push_back(observer);
}

void GridModel::removeObserver(ModelObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

RowsChange GridModel::rebuild(const SortKey& key) {
    if (records_.size() > std::size_t(std::numeric_limits<qint32>::max()))
        throw RuntimeError(host::Overflow);
    RowsChange change;
    const qint32 count = qint32(records_.size());
    change.rowSet = count != rowCount_;
    rowCount_ = count;
    ++generation_;
    // Captions may have changed since the last sort, so a sorted grid sorts again.
    if (sortColumn_ >= 0)
        change.order = applySort(key);
    tell([&](ModelObserver& o) { o.rowsChanged(change); });
    return change;
}

// --- columns ---

qint32 GridModel::findColumn(qint32 itemIndex) const {
    const auto found = std::find_if(columns_.begin(), columns_.end(),
                                    [&](const ColumnData& c) { return c.itemIndex == itemIndex; });
    return found == columns_.end() ? -1 : qint32(found - columns_.begin());
}

qint32 GridModel::addColumn(qint32 itemIndex, const QString& caption, qint32 width,
                            bool resizable) {
    if (itemIndex < 0 || width < 0)
        throw RuntimeError(host::InvalidProcedureCall);
    const qint32 id = qint32(columns_.size());
    columns_.push_back({itemIndex, caption, QString(), width, resizable});
    tell([&](ModelObserver& o) { o.columnAdded(id); });
    return id;
}

void GridModel::setColumnCaption(qint32 id, const QString& caption) {
    if (detail::assign(columns_[std::size_t(id)].caption, caption))
        tell([&](ModelObserver& o) { o.columnCaptionChanged(id); });
}

void GridModel::setColumnTooltip(qint32 id, const QString& tooltip) {
    columns_[std::size_t(id)].tooltip = tooltip; // read on hover; nothing to repaint
}

void GridModel::setColumnWidth(qint32 id, qint32 width) {
    if (width < 0)
        throw RuntimeError(host::InvalidPropertyValue);
    columns_[std::size_t(id)].width = width;
}

// --- records and items ---

qint32 GridModel::addRecord() {
    if (records_.size() >= std::size_t(std::numeric_limits<qint32>::max()))
        throw RuntimeError(host::Overflow);
    records_.emplace_back();
    return qint32(records_.size()) - 1;
}

qint32 GridModel::itemCount(qint32 record) const {
    if (record < 0 || std::size_t(record) >= records_.size())
        throw RuntimeError(host::SubscriptOutOfRange);
    return qint32(records_[std::size_t(record)].items.size());
}

qint32 GridModel::addItem(qint32 record, const QString& value) {
    if (record < 0 || std::size_t(record) >= records_.size())
        throw RuntimeError(host::SubscriptOutOfRange);
    std::vector<ItemData>& items = records_[std::size_t(record)].items;
    // Records of one grid tend to have the same number of items: one allocation per record
    // instead of a growing series keeps filling a large grid cheap.
    if (items.capacity() == 0 && itemsPerRecordHint_ > 0)
        items.reserve(itemsPerRecordHint_);
    items.emplace_back(value);
    itemsPerRecordHint_ = std::max(itemsPerRecordHint_, items.size());
    // An item of a record that already has a row shows at once in a column that shows it.
    itemChanged(record, qint32(items.size()) - 1);
    return qint32(items.size()) - 1;
}

const ItemData* GridModel::itemIfAny(qint32 record, qint32 index) const {
    if (record < 0 || std::size_t(record) >= records_.size())
        return nullptr;
    const std::vector<ItemData>& items = records_[std::size_t(record)].items;
    if (index < 0 || std::size_t(index) >= items.size())
        return nullptr;
    return &items[std::size_t(index)];
}

const ItemData& GridModel::item(qint32 record, qint32 index) const {
    const ItemData* data = itemIfAny(record, index);
    if (!data)
        throw RuntimeError(host::SubscriptOutOfRange);
    return *data;
}

ItemData& GridModel::mutableItem(qint32 record, qint32 index) {
    return const_cast<ItemData&>(item(record, index));
}

const ControlData& GridModel::control(qint32 record, qint32 index, qint32 position) const {
    const ItemData& data = item(record, index);
    if (position < 0 || position >= data.controlCount())
        throw RuntimeError(host::SubscriptOutOfRange);
    return (*data.controls)[std::size_t(position)];
}

bool GridModel::controlEnabled(qint32 record, qint32 index, qint32 position) const {
    const ItemData* data = record < rowCount_ ? itemIfAny(record, index) : nullptr;
    return data && position >= 0 && position < data->controlCount() &&
           (*data->controls)[std::size_t(position)].enabled;
}

ControlData& GridModel::mutableControl(qint32 record, qint32 index, qint32 position) {
    return const_cast<ControlData&>(control(record, index, position));
}

void GridModel::setCaption(qint32 record, qint32 index, const QString& caption) {
    if (detail::assign(mutableItem(record, index).caption, caption))
        itemChanged(record, index);
}

void GridModel::setHasCheckBox(qint32 record, qint32 index, bool hasCheckBox) {
    if (detail::assign(mutableItem(record, index).hasCheckBox, hasCheckBox))
        itemChanged(record, index);
}

void GridModel::setChecked(qint32 record, qint32 index, bool checked) {
    if (detail::assign(mutableItem(record, index).checked, checked))
        itemChanged(record, index);
}

qint32 GridModel::addControl(qint32 record, qint32 index, qint32 id) {
    ItemData& data = mutableItem(record, index);
    if (!data.controls)
        data.controls = std::make_unique<std::vector<ControlData>>();
    data.controls->push_back({id, QString(), true, 0});
    itemChanged(record, index);
    return data.controlCount() - 1;
}

void GridModel::setControlCaption(qint32 record, qint32 index, qint32 position,
                                  const QString& caption) {
    if (detail::assign(mutableControl(record, index, position).caption, caption))
        itemChanged(record, index);
}

void GridModel::setControlEnabled(qint32 record, qint32 index, qint32 position, bool enabled) {
    if (detail::assign(mutableControl(record, index, position).enabled, enabled))
        itemChanged(record, index);
}

void GridModel::setControlAlignment(qint32 record, qint32 index, qint32 position,
                                    qint16 alignment) {
    ControlData& control = mutableControl(record, index, position);
    constexpr int known = Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask;
    if (alignment < 0 || (alignment & ~known) != 0)
        throw RuntimeError(host::InvalidPropertyValue);
    if (detail::assign(control.alignment, alignment))
        itemChanged(record, index);
}

// --- rows ---

void GridModel::checkRow(quint64 generation, qint32 row) const {
    if (generation != generation_ || row < 0 || row >= rowCount_)
        throw RuntimeError(host::ObjectNotSet);
}

// --- sorting ---

void GridModel::sortBy(qint32 columnId, const SortKey& key) {
    if (sortColumn_ == columnId) {
        sortDescending_ = !sortDescending_;
    } else {
        sortColumn_ = columnId;
        sortDescending_ = false;
    }
    const RowsChange change{false, applySort(key)};
    tell([&](ModelObserver& o) { o.rowsChanged(change); });
}

void GridModel::clearSort() {
    if (sortColumn_ < 0)
        return;
    sortColumn_ = -1;
    sortDescending_ = false;
    const RowsChange change{false, applySort({})};
    tell([&](ModelObserver& o) { o.rowsChanged(change); });
}

namespace {

// An order that is the record order is no order at all to a view.
bool isIdentity(const std::vector<qint32>& order) {
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (order[i] != qint32(i))
            return false;
    }
    return true;
}

} // namespace

bool GridModel::applySort(const SortKey& key) {
    const std::vector<qint32> before = std::move(displayOrder_);
    displayOrder_.clear();
    displayPos_.clear();
    if (sortColumn_ >= 0 && rowCount_ > 0) {
        const qint32 itemIndex = columns_[std::size_t(sortColumn_)].itemIndex;
        std::vector<QString> keys(static_cast<std::size_t>(rowCount_));
        for (qint32 row = 0; row < rowCount_; ++row) {
            if (const ItemData* data = itemIfAny(row, itemIndex))
                keys[std::size_t(row)] = key ? key(data->caption) : data->caption;
        }
        displayOrder_.resize(std::size_t(rowCount_));
        std::iota(displayOrder_.begin(), displayOrder_.end(), 0);
        // Stable, so equal captions keep record order and a second click reverses only what
        // differs.
        std::stable_sort(displayOrder_.begin(), displayOrder_.end(), [&](qint32 a, qint32 b) {
            const int order = keys[std::size_t(a)].localeAwareCompare(keys[std::size_t(b)]);
            return sortDescending_ ? order > 0 : order < 0;
        });
        displayPos_.resize(std::size_t(rowCount_));
        for (qint32 position = 0; position < rowCount_; ++position)
            displayPos_[std::size_t(displayOrder_[std::size_t(position)])] = position;
    }
    if (before.empty() || displayOrder_.empty())
        return !(isIdentity(before) && isIdentity(displayOrder_));
    return before != displayOrder_;
}

// --- handles ---

Row GridModel::rowHandle(qint32 row, const detail::ViewRef& view) const {
    return Row(self_, view, generation_, row);
}
Item GridModel::itemHandle(qint32 record, qint32 index) const {
    return Item(self_, record, index);
}
ItemControl GridModel::controlHandle(qint32 record, qint32 index, qint32 position) const {
    return ItemControl(self_, record, index, position);
}

HitTestInfo GridModel::hitInfo(qint32 row, qint32 columnId, const detail::ViewRef& view) const {
    std::optional<Column> column;
    std::optional<Row> rowHandle;
    std::optional<Item> item;
    if (columnId >= 0)
        column = Column(self_, view, columnId);
    if (row >= 0)
        rowHandle = this->rowHandle(row, view);
    if (row >= 0 && columnId >= 0 && cellItem(row, columnId))
        item = itemHandle(row, columns_[std::size_t(columnId)].itemIndex);
    return HitTestInfo(std::move(column), std::move(rowHandle), std::move(item));
}

} // namespace gridkit
