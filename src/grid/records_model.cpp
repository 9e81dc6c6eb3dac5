// Every write validates first, so a refused call changes nothing, and tells the views only when a
// value really changed.
#include "records_model.h"

#include "gridgauge/gridkit/roles.h"
#include "gridgauge/host/runtime_error.h"
#include "gridgauge/markup/markup.h"

#include <QStringList>

#include <algorithm>
#include <limits>
#include <numeric>

using host::RuntimeError;

namespace report {

namespace {

template <typename T, typename U> bool assign(T& field, U&& value) {
    if (field == value)
        return false;
    field = std::forward<U>(value);
    return true;
}

// An order that is the record order is no order at all to a view.
bool isIdentity(const std::vector<qint32>& order) {
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (order[i] != qint32(i))
            return false;
    }
    return true;
}

QVariant buttonCaptions(const ItemData& item) {
    if (!item.controlCount())
        return {};
    QStringList captions;
    for (const ControlData& control : *item.controls)
        captions << control.caption;
    return captions;
}

QVariant buttonsEnabled(const ItemData& item) {
    if (!item.controlCount())
        return {};
    QVariantList enabled;
    for (const ControlData& control : *item.controls)
        enabled << control.enabled;
    return enabled;
}

// A cell of buttons aligns their captions as its first button asks.
QVariant buttonAlignment(const ItemData& item) {
    if (!item.controlCount() || item.controls->front().alignment == 0)
        return {};
    return int(item.controls->front().alignment);
}

QVariant cellData(const ItemData& item, int role) {
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return item.caption;
    case Qt::CheckStateRole:
        return item.hasCheckBox ? QVariant(item.checked ? Qt::Checked : Qt::Unchecked) : QVariant();
    case gridgauge::gridkit::ButtonsRole:
        return buttonCaptions(item);
    case gridgauge::gridkit::ButtonsEnabledRole:
        return buttonsEnabled(item);
    case Qt::TextAlignmentRole:
        return buttonAlignment(item);
    default:
        return {};
    }
}

} // namespace

RecordsModel::RecordsModel(QObject* parent)
    : QAbstractTableModel(parent) {}

RecordsModel::~RecordsModel() = default;

// --- the Qt model ---

int RecordsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rowCount_;
}

int RecordsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : qint32(columns_.size());
}

const ItemData* RecordsModel::cellItem(const QModelIndex& index) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return nullptr;
    return itemIfAny(recordAt(index.row()), columns_[std::size_t(index.column())].itemIndex);
}

QVariant RecordsModel::data(const QModelIndex& index, int role) const {
    const ItemData* item = cellItem(index);
    return item ? cellData(*item, role) : QVariant();
}

// A view reads every role a cell may show at each paint: one call gives them all.
void RecordsModel::multiData(const QModelIndex& index, QModelRoleDataSpan roleDataSpan) const {
    const ItemData* item = cellItem(index);
    for (QModelRoleData& roleData : roleDataSpan)
        roleData.setData(item ? cellData(*item, roleData.role()) : QVariant());
}

bool RecordsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const ItemData* item = cellItem(index);
    if (!item || role != Qt::CheckStateRole || !item->hasCheckBox)
        return false;
    const qint32 record = recordAt(index.row());
    const qint32 itemIndex = columns_[std::size_t(index.column())].itemIndex;
    setChecked(record, itemIndex, Qt::CheckState(value.toInt()) == Qt::Checked);
    emit userChecked(record, itemIndex);
    return true;
}

Qt::ItemFlags RecordsModel::flags(const QModelIndex& index) const {
    const ItemData* item = cellItem(index);
    if (!item)
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (item->hasCheckBox)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant RecordsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnTotal())
        return {};
    const ColumnData& column = columns_[std::size_t(section)];
    switch (role) {
    case Qt::DisplayRole:
        return column.caption;
    case Qt::ToolTipRole:
        return column.tooltip.isEmpty() ? QVariant() : QVariant(column.tooltip);
    case Qt::SizeHintRole:
        return QSize(column.width, -1);
    default:
        return {};
    }
}

void RecordsModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= columnTotal())
        return;
    sortColumn_ = column;
    sortDescending_ = order == Qt::DescendingOrder;
    reorder();
}

void RecordsModel::clearSort() {
    if (sortColumn_ < 0)
        return;
    sortColumn_ = -1;
    sortDescending_ = false;
    reorder();
}

// Rows shown in a new order, each view's current cell and selection going with their records.
void RecordsModel::reorder() {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<qint32> records;
    records.reserve(std::size_t(before.size()));
    for (const QModelIndex& index : before)
        records.push_back(recordAt(index.row()));
    applySort();
    QModelIndexList after;
    for (std::size_t i = 0; i < records.size(); ++i)
        after << this->index(positionOf(records[i]), before[qsizetype(i)].column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

bool RecordsModel::applySort() {
    const std::vector<qint32> before = std::move(displayOrder_);
    displayOrder_.clear();
    displayPos_.clear();
    if (sortColumn_ >= 0 && rowCount_ > 0) {
        const qint32 itemIndex = columns_[std::size_t(sortColumn_)].itemIndex;
        std::vector<QString> keys(static_cast<std::size_t>(rowCount_));
        for (qint32 row = 0; row < rowCount_; ++row) {
            const ItemData* data = itemIfAny(row, itemIndex);
            if (!data)
                continue;
            const gridgauge::markup::DocumentPtr document =
                markupCaptions_ ? gridgauge::markup::parse(data->caption) : nullptr;
            keys[std::size_t(row)] =
                document ? gridgauge::markup::textContent(*document) : data->caption;
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

// --- columns ---

const ColumnData& RecordsModel::column(qint32 id) const {
    if (id < 0 || id >= columnTotal())
        throw RuntimeError(host::SubscriptOutOfRange);
    return columns_[std::size_t(id)];
}

qint32 RecordsModel::findColumn(qint32 itemIndex) const {
    const auto found = std::find_if(columns_.begin(), columns_.end(),
                                    [&](const ColumnData& c) { return c.itemIndex == itemIndex; });
    return found == columns_.end() ? -1 : qint32(found - columns_.begin());
}

qint32 RecordsModel::addColumn(qint32 itemIndex, const QString& caption, qint32 width,
                               bool resizable) {
    if (itemIndex < 0 || width < 0)
        throw RuntimeError(host::InvalidProcedureCall);
    const qint32 id = columnTotal();
    beginInsertColumns({}, id, id);
    columns_.push_back({itemIndex, caption, QString(), width, resizable});
    endInsertColumns();
    return id;
}

void RecordsModel::setColumnCaption(qint32 id, const QString& caption) {
    column(id); // it must exist
    if (assign(columns_[std::size_t(id)].caption, caption))
        emit headerDataChanged(Qt::Horizontal, id, id);
}

void RecordsModel::setColumnTooltip(qint32 id, const QString& tooltip) {
    column(id);                                  // it must exist
    columns_[std::size_t(id)].tooltip = tooltip; // read on hover; nothing to repaint
}

// --- records and items ---

qint32 RecordsModel::addRecord() {
    if (records_.size() >= std::size_t(std::numeric_limits<qint32>::max()))
        throw RuntimeError(host::Overflow);
    records_.emplace_back();
    return qint32(records_.size()) - 1;
}

qint32 RecordsModel::itemCount(qint32 record) const {
    if (record < 0 || std::size_t(record) >= records_.size())
        throw RuntimeError(host::SubscriptOutOfRange);
    return qint32(records_[std::size_t(record)].size());
}

qint32 RecordsModel::addItem(qint32 record, const QString& value) {
    if (record < 0 || std::size_t(record) >= records_.size())
        throw RuntimeError(host::SubscriptOutOfRange);
    std::vector<ItemData>& items = records_[std::size_t(record)];
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

const ItemData* RecordsModel::itemIfAny(qint32 record, qint32 index) const {
    if (record < 0 || std::size_t(record) >= records_.size())
        return nullptr;
    const std::vector<ItemData>& items = records_[std::size_t(record)];
    if (index < 0 || std::size_t(index) >= items.size())
        return nullptr;
    return &items[std::size_t(index)];
}

const ItemData& RecordsModel::item(qint32 record, qint32 index) const {
    const ItemData* data = itemIfAny(record, index);
    if (!data)
        throw RuntimeError(host::SubscriptOutOfRange);
    return *data;
}

ItemData& RecordsModel::mutableItem(qint32 record, qint32 index) {
    return const_cast<ItemData&>(item(record, index));
}

const ControlData& RecordsModel::control(qint32 record, qint32 index, qint32 position) const {
    const ItemData& data = item(record, index);
    if (position < 0 || position >= data.controlCount())
        throw RuntimeError(host::SubscriptOutOfRange);
    return (*data.controls)[std::size_t(position)];
}

ControlData& RecordsModel::mutableControl(qint32 record, qint32 index, qint32 position) {
    return const_cast<ControlData&>(control(record, index, position));
}

void RecordsModel::itemChanged(qint32 record, qint32 index) {
    if (record >= rowCount_)
        return;
    const qint32 row = positionOf(record);
    for (std::size_t id = 0; id < columns_.size(); ++id) {
        if (columns_[id].itemIndex == index) {
            const QModelIndex cell = this->index(row, int(id));
            emit dataChanged(cell, cell);
        }
    }
}

void RecordsModel::setCaption(qint32 record, qint32 index, const QString& caption) {
    if (assign(mutableItem(record, index).caption, caption))
        itemChanged(record, index);
}

void RecordsModel::setHasCheckBox(qint32 record, qint32 index, bool hasCheckBox) {
    if (assign(mutableItem(record, index).hasCheckBox, hasCheckBox))
        itemChanged(record, index);
}

void RecordsModel::setChecked(qint32 record, qint32 index, bool checked) {
    if (assign(mutableItem(record, index).checked, checked))
        itemChanged(record, index);
}

qint32 RecordsModel::addControl(qint32 record, qint32 index, qint32 id) {
    ItemData& data = mutableItem(record, index);
    if (!data.controls)
        data.controls = std::make_unique<std::vector<ControlData>>();
    data.controls->push_back({id, QString(), true, 0});
    itemChanged(record, index);
    return data.controlCount() - 1;
}

void RecordsModel::setControlCaption(qint32 record, qint32 index, qint32 position,
                                     const QString& caption) {
    if (assign(mutableControl(record, index, position).caption, caption))
        itemChanged(record, index);
}

void RecordsModel::setControlEnabled(qint32 record, qint32 index, qint32 position, bool enabled) {
    if (assign(mutableControl(record, index, position).enabled, enabled))
        itemChanged(record, index);
}

void RecordsModel::setControlAlignment(qint32 record, qint32 index, qint32 position,
                                       qint16 alignment) {
    ControlData& control = mutableControl(record, index, position);
    constexpr int known = Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask;
    if (alignment < 0 || (alignment & ~known) != 0)
        throw RuntimeError(host::InvalidPropertyValue);
    if (assign(control.alignment, alignment))
        itemChanged(record, index);
}

// --- rows ---

void RecordsModel::rebuild() {
    if (records_.size() > std::size_t(std::numeric_limits<qint32>::max()))
        throw RuntimeError(host::Overflow);
    const qint32 count = qint32(records_.size());
    ++generation_;
    if (count > rowCount_) {
        // New records come in below the rows there are; a sort then puts them in their places.
        beginInsertRows({}, rowCount_, count - 1);
        for (qint32 record = rowCount_; record < count && !displayOrder_.empty(); ++record) {
            displayOrder_.push_back(record);
            displayPos_.push_back(record);
        }
        rowCount_ = count;
        endInsertRows();
    }
    // Captions may have changed since the last sort, so a sorted grid sorts again.
    if (sortColumn_ >= 0)
        sort(sortColumn_, sortDescending_ ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void RecordsModel::checkRow(quint64 generation, qint32 row) const {
    if (generation != generation_ || row < 0 || row >= rowCount_)
        throw RuntimeError(host::ObjectNotSet);
}

} // namespace report
