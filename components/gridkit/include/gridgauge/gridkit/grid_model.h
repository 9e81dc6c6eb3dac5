#pragma once

/// @file
/// The grid's object model: columns, records with their items and item controls, the rows made
/// from the records at the last rebuild, and the order the rows are shown in. Data and nothing
/// else: it knows no view, no geometry and no drawing, includes no widget, and tells whoever
/// observes it (every view over it) what changed.
///
/// Ids. A column's id is its creation order and never changes; where a view shows it is that
/// view's own business. A row's number is its record's index (row n shows record n); where it is
/// shown is its display position, which differs only while the rows are sorted.

#include "gridgauge/gridkit/handles.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace gridkit {

namespace detail {

struct ControlData {
    qint32 id = 0;
    QString caption;
    bool enabled = true;
    qint16 alignment = 0;
};

struct ItemData {
    explicit ItemData(const QString& v)
        : value(v) {}
    QString value;
    QString caption;
    /// Almost no item carries a control, so the list costs one pointer until it is used.
    std::unique_ptr<std::vector<ControlData>> controls;
    bool hasCheckBox = false;
    bool checked = false;

    bool hasControls() const { return controls && !controls->empty(); }
    qint32 controlCount() const { return controls ? qint32(controls->size()) : 0; }
};

struct RecordData {
    std::vector<ItemData> items;
};

struct ColumnData {
    qint32 itemIndex = 0;
    QString caption;
    QString tooltip;
    qint32 width = 0; ///< As added: where every view's width for it starts.
    bool resizable = false;
};

/// Assigns value to field and says whether that changed it: every write that notifies does so
/// only for a real change.
template <typename T, typename U> bool assign(T& field, U&& value) {
    if (field == value)
        return false;
    field = std::forward<U>(value);
    return true;
}

} // namespace detail

/// What a rebuild or a sort changed, for a view to redo only that.
struct RowsChange {
    bool rowSet = false; ///< Rows were added.
    bool order = false;  ///< The display order of the rows changed.
};

/// How a view hears of changes. Each is reported once, after the model has changed, with what
/// changed; nothing is reported for a write that leaves a value as it was.
class GRIDGAUGE_GRIDKIT_EXPORT ModelObserver {
public:
    /// The caption, check box, checked state or controls of item item of the row showing record
    /// record changed.
    virtual void itemChanged(qint32 record, qint32 item) = 0;
    /// The caption of the column with id column changed (what its header shows).
    virtual void columnCaptionChanged(qint32 column) = 0;
    /// A column was added, with id column.
    virtual void columnAdded(qint32 column) = 0;
    /// A rebuild made the rows anew (reported even when nothing in them changed), or the sort
    /// order changed: change says which.
    virtual void rowsChanged(RowsChange change) = 0;

protected:
    /// Not deleted through the model: an observer is owned elsewhere.
    ~ModelObserver() = default;
};

/// What a sort compares a caption by; without one, the caption's text itself.
using SortKey = std::function<QString(const QString& caption)>;

/// The data of one or more grids: what ReportGrid shows, and what its handles read and write.
///
/// A program reaches it through a grid (ReportGrid::model(), ReportGrid::sharedModel()) or holds
/// one of its own, with no widget at all. The members below the handles serve the views over it;
/// a program changes the model through the handles, which refuse what does not exist with
/// host::RuntimeError. Like the grid, it belongs to the GUI thread.
class GRIDGAUGE_GRIDKIT_EXPORT GridModel {
public:
    /// An empty model: no column, no record, no row.
    GridModel();
    ~GridModel();
    GridModel(const GridModel&) = delete;
    GridModel& operator=(const GridModel&) = delete;

    /// @name The object model as handles without a view
    /// See Column::width() and Row::itemBounds() for what a handle without a view answers. They
    /// stay safe to hold after the model is gone (see handles.h).
    /// @{
    ColumnList columns(); ///< The columns.
    RecordList records(); ///< The records.
    RowList rows();       ///< The rows of the last rebuild.
    /// @}
    /// [15] Makes the rows anew from the records; rows handed out before are stale afterwards.
    /// Sorted rows are sorted again, by key. Returns what changed.
    RowsChange rebuild(const SortKey& key = {});

    /// Tells observer of every change from now on, until it is removed.
    void addObserver(ModelObserver* observer);
    /// Tells observer nothing more; it may be removed while it is being told.
    void removeObserver(ModelObserver* observer);

    /// @name Columns, by id
    /// @{
    /// How many columns there are.
    qint32 columnCount() const { return qint32(columns_.size()); }
    /// What the column with that id holds; the id must exist.
    const detail::ColumnData& column(qint32 id) const { return columns_[std::size_t(id)]; }
    /// The first column showing item itemIndex, or -1.
    qint32 findColumn(qint32 itemIndex) const;
    /// Calls visit(id) for each column that shows item itemIndex, in id order; usually there is
    /// one, but nothing forbids two.
    template <typename Visit> void forEachColumnShowing(qint32 itemIndex, Visit&& visit) const {
        for (std::size_t id = 0; id < columns_.size(); ++id) {
            if (columns_[id].itemIndex == itemIndex)
                visit(qint32(id));
        }
    }
    /// Adds a column (see ColumnList::add) and returns its id.
    qint32 addColumn(qint32 itemIndex, const QString& caption, qint32 width, bool resizable);
    /// Sets the header caption of column id.
    void setColumnCaption(qint32 id, const QString& caption);
    /// Sets the header tooltip of column id.
    void setColumnTooltip(qint32 id, const QString& tooltip);
    /// Sets the width column id was added with; a view that already shows it keeps its own.
    void setColumnWidth(qint32 id, qint32 width);
    /// @}

