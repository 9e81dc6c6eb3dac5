#include "gridgauge/gridkit/report_grid.h"

#include "accessibility.h"
#include "content_fit.h"
#include "header_band.h"
#include "report_grid_p.h"
#include "scroll_bar.h"

#include "gridgauge/gridkit/grid_delegate.h"

#include <algorithm>
#include <utility>

namespace gridgauge::gridkit {

ReportGrid::ReportGrid(QWidget* parent)
    : QAbstractItemView(parent)
    , d(std::make_unique<ReportGridPrivate>(this)) {
    detail::installAccessibleFactory();
    d->delegate = new GridDelegate(this);
    setItemDelegate(d->delegate);
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectRows);
    setHorizontalScrollMode(ScrollPerPixel);
    setVerticalScrollMode(ScrollPerPixel);
    // Tab walks the cells while focus moves by cell (focusNextPrevChild), not as a key.
    setTabKeyNavigation(false);
    viewport()->setMouseTracking(true);
    // Every pixel is painted, so Qt need not clear the viewport first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    setVerticalScrollBar(new detail::ScrollBar(Qt::Vertical));
    setHorizontalScrollBar(new detail::ScrollBar(Qt::Horizontal));
    horizontalScrollBar()->setSingleStep(20);
    d->header = new detail::HeaderBand(*d, this);
    d->geometry.setDirection(layoutDirection());
    d->updateMetrics();
    d->updateScrollBars();
    d->cellOrigin = d->currentCellOrigin();
}

ReportGrid::~ReportGrid() {
    for (const QMetaObject::Connection& connection : std::as_const(d->modelConnections))
        disconnect(connection);
}

void ReportGrid::setModel(QAbstractItemModel* model) {
    for (const QMetaObject::Connection& connection : std::as_const(d->modelConnections))
        disconnect(connection);
    d->modelConnections.clear();
    d->sortColumn = -1;
    QAbstractItemView::setModel(model);
    if (model)
        d->modelConnections = d->followModel(model);
    d->syncColumns();
    d->syncRows();
    d->updateScrollBars();
    d->invalidateAll();
}

// The model's news that QAbstractItemView does not handle for a view of this shape: columns come
// and go, rows go, the layout or a header caption changes.
QList<QMetaObject::Connection> ReportGridPrivate::followModel(QAbstractItemModel* model) {
    QList<QMetaObject::Connection> connections;
    const auto columnsChanged = [this] {
        updateScrollBars();
        invalidateAll();
        q->updateEditorGeometries();
    };
    connections
        << QObject::connect(model, &QAbstractItemModel::columnsInserted, q,
                            [this, columnsChanged](const QModelIndex& parent, int first, int last) {
                                if (parent != q->rootIndex())
                                    return;
                                insertColumns(first, last);
                                columnsChanged();
                            })
        << QObject::connect(model, &QAbstractItemModel::columnsRemoved, q,
                            [this, columnsChanged](const QModelIndex& parent, int first, int last) {
                                if (parent != q->rootIndex())
                                    return;
                                geometry.removeColumns(first, last - first + 1);
                                columnsChanged();
                            })
        << QObject::connect(model, &QAbstractItemModel::columnsMoved, q,
                            [this, columnsChanged] {
                                syncColumns();
                                columnsChanged();
                            })
        << QObject::connect(model, &QAbstractItemModel::rowsRemoved, q,
                            [this](const QModelIndex& parent, int first, int) {
                                if (parent != q->rootIndex())
                                    return;
                                syncRows();
                                updateScrollBars();
                                invalidateAll();
                                if (first < geometry.rowCount())
                                    emit q->cellsMoved();
                            })
        << QObject::connect(model, &QAbstractItemModel::rowsMoved, q, [this] { invalidateAll(); })
        << QObject::connect(model, &QAbstractItemModel::layoutChanged, q,
                            [this] {
                                syncRows();
                                updateScrollBars();
                                invalidateAll();
                            })
        << QObject::connect(model, &QAbstractItemModel::headerDataChanged, q,
                            [this](Qt::Orientation orientation, int first, int last) {
                                if (orientation != Qt::Horizontal)
                                    return;
                                for (int column = std::max(first, 0);
                                     column <= last && column < geometry.columnCount(); ++column)
                                    invalidateHeader(
                                        geometry.headerRect(geometry.positionOfColumn(column)));
                            });
    return connections;
}

GridDelegate* ReportGrid::gridDelegate() const {
    return d->delegate;
}

