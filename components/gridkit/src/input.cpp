// The pointer's events reach the view's handlers first (mousePressed, mouseMoved), before input
// acts on them, and input then looks at the state afresh: a handler may have changed the model
// or deleted the view (the view's answer tells).
#include "input.h"

#include "report_grid_p.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>
#include <limits>

namespace gridgauge::gridkit::detail {

void GridInput::headerPress(const QMouseEvent& event, const QPoint& at) {
    if (event.button() != Qt::LeftButton || at.y() < view_.geometry.groupBoxHeight())
        return;
    const GridGeometry& geometry = view_.geometry;
    const int edge = geometry.resizeEdgeAt(at);
    if (edge >= 0 && event.type() == QEvent::MouseButtonDblClick) {
        view_.q->resizeColumnToContents(edge);
        return;
    }
    if (edge >= 0) {
        resizingColumn_ = edge;
        resizeStartX_ = at.x();
        resizeStartWidth_ = geometry.columnWidth(edge);
        return;
    }
    const int position = geometry.positionAtX(at.x());
    if (position >= 0) {
        pressedHeader_ = geometry.columnAtPosition(position);
        pressPoint_ = at;
        headerDragging_ = false;
        view_.invalidateHeader(geometry.headerRow());
    }
}

void GridInput::headerMove(const QMouseEvent& event, const QPoint& at) {
    const bool leftHeld = event.buttons() & Qt::LeftButton;
    if (resizingColumn_ >= 0 && leftHeld) {
        const qint64 wanted = qint64(resizeStartWidth_) + at.x() - resizeStartX_;
        view_.resizeColumn(resizingColumn_,
                           int(std::clamp<qint64>(wanted, view_.settings.minimumColumnWidth,
                                                  std::numeric_limits<int>::max())));
        return;
    }
    if (leftHeld && dragHeader(at))
        return;
    if (!event.buttons())
        updateHover(at);
}

// A pressed header dragged far enough shows where it would be dropped.
bool GridInput::dragHeader(const QPoint& at) {
    if (pressedHeader_ < 0)
        return false;
    if (!view_.settings.columnsMovable)
        return true;
    const GridGeometry& geometry = view_.geometry;
    if (!headerDragging_ &&
        (at - pressPoint_).manhattanLength() >= QApplication::startDragDistance())
        headerDragging_ = true;
    if (!headerDragging_)
        return true;
    const qint64 last = geometry.contentWidth() - geometry.hOffset() - 1;
    int target = geometry.positionAtX(int(std::clamp<qint64>(at.x(), 0, last)));
    if (target < 0)
        target = geometry.columnCount() - 1;
    if (target != dropPosition_) {
        dropPosition_ = target;
        view_.invalidateHeader(geometry.headerRow());
    }
    return true;
}

void GridInput::headerRelease(const QMouseEvent& event, const QPoint& at) {
    if (event.button() != Qt::LeftButton)
        return;
    if (resizingColumn_ >= 0) {
        resizingColumn_ = -1;
        return;
    }
    if (pressedHeader_ >= 0)
        finishHeaderPress(at);
}

void GridInput::finishHeaderPress(const QPoint& at) {
    const GridGeometry& geometry = view_.geometry;
    const int column = std::exchange(pressedHeader_, -1);
    view_.invalidateHeader(geometry.headerRow());
    if (std::exchange(headerDragging_, false)) {
        const int from = geometry.positionOfColumn(column);
        const int to = std::exchange(dropPosition_, -1);
        if (to >= 0 && to != from)
            view_.moveColumn(from, to);
        return;
    }
    if (view_.settings.sortingEnabled && at.y() >= geometry.groupBoxHeight() &&
        at.y() < geometry.bandHeight() &&
        geometry.positionAtX(at.x()) == geometry.positionOfColumn(column))
        view_.sortBy(column);
}

void GridInput::updateHover(const QPoint& at) {
    const GridGeometry& geometry = view_.geometry;
    const bool split = geometry.resizeEdgeAt(at) >= 0;
    if (split != splitCursor_) {
        splitCursor_ = split;
        view_.setResizeCursor(split);
    }
    int hover = -1;
    if (!split && at.y() >= geometry.groupBoxHeight() && at.y() < geometry.bandHeight()) {
        const int position = geometry.positionAtX(at.x());
        if (position >= 0)
            hover = geometry.columnAtPosition(position);
    }
    setHover(hover);
}

void GridInput::setHover(int column) {
    if (column == hoverHeader_)
        return;
    hoverHeader_ = column;
    if (view_.settings.styledHeader()) // only the style shows hovering
        view_.invalidateHeader(view_.geometry.headerRow());
}

void GridInput::leave() {
    updateHover(QPoint(-1, -1));
}

bool GridInput::key(const QKeyEvent& event) {
    const int rows = view_.geometry.rowCount();
    const int columns = view_.geometry.columnCount();
    if (rows == 0 || columns == 0)
        return false;
    const QModelIndex current = view_.q->currentIndex();
    const bool focused = view_.isCurrentValid();
    int row = focused ? current.row() : 0;
    int position = focused ? view_.geometry.positionOfColumn(current.column()) : 0;
    // The first key only shows where focus starts.
    if (!keyTarget(event, focused ? 1 : 0, row, position))
        return false;
    row = std::clamp(row, 0, rows - 1);
    position = std::clamp(position, 0, columns - 1);
    view_.focusCell(view_.index(row, view_.geometry.columnAtPosition(position)), true);
    return true;
}

// As in item views: each cell of a row, then on to the next row; with nothing current yet, from
// the first or last cell.
bool GridInput::tab(bool forward) {
    const qint64 rows = view_.geometry.rowCount();
    const qint64 columns = view_.geometry.columnCount();
    if (!view_.settings.cellFocus || rows == 0 || columns == 0)
        return false;
    qint64 at = forward ? -1 : rows * columns;
    if (view_.isCurrentValid()) {
        const QModelIndex current = view_.q->currentIndex();
        at = current.row() * columns + view_.geometry.positionOfColumn(current.column());
    }
    at += forward ? 1 : -1;
    if (at < 0 || at >= rows * columns)
        return false;
    view_.focusCell(
        view_.index(int(at / columns), view_.geometry.columnAtPosition(int(at % columns))), true);
    return true;
}

bool GridInput::keyTarget(const QKeyEvent& event, int step, int& row, int& position) const {
    const GridGeometry& geometry = view_.geometry;
    const int page = geometry.rowsPerPage();
    const bool toEnd = view_.settings.cellFocus && !(event.modifiers() & Qt::ControlModifier);
    switch (event.key()) {
    case Qt::Key_Up:
        row -= step;
        return true;
    case Qt::Key_Down:
        row += step;
        return true;
    case Qt::Key_PageUp:
        row -= page;
        return true;
    case Qt::Key_PageDown:
        row += page;
        return true;
    case Qt::Key_Home:
        (toEnd ? position : row) = 0;
        return true;
    case Qt::Key_End:
        (toEnd ? position : row) = toEnd ? geometry.columnCount() - 1 : geometry.rowCount() - 1;
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (!view_.settings.cellFocus)
            return false; // by row, the arrows sideways scroll
        // Sideways as the arrow points, whichever way the columns run.
        position += (event.key() == Qt::Key_Left) != (geometry.direction() == Qt::RightToLeft)
                        ? -step
                        : step;
        return true;
    default:
        return false;
    }
}

} // namespace gridgauge::gridkit::detail
