#include "grid_painter.h"

#include "cell_drawings.h"
#include "geometry.h"
#include "gridgauge/gridkit/grid_model.h"
#include "input.h"
#include "settings.h"

#include "gridgauge/host/system_colors.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QWidget>

#include <algorithm>

namespace gridkit::detail {

GridPainter::GridPainter(const PaintSources& sources, const QWidget& surface, bool focused,
                         bool focusShown)
    : model_(sources.model)
    , geometry_(sources.geometry)
    , input_(sources.input)
    , settings_(sources.settings)
    , focus_(sources.focus)
    , drawings_(sources.drawings)
    , surface_(surface)
    , focusShown_(focused && focusShown) {
    look_.style = surface.style();
    look_.widget = &surface;
    look_.palette = surface.palette();
    look_.group = focused ? QPalette::Active : QPalette::Inactive;
    look_.font = surface.font();
    look_.direction = surface.layoutDirection();
    look_.themed = settings_.themedControls;
}

// Everything is laid out left to right and goes through screen() on its way to the painter, which
// mirrors it in a right-to-left view; the dirty area comes the other way.
QRect GridPainter::screen(const QRect& rect) const {
    return geometry_.visual(rect);
}

void GridPainter::paint(QPainter& painter, const QRect& dirtyOnScreen) const {
    const QRect dirty = geometry_.visual(dirtyOnScreen);
    if (settings_.groupBoxVisible && dirty.top() < geometry_.groupBoxHeight())
        paintGroupBox(painter);
    paintHeader(painter, dirty);
    const QRect body = geometry_.bodyRect().intersected(dirty);
    if (!body.isEmpty()) {
        painter.save();
        painter.setClipRect(screen(body));
        paintRows(painter, body);
        painter.restore();
    }
}

void GridPainter::paintGroupBox(QPainter& painter) const {
    const QRect band(0, 0, geometry_.clientRect().width(), geometry_.groupBoxHeight());
    painter.fillRect(band, look_.palette.brush(QPalette::Window));
    painter.fillRect(QRect(band.left(), band.bottom(), band.width(), 1),
                     look_.palette.brush(QPalette::Mid));
}

void GridPainter::paintHeader(QPainter& painter, const QRect& dirty) const {
    const QRect band = geometry_.headerBand();
    if (!band.intersects(dirty))
        return;
    painter.save();
    painter.setClipRect(screen(band.intersected(dirty)));
    const qint32 count = geometry_.columnCount();
    const GridGeometry::Positions shown = geometry_.positionsBetween(dirty.left(), dirty.right());
    for (qint32 position = shown.first; position < shown.end; ++position) {
        const QRect rect = geometry_.headerRect(position);
        if (rect.width() > 0)
            paintHeaderSection(painter, screen(rect), geometry_.columnAtPosition(position),
                               position);
    }
    // The header runs on past the last column as one empty section, as a desktop header does.
    const qint64 end = std::max<qint64>(geometry_.contentWidth() - geometry_.hOffset(), 0);
    if (end <= band.right())
        paintHeaderSection(
            painter,
            screen(QRect(int(end), band.top(), band.right() + 1 - int(end), band.height())), -1,
            count);

    const qint32 drop = input_.dropPosition();
    if (input_.headerDragging() && drop >= 0 && drop < count) {
        QColor shade = look_.palette.color(QPalette::Highlight);
        shade.setAlpha(90);
        painter.fillRect(screen(geometry_.headerRect(drop)), shade);
    }
    painter.restore();
}

// A section for the column id at a display position, or the empty one past the last (id -1).
void GridPainter::paintHeaderSection(QPainter& painter, const QRect& rect, qint32 id,
                                     qint32 position) const {
    const ColumnData* column = id >= 0 ? &model_.column(id) : nullptr;
    const bool sorted = column && id == model_.sortColumn();
    QStyle* style = look_.style;
    const int margin = style->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &surface_);
    const int textWidth = HeaderCaption{margin, sorted}.room(rect.size());
    const QString text = column ? painter.fontMetrics().elidedText(column->caption, Qt::ElideRight,
                                                                   std::max(0, textWidth))
                                : QString();
    if (!settings_.platformHeader()) {
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
    const qint32 count = geometry_.columnCount();
    QStyleOptionHeader option;
    option.initFrom(&surface_);
    option.rect = rect;
    option.orientation = Qt::Horizontal;
    option.state |= QStyle::State_Horizontal | QStyle::State_Raised;
    option.state &= ~QStyle::State_MouseOver;
    if (column && id == input_.hoverHeader())
        option.state |= QStyle::State_MouseOver;
    if (column && id == input_.pressedHeader() &&
        (settings_.sortOnClick || input_.headerDragging()))
        option.state |= QStyle::State_Sunken;
    option.section = position;
    if (!column)
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
        option.sortIndicator =
            model_.sortDescending() ? QStyleOptionHeader::SortDown : QStyleOptionHeader::SortUp;
    }
    style->drawControl(QStyle::CE_Header, &option, &painter, &surface_);
}

