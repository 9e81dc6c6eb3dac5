#pragma once

// Paints the view: in the header band, the group box and the header sections; in the viewport,
// each row's background, its cells through their delegates, the grid lines and a row's focus
// frame, and the area below the last row. Only what lies in the dirty rectangle is visited, so
// the cost of a paint follows the size of what changed, not the number of rows.

#include "cell_painters.h"

#include <QRect>

class QPainter;

namespace gridgauge::gridkit {

class ReportGridPrivate;

namespace detail {

class GridPainter {
public:
    explicit GridPainter(const ReportGridPrivate& view);

    // dirtyOnScreen: the area to paint, as shown.
    void paintBand(QPainter& painter, const QRect& dirtyOnScreen) const;
    void paintBody(QPainter& painter, const QRect& dirtyOnScreen) const;

private:
    QRect screen(const QRect& rect) const;
    void paintGroupBox(QPainter& painter) const;
    void paintHeaderSection(QPainter& painter, const QRect& rect, int column, int position) const;
    void paintCells(QPainter& painter, int row, const QRect& band, int first, int end) const;
    void paintGridLines(QPainter& painter, const QRect& body, int firstRow, int lastRow) const;
    void paintRowFocus(QPainter& painter) const;

    const ReportGridPrivate& view_;
    CellStyle look_;
};

} // namespace detail
} // namespace gridgauge::gridkit
