#pragma once

// Value handles into a grid's object model. The model owns every column, record, item, row and
// item control; a handle refers to one without owning it, is cheap to copy, and is refused with
// host::RuntimeError instead of dangling (the lifetime scheme below).

#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <optional>
#include <utility>

namespace gridkit {

class GridModel;

namespace detail {

// The one lifetime scheme. Every handle holds a counted reference to its model's anchor; the model
// clears the anchor when it is destroyed, and the anchor itself lives on until the last handle
// lets go of it. A handle whose model is gone therefore finds a cleared anchor and is refused with
// 91 instead of dangling; a Row also carries the generation it was made in and is refused once a
// rebuild has made the rows anew. The view uses the same reference to notice that a handler it
// called destroyed the grid. Counted without atomics: handles, like the grid, belong to the GUI
// thread, and filling a large grid makes millions of them.
struct ModelAnchor {
    GridModel* model = nullptr;
    std::size_t refs = 0;
};

class ModelRef {
public:
    ModelRef() = default;
    explicit ModelRef(ModelAnchor* anchor)
        : anchor_(anchor) {
        if (anchor_)
            ++anchor_->refs;
    }
    ModelRef(const ModelRef& other)
        : ModelRef(other.anchor_) {}
    ModelRef(ModelRef&& other) noexcept
        : anchor_(std::exchange(other.anchor_, nullptr)) {}
    ModelRef& operator=(ModelRef other) noexcept {
        std::swap(anchor_, other.anchor_);
        return *this;
    }
    ~ModelRef() {
        if (anchor_ && --anchor_->refs == 0)
            delete anchor_;
    }

    // The model, or null once it is gone.
    GridModel* get() const { return anchor_ ? anchor_->model : nullptr; }
    // The model; 91 (object variable not set) once it is gone.
    GridModel& lock() const;
    bool sameModel(const ModelRef& other) const { return anchor_ == other.anchor_; }
    // For the model: cut every handle off.
    void clear() const {
        if (anchor_)
            anchor_->model = nullptr;
    }

private:
    ModelAnchor* anchor_ = nullptr;
};

} // namespace detail

class Record;
class ItemControlList;

class Column {
public:
    QString caption() const; // [1] the header caption
    void setCaption(const QString& caption);
    QString tooltip() const;                 // [21] the header's tooltip
    void setTooltip(const QString& tooltip); // [21]
    qint32 index() const;                    // [9] the item index the column shows
    qint32 width() const;                    // [12] grid-client pixels, the unit of mouse x
    // [12] A negative width throws 380. Raises columnWidthChanged when the width changes.
    void setWidth(qint32 width);
    // The flag of ColumnList::add: the user may resize the column by dragging its header's right
    // edge, down to MinimumUserWidth.
    bool resizable() const;
    bool visible() const;

    static constexpr qint32 MinimumUserWidth = 10;

    bool operator==(const Column& other) const;

private:
    friend class GridModel;
    Column(detail::ModelRef model, qint32 id);
    detail::ModelRef model_;
    qint32 id_ = -1;
};

class ColumnList {
public:
    // [2] Adds a column that shows item itemIndex of every record, at the right of the others.
    // A negative item index or width throws 5.
    Column add(qint32 itemIndex, const QString& caption, qint32 width, bool resizable);
    qint32 count() const;
    // By position as shown, left to right (the order of adding until the user reorders); 9 when
    // out of range.
    Column column(qint32 position) const;
    std::optional<Column> find(qint32 itemIndex) const; // the column showing that item

private:
    friend class GridModel;
    explicit ColumnList(detail::ModelRef model);
    detail::ModelRef model_;
};

// A push button inside an item.
class ItemControl {
public:
    qint32 id() const;                       // the argument it was added with
    QString caption() const;                 // [3]
    void setCaption(const QString& caption); // [3]
    bool enabled() const;          // [12] a disabled button neither looks pressed nor clicks
    void setEnabled(bool enabled); // [12]
    // [9] Caption alignment as Qt::Alignment bits. Without horizontal bits the caption is centred
    // horizontally, without vertical bits vertically; 16 (Qt::AlignAbsolute) is centred both ways
    // and not mirrored in right-to-left layouts.
    qint16 alignment() const;
    void setAlignment(qint16 alignment);

