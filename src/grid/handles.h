#pragma once

// Value handles into the grid's object model. The grid owns every column, record, item, row and
// item control; a handle refers to one without owning it, is cheap to copy, and is refused with
// host::RuntimeError instead of dangling (the lifetime scheme below). A member with a fixed
// dispatch number names it in brackets, [n].

#include <QRect>
#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <optional>
#include <utility>

namespace report {

class Grid;

namespace detail {

// The one lifetime scheme. The grid keeps an anchor that points at it, and every handle holds a
// counted reference to the anchor; the grid clears the anchor when it is destroyed, and the
// anchor itself lives on until the last reference lets go of it. A handle whose grid is gone
// therefore finds a cleared anchor and is refused with 91 instead of dangling; a Row also carries
// the rebuild it was made in and is refused once a rebuild has made the rows anew. Counted
// without atomics: handles, like the grid, belong to the GUI thread, and filling a large grid
// makes millions of them.
class GridRef {
public:
    GridRef() = default;
    // A new anchor for grid; the grid keeps this first reference and clears it when it goes.
    static GridRef anchor(Grid* grid) { return GridRef(new Anchor{grid, 0}); }
    GridRef(const GridRef& other)
        : GridRef(other.anchor_) {}
    GridRef(GridRef&& other) noexcept
        : anchor_(std::exchange(other.anchor_, nullptr)) {}
    GridRef& operator=(GridRef other) noexcept {
        std::swap(anchor_, other.anchor_);
        return *this;
    }
    ~GridRef() {
        if (anchor_ && --anchor_->refs == 0)
            delete anchor_;
    }

    // The grid, or null once it is gone.
    Grid* get() const { return anchor_ ? anchor_->grid : nullptr; }
    // The grid; 91 (object variable not set) once it is gone.
    Grid& lock() const;
    bool operator==(const GridRef& other) const { return anchor_ == other.anchor_; }
    // For the grid: cut every reference off.
    void clear() const {
        if (anchor_)
            anchor_->grid = nullptr;
    }

private:
    struct Anchor {
        Grid* grid = nullptr;
        std::size_t refs = 0;
    };
    explicit GridRef(Anchor* anchor)
        : anchor_(anchor) {
        if (anchor_)
            ++anchor_->refs;
    }
    Anchor* anchor_ = nullptr;
};

} // namespace detail

class Record;
class ItemControlList;

// Handles are made by the grid (Grid::columns() and the like) or by one another.

// A column of the grid.
class Column {
public:
    Column(detail::GridRef grid, qint32 id);

    QString caption() const; // [1] the header caption
    void setCaption(const QString& caption);
    QString tooltip() const;                 // [21]
    void setTooltip(const QString& tooltip); // [21]
    qint32 index() const;                    // [9] the item index the column shows
    // [12] The width in grid-client pixels, the unit of mouse x; a negative one throws 380.
    // A change raises Grid::columnWidthChanged.
    qint32 width() const;
    void setWidth(qint32 width);
    // The flag of ColumnList::add: the user may resize the column by dragging its divider.
    bool resizable() const;
    bool visible() const; // always true: columns are never hidden

    // The narrowest the user can drag a column.
    static constexpr qint32 MinimumUserWidth = 10;

    bool operator==(const Column& other) const;

private:
    detail::GridRef grid_;
    qint32 id_ = -1;
};

class ColumnList {
public:
    explicit ColumnList(detail::GridRef grid);

    // [2] Adds a column showing item itemIndex of every record, at the right of the others,
    // width pixels wide, resizable by the user when resizable is set. A negative item index or
    // width throws 5.
    Column add(qint32 itemIndex, const QString& caption, qint32 width, bool resizable);
    qint32 count() const;
    // The column at position as shown, left to right; 9 when out of range.
    Column column(qint32 position) const;
    std::optional<Column> find(qint32 itemIndex) const;

private:
    detail::GridRef grid_;
};

// A push button inside an item.
class ItemControl {
public:
    ItemControl(detail::GridRef grid, qint32 record, qint32 item, qint32 position);

