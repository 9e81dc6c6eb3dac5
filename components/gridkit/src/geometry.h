#pragma once

// Where things lie: the header band (the group box, then the header row) above the viewport,
// and in the viewport the rows, each column's extent, the scroll offsets, and what lies under a
// point. All in device-independent pixels, laid out left to right: columns from x = 0, a check
// box at its cell's left. The band's x is the viewport's; its y runs from the band's top. A
// right-to-left view shows all of it mirrored, and visual() maps a rectangle or a pixel between
// the two, so that painting, input and what the view reports agree on one mirror. It owns the
// view's column layout (each model column's width, whether the user may resize it, and the
// order they are shown in, which are the view's and not the model's); the view tells it the row
// count, the metrics, the viewport size, the layout direction and the scroll offsets.

#include <QPoint>
#include <QRect>
#include <QSize>

#include <vector>

namespace gridgauge::gridkit::detail {

class GridGeometry {
public:
    // --- what the view tells it ---
    void setMetrics(int rowHeight, int headerHeight);
    void setGroupBoxVisible(bool visible) { groupBoxVisible_ = visible; }
    void setViewportSize(const QSize& size) { viewport_ = size; }
    void setDirection(Qt::LayoutDirection direction) { direction_ = direction; }
    void setOffsets(int horizontal, int vertical) {
        hOffset_ = horizontal;
        vOffset_ = vertical;
    }
    void setRowCount(int rows) { rows_ = std::max(0, rows); }

    // --- the column layout, by model column ---
    int columnCount() const { return int(widths_.size()); }
    // Columns the model inserted at first, shown where they lie in the model's order relative
    // to the columns already shown, each width wide.
    void insertColumns(int first, int count, int width);
    void removeColumns(int first, int count);
    int columnWidth(int column) const { return widths_[std::size_t(column)]; }
    // The width it had before.
    int setColumnWidth(int column, int width);
    bool isResizable(int column) const { return resizable_[std::size_t(column)]; }
    void setResizable(int column, bool resizable) { resizable_[std::size_t(column)] = resizable; }
    void moveColumn(int fromPosition, int toPosition);

    int rowCount() const { return rows_; }
    int rowHeight() const { return rowHeight_; }
    int headerHeight() const { return headerHeight_; }
    int groupBoxHeight() const { return groupBoxVisible_ ? rowHeight_ + 16 : 0; }
    // The band above the viewport: the group box, then the header row.
    int bandHeight() const { return groupBoxHeight() + headerHeight_; }
    int hOffset() const { return hOffset_; }
    int vOffset() const { return vOffset_; }
    QRect clientRect() const { return QRect(QPoint(0, 0), viewport_); }
    Qt::LayoutDirection direction() const { return direction_; }
    // Between the left-to-right layout and what is shown, in the viewport or the band (they are
    // as wide); either way, as a mirror is.
    QRect visual(const QRect& rect) const;
    QPoint visual(const QPoint& pixel) const;

    // --- scrolling ---
    qint64 contentWidth() const { return columnLeft_.back(); }
    qint64 contentHeight() const { return qint64(rows_) * rowHeight_; }
    int maxHOffset() const;
    int maxVOffset() const;
    int rowsPerPage() const;
    // The offsets that bring a cell into view (sideways only when asked), moving as little as
    // possible.
    QPoint offsetsToShow(int row, int column, bool horizontally) const;

    // --- columns, by display position ---
    int positionOfColumn(int column) const { return positionOf_[std::size_t(column)]; }
    int columnAtPosition(int position) const { return order_[std::size_t(position)]; }
    qint64 columnLeft(int position) const { return columnLeft_[std::size_t(position)]; }
    int positionAtX(int x) const; // -1 outside every column; zero-width columns hold nothing
    // The display positions whose columns show between x left and right, both included:
    // [first, end).
    struct Positions {
        int first = 0;
        int end = 0;
    };
    Positions positionsBetween(int left, int right) const;

    // --- rows, in the viewport ---
    int rowAtY(int y) const; // -1 outside every row
    int rowTop(int row) const;

    // --- rectangles ---
    QRect cellBounds(int row, int column) const; // in the viewport
    QRect headerRect(int position) const;        // in the band
    QRect headerRow() const;                     // in the band
    // From a column's left edge to the right end of the view: what moves when its width changes.
    QRect fromColumnOn(int column) const; // in the viewport; the band's is as wide
    QRect rowBand(int row) const;         // the whole row across the viewport
    // The column whose resizable right edge lies under p in the band, nearest first, or -1.
    int resizeEdgeAt(const QPoint& p) const;

private:
    void relayoutColumns();

    int rows_ = 0;
    int rowHeight_ = 20;
    int headerHeight_ = 24;
    bool groupBoxVisible_ = false;
    QSize viewport_;
    Qt::LayoutDirection direction_ = Qt::LeftToRight;
    int hOffset_ = 0;
    int vOffset_ = 0;

    std::vector<int> widths_;           // by model column
    std::vector<bool> resizable_;       // by model column
    std::vector<int> order_;            // display position -> model column
    std::vector<qint64> columnLeft_{0}; // by display position, plus the right end
    std::vector<int> positionOf_;       // model column -> display position
};

} // namespace gridgauge::gridkit::detail