    bool operator==(const ItemControl& other) const;

private:
    friend class GridModel;
    ItemControl(detail::ModelRef model, qint32 record, qint32 item, qint32 position);
    detail::ModelRef model_;
    qint32 record_ = -1, item_ = -1, position_ = -1;
};

class ItemControlList {
public:
    // [4] A push button filling the item's cell (several share it evenly), enabled, with no
    // caption; id is the host's own number for it, read back by ItemControl::id().
    ItemControl add(qint32 id);
    qint32 count() const;
    ItemControl at(qint32 position) const; // 9 when out of range

private:
    friend class Item;
    ItemControlList(detail::ModelRef model, qint32 record, qint32 item);
    detail::ModelRef model_;
    qint32 record_ = -1, item_ = -1;
};

// A cell's content: item index k of a record.
class Item {
public:
    QString value() const;                   // the value it was added with
    QString caption() const;                 // [10] empty until set
    void setCaption(const QString& caption); // [10] plain text, or markup that the grid renders
    qint32 index() const;                    // [6]
    bool hasCheckBox() const;
    void setHasCheckBox(bool hasCheckBox); // [7]
    bool checked() const;                  // [8]
    void setChecked(bool checked);         // [8]; code setting it raises no itemCheck
    // Captions and check boxes may be set before the record has a row; they show once rebuild()
    // gives it one.
    ItemControlList itemControls() const; // [23]
    Record record() const;

    bool operator==(const Item& other) const;

private:
    friend class GridModel;
    friend class Record;
    friend class Row;
    Item(detail::ModelRef model, qint32 record, qint32 item);
    detail::ModelRef model_;
    qint32 record_ = -1, item_ = -1;
};

class Record {
public:
    Item addItem(const QString& value); // [2] appended with the next item index
    Item item(qint32 index) const;      // [0] 9 when out of range
    qint32 itemCount() const;
    qint32 index() const; // position in the record list

    bool operator==(const Record& other) const;

private:
    friend class GridModel;
    friend class Item;
    friend class RecordList;
    friend class Row;
    Record(detail::ModelRef model, qint32 record);
    detail::ModelRef model_;
    qint32 record_ = -1;
};

class RecordList {
public:
    Record add(); // [2] an empty record, appended
    qint32 count() const;
    Record record(qint32 index) const; // 9 when out of range

private:
    friend class GridModel;
    explicit RecordList(detail::ModelRef model);
    detail::ModelRef model_;
};

class Row {
public:
    Record record() const; // [1] row n shows record n
    qint32 index() const;  // [2] the row number
    // [11] The item's cell in grid-client pixels, after scrolling: left and right are the
    // column's edges, top and bottom the row's (right - left is the column's width). An item of
    // another record, or one that no column shows, throws 5; the outputs are then untouched.
    void itemBounds(const Item& item, qint32& left, qint32& top, qint32& right,
                    qint32& bottom) const;

    bool operator==(const Row& other) const;

private:
    friend class GridModel;
    Row(detail::ModelRef model, quint64 generation, qint32 row);
    detail::ModelRef model_;
    quint64 generation_ = 0;
    qint32 row_ = -1;
};

class RowList {
public:
    Row row(qint32 number) const; // [0] 9 when out of range
    qint32 count() const;

private:
    friend class GridModel;
    explicit RowList(detail::ModelRef model);
    detail::ModelRef model_;
};

class HitTestInfo {
public:
    std::optional<Column> column() const; // [1]
    std::optional<Row> row() const;       // [2]
    std::optional<Item> item() const;     // [3]

private:
    friend class GridModel;
    HitTestInfo() = default;
    std::optional<Column> column_;
    std::optional<Row> row_;
    std::optional<Item> item_;
};

} // namespace gridkit