    qint32 id() const;                       // the number it was added with
    QString caption() const;                 // [3]
    void setCaption(const QString& caption); // [3]
    bool enabled() const;                    // [12]
    void setEnabled(bool enabled);           // [12]
    // [9] Caption alignment as Qt::Alignment bits: without horizontal bits centred
    // horizontally, without vertical bits vertically; 16 (Qt::AlignAbsolute) centred both ways
    // and not mirrored right to left. Bits outside that throw 380.
    qint16 alignment() const;
    void setAlignment(qint16 alignment);

    bool operator==(const ItemControl& other) const;

private:
    detail::GridRef grid_;
    qint32 record_ = -1, item_ = -1, position_ = -1;
};

class ItemControlList {
public:
    ItemControlList(detail::GridRef grid, qint32 record, qint32 item);

    // [4] Adds a push button filling the item's cell (several share it evenly), enabled, with
    // no caption; id is the host's own number for it.
    ItemControl add(qint32 id);
    qint32 count() const;
    ItemControl at(qint32 position) const; // 9 when out of range

private:
    detail::GridRef grid_;
    qint32 record_ = -1, item_ = -1;
};

// A cell's content: item index k of a record. Captions and check boxes may be set before the
// record has a row; they show once Grid::rebuild() gives it one.
class Item {
public:
    Item(detail::GridRef grid, qint32 record, qint32 item);

    QString value() const;   // the value it was added with
    QString caption() const; // [10] empty until set
    void setCaption(const QString& caption);
    qint32 index() const; // [6]
    bool hasCheckBox() const;
    void setHasCheckBox(bool hasCheckBox); // [7]
    bool checked() const;                  // [8]
    void setChecked(bool checked);         // [8] raises no Grid::itemCheck
    ItemControlList itemControls() const;  // [23]
    Record record() const;

    bool operator==(const Item& other) const;

private:
    detail::GridRef grid_;
    qint32 record_ = -1, item_ = -1;
};

class Record {
public:
    Record(detail::GridRef grid, qint32 record);

    Item addItem(const QString& value); // [2]
    Item item(qint32 index) const;      // [0] 9 when out of range
    qint32 itemCount() const;
    qint32 index() const;

    bool operator==(const Record& other) const;

private:
    detail::GridRef grid_;
    qint32 record_ = -1;
};

class RecordList {
public:
    explicit RecordList(detail::GridRef grid);

    Record add(); // [2] appends an empty record
    qint32 count() const;
    Record record(qint32 index) const; // 9 when out of range

private:
    detail::GridRef grid_;
};

// A row as the last rebuild made it: row n shows record n. A row from before a later rebuild is
// stale, and every call on it throws 91.
class Row {
public:
    Row(detail::GridRef grid, quint64 generation, qint32 row);

    Record record() const; // [1]
    qint32 index() const;  // [2] the row number
    // [11] The item's cell in grid-client pixels, after scrolling: left and right are the
    // column's edges, top and bottom the row's. An item of another record, or one that no column
    // shows, throws 5; the outputs are then untouched.
    void itemBounds(const Item& item, qint32& left, qint32& top, qint32& right,
                    qint32& bottom) const;

    bool operator==(const Row& other) const;

private:
    detail::GridRef grid_;
    quint64 generation_ = 0;
    qint32 row_ = -1;
};

class RowList {
public:
    explicit RowList(detail::GridRef grid);

    Row row(qint32 number) const; // [0] 9 when out of range
    qint32 count() const;

private:
    detail::GridRef grid_;
};

// What lies under a point of the grid (Grid::hitTest()): each part present or not.
class HitTestInfo {
public:
    HitTestInfo(std::optional<Column> column, std::optional<Row> row, std::optional<Item> item)
        : column_(std::move(column))
        , row_(std::move(row))
        , item_(std::move(item)) {}

    std::optional<Column> column() const { return column_; } // [1]
    std::optional<Row> row() const { return row_; }          // [2]
    std::optional<Item> item() const { return item_; }       // [3]

private:
    std::optional<Column> column_;
    std::optional<Row> row_;
    std::optional<Item> item_;
};

} // namespace report
