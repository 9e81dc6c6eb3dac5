#include "geometry.h"

#include <QStyle>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace gridkit::detail {

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

void GridGeometry::addColumn(qint32 width) {
    order_.push_back(qint32(widths_.size()));
    widths_.push_back(width);
    relayoutColumns();
}

qint32 GridGeometry::setColumnWidth(qint32 id, qint32 width) {
    const qint32 previous = std::exchange(widths_[std::size_t(id)], width);
    relayoutColumns();
    return previous;
}

void GridGeometry::moveColumn(qint32 fromPosition, qint32 toPosition) {
    const qint32 id = order_[std::size_t(fromPosition)];
    order_.erase(order_.begin() + fromPosition);
    order_.insert(order_.begin() + toPosition, id);
    relayoutColumns();
}

void GridGeometry::relayoutColumns() {
    columnLeft_.assign(order_.size() + 1, 0);
    positionOf_.assign(order_.size(), -1);
    for (std::size_t position = 0; position < order_.size(); ++position) {
        const qint32 id = order_[position];
        columnLeft_[position + 1] = columnLeft_[position] + widths_[std::size_t(id)];
        positionOf_[std::size_t(id)] = qint32(position);
    }
}

QRect GridGeometry::visual(const QRect& rect) const {
    return QStyle::visualRect(direction_, clientRect(), rect);
}

QPoint GridGeometry::visual(const QPoint& pixel) const {
    return QStyle::visualPos(direction_, clientRect(), pixel);
}

QRect GridGeometry::bodyRect() const {
    return QRect(0, bodyTop(), viewport_.width(), std::max(0, viewport_.height() - bodyTop()));
}

int GridGeometry::bodyHeight() const {
    return std::max(0, viewport_.height() - bodyTop());
}

int GridGeometry::maxHOffset() const {
    return clampToInt(std::max<qint64>(0, contentWidth() - viewport_.width()));
}

int GridGeometry::maxVOffset() const {
    return clampToInt(std::max<qint64>(0, contentHeight() - bodyHeight()));
}

int GridGeometry::rowsPerPage() const {
    return std::max(1, bodyHeight() / rowHeight_);
}

QPoint GridGeometry::offsetsToShow(qint32 row, qint32 columnId, bool horizontally) const {
    const QRect cell = cellBounds(row, columnId);
    const int bottom = viewport_.height() - 1;
    int v = vOffset_;
    if (cell.top() < bodyTop())
        v -= bodyTop() - cell.top();
    else if (cell.bottom() > bottom)
        v += std::min(cell.top() - bodyTop(), cell.bottom() - bottom);
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

qint32 GridGeometry::positionAtX(int x) const {
    const qint64 content = qint64(x) + hOffset_;
    if (content < 0 || content >= contentWidth())
        return -1;
    // The first edge beyond x closes the column that holds it.
    const auto edge = std::upper_bound(columnLeft_.begin(), columnLeft_.end(), content);
    return qint32(edge - columnLeft_.begin()) - 1;
}

qint32 GridGeometry::firstPositionFrom(int x) const {
    const auto edge =
        std::upper_bound(columnLeft_.begin(), columnLeft_.end(), qint64(x) + hOffset_);
    return edge == columnLeft_.begin() ? 0 : qint32(edge - columnLeft_.begin()) - 1;
}

GridGeometry::Positions GridGeometry::positionsBetween(int left, int right) const {
    Positions positions{firstPositionFrom(left), firstPositionFrom(left)};
    while (positions.end < columnCount() && columnLeft(positions.end) - hOffset_ <= right)
        ++positions.end;
    return positions;
}

qint32 GridGeometry::rowAtY(int y) const {
    if (y < bodyTop())
        return -1;
    const qint64 position = (qint64(y) - bodyTop() + vOffset_) / rowHeight_;
    if (position >= model_.rowCount())
        return -1;
    return model_.rowAtPosition(qint32(position));
}

int GridGeometry::rowTop(qint32 row) const {
    return clampToInt(bodyTop() + qint64(model_.positionOfRow(row)) * rowHeight_ - vOffset_);
}

QRect GridGeometry::cellBounds(qint32 row, qint32 columnId) const {
    const qint64 left = columnLeft_[std::size_t(positionOf_[std::size_t(columnId)])] - hOffset_;
    const qint32 width = widths_[std::size_t(columnId)];
    return QRect(clampToInt(left), rowTop(row), int(std::min<qint64>(width, farAway)), rowHeight_);
}

QRect GridGeometry::headerRect(qint32 position) const {
    const qint64 left = columnLeft_[std::size_t(position)] - hOffset_;
    const qint64 right = columnLeft_[std::size_t(position) + 1] - hOffset_;
    return QRect(clampToInt(left), groupBoxHeight(), clampToInt(right) - clampToInt(left),
                 headerHeight_);
}

QRect GridGeometry::headerBand() const {
    return QRect(0, groupBoxHeight(), viewport_.width(), headerHeight_);
}

QRect GridGeometry::fromColumnOn(qint32 columnId) const {
    const qint64 left = columnLeft_[std::size_t(positionOf_[std::size_t(columnId)])] - hOffset_;
    const int from = clampToInt(std::max<qint64>(0, left));
    return QRect(from, groupBoxHeight(), std::max(0, viewport_.width() - from),
                 std::max(0, viewport_.height() - groupBoxHeight()));
}

QRect GridGeometry::rowBand(qint32 row) const {
    return QRect(0, rowTop(row), viewport_.width(), rowHeight_);
}

qint32 GridGeometry::resizeEdgeAt(const QPoint& p) const {
    if (p.y() < groupBoxHeight() || p.y() >= bodyTop())
        return -1;
    // A few pixels either side of the edge grab it; of several edges in reach (narrow columns)
    // the nearest wins, and of equally near ones the rightmost, so a column dragged down to
    // nothing can still be widened again.
    constexpr int reach = 3;
    qint32 best = -1;
    qint64 bestDistance = reach + 1;
    for (std::size_t position = 0; position < order_.size(); ++position) {
        if (!model_.column(order_[position]).resizable)
            continue;
        const qint64 distance = std::abs(columnLeft_[position + 1] - hOffset_ - p.x());
        if (distance <= bestDistance) {
            best = order_[position];
            bestDistance = distance;
        }
    }
    return best;
}

std::optional<GridGeometry::Hit> GridGeometry::hitTest(int x, int y) const {
    if (!clientRect().contains(x, y))
        return std::nullopt;
    if (y < groupBoxHeight())
        return Hit{};
    const qint32 position = positionAtX(x);
    const qint32 columnId = position < 0 ? -1 : columnAtPosition(position);
    if (y < bodyTop())
        return Hit{-1, columnId};
    return Hit{rowAtY(y), columnId};
}

QRect GridGeometry::checkBoxRect(const QRect& cell, const QSize& indicator) {
    return QRect(cell.left() + 2, cell.top() + (cell.height() - indicator.height()) / 2,
                 indicator.width(), indicator.height());
}

QRect GridGeometry::captionBox(const QRect& cell, bool hasCheckBox) const {
    QRect box = cell.adjusted(2, 0, -2, 0);
    if (hasCheckBox)
        box.setLeft(checkBoxRect(cell).right() + 1 + 4);
    return box;
}

QRect GridGeometry::controlRect(const QRect& cell, qint32 count, qint32 position) {
    const int left = cell.left() + int(qint64(cell.width()) * position / count);
    const int right = cell.left() + int(qint64(cell.width()) * (position + 1) / count);
    return QRect(left, cell.top(), right - left, cell.height()).adjusted(1, 1, -1, -1);
}

} // namespace gridkit::detail
