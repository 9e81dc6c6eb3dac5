// The object model. Every write validates first, so a refused call changes nothing, and tells the
// observer only when a value really changed.
#include "model.h"

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
    : self_(new detail::ModelAnchor{this, 0}) {}

GridModel::~GridModel() {
    self_.clear();
}

ColumnList GridModel::columns() {
    return ColumnList(self_);
}
RecordList GridModel::records() {
    return RecordList(self_);
}
RowList GridModel::rows() {
    return RowList(self_);
}

RowsChange GridModel::rebuild() {
    if (records_.size() > std::size_t(std::numeric_limits<qint32>::max()))
        throw RuntimeError(host::Overflow);
    RowsChange change;
    const qint32 count = qint32(records_.size());
    change.rowSet = count != rowCount_;
    rowCount_ = count;
    ++generation_;
    // Captions may have changed since the last sort, so a sorted grid sorts again.
    if (sortColumn_ >= 0)
        change.order = applySort();
    if (observer_)
        observer_->rowsChanged(change);
    return change;
}

// --- columns ---

qint32 GridModel::findColumn(qint32 itemIndex) const {
    for (std::size_t id = 0; id < columns_.size(); ++id) {
        if (columns_[id].itemIndex == itemIndex)
            return qint32(id);
    }
    return -1;
}

qint32 GridModel::addColumn(qint32 itemIndex, const QString& caption, qint32 width,
                            bool resizable) {
    if (itemIndex < 0 || width < 0)
        throw RuntimeError(host::InvalidProcedureCall);
    const qint32 id = qint32(columns_.size());
    columns_.push_back({itemIndex, caption, QString(), width, resizable});
    columnOrder_.push_back(id);
    if (observer_)
        observer_->columnsChanged();
    return id;
}

void GridModel::setColumnCaption(qint32 id, const QString& caption) {
    ColumnData& column = columns_[std::size_t(id)];
    if (column.caption == caption)
        return;
    column.caption = caption;
    if (observer_)
        observer_->columnCaptionChanged(id);
}

void GridModel::setColumnTooltip(qint32 id, const QString& tooltip) {
    columns_[std::size_t(id)].tooltip = tooltip; // read on hover; nothing to repaint
}

void GridModel::setColumnWidth(qint32 id, qint32 width) {
    if (width < 0)
        throw RuntimeError(host::InvalidPropertyValue);
    ColumnData& column = columns_[std::size_t(id)];
    const qint32 previous = column.width;
    if (previous == width)
        return;
    column.width = width;
    if (observer_)
        observer_->columnResized(id, previous, width);
}

void GridModel::moveColumn(qint32 fromPosition, qint32 toPosition) {
    if (fromPosition == toPosition)
        return;
    const qint32 id = columnOrder_[std::size_t(fromPosition)];
    columnOrder_.erase(columnOrder_.begin() + fromPosition);
    columnOrder_.insert(columnOrder_.begin() + toPosition, id);
    if (observer_)
        observer_->columnsChanged();
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
    if (!data.controls || position < 0 || std::size_t(position) >= data.controls->size())
        throw RuntimeError(host::SubscriptOutOfRange);
    return (*data.controls)[std::size_t(position)];
}

ControlData& GridModel::mutableControl(qint32 record, qint32 index, qint32 position) {
    return const_cast<ControlData&>(control(record, index, position));
}

void GridModel::setCaption(qint32 record, qint32 index, const QString& caption) {
    if (mutableItem(record, index).caption.set(caption))
        itemChanged(record, index);
}

void GridModel::setHasCheckBox(qint32 record, qint32 index, bool hasCheckBox) {
    ItemData& data = mutableItem(record, index);
    if (data.hasCheckBox == hasCheckBox)
        return;
    data.hasCheckBox = hasCheckBox;
    itemChanged(record, index);
}

void GridModel::setChecked(qint32 record, qint32 index, bool checked) {
    ItemData& data = mutableItem(record, index);
    if (data.checked == checked)
        return;
    data.checked = checked;
    itemChanged(record, index);
}

