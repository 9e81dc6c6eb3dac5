// The report grid's private part: the state behind ReportGrid and what its members share.
#include "report_grid_p.h"

#include "accessibility.h"
#include "header_band.h"
#include "link_input.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionHeader>

#include <algorithm>
#include <utility>

namespace gridgauge::gridkit {

namespace {

constexpr int kDefaultColumnWidth = 100;

} // namespace

ReportGridPrivate::ReportGridPrivate(ReportGrid* grid)
    : q(grid)
    , input(*this) {}

QModelIndex ReportGridPrivate::index(int row, int column) const {
    const QAbstractItemModel* model = q->model();
    return model ? model->index(row, column, q->rootIndex()) : QModelIndex();
}

int ReportGridPrivate::modelRows() const {
    const QAbstractItemModel* model = q->model();
    return model ? model->rowCount(q->rootIndex()) : 0;
}

int ReportGridPrivate::modelColumns() const {
    const QAbstractItemModel* model = q->model();
    return model ? model->columnCount(q->rootIndex()) : 0;
}

bool ReportGridPrivate::isCurrentValid() const {
    const QModelIndex current = q->currentIndex();
    return current.isValid() && current.parent() == q->rootIndex() &&
           current.row() < geometry.rowCount() && current.column() < geometry.columnCount();
}

void ReportGridPrivate::updateMetrics() {
    const QFontMetrics metrics = q->fontMetrics();
    // 20 pixels at least, so that a 20-pixel-high widget laid over a cell fits it.
    int rowHeight = std::max(20, metrics.height() + 4);
    const int indicator = q->style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, q);
    rowHeight = std::max(rowHeight, indicator + 4);
    QStyleOptionHeader option;
    option.initFrom(q);
    option.orientation = Qt::Horizontal;
    option.text = QStringLiteral("Xg");
    const QSize section =
        q->style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), q);
    geometry.setMetrics(rowHeight, std::max(rowHeight, section.height()));
    q->verticalScrollBar()->setSingleStep(rowHeight);
    q->setViewportMargins(0, geometry.bandHeight(), 0, 0);
    placeHeader();
}

void ReportGridPrivate::updateScrollBars() {
    geometry.setViewportSize(q->viewport()->size());
    QScrollBar* vertical = q->verticalScrollBar();
    vertical->setPageStep(std::max(1, q->viewport()->height()));
    vertical->setRange(0, geometry.maxVOffset());
    QScrollBar* horizontal = q->horizontalScrollBar();
    horizontal->setPageStep(std::max(1, q->viewport()->width()));
    horizontal->setRange(0, geometry.maxHOffset());
    geometry.setOffsets(horizontal->value(), vertical->value());
}

void ReportGridPrivate::placeHeader() {
    if (!header)
        return;
    const QRect shown = q->viewport()->geometry();
    const QRect band(shown.left(), shown.top() - geometry.bandHeight(), shown.width(),
                     geometry.bandHeight());
    if (header->geometry() != band)
        header->setGeometry(band);
}

// Every model column gets a width, from the model's header when it gives one.
void ReportGridPrivate::syncColumns() {
    geometry.removeColumns(0, geometry.columnCount());
    if (const int columns = modelColumns(); columns > 0)
        insertColumns(0, columns - 1);
}

void ReportGridPrivate::insertColumns(int first, int last) {
    geometry.insertColumns(first, last - first + 1, kDefaultColumnWidth);
    const QAbstractItemModel* model = q->model();
    for (int column = first; model && column <= last; ++column) {
        const QSize hint = model->headerData(column, Qt::Horizontal, Qt::SizeHintRole).toSize();
        if (hint.width() > 0)
            geometry.setColumnWidth(column, hint.width());
    }
}

void ReportGridPrivate::syncRows() {
    geometry.setRowCount(modelRows());
}

void ReportGridPrivate::invalidate(const QRect& laidOut) {
    const QRect visible = geometry.visual(laidOut).intersected(q->viewport()->rect());
    if (!visible.isEmpty())
        q->viewport()->update(visible);
}

void ReportGridPrivate::invalidateHeader(const QRect& laidOut) {
    if (!header)
        return;
    const QRect visible = geometry.visual(laidOut).intersected(header->rect());
    if (!visible.isEmpty())
        header->update(visible);
}

void ReportGridPrivate::invalidateAll() {
    q->viewport()->update();
    if (header)
        header->update();
}

void ReportGridPrivate::invalidateCell(const QModelIndex& cell) {
    if (cell.isValid() && cell.row() < geometry.rowCount() &&
        cell.column() < geometry.columnCount())
        invalidate(geometry.cellBounds(cell.row(), cell.column()));
}

// The view-coordinate x where the first column starts, left to right, or ends, right to left,
// and the y where the rows start: everything on screen moves with them.
QPoint ReportGridPrivate::currentCellOrigin() const {
    const int h = geometry.hOffset();
    const QRect shown = q->viewport()->geometry();
    const int x = q->isRightToLeft() ? shown.left() + shown.width() + h : shown.left() - h;
    return QPoint(x, shown.top() - geometry.vOffset());
}

void ReportGridPrivate::cellsMayHaveMoved() {
    if (std::exchange(cellOrigin, currentCellOrigin()) != cellOrigin)
        emit q->cellsMoved();
}

