#pragma once

// Where things lie in the grid's client area: the group box band, the header, the rows, each
// column's extent, the scroll offsets, and what lies under a point. All in device-independent
// pixels of the viewport, laid out left to right: columns from x = 0, a check box at its cell's
// left. A right-to-left view shows all of it mirrored, and visual() maps a rectangle or a pixel
// between the two, so that painting, input and what the grid reports agree on one mirror. It owns
// the view's column layout (each column's width and the order they are shown in, which are this
// view's and not the model's) and reads the rows from the model; the view tells it the metrics,
// the viewport size, the layout direction and the scroll offsets.

#include "gridgauge/gridkit/grid_model.h"

#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>
#include <vector>

namespace gridkit::detail {

class GridGeometry {
public:
    explicit GridGeometry(const GridModel& model)
        : model_(model) {}

    // --- what the view tells it ---
    void setMetrics(int rowHeight, int headerHeight);
    void setCheckBoxIndicator(const QSize& size) { indicator_ = size; }
    void setGroupBoxVisible(bool visible) { groupBoxVisible_ = visible; }
    void setViewportSize(const QSize& size) { viewport_ = size; }
    void setDirection(Qt::LayoutDirection direction) { direction_ = direction; }
    void setOffsets(int horizontal, int vertical) {
        hOffset_ = horizontal;
        vOffset_ = vertical;
    }

    // --- the column layout ---
    qint32 columnCount() const { return qint32(widths_.size()); }
    // A column the model added, at the right, as wide as it was added.
    void addColumn(qint32 width);
    qint32 columnWidth(qint32 id) const { return widths_[std::size_t(id)]; }
    // The width it had before.
    qint32 setColumnWidth(qint32 id, qint32 width);
    void moveColumn(qint32 fromPosition, qint32 toPosition);

    int rowHeight() const { return rowHeight_; }
    int headerHeight() const { return headerHeight_; }
    int groupBoxHeight() const { return groupBoxVisible_ ? rowHeight_ + 16 : 0; }
    int bodyTop() const { return groupBoxHeight() + headerHeight_; }
    int hOffset() const { return hOffset_; }
    int vOffset() const { return vOffset_; }
    QRect clientRect() const { return QRect(QPoint(0, 0), viewport_); }
    Qt::LayoutDirection direction() const { return direction_; }
    // Between the left-to-right layout and the viewport as shown; either way, as a mirror is.
    QRect visual(const QRect& rect) const;
    QPoint visual(const QPoint& pixel) const;
    QRect bodyRect() const;

    // --- scrolling ---
    qint64 contentWidth() const { return columnLeft_.back(); }
    qint64 contentHeight() const { return qint64(model_.rowCount()) * rowHeight_; }
    int bodyHeight() const;
    int maxHOffset() const;
    int maxVOffset() const;
    int rowsPerPage() const;
    // The offsets that bring a cell into view (sideways only when asked), moving as little as
    // possible.
    QPoint offsetsToShow(qint32 row, qint32 columnId, bool horizontally) const;

    // --- columns, by display position ---
    qint32 positionOfColumn(qint32 id) const { return positionOf_[std::size_t(id)]; }
    qint32 columnAtPosition(qint32 position) const { return order_[std::size_t(position)]; }
    qint64 columnLeft(qint32 position) const { return columnLeft_[std::size_t(position)]; }
    qint32 positionAtX(int x) const; // -1 outside every column; zero-width columns hold nothing
    // The first position whose column reaches past viewport x.
    qint32 firstPositionFrom(int x) const;
    // The display positions whose columns show between viewport x left and right, both included:
    // [first, end).
    struct Positions {
        qint32 first = 0;
        qint32 end = 0;
    };
    Positions positionsBetween(int left, int right) const;

    // --- rows ---
    qint32 rowAtY(int y) const; // the row number, -1 outside every row
    int rowTop(qint32 row) const;

    // --- rectangles ---
    QRect cellBounds(qint32 row, qint32 columnId) const;
    QRect headerRect(qint32 position) const;
    QRect headerBand() const;
    // The rows' band from a column's left edge to the right end of the view, header included:
    // what moves when that column's width changes.
    QRect fromColumnOn(qint32 columnId) const;
    QRect rowBand(qint32 row) const; // the whole row across the view
    // The column whose resizable right edge lies under p in the header, nearest first, or -1.
    qint32 resizeEdgeAt(const QPoint& p) const;

    // What lies under a point of the client area: nothing outside it, else a row number and a
    // column id, each -1 where there is none (the group box has neither, the header no row).
    struct Hit {
        qint32 row = -1;
        qint32 columnId = -1;
    };
    std::optional<Hit> hitTest(int x, int y) const;

    // Inside a cell: a check box's indicator of the given size at its left, where its caption
    // goes, and one of count buttons sharing its width.
    QRect checkBoxRect(const QRect& cell) const { return checkBoxRect(cell, indicator_); }
    QRect captionBox(const QRect& cell, bool hasCheckBox) const;
    static QRect checkBoxRect(const QRect& cell, const QSize& indicator);
    static QRect controlRect(const QRect& cell, qint32 count, qint32 position);

private:
    const GridModel& model_;
    int rowHeight_ = 20;
    int headerHeight_ = 24;
    bool groupBoxVisible_ = false;
    QSize indicator_{13, 13};
    QSize viewport_;
    Qt::LayoutDirection direction_ = Qt::LeftToRight;
    int hOffset_ = 0;
    int vOffset_ = 0;
    void relayoutColumns();

    std::vector<qint32> widths_;        // by column id
    std::vector<qint32> order_;         // display position -> column id
    std::vector<qint64> columnLeft_{0}; // by display position, plus the right end
    std::vector<qint32> positionOf_;    // column id -> display position
};

} // namespace gridkit::detail
