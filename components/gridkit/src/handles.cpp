// The handles. Each call locks the model first, so a handle whose grid is gone fails with 91
// before it looks at anything; the model validates before it writes, so a refused call changes
// nothing.
#include "gridgauge/gridkit/handles.h"

#include "gridgauge/gridkit/grid_model.h"

#include "gridgauge/host/runtime_error.h"

using host::RuntimeError;

namespace gridkit {

namespace detail {
void throwObjectNotSet() {
    throw RuntimeError(host::ObjectNotSet);
}
} // namespace detail

// --- Column ---

Column::Column(detail::ModelRef model, detail::ViewRef view, qint32 id)
    : model_(std::move(model))
    , view_(std::move(view))
    , id_(id) {}

QString Column::caption() const {
    return model_.lock().column(id_).caption;
}
void Column::setCaption(const QString& caption) {
    model_.lock().setColumnCaption(id_, caption);
}
QString Column::tooltip() const {
    return model_.lock().column(id_).tooltip;
}
void Column::setTooltip(const QString& tooltip) {
    model_.lock().setColumnTooltip(id_, tooltip);
}
qint32 Column::index() const {
    return model_.lock().column(id_).itemIndex;
}
qint32 Column::width() const {
    const GridModel& model = model_.lock();
    return view_ == detail::ViewRef() ? model.column(id_).width : view_.lock().columnWidth(id_);
}
void Column::setWidth(qint32 width) {
    GridModel& model = model_.lock();
    if (view_ == detail::ViewRef())
        model.setColumnWidth(id_, width);
    else
        view_.lock().setColumnWidth(id_, width);
}
bool Column::resizable() const {
    return model_.lock().column(id_).resizable;
}
bool Column::visible() const {
    model_.lock();
    return true; // columns are never hidden; kept for hosts that ask
}
bool Column::operator==(const Column& other) const {
    return id_ == other.id_ && model_ == other.model_;
}

// --- ColumnList ---

ColumnList::ColumnList(detail::ModelRef model, detail::ViewRef view)
    : model_(std::move(model))
    , view_(std::move(view)) {}

Column ColumnList::add(qint32 itemIndex, const QString& caption, qint32 width, bool resizable) {
    GridModel& model = model_.lock();
    return Column(model_, view_, model.addColumn(itemIndex, caption, width, resizable));
}
qint32 ColumnList::count() const {
    return model_.lock().columnCount();
}
Column ColumnList::column(qint32 position) const {
    const GridModel& model = model_.lock();
    if (position < 0 || position >= model.columnCount())
        throw RuntimeError(host::SubscriptOutOfRange);
    const qint32 id =
        view_ == detail::ViewRef() ? position : view_.lock().columnAtPosition(position);
    return Column(model_, view_, id);
}
std::optional<Column> ColumnList::find(qint32 itemIndex) const {
    const GridModel& model = model_.lock();
    const qint32 id = model.findColumn(itemIndex);
    if (id < 0)
        return std::nullopt;
    return Column(model_, view_, id);
}

// --- ItemControl ---

ItemControl::ItemControl(detail::ModelRef model, qint32 record, qint32 item, qint32 position)
    : model_(std::move(model))
    , record_(record)
    , item_(item)
    , position_(position) {}

qint32 ItemControl::id() const {
    return model_.lock().control(record_, item_, position_).id;
}
QString ItemControl::caption() const {
    return model_.lock().control(record_, item_, position_).caption;
}
void ItemControl::setCaption(const QString& caption) {
    model_.lock().setControlCaption(record_, item_, position_, caption);
}
bool ItemControl::enabled() const {
    return model_.lock().control(record_, item_, position_).enabled;
}
void ItemControl::setEnabled(bool enabled) {
    model_.lock().setControlEnabled(record_, item_, position_, enabled);
}
qint16 ItemControl::alignment() const {
    return model_.lock().control(record_, item_, position_).alignment;
}
void ItemControl::setAlignment(qint16 alignment) {
    model_.lock().setControlAlignment(record_, item_, position_, alignment);
}
bool ItemControl::operator==(const ItemControl& other) const {
    return record_ == other.record_ && item_ == other.item_ && position_ == other.position_ &&
           model_ == other.model_;
}

// --- ItemControlList ---

ItemControlList::ItemControlList(detail::ModelRef model, qint32 record, qint32 item)
    : model_(std::move(model))
    , record_(record)
    , item_(item) {}

ItemControl ItemControlList::add(qint32 id) {
    GridModel& model = model_.lock();
    return model.controlHandle(record_, item_, model.addControl(record_, item_, id));
}
qint32 ItemControlList::count() const {
    return model_.lock().item(record_, item_).controlCount();
}
ItemControl ItemControlList::at(qint32 position) const {
    const GridModel& model = model_.lock();
    model.control(record_, item_, position);
    return model.controlHandle(record_, item_, position);
}

// --- Item ---

Item::Item(detail::ModelRef model, qint32 record, qint32 item)
    : model_(std::move(model))
    , record_(record)
    , item_(item) {}

QString Item::value() const {
    return model_.lock().item(record_, item_).value;
}
QString Item::caption() const {
    return model_.lock().item(record_, item_).caption;
}
void Item::setCaption(const QString& caption) {
    model_.lock().setCaption(record_, item_, caption);
}
qint32 Item::index() const {
    model_.lock().item(record_, item_);
    return item_;
}
bool Item::hasCheckBox() const {
    return model_.lock().item(record_, item_).hasCheckBox;
}
void Item::setHasCheckBox(bool hasCheckBox) {
    model_.lock().setHasCheckBox(record_, item_, hasCheckBox);
}
bool Item::checked() const {
    return model_.lock().item(record_, item_).checked;
}
void Item::setChecked(bool checked) {
    model_.lock().setChecked(record_, item_, checked);
}
ItemControlList Item::itemControls() const {
    model_.lock().item(record_, item_);
    return ItemControlList(model_, record_, item_);
}
Record Item::record() const {
    model_.lock().item(record_, item_);
    return Record(model_, record_);
}
bool Item::operator==(const Item& other) const {
    return record_ == other.record_ && item_ == other.item_ && model_ == other.model_;
}

// --- Record ---

Record::Record(detail::ModelRef model, qint32 record)
    : model_(std::move(model))
    , record_(record) {}

Item Record::addItem(const QString& value) {
    GridModel& model = model_.lock();
    return model.itemHandle(record_, model.addItem(record_, value));
}
Item Record::item(qint32 index) const {
    const GridModel& model = model_.lock();
    model.item(record_, index);
    return model.itemHandle(record_, index);
}
qint32 Record::itemCount() const {
    return model_.lock().itemCount(record_);
}
qint32 Record::index() const {
    model_.lock();
    return record_;
}
bool Record::operator==(const Record& other) const {
    return record_ == other.record_ && model_ == other.model_;
}

// --- RecordList ---

RecordList::RecordList(detail::ModelRef model)
    : model_(std::move(model)) {}

Record RecordList::add() {
    GridModel& model = model_.lock();
    return Record(model_, model.addRecord());
}
qint32 RecordList::count() const {
    return model_.lock().recordCount();
}
Record RecordList::record(qint32 index) const {
    const GridModel& model = model_.lock();
    if (index < 0 || index >= model.recordCount())
        throw RuntimeError(host::SubscriptOutOfRange);
    return Record(model_, index);
}

// --- Row ---

Row::Row(detail::ModelRef model, detail::ViewRef view, quint64 generation, qint32 row)
    : model_(std::move(model))
    , view_(std::move(view))
    , generation_(generation)
    , row_(row) {}

Record Row::record() const {
    model_.lock().checkRow(generation_, row_);
    return Record(model_, row_);
}
qint32 Row::index() const {
    model_.lock().checkRow(generation_, row_);
    return row_;
}
void Row::itemBounds(const Item& item, qint32& left, qint32& top, qint32& right,
                     qint32& bottom) const {
    const GridModel& model = model_.lock();
    model.checkRow(generation_, row_);
    if (!(item.record() == Record(model_, row_)))
        throw RuntimeError(host::InvalidProcedureCall);
    const qint32 column = model.findColumn(item.index());
    if (column < 0)
        throw RuntimeError(host::InvalidProcedureCall); // no column shows it: it has no cell
    const QRect cell = view_ == detail::ViewRef() ? QRect() : view_.lock().cellBounds(row_, column);
    left = cell.left();
    top = cell.top();
    right = cell.left() + cell.width();
    bottom = cell.top() + cell.height();
}

bool Row::operator==(const Row& other) const {
    return row_ == other.row_ && generation_ == other.generation_ && model_ == other.model_;
}

// --- RowList ---

RowList::RowList(detail::ModelRef model, detail::ViewRef view)
    : model_(std::move(model))
    , view_(std::move(view)) {}

Row RowList::row(qint32 number) const {
    const GridModel& model = model_.lock();
    if (number < 0 || number >= model.rowCount())
        throw RuntimeError(host::SubscriptOutOfRange);
    return model.rowHandle(number, view_);
}
qint32 RowList::count() const {
    return model_.lock().rowCount();
}

} // namespace gridkit