QRect ReportGrid::visualRect(const QModelIndex& index) const {
    if (!index.isValid() || index.parent() != rootIndex() ||
        index.row() >= d->geometry.rowCount() || index.column() >= d->geometry.columnCount())
        return {};
    return d->geometry.visual(d->geometry.cellBounds(index.row(), index.column()));
}

void ReportGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
    const QRect cell = visualRect(index);
    if (cell.isNull())
        return;
    QPoint offsets = d->geometry.offsetsToShow(index.row(), index.column(), true);
    const int top = index.row() * d->geometry.rowHeight();
    const int page = viewport()->height();
    switch (hint) {
    case PositionAtTop:
        offsets.setY(top);
        break;
    case PositionAtBottom:
        offsets.setY(top + d->geometry.rowHeight() - page);
        break;
    case PositionAtCenter:
        offsets.setY(top + d->geometry.rowHeight() / 2 - page / 2);
        break;
    default:
        break;
    }
    offsets.setY(std::clamp(offsets.y(), 0, d->geometry.maxVOffset()));
    d->scrollTo(offsets);
}

QModelIndex ReportGrid::indexAt(const QPoint& point) const {
    const int row = rowAt(point.y());
    const int column = columnAt(point.x());
    return row >= 0 && column >= 0 ? d->index(row, column) : QModelIndex();
}

void ReportGrid::keyboardSearch(const QString&) {}

void ReportGrid::doItemsLayout() {
    updateGeometries();
}

int ReportGrid::sizeHintForColumn(int column) const {
    if (column < 0 || column >= d->geometry.columnCount())
        return -1;
    int width = detail::headerWidthFor(*d, column);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    for (int row = 0; row < d->geometry.rowCount(); ++row) {
        const QModelIndex cell = d->index(row, column);
        option.rect = QRect(0, 0, d->geometry.columnWidth(column), d->geometry.rowHeight());
        if (QAbstractItemDelegate* delegate = itemDelegateForIndex(cell))
            width = std::max(width, delegate->sizeHint(option, cell).width());
    }
    return std::max(width, d->settings.minimumColumnWidth);
}

int ReportGrid::rowHeight() const {
    return d->geometry.rowHeight();
}

int ReportGrid::headerHeight() const {
    return d->geometry.headerHeight();
}

int ReportGrid::columnWidth(int column) const {
    if (column < 0 || column >= d->geometry.columnCount())
        return 0;
    return d->geometry.columnWidth(column);
}

void ReportGrid::setColumnWidth(int column, int width) {
    if (column < 0 || column >= d->geometry.columnCount() || width < 0) {
        qWarning("ReportGrid::setColumnWidth: column %d, width %d refused", column, width);
        return;
    }
    if (d->geometry.columnWidth(column) == width)
        return;
    const QRect before = d->geometry.fromColumnOn(column);
    const int previous = d->geometry.setColumnWidth(column, width);
    d->invalidate(before.united(d->geometry.fromColumnOn(column)));
    d->invalidateHeader(QRect(before.left(), 0, before.width(), d->geometry.bandHeight()));
    d->updateScrollBars();
    updateEditorGeometries();
    emit columnResized(column, previous, width);
}

bool ReportGrid::isColumnResizable(int column) const {
    return column >= 0 && column < d->geometry.columnCount() && d->geometry.isResizable(column);
}

void ReportGrid::setColumnResizable(int column, bool resizable) {
    if (column < 0 || column >= d->geometry.columnCount()) {
        qWarning("ReportGrid::setColumnResizable: no column %d", column);
        return;
    }
    d->geometry.setResizable(column, resizable);
}

void ReportGrid::resizeColumnToContents(int column) {
    if (column >= 0 && column < d->geometry.columnCount())
        setColumnWidth(column, sizeHintForColumn(column));
}

int ReportGrid::visualColumn(int column) const {
    if (column < 0 || column >= d->geometry.columnCount())
        return -1;
    return d->geometry.positionOfColumn(column);
}

int ReportGrid::logicalColumn(int visualIndex) const {
    if (visualIndex < 0 || visualIndex >= d->geometry.columnCount())
        return -1;
    return d->geometry.columnAtPosition(visualIndex);
}

void ReportGrid::moveColumn(int from, int to) {
    const int count = d->geometry.columnCount();
    if (from < 0 || from >= count || to < 0 || to >= count) {
        qWarning("ReportGrid::moveColumn: from %d to %d refused", from, to);
        return;
    }
    if (from != to)
        d->moveColumn(from, to);
}

int ReportGrid::rowAt(int y) const {
    return d->geometry.rowAtY(y);
}

