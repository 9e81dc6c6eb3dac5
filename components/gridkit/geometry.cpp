// Where things are: row and column extents, scrolling and the hit test. Everything is in
// device-independent pixels of the viewport, which has no frame or margins, so these are also the
// grid widget's own coordinates and the coordinates of its mouse events.
#include "grid_core.h"
#include "report_grid.h"

#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionHeader>

#include <algorithm>
#include <limits>
#include <numeric>

namespace gridkit::detail {

namespace {

// Far enough outside any screen to read as "scrolled out of view" while staying clear of
// overflow in QRect arithmetic.
constexpr qint64 farAway = qint64(1) << 29;

int clampToInt(qint64 value) {
    return int(std::clamp(value, -farAway, farAway));
}

} // namespace

void GridCore::updateMetrics() {
    const QFontMetrics metrics = view->fontMetrics();
    // 20 pixels at least, so that a 20-pixel-high widget laid over a cell fits it.
    rowHeight = std::max(20, metrics.height() + 4);
    const int indicator = view->style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, view);
    rowHeight = std::max(rowHeight, indicator + 4);
    QStyleOptionHeader option;
    option.initFrom(view);
    option.orientation = Qt::Horizontal;
    option.text = QStringLiteral("Xg");
    const QSize section =
        view->style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), view);
    headerHeight = std::max(rowHeight, section.height());
    view->verticalScrollBar()->setSingleStep(rowHeight);
}

void GridCore::relayout() {
    columnLeft.assign(columnOrder.size() + 1, 0);
    for (std::size_t pos = 0; pos < columnOrder.size(); ++pos)
        columnLeft[pos + 1] = columnLeft[pos] + columns[std::size_t(columnOrder[pos])].width;
    updateScrollBars();
}

void GridCore::updateScrollBars() {
    const QSize client = view->viewport()->size();
    const int body = std::max(0, client.height() - bodyTop());
    const qint64 contentHeight = qint64(rowCount) * rowHeight;

    QScrollBar* vertical = view->verticalScrollBar();
    vertical->setPageStep(std::max(1, body));
    vertical->setRange(0, clampToInt(std::max<qint64>(0, contentHeight - body)));

    QScrollBar* horizontal = view->horizontalScrollBar();
    horizontal->setPageStep(std::max(1, client.width()));
    horizontal->setRange(0, clampToInt(std::max<qint64>(0, contentWidth() - client.width())));
}

int GridCore::hOffset() const {
    return view->horizontalScrollBar()->value();
}
int GridCore::vOffset() const {
    return view->verticalScrollBar()->value();
}
int GridCore::groupBoxHeight() const {
    return groupBoxVisible ? rowHeight + 16 : 0;
}
QRect GridCore::clientRect() const {
    return view->viewport()->rect();
}

qint32 GridCore::displayPositionOfRow(qint32 row) const {
    return displayPos.empty() ? row : displayPos[std::size_t(row)];
}

qint32 GridCore::rowAtDisplayPosition(qint32 position) const {
    return displayOrder.empty() ? position : displayOrder[std::size_t(position)];
}

qint32 GridCore::displayPositionAtX(int x) const {
    const qint64 content = qint64(x) + hOffset();
    if (content < 0 || content >= contentWidth())
        return -1;
    // The first edge beyond x closes the column that holds it; zero-width columns hold nothing.
    const auto edge = std::upper_bound(columnLeft.begin(), columnLeft.end(), content);
    return qint32(edge - columnLeft.begin()) - 1;
}

qint32 GridCore::rowAtY(int y) const {
    if (y < bodyTop() || rowHeight <= 0)
        return -1;
    const qint64 position = (qint64(y) - bodyTop() + vOffset()) / rowHeight;
    if (position >= rowCount)
        return -1;
    return rowAtDisplayPosition(qint32(position));
}

qint32 GridCore::positionOfColumn(qint32 id) const {
    const auto it = std::find(columnOrder.begin(), columnOrder.end(), id);
    return it == columnOrder.end() ? -1 : qint32(it - columnOrder.begin());
}

QRect GridCore::columnSpan(qint32 displayPosition) const {
    const qint64 left = columnLeft[std::size_t(displayPosition)] - hOffset();
    const qint64 right = columnLeft[std::size_t(displayPosition) + 1] - hOffset();
    return QRect(QPoint(clampToInt(left), bodyTop()),
                 QPoint(clampToInt(right) - 1, clientRect().bottom()));
}

QRect GridCore::cellRect(qint32 row, qint32 columnId) const {
    const qint32 position = positionOfColumn(columnId);
    const qint64 left = columnLeft[std::size_t(position)] - hOffset();
    const qint64 top = bodyTop() + qint64(displayPositionOfRow(row)) * rowHeight - vOffset();
    const qint32 width = columns[std::size_t(columnId)].width;
    return QRect(clampToInt(left), clampToInt(top), int(std::min<qint64>(width, farAway)),
                 rowHeight);
}