    /// @name Records and items
    /// A record or item that does not exist throws 9.
    /// @{
    /// How many records there are.
    qint32 recordCount() const { return qint32(records_.size()); }
    /// Appends an empty record and returns its index.
    qint32 addRecord();
    /// How many items record has.
    qint32 itemCount(qint32 record) const;
    /// Appends an item with value to record and returns its index.
    qint32 addItem(qint32 record, const QString& value);
    /// Item index of record.
    const detail::ItemData& item(qint32 record, qint32 index) const;
    /// Item index of record, or null when there is none (nothing thrown).
    const detail::ItemData* itemIfAny(qint32 record, qint32 index) const;
    /// The item that column columnId shows in row, if there is one.
    const detail::ItemData* cellItem(qint32 row, qint32 columnId) const {
        return itemIfAny(row, column(columnId).itemIndex);
    }
    /// The button at position of item index of record.
    const detail::ControlData& control(qint32 record, qint32 index, qint32 position) const;
    /// Whether the button exists and is enabled: what a click, a key or assistive technology
    /// may press.
    bool controlEnabled(qint32 record, qint32 index, qint32 position) const;
    /// Sets an item's caption (see Item::setCaption).
    void setCaption(qint32 record, qint32 index, const QString& caption);
    /// Gives an item a check box or takes it away (see Item::setHasCheckBox).
    void setHasCheckBox(qint32 record, qint32 index, bool hasCheckBox);
    /// Ticks or clears an item's check box (see Item::setChecked).
    void setChecked(qint32 record, qint32 index, bool checked);
    /// Adds a button with number id to an item and returns its position.
    qint32 addControl(qint32 record, qint32 index, qint32 id);
    /// Sets a button's caption.
    void setControlCaption(qint32 record, qint32 index, qint32 position, const QString& caption);
    /// Enables or disables a button.
    void setControlEnabled(qint32 record, qint32 index, qint32 position, bool enabled);
    /// Sets a button's caption alignment (see ItemControl::alignment).
    void setControlAlignment(qint32 record, qint32 index, qint32 position, qint16 alignment);
    /// @}

    /// @name Rows
    /// @{
    /// How many rows the last rebuild made.
    qint32 rowCount() const { return rowCount_; }
    /// Counts the rebuilds: a row handle remembers the one it was made in.
    quint64 generation() const { return generation_; }
    /// Throws 91 for a row handle from before the last rebuild or a row that does not exist.
    void checkRow(quint64 generation, qint32 row) const;
    /// The row shown at a display position.
    qint32 rowAtPosition(qint32 position) const {
        return displayOrder_.empty() ? position : displayOrder_[std::size_t(position)];
    }
    /// Where a row is shown.
    qint32 positionOfRow(qint32 row) const {
        return displayPos_.empty() ? row : displayPos_[std::size_t(row)];
    }
    /// @}

    /// @name Sorting
    /// The order rows are shown in, by one column's captions.
    /// @{
    /// The column the rows are sorted by, or -1.
    qint32 sortColumn() const { return sortColumn_; }
    /// Whether the sort is descending.
    bool sortDescending() const { return sortDescending_; }
    /// Sorts by the column, ascending; by the column already sorted by, reverses the order.
    void sortBy(qint32 columnId, const SortKey& key = {});
    /// Shows the rows in record order again.
    void clearSort();
    /// @}

    /// @name Handles, for a view to hand out with itself as their view (or none)
    /// @{
    /// The reference every handle of this model holds.
    detail::ModelRef ref() const { return self_; }
    /// A handle to row, answering through view.
    Row rowHandle(qint32 row, const detail::ViewRef& view = {}) const;
    /// A handle to item index of record.
    Item itemHandle(qint32 record, qint32 index) const;
    /// A handle to the button at position of an item.
    ItemControl controlHandle(qint32 record, qint32 index, qint32 position) const;
    /// What lies at a row and a column (either -1 for none): the item is there when both are.
    HitTestInfo hitInfo(qint32 row, qint32 columnId, const detail::ViewRef& view) const;
    /// @}

private:
    detail::ItemData& mutableItem(qint32 record, qint32 index);
    detail::ControlData& mutableControl(qint32 record, qint32 index, qint32 position);
    bool applySort(const SortKey& key); // whether the order changed
    // By index: an observer may go (a view destroyed) while it is being told.
    template <typename Tell> void tell(Tell&& tell) const {
        for (std::size_t i = 0; i < observers_.size(); ++i)
            tell(*observers_[i]);
    }
    // Items of records without a row yet show nowhere: the rebuild that gives them one reports
    // the rows instead.
    void itemChanged(qint32 record, qint32 index) const {
        if (record < rowCount_)
            tell([&](ModelObserver& o) { o.itemChanged(record, index); });
    }

    detail::ModelRef self_; // keeps the anchor while the model lives
    std::vector<ModelObserver*> observers_;

    std::vector<detail::ColumnData> columns_; // by id
    std::vector<detail::RecordData> records_;
    std::size_t itemsPerRecordHint_ = 0;
    qint32 rowCount_ = 0;
    quint64 generation_ = 1;

    qint32 sortColumn_ = -1;
    bool sortDescending_ = false;
    std::vector<qint32> displayOrder_; // display position -> row, empty while unsorted
    std::vector<qint32> displayPos_;   // row -> display position
};

} // namespace gridkit