void ReportGridPrivate::scrollTo(const QPoint& offsets) {
    q->horizontalScrollBar()->setValue(offsets.x());
    q->verticalScrollBar()->setValue(offsets.y());
}

void ReportGridPrivate::focusCell(const QModelIndex& cell, bool scrollIntoView) {
    if (!cell.isValid() || !q->selectionModel())
        return;
    q->selectionModel()->setCurrentIndex(cell, q->selectionCommand(cell));
    if (scrollIntoView && isCurrentValid()) {
        const QModelIndex current = q->currentIndex();
        scrollTo(geometry.offsetsToShow(current.row(), current.column(), settings.cellFocus));
    }
}

// As desktops show focus (a browser's :focus-visible, a style's State_KeyboardFocusChange): the
// frame goes round the current cell once the keyboard has moved or acted on it, and a mouse press
// takes it away until the next such key, so that a click or a drag leaves the cell as it looks.
void ReportGridPrivate::showFocusFrame(bool show) {
    if (std::exchange(focusFrameShown, show) == show || !isCurrentValid())
        return;
    const QModelIndex current = q->currentIndex();
    invalidate(settings.cellFocus ? geometry.cellBounds(current.row(), current.column())
                                  : geometry.rowBand(current.row()));
}

void ReportGridPrivate::resizeColumn(int column, int width) {
    q->setColumnWidth(column, width);
}

void ReportGridPrivate::moveColumn(int fromPosition, int toPosition) {
    geometry.moveColumn(fromPosition, toPosition);
    updateScrollBars();
    invalidateAll();
    q->updateEditorGeometries();
    detail::tableChanged(*q);
    // Cells moved on screen without any width changing: hosts that lay widgets over cells hear
    // of it the same way as of a scroll.
    emit q->cellsMoved();
}

void ReportGridPrivate::sortBy(int column) {
    const Qt::SortOrder order = column == sortColumn && sortOrder == Qt::AscendingOrder
                                    ? Qt::DescendingOrder
                                    : Qt::AscendingOrder;
    const QPointer<ReportGrid> alive(q);
    q->sortByColumn(column, order);
    if (alive)
        emit q->cellsMoved(); // as above: the rows moved on screen
}

bool ReportGridPrivate::tellPress(const QMouseEvent& event, const QPoint& inViewport) {
    const QPointer<ReportGrid> alive(q);
    emit q->mousePressed(event.buttons(), event.modifiers(), inViewport);
    return alive;
}

bool ReportGridPrivate::tellMove(const QMouseEvent& event, const QPoint& inViewport) {
    const QPointer<ReportGrid> alive(q);
    emit q->mouseMoved(event.buttons(), event.modifiers(), inViewport);
    return alive;
}

void ReportGridPrivate::pressCell(QMouseEvent& event, const QPoint& at) {
    const QPersistentModelIndex cell = q->indexAt(at);
    if (!cell.isValid())
        return;
    // A press on a link is the link's alone, as in Qt's views: the cell does not become current.
    const detail::LinkInput* links = detail::LinkInput::of(q->itemDelegateForIndex(cell));
    if (links && links->linkAt(*q, cell, event.position()) >= 0) {
        sendToDelegate(cell, &event);
        return;
    }
    const QPointer<ReportGrid> alive(q);
    if (cell.flags().testFlag(Qt::ItemIsEnabled)) {
        focusCell(cell, false);
        emit q->pressed(cell);
    }
    if (!alive || !cell.isValid())
        return;
    const bool taken = sendToDelegate(cell, &event);
    if (alive && !taken && event.type() == QEvent::MouseButtonDblClick && cell.isValid()) {
        emit q->doubleClicked(cell);
        if (alive && cell.isValid())
            q->edit(cell, ReportGrid::DoubleClicked, nullptr);
    }
}

bool ReportGridPrivate::sendToDelegate(const QModelIndex& index, QEvent* event) {
    QAbstractItemDelegate* delegate = q->itemDelegateForIndex(index);
    QAbstractItemModel* model = q->model();
    if (!delegate || !model || !index.isValid())
        return false;
    return delegate->editorEvent(event, model, cellOption(index, q->visualRect(index)), index);
}

QStyleOptionViewItem ReportGridPrivate::cellOption(const QModelIndex& cell,
                                                   const QRect& rect) const {
    QStyleOptionViewItem option;
    q->initViewItemOption(&option);
    option.rect = rect;
    option.index = cell;
    if (!cell.flags().testFlag(Qt::ItemIsEnabled))
        option.state &= ~QStyle::State_Enabled;
    if (settings.cellFocus && cell == q->currentIndex() && q->hasFocus())
        option.state |= QStyle::State_HasFocus;
    return option;
}

QColor ReportGridPrivate::belowRows() const {
    if (settings.belowRowsColor.isValid())
        return settings.belowRowsColor;
    return q->palette().color(q->hasFocus() ? QPalette::Active : QPalette::Inactive,
                              settings.belowRowsRole);
}

void ReportGridPrivate::setResizeCursor(bool overEdge) {
    if (!header)
        return;
    if (overEdge)
        header->setCursor(Qt::SplitHCursor);
    else
        header->unsetCursor();
}

} // namespace gridgauge::gridkit