void GridPainter::paintRows(QPainter& painter, const QRect& body) const {
    const int top = geometry_.bodyTop();
    const int rowHeight = geometry_.rowHeight();
    const qint64 v = geometry_.vOffset();
    const qint64 rowsBottom = top + geometry_.contentHeight() - v;
    const qint64 contentRight = geometry_.contentWidth() - geometry_.hOffset();

    // Below the last row: the colour the host chose for it.
    if (rowsBottom <= body.bottom()) {
        const int from = int(std::max<qint64>(rowsBottom, body.top()));
        painter.fillRect(screen(QRect(body.left(), from, body.width(), body.bottom() + 1 - from)),
                         host::colors::resolve(settings_.belowRowsColor, look_.palette));
    }

    const qint64 firstPosition = std::max<qint64>(0, (body.top() - top + v) / rowHeight);
    const qint64 lastPosition =
        std::min<qint64>(qint64(model_.rowCount()) - 1, (body.bottom() - top + v) / rowHeight);
    const GridGeometry::Positions shown = geometry_.positionsBetween(body.left(), body.right());
    for (qint64 position = firstPosition; position <= lastPosition; ++position) {
        const qint32 row = model_.rowAtPosition(qint32(position));
        const int y = int(top + position * rowHeight - v);
        const bool highlighted = settings_.highlightFocusedRow && row == focus_.row;
        painter.fillRect(screen(QRect(body.left(), y, body.width(), rowHeight)),
                         look_.palette.brush(look_.group, QPalette::Base));
        if (highlighted && contentRight > 0) {
            painter.fillRect(
                screen(
                    QRect(0, y, int(std::min<qint64>(contentRight, body.right() + 1)), rowHeight)),
                look_.palette.brush(look_.group, QPalette::Highlight));
        }
        for (qint32 column = shown.first; column < shown.end; ++column) {
            const qint32 id = geometry_.columnAtPosition(column);
            if (geometry_.columnWidth(id) > 0)
                paintCell(painter, geometry_.cellBounds(row, id), row, id, highlighted);
        }
    }
    if (settings_.gridLines && model_.rowCount() > 0)
        paintGridLines(painter, body, firstPosition, lastPosition);
    if (focusShown_ && focus_.row >= 0 && focus_.row < model_.rowCount() && focus_.column >= 0 &&
        focusedButton(focus_.row, focus_.column) < 0)
        paintFocus(painter);
}

// The button a focused cell's keys press, which shows the focus itself; -1 when there is none.
qint32 GridPainter::focusedButton(qint32 row, qint32 columnId) const {
    if (!focusShown_ || !settings_.cellFocus || row != focus_.row || columnId != focus_.column)
        return -1;
    const qint32 index = model_.column(columnId).itemIndex;
    const ItemData* data = model_.itemIfAny(row, index);
    for (qint32 position = 0; data && position < data->controlCount(); ++position) {
        if (model_.controlEnabled(row, index, position))
            return position;
    }
    return -1;
}