QRect GridCore::headerRect(qint32 displayPosition) const {
    const QRect span = columnSpan(displayPosition);
    return QRect(span.left(), groupBoxHeight(), span.width(), headerHeight);
}

qint32 GridCore::resizeEdgeAt(const QPoint& p) const {
    if (p.y() < groupBoxHeight() || p.y() >= bodyTop())
        return -1;
    // A few pixels either side of the edge grab it; of several edges in reach (narrow columns)
    // the nearest wins, and of equally near ones the rightmost, so a column dragged down to
    // nothing can still be widened again.
    constexpr int reach = 3;
    qint32 best = -1;
    qint64 bestDistance = reach + 1;
    for (std::size_t pos = 0; pos < columnOrder.size(); ++pos) {
        const qint32 id = columnOrder[pos];
        if (!columns[std::size_t(id)].resizable)
            continue;
        const qint64 distance = std::abs(columnLeft[pos + 1] - hOffset() - p.x());
        if (distance <= bestDistance) {
            best = id;
            bestDistance = distance;
        }
    }
    return best;
}

void GridCore::ensureVisible(qint32 row, qint32 columnId, bool horizontally) {
    const QRect cell = cellRect(row, columnId);
    const QRect client = clientRect();
    QScrollBar* vertical = view->verticalScrollBar();
    if (cell.top() < bodyTop())
        vertical->setValue(vertical->value() - (bodyTop() - cell.top()));
    else if (cell.bottom() > client.bottom())
        vertical->setValue(vertical->value() +
                           std::min(cell.top() - bodyTop(), cell.bottom() - client.bottom()));
    if (!horizontally)
        return;
    QScrollBar* horizontal = view->horizontalScrollBar();
    if (cell.left() < 0)
        horizontal->setValue(horizontal->value() + cell.left());
    else if (cell.right() > client.right())
        horizontal->setValue(horizontal->value() +
                             std::min(cell.left(), cell.right() - client.right()));
}

std::optional<HitTestInfo> GridCore::hitTest(int x, int y) {
    if (!clientRect().contains(x, y))
        return std::nullopt;
    if (y < groupBoxHeight())
        return makeHit(-1, -1);
    const qint32 position = displayPositionAtX(x);
    const qint32 columnId = position < 0 ? -1 : columnOrder[std::size_t(position)];
    if (y < bodyTop())
        return makeHit(-1, columnId);
    return makeHit(rowAtY(y), columnId);
}

QRect GridCore::checkBoxRect(const QRect& cell) const {
    int width = 13, height = 13;
    if (themedControls) {
        width = view->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, view);
        height = view->style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, view);
    }
    return QRect(cell.left() + 2, cell.top() + (cell.height() - height) / 2, width, height);
}

QRect GridCore::controlRect(const QRect& cell, qint32 count, qint32 position) {
    // Several buttons in one item share its width evenly.
    const int left = cell.left() + int(qint64(cell.width()) * position / count);
    const int right = cell.left() + int(qint64(cell.width()) * (position + 1) / count);
    return QRect(left, cell.top(), right - left, cell.height()).adjusted(1, 1, -1, -1);
}

// --- sorting ---

QString GridCore::sortKey(qint32 row, qint32 itemIndex) {
    const ItemData* data = itemIfAny(row, itemIndex);
    return data ? captionText(data->caption) : QString();
}

void GridCore::applySort() {
    if (sortColumn < 0) {
        displayOrder.clear();
        displayPos.clear();
        return;
    }
    const qint32 itemIndex = columns[std::size_t(sortColumn)].itemIndex;
    std::vector<QString> keys(static_cast<std::size_t>(rowCount));
    for (qint32 row = 0; row < rowCount; ++row)
        keys[std::size_t(row)] = sortKey(row, itemIndex);
    displayOrder.resize(std::size_t(rowCount));
    std::iota(displayOrder.begin(), displayOrder.end(), 0);
    // Stable, so equal captions keep record order and a second click reverses only what differs.
    std::stable_sort(displayOrder.begin(), displayOrder.end(), [&](qint32 a, qint32 b) {
        const int order = keys[std::size_t(a)].localeAwareCompare(keys[std::size_t(b)]);
        return sortDescending ? order > 0 : order < 0;
    });
    displayPos.resize(std::size_t(rowCount));
    for (qint32 position = 0; position < rowCount; ++position)
        displayPos[std::size_t(displayOrder[std::size_t(position)])] = position;
}

} // namespace gridkit::detail
