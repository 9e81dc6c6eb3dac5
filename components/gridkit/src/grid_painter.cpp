#include "grid_painter.h"

#include "input.h"
#include "report_grid_p.h"

#include <QAbstractItemDelegate>
#include <QItemSelectionModel>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QStyleOptionViewItem>

#include <algorithm>

namespace gridgauge::gridkit::detail {

GridPainter::GridPainter(const ReportGridPrivate& view)
    : view_(view) {
    const ReportGrid& grid = *view.q;
    look_.style = grid.style();
    look_.widget = &grid;
    look_.palette = grid.palette();
    look_.group = grid.hasFocus() ? QPalette::Active : QPalette::Inactive;
    look_.font = grid.font();
    look_.direction = grid.layoutDirection();
}

// Everything is laid out left to right and goes through screen() on its way to the painter, which
// mirrors it in a right-to-left view; the dirty area comes the other way.
QRect GridPainter::screen(const QRect& rect) const {
    return view_.geometry.visual(rect);
}

void GridPainter::paintBand(QPainter& painter, const QRect& dirtyOnScreen) const {
    const GridGeometry& geometry = view_.geometry;
    const QRect dirty = geometry.visual(dirtyOnScreen);
    if (view_.settings.groupBoxVisible && dirty.top() < geometry.groupBoxHeight())
        paintGroupBox(painter);
    const QRect row = geometry.headerRow();
    if (!row.intersects(dirty))
        return;
    painter.save();
    painter.setClipRect(screen(row.intersected(dirty)));
    const int count = geometry.columnCount();
    const GridGeometry::Positions shown = geometry.positionsBetween(dirty.left(), dirty.right());
    for (int position = shown.first; position < shown.end; ++position) {
        const QRect rect = geometry.headerRect(position);
        if (rect.width() > 0)
            paintHeaderSection(painter, screen(rect), geometry.columnAtPosition(position),
                               position);
    }
    // The header runs on past the last column as one empty section, as a desktop header does.
    const qint64 end = std::max<qint64>(geometry.contentWidth() - geometry.hOffset(), 0);
    if (end <= row.right())
        paintHeaderSection(
            painter, screen(QRect(int(end), row.top(), row.right() + 1 - int(end), row.height())),
            -1, count);

    const int drop = view_.input.dropPosition();
    if (view_.input.headerDragging() && drop >= 0 && drop < count) {
        QColor shade = look_.palette.color(QPalette::Highlight);
        shade.setAlpha(90);
        painter.fillRect(screen(geometry.headerRect(drop)), shade);
    }
    painter.restore();
}

void GridPainter::paintGroupBox(QPainter& painter) const {
    const QRect band(0, 0, view_.geometry.clientRect().width(), view_.geometry.groupBoxHeight());
    painter.fillRect(band, look_.palette.brush(QPalette::Window));
    painter.fillRect(QRect(band.left(), band.bottom(), band.width(), 1),
                     look_.palette.brush(QPalette::Mid));
}

// A section for the model column at a display position, or the empty one past the last (-1).
void GridPainter::paintHeaderSection(QPainter& painter, const QRect& rect, int column,
                                     int position) const {
    const ReportGrid& grid = *view_.q;
    const bool sorted = column >= 0 && column == view_.sortColumn;
    QStyle* style = look_.style;
    const int margin = style->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &grid);
    const int textWidth = HeaderCaption{margin, sorted}.room(rect.size());
    const QString caption =
        column >= 0 && grid.model()
            ? grid.model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString()
            : QString();
    const QString text =
        painter.fontMetrics().elidedText(caption, Qt::ElideRight, std::max(0, textWidth));
    if (!view_.settings.styledHeader()) {
        painter.fillRect(rect, look_.palette.brush(QPalette::Button));
        const QBrush line = look_.palette.brush(QPalette::Mid);
        painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), line);
        painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), line);
        if (!text.isEmpty()) {
            painter.setPen(look_.palette.color(QPalette::ButtonText));
            painter.drawText(rect.adjusted(margin, 0, -margin, 0),
                             Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
        }
        return;
    }
    const int count = view_.geometry.columnCount();
    QStyleOptionHeader option;
    option.initFrom(&grid);
    option.rect = rect;
    option.orientation = Qt::Horizontal;
    option.state |= QStyle::State_Horizontal | QStyle::State_Raised;
    option.state &= ~(QStyle::State_MouseOver | QStyle::State_HasFocus);
    if (column >= 0 && column == view_.input.hoverHeader())
        option.state |= QStyle::State_MouseOver;
    if (column >= 0 && column == view_.input.pressedHeader() &&
        (view_.settings.sortingEnabled || view_.input.headerDragging()))
        option.state |= QStyle::State_Sunken;
    option.section = position;
    if (column < 0)
        option.position = QStyleOptionHeader::End;
    else if (count == 1)
        option.position = QStyleOptionHeader::OnlyOneSection;
    else if (position == 0)
        option.position = QStyleOptionHeader::Beginning;
    else if (position + 1 == count)
        option.position = QStyleOptionHeader::End;
    else
        option.position = QStyleOptionHeader::Middle;
    option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    option.text = text;
    if (sorted) {
        option.sortIndicator = view_.sortOrder == Qt::DescendingOrder ? QStyleOptionHeader::SortDown
                                                                      : QStyleOptionHeader::SortUp;
    }
    style->drawControl(QStyle::CE_Header, &option, &painter, &grid);
}

