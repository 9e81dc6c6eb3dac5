#include "cell_layout.h"

#include <QStyle>

namespace gridgauge::gridkit::detail {

namespace {

QRect indicatorIn(const QRect& cell, const QSize& indicator) {
    return QRect(cell.left() + 2, cell.top() + (cell.height() - indicator.height()) / 2,
                 indicator.width(), indicator.height());
}

QRect textIn(const QRect& cell, const QSize& indicator, bool hasCheckBox) {
    QRect box = cell.adjusted(2, 0, -2, 0);
    if (hasCheckBox)
        box.setLeft(indicatorIn(cell, indicator).right() + 1 + 4);
    return box;
}

} // namespace

QRect CellLayout::shown(const QRect& laidOut) const {
    return QStyle::visualRect(direction, cell, laidOut);
}

QRect CellLayout::checkBox() const {
    return hasCheckBox ? shown(indicatorIn(cell, indicator)) : QRect();
}

QRect CellLayout::text() const {
    return shown(textIn(cell, indicator, hasCheckBox));
}

QRect CellLayout::button(int count, int position) const {
    if (count <= 0 || position < 0 || position >= count)
        return {};
    const int left = cell.left() + int(qint64(cell.width()) * position / count);
    const int right = cell.left() + int(qint64(cell.width()) * (position + 1) / count);
    return shown(QRect(left, cell.top(), right - left, cell.height()).adjusted(1, 1, -1, -1));
}

int CellLayout::widthFor(int textWidth) const {
    // The text's insets from a wide cell, as they are laid out.
    const QRect probe(0, 0, 1000, std::max(1, cell.height()));
    const QRect box = textIn(probe, indicator, hasCheckBox);
    return probe.width() - box.width() + textWidth;
}

} // namespace gridgauge::gridkit::detail
