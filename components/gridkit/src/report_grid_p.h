#pragma once

// What a ReportGrid keeps behind its one pointer, and the parts it is made of: the geometry,
// the header band above the viewport, the input that turns the mouse and the keys into what the
// user did, and the settings. The view alone raises its signals, invalidates, scrolls and sets
// the current index; the parts ask it to.

#include "geometry.h"
#include "input.h"
#include "settings.h"

#include "gridgauge/gridkit/report_grid.h"

#include <QList>
#include <QPointer>

class QMouseEvent;

namespace gridgauge::gridkit {

namespace detail {
class HeaderBand;
}

class ReportGridPrivate {
public:
    explicit ReportGridPrivate(ReportGrid* grid);

    ReportGrid* const q;
    detail::GridGeometry geometry;
    detail::ViewSettings settings;
    detail::HeaderBand* header = nullptr;
    detail::GridInput input;
    GridDelegate* delegate = nullptr;
    bool focusFrameShown = false; // keys moved or acted on the current cell since the last press
    QPoint cellOrigin;            // where currentCellOrigin() was when cellsMoved last told of it
    int sortColumn = -1;
    Qt::SortOrder sortOrder = Qt::AscendingOrder;
    QList<QMetaObject::Connection> modelConnections;

    // --- the model, through the view's root ---
    QModelIndex index(int row, int column) const;
    int modelRows() const;
    int modelColumns() const;
    bool isCurrentValid() const;

    // --- metrics, scrolling and where things show ---
    void updateMetrics();
    void updateScrollBars();
    void placeHeader();
    void syncColumns();
    void insertColumns(int first, int last); // the model's new columns [first, last]
    void syncRows();
    QList<QMetaObject::Connection> followModel(QAbstractItemModel* model);
    // Schedules a repaint of part of the viewport or of the band, given as the geometry lays it
    // out.
    void invalidate(const QRect& laidOut);
    void invalidateHeader(const QRect& laidOut);
    void invalidateAll();
    void invalidateCell(const QModelIndex& index);
    QPoint currentCellOrigin() const;
    void cellsMayHaveMoved();
    void scrollTo(const QPoint& offsets);

    // --- what the user does, done for them ---
    // Makes index current as a click or a key does (selecting its row as the selection mode
    // says), scrolling it into view when asked.
    void focusCell(const QModelIndex& index, bool scrollIntoView);
    void showFocusFrame(bool show);
    void resizeColumn(int column, int width);
    void moveColumn(int fromPosition, int toPosition);
    void sortBy(int column);
    void setResizeCursor(bool overEdge);
    // Raises mousePressed or mouseMoved for a point of the viewport; false when a handler
    // deleted the view.
    bool tellPress(const QMouseEvent& event, const QPoint& inViewport);
    bool tellMove(const QMouseEvent& event, const QPoint& inViewport);
    // Hands a press on the cell at a point of the viewport to its delegate.
    void pressCell(QMouseEvent& event, const QPoint& at);
    // Hands an event to the delegate of the cell at index, as QAbstractItemView does, but
    // without repainting the cell for it: the delegate repaints what it changes. Whether the
    // delegate took it.
    bool sendToDelegate(const QModelIndex& index, QEvent* event);

    // --- what a cell is drawn with ---
    QStyleOptionViewItem cellOption(const QModelIndex& index, const QRect& rect) const;
    QColor belowRows() const;
};

} // namespace gridgauge::gridkit