int ReportGrid::columnAt(int x) const {
    if (x < 0 || x >= viewport()->width())
        return -1;
    const int position = d->geometry.positionAtX(d->geometry.visual(QPoint(x, 0)).x());
    return position < 0 ? -1 : d->geometry.columnAtPosition(position);
}

QRect ReportGrid::headerRect(int column) const {
    if (column < 0 || column >= d->geometry.columnCount())
        return {};
    return d->geometry.visual(d->geometry.headerRect(d->geometry.positionOfColumn(column)))
        .translated(0, -d->geometry.bandHeight());
}

QRect ReportGrid::buttonRect(const QModelIndex& index, int button) const {
    auto* delegate = qobject_cast<GridDelegate*>(itemDelegateForIndex(index));
    const QRect cell = visualRect(index);
    if (!delegate || cell.isNull())
        return {};
    return delegate->buttonRect(d->cellOption(index, cell), index, button);
}

QRect ReportGrid::checkBoxRect(const QModelIndex& index) const {
    auto* delegate = qobject_cast<GridDelegate*>(itemDelegateForIndex(index));
    const QRect cell = visualRect(index);
    if (!delegate || cell.isNull())
        return {};
    return delegate->checkBoxRect(d->cellOption(index, cell), index);
}

void ReportGrid::sortByColumn(int column, Qt::SortOrder order) {
    if (!model() || column < 0 || column >= d->geometry.columnCount()) {
        qWarning("ReportGrid::sortByColumn: no column %d", column);
        return;
    }
    d->sortColumn = column;
    d->sortOrder = order;
    d->invalidateHeader(d->geometry.headerRow());
    model()->sort(column, order);
}

int ReportGrid::sortColumn() const {
    return d->sortColumn;
}

Qt::SortOrder ReportGrid::sortOrder() const {
    return d->sortOrder;
}

QSize ReportGrid::sizeHint() const {
    const qint64 width = std::min<qint64>(d->geometry.contentWidth(), 640);
    const qint64 height =
        d->geometry.bandHeight() + std::min(d->geometry.rowCount(), 12) * d->geometry.rowHeight();
    return QSize(int(std::max<qint64>(width, 160)), int(std::max<qint64>(height, 100)));
}

QRegion ReportGrid::overlayArea() const {
    return QRegion(viewport()->geometry());
}

// --- QAbstractItemView ---

QModelIndex ReportGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    if (!d->isCurrentValid())
        return {}; // until a click or a key, nothing is current
    const QModelIndex current = currentIndex();
    int row = current.row();
    int position = d->geometry.positionOfColumn(current.column());
    const int rows = d->geometry.rowCount();
    const int columns = d->geometry.columnCount();
    const bool toEnd = d->settings.cellFocus && !(modifiers & Qt::ControlModifier);
    switch (cursorAction) {
    case MoveUp:
        --row;
        break;
    case MoveDown:
        ++row;
        break;
    case MovePageUp:
        row -= d->geometry.rowsPerPage();
        break;
    case MovePageDown:
        row += d->geometry.rowsPerPage();
        break;
    case MoveHome:
        (toEnd ? position : row) = 0;
        break;
    case MoveEnd:
        (toEnd ? position : row) = toEnd ? columns - 1 : rows - 1;
        break;
    case MoveLeft:
        position += isRightToLeft() ? 1 : -1;
        break;
    case MoveRight:
        position += isRightToLeft() ? -1 : 1;
        break;
    case MoveNext:
    case MovePrevious: {
        const qint64 at = qint64(row) * columns + position + (cursorAction == MoveNext ? 1 : -1);
        if (at < 0 || at >= qint64(rows) * columns)
            return current;
        row = int(at / columns);
        position = int(at % columns);
        break;
    }
    }
    row = std::clamp(row, 0, rows - 1);
    position = std::clamp(position, 0, columns - 1);
    return d->index(row, d->geometry.columnAtPosition(position));
}

int ReportGrid::horizontalOffset() const {
    return d->geometry.hOffset();
}

int ReportGrid::verticalOffset() const {
    return d->geometry.vOffset();
}

bool ReportGrid::isIndexHidden(const QModelIndex&) const {
    return false;
}

void ReportGrid::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
    if (!selectionModel())
        return;
    const QRect area = rect.normalized();
    QItemSelection selection;
    const int top = rowAt(std::max(0, area.top()));
    const int bottom = rowAt(std::min(viewport()->height() - 1, area.bottom()));
    for (int column = 0; top >= 0 && column < d->geometry.columnCount(); ++column) {
        if (visualRect(d->index(top, column)).intersects(area)) {
            const QModelIndex from = d->index(top, column);
            const QModelIndex to =
                d->index(bottom >= 0 ? bottom : d->geometry.rowCount() - 1, column);
            selection.select(from, to);
        }
    }
    selectionModel()->select(selection, command);
}