void GridPainter::paintCell(QPainter& painter, const QRect& cell, qint32 row, qint32 columnId,
                            bool highlighted) const {
    const qint32 index = model_.column(columnId).itemIndex;
    const ItemData* data = model_.itemIfAny(row, index);
    if (!data)
        return;
    // A cell with buttons is all buttons: they cover the caption and any check box.
    if (data->hasControls()) {
        const qint32 count = qint32(data->controls->size());
        const qint32 focused = focusedButton(row, columnId);
        for (qint32 position = 0; position < count; ++position) {
            const ControlData& control = (*data->controls)[std::size_t(position)];
            PushButtonCell{control.caption, control.enabled,
                           input_.isPressed(row, index, position, columnId), control.alignment,
                           position == focused}
                .paint(painter, screen(GridGeometry::controlRect(cell, count, position)), look_);
        }
        return;
    }
    paintCaption(painter, cell, *data, row, columnId, highlighted);
}

void GridPainter::paintCaption(QPainter& painter, const QRect& cell, const ItemData& data,
                               qint32 row, qint32 columnId, bool highlighted) const {
    if (data.hasCheckBox)
        CheckBoxCell{data.checked}.paint(painter, screen(geometry_.checkBoxRect(cell)), look_);
    const QRect box = geometry_.captionBox(cell, data.hasCheckBox);
    if (data.caption.isEmpty() || box.width() <= 0)
        return;
    if (settings_.markupEnabled) {
        const QRect markupBox = box.adjusted(0, 1, 0, -1);
        if (markup::Drawing* drawing =
                drawings_.find(row, columnId, data.caption, markupBox.size())) {
            MarkupCell{*drawing}.paint(painter, screen(markupBox), look_.font, look_.direction);
            return;
        }
    }
    TextCell{data.caption, look_.palette.color(look_.group, highlighted ? QPalette::HighlightedText
                                                                        : QPalette::Text)}
        .paint(painter, screen(box));
}

void GridPainter::paintGridLines(QPainter& painter, const QRect& body, qint64 firstPosition,
                                 qint64 lastPosition) const {
    QStyleOption option;
    option.initFrom(&surface_);
    const QColor color = QColor::fromRgba(
        QRgb(look_.style->styleHint(QStyle::SH_Table_GridLineColor, &option, &surface_)));
    const int top = geometry_.bodyTop();
    const qint64 v = geometry_.vOffset();
    const qint64 h = geometry_.hOffset();
    const qint64 rowsBottom = top + geometry_.contentHeight() - v;
    const int linesBottom = int(std::min<qint64>(rowsBottom, body.bottom() + 1));
    const int linesRight =
        int(std::clamp<qint64>(geometry_.contentWidth() - h, 0, body.right() + 1));
    for (qint64 position = firstPosition; position <= lastPosition; ++position) {
        const int y = int(top + (position + 1) * geometry_.rowHeight() - v) - 1;
        painter.fillRect(screen(QRect(0, y, linesRight, 1)), color);
    }
    const GridGeometry::Positions shown = geometry_.positionsBetween(body.left(), body.right());
    for (qint32 column = shown.first; column < shown.end; ++column) {
        if (geometry_.columnLeft(column + 1) > geometry_.columnLeft(column)) {
            const int x = int(geometry_.columnLeft(column + 1) - h) - 1;
            painter.fillRect(screen(QRect(x, top, 1, linesBottom - top)), color);
        }
    }
}

void GridPainter::paintFocus(QPainter& painter) const {
    QRect rect = geometry_.cellBounds(focus_.row, focus_.column);
    if (!settings_.cellFocus) {
        const qint64 right = geometry_.contentWidth() - geometry_.hOffset();
        rect =
            QRect(0, rect.top(), int(std::clamp<qint64>(right, 0, geometry_.clientRect().width())),
                  rect.height());
    }
    const QColor background = look_.palette.color(
        look_.group, settings_.highlightFocusedRow ? QPalette::Highlight : QPalette::Base);
    drawFocusFrame(painter, screen(rect.adjusted(0, 0, -1, -1)), background, look_);
}

} // namespace gridkit::detail
