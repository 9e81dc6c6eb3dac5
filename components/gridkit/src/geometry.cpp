#include "geometry.h"

#include <QStyle>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace gridgauge::gridkit::detail {

namespace {

// Far enough outside any screen to read as "scrolled out of view" while staying clear of
// overflow in QRect arithmetic.
constexpr qint64 farAway = qint64(1) << 29;

int clampToInt(qint64 value) {
    return int(std::clamp(value, -farAway, farAway));
}

} // namespace

void GridGeometry::setMetrics(int rowHeight, int headerHeight) {
    rowHeight_ = std::max(1, rowHeight);
    headerHeight_ = headerHeight;
}

void GridGeometry::insertColumns(int first, int count, int width) {
    const int position =
        first < int(positionOf_.size()) ? positionOf_[std::size_t(first)] : int(order_.size());
    for (int& column : order_) {
        if (column >= first)
            column += count;
    }
    for (int i = 0; i < count; ++i)
        order_.insert(order_.begin() + position + i, first + i);
    widths_.insert(widths_.begin() + first, std::size_t(count), width);
    resizable_.insert(resizable_.begin() + first, std::size_t(count), true);
    relayoutColumns();
}

void GridGeometry::removeColumns(int first, int count) {
    const int end = first + count;
    std::erase_if(order_, [&](int column) { return column >= first && column < end; });
    for (int& column : order_) {
        if (column >= end)
            column -= count;
    }
    widths_.erase(widths_.begin() + first, widths_.begin() + end);
    resizable_.erase(resizable_.begin() + first, resizable_.begin() + end);
    relayoutColumns();
}

int GridGeometry::setColumnWidth(int column, int width) {
    const int previous = std::exchange(widths_[std::size_t(column)], width);
    relayoutColumns();
    return previous;
}

void GridGeometry::moveColumn(int fromPosition, int toPosition) {
    const int column = order_[std::size_t(fromPosition)];
    order_.erase(order_.begin() + fromPosition);
    order_.insert(order_.begin() + toPosition, column);
    relayoutColumns();
}

void GridGeometry::relayoutColumns() {
    columnLeft_.assign(order_.size() + 1, 0);
    positionOf_.assign(order_.size(), -1);
    for (std::size_t position = 0; position < order_.size(); ++position) {
        const int column = order_[position];
        columnLeft_[position + 1] = columnLeft_[position] + widths_[std::size_t(column)];
        positionOf_[std::size_t(column)] = int(position);
    }
}

QRect GridGeometry::visual(const QRect& rect) const {
    return QStyle::visualRect(direction_, QRect(0, rect.y(), viewport_.width(), 1), rect);
}

QPoint GridGeometry::visual(const QPoint& pixel) const {
    return QStyle::visualPos(direction_, QRect(0, pixel.y(), viewport_.width(), 1), pixel);
}

int GridGeometry::maxHOffset() const {
    return clampToInt(std::max<qint64>(0, contentWidth() - viewport_.width()));
}

int GridGeometry::maxVOffset() const {
    return clampToInt(std::max<qint64>(0, contentHeight() - viewport_.height()));
}

int GridGeometry::rowsPerPage() const {
    return std::max(1, viewport_.height() / rowHeight_);
}

QPoint GridGeometry::offsetsToShow(int row, int column, bool horizontally) const {
    const QRect cell = cellBounds(row, column);
    const int bottom = viewport_.height() - 1;
    int v = vOffset_;
    if (cell.top() < 0)
        v += cell.top();
    else if (cell.bottom() > bottom)
        v += std::min(cell.top(), cell.bottom() - bottom);
    int h = hOffset_;
    if (horizontally) {
        const int right = viewport_.width() - 1;
        if (cell.left() < 0)
            h += cell.left();
        else if (cell.right() > right)
            h += std::min(cell.left(), cell.right() - right);
    }
    return QPoint(std::clamp(h, 0, maxHOffset()), std::clamp(v, 0, maxVOffset()));
}

int GridGeometry::positionAtX(int x) const {
    const qint64 content = qint64(x) + hOffset_;
    if (content < 0 || content >= contentWidth())
        return -1;
    // The first edge beyond x closes the column that holds it.
    const auto edge = std::upper_bound(columnLeft_.begin(), columnLeft_.end(), content);
    return int(edge - columnLeft_.begin()) - 1;
}

GridGeometry::Positions GridGeometry::positionsBetween(int left, int right) const {
    const auto edge =
        std::upper_bound(columnLeft_.begin(), columnLeft_.end(), qint64(left) + hOffset_);
    const int first = edge == columnLeft_.begin() ? 0 : int(edge - columnLeft_.begin()) - 1;
    Positions positions{first, first};
    while (positions.end < columnCount() && columnLeft(positions.end) - hOffset_ <= right)
        ++positions.end;
    return positions;
}

int GridGeometry::rowAtY(int y) const {
    if (y < 0)
        return -1;
    const qint64 row = (qint64(y) + vOffset_) / rowHeight_;
    return row < rows_ ? int(row) : -1;
}

int GridGeometry::rowTop(int row) const {
    return clampToInt(qint64(row) * rowHeight_ - vOffset_);
}

QRect GridGeometry::cellBounds(int row, int column) const {
    const qint64 left = columnLeft_[std::size_t(positionOf_[std::size_t(column)])] - hOffset_;
    const int width = widths_[std::size_t(column)];
    return QRect(clampToInt(left), rowTop(row), int(std::min<qint64>(width, farAway)), rowHeight_);
}

QRect GridGeometry::headerRect(int position) const {
    const qint64 left = columnLeft_[std::size_t(position)] - hOffset_;
    const qint64 right = columnLeft_[std::size_t(position) + 1] - hOffset_;
    return QRect(clampToInt(left), groupBoxHeight(), clampToInt(right) - clampToInt(left),
                 headerHeight_);
}

QRect GridGeometry::headerRow() const {
    return QRect(0, groupBoxHeight(), viewport_.width(), headerHeight_);
}

QRect GridGeometry::fromColumnOn(int column) const {
    const qint64 left = columnLeft_[std::size_t(positionOf_[std::size_t(column)])] - hOffset_;
    const int from = clampToInt(std::max<qint64>(0, left));
    return QRect(from, 0, std::max(0, viewport_.width() - from), viewport_.height());
}

QRect GridGeometry::rowBand(int row) const {
    return QRect(0, rowTop(row), viewport_.width(), rowHeight_);
}

int GridGeometry::resizeEdgeAt(const QPoint& p) const {
    if (p.y() < groupBoxHeight() || p.y() >= bandHeight())
        return -1;
    // A few pixels either side of the edge grab it; of several edges in reach (narrow columns)
    // the nearest wins, and of equally near ones the rightmost, so a column dragged down to
    // nothing can still be widened again.
    constexpr int reach = 3;
    int best = -1;
    qint64 bestDistance = reach + 1;
    for (std::size_t position = 0; position < order_.size(); ++position) {
        if (!resizable_[std::size_t(order_[position])])
            continue;
        const qint64 distance = std::abs(columnLeft_[position + 1] - hOffset_ - p.x());
        if (distance <= bestDistance) {
            best = order_[position];
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace gridgauge::gridkit::detail
