#pragma once

// Where things lie in the grid's client area: the group box band, the header, the rows, each
// column's extent, the scroll offsets, and what lies under a point. All in device-independent
// pixels of the viewport, which has no frame or margins, so these are also the grid widget's own
// coordinates and those of its mouse events. It reads the model and owns nothing else: the view
// tells it the metrics, the viewport size and the scroll offsets.

#include "model.h"

#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

#include <vector>

namespace gridkit::detail {

class GridGeometry final : public CellGeometry {
public:
    explicit GridGeometry(const GridModel& model)
        : model_(model) {}

    // --- what the view tells it ---
    void setMetrics(int rowHeight, int headerHeight);
    void setGroupBoxVisible(bool visible) { groupBoxVisible_ = visible; }
    void setViewportSize(const QSize& size) { viewport_ = size; }
    void setOffsets(int horizontal, int vertical) {
        hOffset_ = horizontal;
        vOffset_ = vertical;
    }
    // After a column was added, moved or resized.
    void relayoutColumns();

    int rowHeight() const { return rowHeight_; }
    int headerHeight() const { return headerHeight_; }
    int groupBoxHeight() const { return groupBoxVisible_ ? rowHeight_ + 16 : 0; }
    int bodyTop() const { return groupBoxHeight() + headerHeight_; }
    int hOffset() const { return hOffset_; }
    int vOffset() const { return vOffset_; }
    QRect clientRect() const { return QRect(QPoint(0, 0), viewport_); }
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
    qint32 columnAtPosition(qint32 position) const {
        return model_.columnOrder()[std::size_t(position)];
    }
    qint64 columnLeft(qint32 position) const { return columnLeft_[std::size_t(position)]; }
    qint32 positionAtX(int x) const; // -1 outside every column; zero-width columns hold nothing
    // The first position whose column reaches past viewport x.
    qint32 firstPositionFrom(int x) const;

    // --- rows ---
    qint32 rowAtY(int y) const; // the row number, -1 outside every row
    int rowTop(qint32 row) const;

    // --- rectangles ---
    QRect cellBounds(qint32 row, qint32 columnId) const override;
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

    // Inside a cell: a check box's indicator of the given size at its left, and one of count
    // buttons sharing its width.
    static QRect checkBoxRect(const QRect& cell, const QSize& indicator);
    static QRect controlRect(const QRect& cell, qint32 count, qint32 position);

private:
    const GridModel& model_;
    int rowHeight_ = 20;
    int headerHeight_ = 24;
    bool groupBoxVisible_ = false;
    QSize viewport_;
    int hOffset_ = 0;
    int vOffset_ = 0;
    std::vector<qint64> columnLeft_{0}; // by display position, plus the right end
    std::vector<qint32> positionOf_;    // column id -> display position
};

} // namespace gridkit::detail