QRegion ReportGrid::visualRegionForSelection(const QItemSelection& selection) const {
    QRegion region;
    const QRect shown = viewport()->rect();
    for (const QItemSelectionRange& range : selection) {
        if (range.parent() != rootIndex() || !range.isValid())
            continue;
        const int top = range.top();
        const int bottom = std::min(range.bottom(), d->geometry.rowCount() - 1);
        for (int column = range.left();
             column <= range.right() && column < d->geometry.columnCount(); ++column) {
            const QRect first = visualRect(d->index(top, column));
            const QRect last = visualRect(d->index(bottom, column));
            region += first.united(last).intersected(shown);
        }
    }
    return region;
}

void ReportGrid::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                             const QList<int>& roles) {
    if (!topLeft.isValid() || !bottomRight.isValid() || topLeft.parent() != rootIndex())
        return;
    Q_UNUSED(roles);
    // Not QAbstractItemView's: it repaints the whole viewport for more than one cell, and tells
    // assistive technology of a model change where the cells tell what they read anew.
    const int bottom = std::min(bottomRight.row(), d->geometry.rowCount() - 1);
    for (int column = topLeft.column();
         column <= bottomRight.column() && column < d->geometry.columnCount(); ++column) {
        d->invalidate(d->geometry.cellBounds(topLeft.row(), column)
                          .united(d->geometry.cellBounds(bottom, column)));
    }
    // An editor open on a changed cell shows what the cell now holds.
    const QModelIndex editing = currentIndex();
    if (state() == EditingState && editing.parent() == topLeft.parent() &&
        editing.row() >= topLeft.row() && editing.row() <= bottomRight.row() &&
        editing.column() >= topLeft.column() && editing.column() <= bottomRight.column()) {
        if (QWidget* editor = indexWidget(editing)) {
            if (QAbstractItemDelegate* delegate = itemDelegateForIndex(editing))
                delegate->setEditorData(editor, editing);
        }
    }
    for (int row = topLeft.row(); row <= bottomRight.row(); ++row) {
        for (int column = topLeft.column(); column <= bottomRight.column(); ++column)
            detail::itemChanged(*this, row, column);
    }
}

// QAbstractItemView tells assistive technology of rows and columns that come and go, of a new
// layout and of a reset; the view tells it only of what is its own (a moved column).
void ReportGrid::rowsInserted(const QModelIndex& parent, int start, int end) {
    QAbstractItemView::rowsInserted(parent, start, end);
    if (parent != rootIndex())
        return;
    const int before = d->geometry.rowCount();
    d->syncRows();
    d->updateScrollBars();
    d->invalidate(QRect(0, d->geometry.rowTop(start), viewport()->width(), viewport()->height()));
    if (start < before)
        emit cellsMoved();
}

void ReportGrid::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) {
    QAbstractItemView::rowsAboutToBeRemoved(parent, start, end);
}

void ReportGrid::reset() {
    QAbstractItemView::reset();
    d->sortColumn = -1;
    d->syncColumns();
    d->syncRows();
    d->updateScrollBars();
    d->invalidateAll();
}

void ReportGrid::updateGeometries() {
    d->syncRows();
    d->updateScrollBars();
    d->placeHeader();
    QAbstractItemView::updateGeometries();
}

void ReportGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    // A press makes a cell current without scrolling; the keys scroll themselves.
    const bool scrolls = hasAutoScroll();
    setAutoScroll(false);
    QAbstractItemView::currentChanged(current, previous);
    setAutoScroll(scrolls);
    if (!d->settings.cellFocus) {
        // The row's focus frame goes round the whole row.
        if (previous.isValid() && previous.row() < d->geometry.rowCount())
            d->invalidate(d->geometry.rowBand(previous.row()));
        if (current.isValid() && current.row() < d->geometry.rowCount())
            d->invalidate(d->geometry.rowBand(current.row()));
    }
    detail::focusChanged(*this);
}

void ReportGrid::selectionChanged(const QItemSelection& selected,
                                  const QItemSelection& deselected) {
    QAbstractItemView::selectionChanged(selected, deselected);
}

void ReportGrid::initViewItemOption(QStyleOptionViewItem* option) const {
    QAbstractItemView::initViewItemOption(option);
    // The frame shows once keys have moved or acted on the current cell (see showFocusFrame()),
    // not by the window's own reckoning.
    option->state.setFlag(QStyle::State_KeyboardFocusChange, d->focusFrameShown);
}

} // namespace gridgauge::gridkit