qint32 GridModel::addControl(qint32 record, qint32 index, qint32 id) {
    ItemData& data = mutableItem(record, index);
    if (!data.controls)
        data.controls = std::make_unique<std::vector<ControlData>>();
    data.controls->push_back({id, QString(), true, 0});
    itemChanged(record, index);
    return qint32(data.controls->size()) - 1;
}

void GridModel::setControlCaption(qint32 record, qint32 index, qint32 position,
                                  const QString& caption) {
    ControlData& control = mutableControl(record, index, position);
    if (control.caption == caption)
        return;
    control.caption = caption;
    itemChanged(record, index);
}

void GridModel::setControlEnabled(qint32 record, qint32 index, qint32 position, bool enabled) {
    ControlData& control = mutableControl(record, index, position);
    if (control.enabled == enabled)
        return;
    control.enabled = enabled;
    itemChanged(record, index);
}

void GridModel::setControlAlignment(qint32 record, qint32 index, qint32 position,
                                    qint16 alignment) {
    ControlData& control = mutableControl(record, index, position);
    constexpr int known = Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask;
    if (alignment < 0 || (alignment & ~known) != 0)
        throw RuntimeError(host::InvalidPropertyValue);
    if (control.alignment == alignment)
        return;
    control.alignment = alignment;
    itemChanged(record, index);
}

QString GridModel::readableText(const ItemData& item) const {
    return markupEnabled_ ? item.caption.readable(drawings_) : item.caption.text();
}

// --- rows ---

void GridModel::checkRow(quint64 generation, qint32 row) const {
    if (generation != generation_ || row < 0 || row >= rowCount_)
        throw RuntimeError(host::ObjectNotSet);
}

// --- sorting ---

void GridModel::sortBy(qint32 columnId) {
    if (sortColumn_ == columnId) {
        sortDescending_ = !sortDescending_;
    } else {
        sortColumn_ = columnId;
        sortDescending_ = false;
    }
    const RowsChange change{false, applySort()};
    if (observer_)
        observer_->rowsChanged(change);
}

void GridModel::clearSort() {
    if (sortColumn_ < 0)
        return;
    sortColumn_ = -1;
    sortDescending_ = false;
    const RowsChange change{false, applySort()};
    if (observer_)
        observer_->rowsChanged(change);
}

bool GridModel::applySort() {
    const std::vector<qint32> before = std::move(displayOrder_);
    displayOrder_.clear();
    displayPos_.clear();
    if (sortColumn_ >= 0 && rowCount_ > 0) {
        const qint32 itemIndex = columns_[std::size_t(sortColumn_)].itemIndex;
        std::vector<QString> keys(static_cast<std::size_t>(rowCount_));
        for (qint32 row = 0; row < rowCount_; ++row) {
            if (const ItemData* data = itemIfAny(row, itemIndex))
                keys[std::size_t(row)] = readableText(*data);
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
    // An order that is the record order is no order at all to the view.
    auto identity = [](const std::vector<qint32>& order) {
        for (std::size_t i = 0; i < order.size(); ++i) {
            if (order[i] != qint32(i))
                return false;
        }
        return true;
    };
    if (before.empty() || displayOrder_.empty())
        return !(identity(before) && identity(displayOrder_));
    return before != displayOrder_;
}

// --- handles ---

Column GridModel::columnHandle(qint32 id) const {
    return Column(self_, id);
}
Row GridModel::rowHandle(qint32 row) const {
    return Row(self_, generation_, row);
}
Item GridModel::itemHandle(qint32 record, qint32 index) const {
    return Item(self_, record, index);
}
ItemControl GridModel::controlHandle(qint32 record, qint32 index, qint32 position) const {
    return ItemControl(self_, record, index, position);
}

HitTestInfo GridModel::hitInfo(qint32 row, qint32 columnId) const {
    HitTestInfo info;
    if (columnId >= 0)
        info.column_ = columnHandle(columnId);
    if (row >= 0)
        info.row_ = rowHandle(row);
    if (row >= 0 && columnId >= 0) {
        const qint32 index = columns_[std::size_t(columnId)].itemIndex;
        if (itemIfAny(row, index))
            info.item_ = itemHandle(row, index);
    }
    return info;
}

} // namespace gridkit
