#pragma once

// Where a cell's parts go: its check box's indicator, the room for its text (and for markup),
// and each of its buttons. Decided here once, for painting, hit testing, fitting a column to its
// content, tooltips and assistive technology alike. Worked out left to right inside the cell and
// mirrored inside it right to left, so that a check box sits at the reading side and the first
// button at the reading start.

#include <QRect>
#include <QSize>

namespace gridgauge::gridkit::detail {

struct CellLayout {
    QRect cell;                                      // as the view shows it
    Qt::LayoutDirection direction = Qt::LeftToRight; // the view's
    QSize indicator{13, 13};                         // the check box's indicator
    bool hasCheckBox = false;

    // The indicator, 2 pixels in from the reading side, vertically centred.
    QRect checkBox() const;
    // The text's room: the cell less 2 pixels either side, after the check box and 4 pixels.
    QRect text() const;
    // Where markup is laid out: the text's room less 1 pixel top and bottom.
    QRect markup() const { return text().adjusted(0, 1, 0, -1); }
    // Button position of count, sharing the cell evenly, each 1 pixel in from its share.
    QRect button(int count, int position) const;
    // The width that shows a text of the given width whole beside the check box, if any.
    int widthFor(int textWidth) const;

private:
    QRect shown(const QRect& laidOut) const;
};

} // namespace gridgauge::gridkit::detail
