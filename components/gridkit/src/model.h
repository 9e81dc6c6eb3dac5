#pragma once

// The grid's object model without a view: columns, records with their items and item controls,
// the rows made from the records at the last rebuild, and the order the rows are shown in. It
// includes no widget and never reaches one; a view learns what changed through ModelObserver.
//
// Ids. A column's id is its creation order and never changes; where it is shown is its position
// in columnOrder(). A row's number is its record's index (row n shows record n); where it is
// shown is its display position, which differs only while the rows are sorted.

#include "caption.h"
#include "gridgauge/gridkit/handles.h"

#include <QRect>
#include <QString>

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
    Caption caption;
    // Almost no item carries a control, so the list costs one pointer until it is used.
    std::unique_ptr<std::vector<ControlData>> controls;
    bool hasCheckBox = false;
    bool checked = false;

    bool hasControls() const { return controls && !controls->empty(); }
};

struct RecordData {
    std::vector<ItemData> items;
};

struct ColumnData {
    qint32 itemIndex = 0;
    QString caption;
    QString tooltip;
    qint32 width = 0;
    bool resizable = false;
};

} // namespace detail

// What a rebuild or a sort changed, for the view to redo only that.
struct RowsChange {
    bool rowSet = false; // rows were added
    bool order = false;  // the display order of the rows changed
};

// How a view hears of changes. Each is reported once, after the model has changed, with what
// changed; nothing is reported for a write that leaves a value as it was.
class ModelObserver {
public:
    virtual ~ModelObserver() = default;
    // The caption, check box, checked state or controls of one item of a row changed.
    virtual void itemChanged(qint32 record, qint32 item) = 0;
    // A column's caption changed (what its header shows).
    virtual void columnCaptionChanged(qint32 column) = 0;
    virtual void columnResized(qint32 column, qint32 previousWidth, qint32 width) = 0;
    // A column was added or moved to another position.
    virtual void columnsChanged() = 0;
    // A rebuild made the rows anew (reported even when nothing in them changed), or the sort
    // order changed.
    virtual void rowsChanged(RowsChange change) = 0;
};

// Where cells lie on screen, which only a view knows.
class CellGeometry {
public:
    virtual ~CellGeometry() = default;
    // The cell of a row in a column, in the view's client pixels.
    virtual QRect cellBounds(qint32 row, qint32 columnId) const = 0;
};

class GridModel {
public:
    GridModel();
    ~GridModel();
    GridModel(const GridModel&) = delete;
    GridModel& operator=(const GridModel&) = delete;

    // The object model as handles. They stay safe to hold after the model is gone (see
    // handles.h).
    ColumnList columns();
    RecordList records();
    RowList rows();
    // [15] Rows made anew from the records; rows handed out before are stale afterwards. Sorted
    // rows are sorted again.
    RowsChange rebuild();

    void setObserver(ModelObserver* observer) { observer_ = observer; }
    // Without a view, every cell's bounds are empty at (0, 0).
    void setGeometry(const CellGeometry* geometry) { geometry_ = geometry; }
    QRect cellBounds(qint32 row, qint32 columnId) const {
        return geometry_ ? geometry_->cellBounds(row, columnId) : QRect();
    }

    // Captions in the markup vocabulary are read as their text (for sorting, for assistive
    // technology); a view that shows markup turns this on.
    void setMarkupEnabled(bool enabled) { markupEnabled_ = enabled; }
    bool markupEnabled() const { return markupEnabled_; }

    // --- columns ---
    qint32 columnCount() const { return qint32(columns_.size()); }
    const detail::ColumnData& column(qint32 id) const { return columns_[std::size_t(id)]; }
    // Column ids from left to right.
    const std::vector<qint32>& columnOrder() const { return columnOrder_; }
    qint32 findColumn(qint32 itemIndex) const; // the first column showing that item, or -1
    qint32 addColumn(qint32 itemIndex, const QString& caption, qint32 width, bool resizable);
    void setColumnCaption(qint32 id, const QString& caption);
    void setColumnTooltip(qint32 id, const QString& tooltip);
    void setColumnWidth(qint32 id, qint32 width);
    void moveColumn(qint32 fromPosition, qint32 toPosition);

    // --- records and items; 9 for a record or item that does not exist ---
    qint32 recordCount() const { return qint32(records_.size()); }
    qint32 addRecord();
    qint32 itemCount(qint32 record) const;
    qint32 addItem(qint32 record, const QString& value);
    const detail::ItemData& item(qint32 record, qint32 index) const;
    const detail::ItemData* itemIfAny(qint32 record, qint32 index) const;
    const detail::ControlData& control(qint32 record, qint32 index, qint32 position) const;
    void setCaption(qint32 record, qint32 index, const QString& caption);
    void setHasCheckBox(qint32 record, qint32 index, bool hasCheckBox);
    void setChecked(qint32 record, qint32 index, bool checked);
    qint32 addControl(qint32 record, qint32 index, qint32 id);
    void setControlCaption(qint32 record, qint32 index, qint32 position, const QString& caption);
    void setControlEnabled(qint32 record, qint32 index, qint32 position, bool enabled);
    void setControlAlignment(qint32 record, qint32 index, qint32 position, qint16 alignment);
    // What a caption reads as: its text, or (markup on) a markup caption's text content.
    QString readableText(const detail::ItemData& item) const;
    // A markup caption's drawing, null for plain text; the view paints with it.
    markup::Drawing* drawing(const detail::ItemData& item) const {
        return item.caption.drawing(drawings_);
    }

    // --- rows ---
    qint32 rowCount() const { return rowCount_; }
    quint64 generation() const { return generation_; }
    // 91 for a row handle from before the last rebuild or a row that does not exist.
    void checkRow(quint64 generation, qint32 row) const;
    qint32 rowAtPosition(qint32 position) const {
        return displayOrder_.empty() ? position : displayOrder_[std::size_t(position)];
    }
    qint32 positionOfRow(qint32 row) const {
        return displayPos_.empty() ? row : displayPos_[std::size_t(row)];
    }

    // --- sorting: the order rows are shown in, by the readable text of one column ---
    qint32 sortColumn() const { return sortColumn_; }
    bool sortDescending() const { return sortDescending_; }
    // Sorts by the column, ascending; by the column already sorted by, reverses the order.
    void sortBy(qint32 columnId);
    void clearSort(); // record order again

    // Handles for the view to hand out.
    detail::ModelRef ref() const { return self_; }
    Column columnHandle(qint32 id) const;
    Row rowHandle(qint32 row) const;
    Item itemHandle(qint32 record, qint32 index) const;
    ItemControl controlHandle(qint32 record, qint32 index, qint32 position) const;
    // What lies at a row and a column (either -1 for none): the item is there when both are.
    HitTestInfo hitInfo(qint32 row, qint32 columnId) const;

private:
    detail::ItemData& mutableItem(qint32 record, qint32 index);
    detail::ControlData& mutableControl(qint32 record, qint32 index, qint32 position);
    bool applySort(); // whether the order changed
    // Items of records without a row yet show nowhere: the rebuild that gives them one reports
    // the rows instead.
    void itemChanged(qint32 record, qint32 index) {
        if (observer_ && record < rowCount_)
            observer_->itemChanged(record, index);
    }

    detail::ModelRef self_; // keeps the anchor while the model lives
    ModelObserver* observer_ = nullptr;
    const CellGeometry* geometry_ = nullptr;
    bool markupEnabled_ = false;
    mutable detail::DrawingCache drawings_;

    std::vector<detail::ColumnData> columns_; // by id
    std::vector<qint32> columnOrder_;
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
