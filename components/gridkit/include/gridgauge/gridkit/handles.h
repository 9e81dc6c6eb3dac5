#pragma once

// Value handles into a grid's object model. The model owns every column, record, item, row and
// item control; a handle refers to one without owning it, is cheap to copy, and is refused with
// host::RuntimeError instead of dangling (the lifetime scheme below).

#include <QRect>
#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <optional>
#include <utility>

namespace gridkit {

class GridModel;

namespace detail {

// The one lifetime scheme. An owner (the model, or a view) keeps an anchor that points at it, and
// every handle holds a counted reference to the anchor; the owner clears the anchor when it is
// destroyed, and the anchor itself lives on until the last reference lets go of it. A handle whose
// owner is gone therefore finds a cleared anchor and is refused with 91 instead of dangling; a Row
// also carries the generation it was made in and is refused once a rebuild has made the rows anew.
// The view uses the same reference to notice that a handler it called destroyed it. Counted
// without atomics: handles, like the grid, belong to the GUI thread, and filling a large grid
// makes millions of them.
template <typename Owner> class Ref {
public:
    Ref() = default;
    // A new anchor for owner; the owner keeps this first reference and clears it when it goes.
    static Ref anchor(Owner* owner) { return Ref(new Anchor{owner, 0}); }
    Ref(const Ref& other)
        : Ref(other.anchor_) {}
    Ref(Ref&& other) noexcept
        : anchor_(std::exchange(other.anchor_, nullptr)) {}
    Ref& operator=(Ref other) noexcept {
        std::swap(anchor_, other.anchor_);
        return *this;
    }
    ~Ref() {
        if (anchor_ && --anchor_->refs == 0)
            delete anchor_;
    }

    // The owner, or null once it is gone (or for a reference to nothing).
    Owner* get() const { return anchor_ ? anchor_->owner : nullptr; }
    // The owner; 91 (object variable not set) once it is gone.
    Owner& lock() const;
    bool operator==(const Ref& other) const { return anchor_ == other.anchor_; }
    // For the owner: cut every reference off.
    void clear() const {
        if (anchor_)
            anchor_->owner = nullptr;
    }

private:
    struct Anchor {
        Owner* owner = nullptr;
        std::size_t refs = 0;
    };
    explicit Ref(Anchor* anchor)
        : anchor_(anchor) {
        if (anchor_)
            ++anchor_->refs;
    }
    Anchor* anchor_ = nullptr;
};

// Throws 91; out of line so that the template needs no error header.
[[noreturn]] void throwObjectNotSet();

template <typename Owner> Owner& Ref<Owner>::lock() const {
    Owner* owner = get();
    if (!owner)
        throwObjectNotSet();
    return *owner;
}

// What a handle asks the view that handed it out: each view lays the columns out its own way
// (widths, order) and knows where its cells lie. A handle made from the model alone has no view.
class ColumnView {
public:
    virtual qint32 columnWidth(qint32 columnId) const = 0;
    virtual void setColumnWidth(qint32 columnId, qint32 width) = 0;
    virtual qint32 columnAtPosition(qint32 position) const = 0;
    virtual QRect cellBounds(qint32 row, qint32 columnId) const = 0;

protected:
    ~ColumnView() = default;
};

using ModelRef = Ref<GridModel>;
using ViewRef = Ref<ColumnView>;

} // namespace detail

// A cell as a view addresses it: a row number and a column id (the column's creation order),
// either -1 for none.
struct CellAddress {
    qint32 row = -1;
    qint32 column = -1;
    bool operator==(const CellAddress&) const = default;
};

class Record;
class ItemControlList;

// Handles are made by the grid (ReportGrid::columns() and the like) or by one another; their
// constructors take the grid's own references and are of no use elsewhere.

class Column {
public:
    Column(detail::ModelRef model, detail::ViewRef view, qint32 id);

