#pragma once

/// @file
/// Value handles into a grid's object model. The model owns every column, record, item, row and
/// item control; a handle refers to one without owning it, is cheap to copy, and is refused with
/// host::RuntimeError instead of dangling (the lifetime scheme below).

#include "gridgauge/gridkit/gridkit_export.h"

#include <QRect>
#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <optional>
#include <utility>

/// GridKit: the report grid, its object model and the item delegates.
namespace gridkit {

class GridModel;

namespace detail {

/// The one lifetime scheme. An owner (the model, or a view) keeps an anchor that points at it, and
/// every handle holds a counted reference to the anchor; the owner clears the anchor when it is
/// destroyed, and the anchor itself lives on until the last reference lets go of it. A handle whose
/// owner is gone therefore finds a cleared anchor and is refused with 91 instead of dangling; a Row
/// also carries the generation it was made in and is refused once a rebuild has made the rows anew.
/// The view uses the same reference to notice that a handler it called destroyed it. Counted
/// without atomics: handles, like the grid, belong to the GUI thread, and filling a large grid
/// makes millions of them.
template <typename Owner> class Ref {
public:
    Ref() = default;
    /// A new anchor for owner; the owner keeps this first reference and clears it when it goes.
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

    /// The owner, or null once it is gone (or for a reference to nothing).
    Owner* get() const { return anchor_ ? anchor_->owner : nullptr; }
    /// The owner; 91 (object variable not set) once it is gone.
    Owner& lock() const;
    bool operator==(const Ref& other) const { return anchor_ == other.anchor_; }
    /// For the owner: cut every reference off.
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

/// Throws 91; out of line so that the template needs no error header.
[[noreturn]] GRIDGAUGE_GRIDKIT_EXPORT void throwObjectNotSet();

template <typename Owner> Owner& Ref<Owner>::lock() const {
    Owner* owner = get();
    if (!owner)
        throwObjectNotSet();
    return *owner;
}

/// What a handle asks the view that handed it out: each view lays the columns out its own way
/// (widths, order) and knows where its cells lie. A handle made from the model alone has no view.
class GRIDGAUGE_GRIDKIT_EXPORT ColumnView {
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

/// A cell as a view addresses it: a row number and a column id (the column's creation order),
/// either -1 for none.
struct CellAddress {
    qint32 row = -1;    ///< The row number, or -1.
    qint32 column = -1; ///< The column id, or -1.
    /// Both the same.
    bool operator==(const CellAddress&) const = default;
};

class Record;
class ItemControlList;

// Handles are made by the grid (ReportGrid::columns() and the like) or by one another; their
// constructors take the grid's own references and are of no use elsewhere.

/// A column of a grid. Comparing two tells whether they are the same column of the same model.
class GRIDGAUGE_GRIDKIT_EXPORT Column {
public:
    /// Made by the grid (ColumnList); of no use elsewhere.
    Column(detail::ModelRef model, detail::ViewRef view, qint32 id);

    QString caption() const;                 ///< [1] The header caption.
    void setCaption(const QString& caption); ///< Sets the header caption.
    QString tooltip() const;                 ///< [21] The header's tooltip.
    void setTooltip(const QString& tooltip); ///< [21] Sets the header's tooltip.
    qint32 index() const;                    ///< [9] The item index the column shows.
    /// [12] The width in grid-client pixels, the unit of mouse x. Each view has its own widths,
    /// starting from the width the column was added with; a column reached through the model
    /// alone reads and writes that.
    qint32 width() const;
    /// [12] Sets the width; a negative width throws 380. Raises ReportGrid::columnWidthChanged
    /// when the width changes.
    void setWidth(qint32 width);
    /// The flag of ColumnList::add: the user may resize the column by dragging its header's right
    /// edge, down to MinimumUserWidth.
    bool resizable() const;
    /// Always true: columns are never hidden.
    bool visible() const;

    /// The narrowest the user can drag a column.
    static constexpr qint32 MinimumUserWidth = 10;

    /// The same column of the same model.
    bool operator==(const Column& other) const;

private:
    detail::ModelRef model_;
    detail::ViewRef view_;
    qint32 id_ = -1;
};

/// A grid's columns, as the view shows them.
class GRIDGAUGE_GRIDKIT_EXPORT ColumnList {
public:
    /// Made by the grid (ReportGrid::columns(), GridModel::columns()); of no use elsewhere.
    ColumnList(detail::ModelRef model, detail::ViewRef view);

    /// [2] Adds a column that shows item itemIndex of every record, at the right of the others,
    /// with caption in its header, width pixels wide, and resizable by the user when resizable is
    /// set. A negative item index or width throws 5.
    Column add(qint32 itemIndex, const QString& caption, qint32 width, bool resizable);
    /// How many columns there are.
    qint32 count() const;
    /// The column at position as shown, left to right (the order of adding until the user
    /// reorders); 9 when out of range.
    Column column(qint32 position) const;
    /// The column showing item itemIndex, if any.
    std::optional<Column> find(qint32 itemIndex) const;

private:
    detail::ModelRef model_;
    detail::ViewRef view_;
};

/// A push button inside an item.
class GRIDGAUGE_GRIDKIT_EXPORT ItemControl {
public:
    /// Made by the grid (ItemControlList); of no use elsewhere.
    ItemControl(detail::ModelRef model, qint32 record, qint32 item, qint32 position);

    qint32 id() const;                       ///< The number it was added with.
    QString caption() const;                 ///< [3] The button's caption.
    void setCaption(const QString& caption); ///< [3] Sets the button's caption.
    /// [12] Whether the button is enabled: a disabled button neither looks pressed nor clicks.
    bool enabled() const;
    void setEnabled(bool enabled); ///< [12] Enables or disables the button.
    /// [9] Caption alignment as Qt::Alignment bits. Without horizontal bits the caption is
    /// centred horizontally, without vertical bits vertically; 16 (Qt::AlignAbsolute) is centred
    /// both ways and not mirrored in right-to-left layouts.
    qint16 alignment() const;
    /// [9] Sets the caption alignment (see alignment()); bits outside it throw 380.
    void setAlignment(qint16 alignment);

    /// The same button of the same item.
    bool operator==(const ItemControl& other) const;

private:
    detail::ModelRef model_;
    qint32 record_ = -1, item_ = -1, position_ = -1;
};

/// The push buttons of an item.
class GRIDGAUGE_GRIDKIT_EXPORT ItemControlList {
public:
    /// Made by the grid (Item::itemControls()); of no use elsewhere.
    ItemControlList(detail::ModelRef model, qint32 record, qint32 item);

    /// [4] Adds a push button filling the item's cell (several share it evenly), enabled, with
    /// no caption; id is the host's own number for it, read back by ItemControl::id().
    ItemControl add(qint32 id);
    /// How many buttons the item has.
    qint32 count() const;
    /// The button at position, in the order of adding; 9 when out of range.
    ItemControl at(qint32 position) const;

private:
    detail::ModelRef model_;
    qint32 record_ = -1, item_ = -1;
};

/// A cell's content: item index k of a record.
///
/// Captions and check boxes may be set before the record has a row; they show once
/// ReportGrid::rebuild() gives it one.
class GRIDGAUGE_GRIDKIT_EXPORT Item {
public:
    /// Made by the grid (Record); of no use elsewhere.
    Item(detail::ModelRef model, qint32 record, qint32 item);

    QString value() const;   ///< The value it was added with.
    QString caption() const; ///< [10] The caption; empty until set.
    /// [10] Sets the caption: plain text, or markup that the grid renders.
    void setCaption(const QString& caption);
    qint32 index() const;                  ///< [6] The item index within its record.
    bool hasCheckBox() const;              ///< Whether the cell shows a check box.
    void setHasCheckBox(bool hasCheckBox); ///< [7] Gives the cell a check box, or takes it away.
    bool checked() const;                  ///< [8] Whether its check box is ticked.
    /// [8] Ticks or clears the check box; code setting it raises no ReportGrid::itemCheck.
    void setChecked(bool checked);
    ItemControlList itemControls() const; ///< [23] The item's push buttons.
    Record record() const;                ///< The record the item belongs to.

    /// The same item of the same record.
    bool operator==(const Item& other) const;

private:
    detail::ModelRef model_;
    qint32 record_ = -1, item_ = -1;
};

/// A record: a list of items, shown by the row of the same number after a rebuild.
class GRIDGAUGE_GRIDKIT_EXPORT Record {
public:
    /// Made by the grid (RecordList); of no use elsewhere.
    Record(detail::ModelRef model, qint32 record);

    /// [2] Appends an item with value, at the next item index.
    Item addItem(const QString& value);
    /// [0] The item at index; 9 when out of range.
    Item item(qint32 index) const;
    qint32 itemCount() const; ///< How many items the record has.
    qint32 index() const;     ///< Its position in the record list.

    /// The same record of the same model.
    bool operator==(const Record& other) const;

private:
    detail::ModelRef model_;
    qint32 record_ = -1;
};

/// A grid's records.
class GRIDGAUGE_GRIDKIT_EXPORT RecordList {
public:
    /// Made by the grid (ReportGrid::records(), GridModel::records()); of no use elsewhere.
    explicit RecordList(detail::ModelRef model);

    /// [2] Appends an empty record.
    Record add();
    /// How many records there are.
    qint32 count() const;
    /// The record at index; 9 when out of range.
    Record record(qint32 index) const;

private:
    detail::ModelRef model_;
};

/// A row as the last rebuild made it: row n shows record n. A row from before a later rebuild is
/// stale, and every call on it throws 91.
class GRIDGAUGE_GRIDKIT_EXPORT Row {
public:
    /// Made by the grid (RowList); of no use elsewhere.
    Row(detail::ModelRef model, detail::ViewRef view, quint64 generation, qint32 row);

    Record record() const; ///< [1] The record the row shows: row n shows record n.
    qint32 index() const;  ///< [2] The row number.
    /// [11] The item's cell in grid-client pixels of the view that handed the row out, after
    /// scrolling, written to left, top, right and bottom: left and right are the column's edges,
    /// top and bottom the row's (right - left is the column's width). An item of another record,
    /// or one that no column shows, throws 5; the outputs are then untouched. A row reached
    /// through the model alone has no view: its cells are empty at (0, 0).
    void itemBounds(const Item& item, qint32& left, qint32& top, qint32& right,
                    qint32& bottom) const;

    /// The same row of the same rebuild of the same model.
    bool operator==(const Row& other) const;

private:
    detail::ModelRef model_;
    detail::ViewRef view_;
    quint64 generation_ = 0;
    qint32 row_ = -1;
};

/// The rows of the last rebuild.
class GRIDGAUGE_GRIDKIT_EXPORT RowList {
public:
    /// Made by the grid (ReportGrid::rows(), GridModel::rows()); of no use elsewhere.
    RowList(detail::ModelRef model, detail::ViewRef view);

    /// [0] The row with that number; 9 when out of range.
    Row row(qint32 number) const;
    /// How many rows the last rebuild made.
    qint32 count() const;

private:
    detail::ModelRef model_;
    detail::ViewRef view_;
};

/// What lies under a point of the grid (ReportGrid::hitTest()): each part present or not.
class GRIDGAUGE_GRIDKIT_EXPORT HitTestInfo {
public:
    /// What was hit: the column, the row and the item, each if there is one.
    HitTestInfo(std::optional<Column> column, std::optional<Row> row, std::optional<Item> item)
        : column_(std::move(column))
        , row_(std::move(row))
        , item_(std::move(item)) {}

    std::optional<Column> column() const { return column_; } ///< [1] The column hit, if any.
    std::optional<Row> row() const { return row_; }          ///< [2] The row hit, if any.
    std::optional<Item> item() const { return item_; } ///< [3] The item hit: a row and a column.

private:
    std::optional<Column> column_;
    std::optional<Row> row_;
    std::optional<Item> item_;
};

} // namespace gridkit
