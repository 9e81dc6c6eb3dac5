// The report grid's event handlers: painting, sizes, the mouse, the keyboard and focus.
#include "gridgauge/gridkit/report_grid.h"

#include "accessibility.h"
#include "grid_painter.h"
#include "header_band.h"
#include "report_grid_p.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QtMath>

namespace gridgauge::gridkit {

namespace {

// The pixel under the pointer: at a device pixel ratio above 1 positions can fall between whole
// pixels, and the pixel is the one that contains the point.
QPoint pixelAt(const QMouseEvent& event) {
    const QPointF p = event.position();
    return QPoint(qFloor(p.x()), qFloor(p.y()));
}

} // namespace

void ReportGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.setLayoutDirection(layoutDirection());
    const detail::GridPainter gridPainter(*d);
    for (const QRect& rect : event->region())
        gridPainter.paintBody(painter, rect);
}

void ReportGrid::resizeEvent(QResizeEvent* event) {
    QAbstractItemView::resizeEvent(event);
    d->updateScrollBars();
    d->placeHeader();
}

void ReportGrid::scrollContentsBy(int dx, int dy) {
    d->geometry.setOffsets(horizontalScrollBar()->value(), verticalScrollBar()->value());
    // Right to left the content moves the other way as the offset grows.
    QAbstractItemView::scrollContentsBy(isRightToLeft() ? -dx : dx, dy);
    updateEditorGeometries(); // widgets laid over cells move with them
    if (dx != 0)
        d->header->update();
    d->cellOrigin = d->currentCellOrigin();
    emit cellsMoved();
}

void ReportGrid::mousePressEvent(QMouseEvent* event) {
    event->accept();
    d->showFocusFrame(false);
    const QPoint at = pixelAt(*event);
    if (!d->tellPress(*event, at) || event->button() != Qt::LeftButton)
        return;
    d->pressCell(*event, at);
}

// Each press of a double click is a press: two clicks on a button, two toggles of a check box.
void ReportGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void ReportGrid::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    d->tellMove(*event, pixelAt(*event));
}

void ReportGrid::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex cell = indexAt(pixelAt(*event));
    if (cell.isValid() && cell == currentIndex())
        emit clicked(cell);
}

void ReportGrid::keyPressEvent(QKeyEvent* event) {
    const QPointer<ReportGrid> alive(this); // a key's handler may delete the view
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Select:
    case Qt::Key_Return: // as in every dialog: Return presses the focused button
    case Qt::Key_Enter: {
        if (!d->settings.cellFocus || !d->isCurrentValid())
            break;
        const QPersistentModelIndex current = currentIndex();
        const bool used = d->sendToDelegate(current, event);
        if (!alive)
            return;
        if (used)
            d->showFocusFrame(true);
        else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
            emit activated(current);
        event->accept();
        return;
    }
    case Qt::Key_F2:
        if (d->isCurrentValid() && edit(currentIndex(), EditKeyPressed, event)) {
            event->accept();
            return;
        }
        break;
    default:
        if (d->input.key(*event)) {
            if (alive)
                d->showFocusFrame(true);
            event->accept();
            return;
        }
        break;
    }
    // What the view does not use scrolls, as in any scroll area (Left and Right, by row).
    QAbstractScrollArea::keyPressEvent(event);
}

// Tab and Shift+Tab walk the cells while focus moves by cell, as in item views; past the last
// cell, or the first, the focus moves on to the next control.
bool ReportGrid::focusNextPrevChild(bool next) {
    if (hasFocus() && d->input.tab(next)) {
        d->showFocusFrame(true);
        return true;
    }
    return QAbstractItemView::focusNextPrevChild(next);
}

void ReportGrid::focusInEvent(QFocusEvent* event) {
    // Not QAbstractItemView's: it would make the first cell current, and until a click or a key
    // nothing is.
    QAbstractScrollArea::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
        reason == Qt::ShortcutFocusReason)
        d->focusFrameShown = true;
    d->invalidateAll();
    detail::focusEntered(*this);
}

void ReportGrid::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    d->invalidateAll();
}

void ReportGrid::changeEvent(QEvent* event) {
    QAbstractItemView::changeEvent(event);
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::StyleChange: {
        const int rowHeight = d->geometry.rowHeight();
        const int headerHeight = d->geometry.headerHeight();
        d->updateMetrics();
        d->updateScrollBars();
        d->invalidateAll();
        emit overlayAreaChanged();
        // Every cell moved: hosts that lay widgets over cells hear of it as of a scroll.
        if (d->geometry.rowHeight() != rowHeight || d->geometry.headerHeight() != headerHeight) {
            d->cellOrigin = d->currentCellOrigin();
            emit cellsMoved();
        }
        break;
    }
    case QEvent::PaletteChange:
        d->invalidateAll();
        break;
    case QEvent::LayoutDirectionChange:
        d->geometry.setDirection(layoutDirection());
        d->invalidateAll();
        emit overlayAreaChanged();
        d->cellsMayHaveMoved();
        break;
    default:
        break;
    }
}

void ReportGrid::moveEvent(QMoveEvent* event) {
    QAbstractItemView::moveEvent(event);
    emit overlayAreaChanged();
}

bool ReportGrid::viewportEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::Move:
        // Scroll bars coming and going resize the viewport without resizing the view, and move
        // it when a right-to-left view has its vertical one on the left; right to left, the
        // cells stay with the viewport's right edge.
        d->updateScrollBars();
        d->placeHeader();
        emit overlayAreaChanged();
        d->cellsMayHaveMoved();
        break;
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
    case QEvent::HoverLeave:
        // Cells show no hover: nothing to repaint as the pointer crosses them.
        return QAbstractScrollArea::viewportEvent(event);
    default:
        break;
    }
    return QAbstractItemView::viewportEvent(event);
}

} // namespace gridgauge::gridkit