    QString caption() const; // [1] the header caption
    void setCaption(const QString& caption);
    QString tooltip() const;                 // [21] the header's tooltip
    void setTooltip(const QString& tooltip); // [21]
    qint32 index() const;                    // [9] the item index the column shows
    // [12] Grid-client pixels, the unit of mouse x. Each view has its own widths, starting from
    // the width the column was added with; a column reached through the model alone reads and
    // writes that.
    qint32 width() const;
    // [12] A negative width throws 380. Raises columnWidthChanged when the width changes.
    void setWidth(qint32 width);
    // The flag of ColumnList::add: the user may resize the column by dragging its header's right
    // edge, down to MinimumUserWidth.
    bool resizable() const;
    bool visible() const;

    static constexpr qint32 MinimumUserWidth = 10;

    bool operator==(const Column& other) const;

private:
    detail::ModelRef model_;
    detail::ViewRef view_;
    qint32 id_ = -1;
};

class ColumnList {
public:
    ColumnList(detail::ModelRef model, detail::ViewRef view);

    // [2] Adds a column that shows item itemIndex of every record, at the right of the others.
    // A negative item index or width throws 5.
    Column add(qint32 itemIndex, const QString& caption, qint32 width, bool resizable);
    qint32 count() const;
    // By position as shown, left to right (the order of adding until the user reorders); 9 when
    // out of range.
    Column column(qint32 position) const;
    std::optional<Column> find(qint32 itemIndex) const; // the column showing that item

private:
    detail::ModelRef model_;
    detail::ViewRef view_;
};

// A push button inside an item.
class ItemControl {
public:
    ItemControl(detail::ModelRef model, qint32 record, qint32 item, qint32 position);

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
    detail::ModelRef model_;
    qint32 record_ = -1, item_ = -1, position_ = -1;
};

class ItemControlList {
public:
    ItemControlList(detail::ModelRef model, qint32 record, qint32 item);

    // [4] A push button filling the item's cell (several share it evenly), enabled, with no
    // caption; id is the host's own number for it, read back by ItemControl::id().
    ItemControl add(qint32 id);
    qint32 count() const;
    ItemControl at(qint32 position) const; // 9 when out of range

private:
    detail::ModelRef model_;
    qint32 record_ = -1, item_ = -1;
};

// A cell's content: item index k of a record.
class Item {
public:
    Item(detail::ModelRef model, qint32 record, qint32 item);

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
    detail::ModelRef model_;
    qint32 record_ = -1, item_ = -1;
};

class Record {
public:
    Record(detail::ModelRef model, qint32 record);

    Item addItem(const QString& value); // [2] appended with the next item index
    Item item(qint32 index) const;      // [0] 9 when out of range
    qint32 itemCount() const;
    qint32 index() const; // position in the record list

    bool operator==(const Record& other) const;

private:
    detail::ModelRef model_;
    qint32 record_ = -1;
};

class RecordList {
public:
    explicit RecordList(detail::ModelRef model);

    Record add(); // [2] an empty record, appended
    qint32 count() const;
    Record record(qint32 index) const; // 9 when out of range

private:
    detail::ModelRef model_;
};

class Row {
public:
    Row(detail::ModelRef model, detail::ViewRef view, quint64 generation, qint32 row);

    Record record() const; // [1] row n shows record n
    qint32 index() const;  // [2] the row number
    // [11] The item's cell in grid-client pixels of the view that handed the row out, after
    // scrolling: left and right are the column's edges, top and bottom the row's (right - left is
    // the column's width). An item of another record, or one that no column shows, throws 5; the
    // outputs are then untouched. A row reached through the model alone has no view: its cells
    // are empty at (0, 0).
    void itemBounds(const Item& item, qint32& left, qint32& top, qint32& right,
                    qint32& bottom) const;

    bool operator==(const Row& other) const;

private:
    detail::ModelRef model_;
    detail::ViewRef view_;
    quint64 generation_ = 0;
    qint32 row_ = -1;
};

class RowList {
public:
    RowList(detail::ModelRef model, detail::ViewRef view);

    Row row(qint32 number) const; // [0] 9 when out of range
    qint32 count() const;

private:
    detail::ModelRef model_;
    detail::ViewRef view_;
};

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

} // namespace gridkit