void GridPainter::paintBody(QPainter& painter, const QRect& dirtyOnScreen) const {
    const GridGeometry& geometry = view_.geometry;
    const QRect body = geometry.visual(dirtyOnScreen).intersected(geometry.clientRect());
    if (body.isEmpty())
        return;
    painter.save();
    painter.setClipRect(screen(body));
    const int rowHeight = geometry.rowHeight();
    const qint64 v = geometry.vOffset();
    const qint64 rowsBottom = geometry.contentHeight() - v;

    // Below the last row: the colour the host chose for it.
    if (rowsBottom <= body.bottom()) {
        const int from = int(std::max<qint64>(rowsBottom, body.top()));
        painter.fillRect(screen(QRect(body.left(), from, body.width(), body.bottom() + 1 - from)),
                         view_.belowRows());
    }

    const int first = int(std::max<qint64>(0, (body.top() + v) / rowHeight));
    const int last =
        int(std::min<qint64>(qint64(geometry.rowCount()) - 1, (body.bottom() + v) / rowHeight));
    const GridGeometry::Positions shown = geometry.positionsBetween(body.left(), body.right());
    for (int row = first; row <= last; ++row) {
        const QRect band(body.left(), geometry.rowTop(row), body.width(), rowHeight);
        painter.fillRect(screen(band), look_.palette.brush(look_.group, QPalette::Base));
        paintCells(painter, row, band, shown.first, shown.end);
    }
    if (view_.settings.gridLines && geometry.rowCount() > 0)
        paintGridLines(painter, body, first, last);
    if (!view_.settings.cellFocus && view_.q->hasFocus() && view_.focusFrameShown &&
        view_.isCurrentValid())
        paintRowFocus(painter);
    painter.restore();
}

void GridPainter::paintCells(QPainter& painter, int row, const QRect& band, int first,
                             int end) const {
    const GridGeometry& geometry = view_.geometry;
    const QItemSelectionModel* selection = view_.q->selectionModel();
    for (int position = first; position < end; ++position) {
        const int column = geometry.columnAtPosition(position);
        if (geometry.columnWidth(column) <= 0)
            continue;
        const QModelIndex index = view_.index(row, column);
        const QRect cell = screen(geometry.cellBounds(row, column));
        QStyleOptionViewItem option = view_.cellOption(index, cell);
        if (selection && selection->isSelected(index)) {
            option.state |= QStyle::State_Selected;
            painter.fillRect(cell, look_.palette.brush(look_.group, QPalette::Highlight));
        }
        if (QAbstractItemDelegate* delegate = view_.q->itemDelegateForIndex(index))
            delegate->paint(&painter, option, index);
    }
    Q_UNUSED(band);
}

void GridPainter::paintGridLines(QPainter& painter, const QRect& body, int firstRow,
                                 int lastRow) const {
    const GridGeometry& geometry = view_.geometry;
    QStyleOption option;
    option.initFrom(view_.q);
    const QColor color = QColor::fromRgba(
        QRgb(look_.style->styleHint(QStyle::SH_Table_GridLineColor, &option, view_.q)));
    const qint64 v = geometry.vOffset();
    const qint64 h = geometry.hOffset();
    const qint64 rowsBottom = geometry.contentHeight() - v;
    const int linesBottom = int(std::min<qint64>(rowsBottom, body.bottom() + 1));
    const int linesRight =
        int(std::clamp<qint64>(geometry.contentWidth() - h, 0, body.right() + 1));
    for (int row = firstRow; row <= lastRow; ++row) {
        const int y = geometry.rowTop(row) + geometry.rowHeight() - 1;
        painter.fillRect(screen(QRect(0, y, linesRight, 1)), color);
    }
    const GridGeometry::Positions shown = geometry.positionsBetween(body.left(), body.right());
    for (int position = shown.first; position < shown.end; ++position) {
        if (geometry.columnLeft(position + 1) > geometry.columnLeft(position)) {
            const int x = int(geometry.columnLeft(position + 1) - h) - 1;
            painter.fillRect(screen(QRect(x, 0, 1, linesBottom)), color);
        }
    }
}

void GridPainter::paintRowFocus(QPainter& painter) const {
    const GridGeometry& geometry = view_.geometry;
    const int row = view_.q->currentIndex().row();
    const qint64 right = geometry.contentWidth() - geometry.hOffset();
    const QRect rect(0, geometry.rowTop(row),
                     int(std::clamp<qint64>(right, 0, geometry.clientRect().width())),
                     geometry.rowHeight());
    const QItemSelectionModel* selection = view_.q->selectionModel();
    const bool selected = selection && selection->isRowSelected(row, view_.q->rootIndex());
    const QColor background =
        look_.palette.color(look_.group, selected ? QPalette::Highlight : QPalette::Base);
    drawFocusFrame(painter, screen(rect.adjusted(0, 0, -1, -1)), background, look_);
}

} // namespace gridgauge::gridkit::detail
