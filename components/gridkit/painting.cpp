// Painting. Only what lies in the dirty rectangle is visited, so the cost of a paint follows the
// size of the view, not the number of records. Lines are filled one-pixel rectangles at whole
// coordinates, which stay crisp at any device pixel ratio.
#include "grid_core.h"
#include "report_grid.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStyleOptionHeader>

#include <algorithm>

namespace gridkit::detail {

namespace {

// The first display position whose column reaches past content x.
std::size_t firstColumnFrom(const std::vector<qint64>& columnLeft, qint64 x) {
    const auto edge = std::upper_bound(columnLeft.begin(), columnLeft.end(), x);
    return edge == columnLeft.begin() ? 0 : std::size_t(edge - columnLeft.begin()) - 1;
}

Qt::Alignment buttonAlignment(qint16 bits, Qt::LayoutDirection direction) {
    const Qt::Alignment given = Qt::Alignment(int(bits));
    Qt::Alignment horizontal = given & (Qt::AlignHorizontal_Mask & ~Qt::AlignAbsolute);
    Qt::Alignment vertical = given & Qt::AlignVertical_Mask;
    if (!horizontal)
        horizontal = Qt::AlignHCenter;
    if (!vertical)
        vertical = Qt::AlignVCenter;
    const Qt::Alignment alignment = horizontal | vertical;
    if (given & Qt::AlignAbsolute)
        return alignment;
    return QStyle::visualAlignment(direction, alignment);
}

} // namespace

QString GridCore::captionText(const QString& caption) {
    if (markupEnabled && !caption.isEmpty()) {
        if (const markup::DocumentPtr document = documents.find(caption))
            return markup::textContent(*document);
    }
    return caption;
}

void GridCore::paint(QPainter& painter, const QRect& dirty) {
    if (groupBoxVisible && dirty.top() < groupBoxHeight())
        paintGroupBox(painter);
    paintHeader(painter, dirty);
    paintRows(painter, dirty);
}

void GridCore::paintGroupBox(QPainter& painter) {
    const QPalette& palette = view->palette();
    const QRect band(0, 0, clientRect().width(), groupBoxHeight());
    painter.fillRect(band, palette.brush(QPalette::Window));
    painter.fillRect(QRect(band.left(), band.bottom(), band.width(), 1),
                     palette.brush(QPalette::Mid));
}

void GridCore::paintHeader(QPainter& painter, const QRect& dirty) {
    const QRect band(0, groupBoxHeight(), clientRect().width(), headerHeight);
    if (!band.intersects(dirty))
        return;
    painter.save();
    painter.setClipRect(band.intersected(dirty));

    QStyle* style = view->style();
    QWidget* widget = view->viewport();
    const QPalette& palette = view->palette();
    const bool platform = headerStyle == 4;
    const int margin = style->pixelMetric(QStyle::PM_HeaderMargin, nullptr, widget);
    const qint64 offset = hOffset();
    const std::size_t count = columnOrder.size();

    auto drawSection = [&](const QRect& rect, qint32 id, std::size_t position) {
        const ColumnData* column = id >= 0 ? &columns[std::size_t(id)] : nullptr;
        const bool sorted = column && id == sortColumn;
        int textWidth = rect.width() - 2 * margin;
        if (sorted)
            textWidth -= rect.height() / 2 + margin;
        const QString text = column ? painter.fontMetrics().elidedText(
                                          column->caption, Qt::ElideRight, std::max(0, textWidth))
                                    : QString();
        if (platform) {
            QStyleOptionHeader option;
            option.initFrom(widget);
            option.rect = rect;
            option.orientation = Qt::Horizontal;
            option.state |= QStyle::State_Horizontal | QStyle::State_Raised;
            option.state &= ~QStyle::State_MouseOver;
            if (column && id == hoverHeader)
                option.state |= QStyle::State_MouseOver;
            if (column && id == pressedHeader && (sortOnClick || headerDragging))
                option.state |= QStyle::State_Sunken;
            option.section = column ? int(position) : int(count);
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
                    sortDescending ? QStyleOptionHeader::SortDown : QStyleOptionHeader::SortUp;
            }
            style->drawControl(QStyle::CE_Header, &option, &painter, widget);
            return;
        }
        painter.fillRect(rect, palette.brush(QPalette::Button));
        painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()),
                         palette.brush(QPalette::Mid));
        painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1),
                         palette.brush(QPalette::Mid));
        if (!text.isEmpty()) {
            painter.setPen(palette.color(QPalette::ButtonText));
            painter.drawText(rect.adjusted(margin, 0, -margin, 0),
                             Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
        }
    };

    for (std::size_t position = firstColumnFrom(columnLeft, dirty.left() + offset);
         position < count && columnLeft[position] - offset <= dirty.right(); ++position) {
        const QRect rect = headerRect(qint32(position));
        if (rect.width() > 0)
            drawSection(rect, columnOrder[position], position);
    }
    // The header runs on past the last column as one empty section, as a desktop header does.
    const qint64 end = contentWidth() - offset;
    if (end <= band.right())
        drawSection(QRect(int(std::max<qint64>(end, 0)), band.top(),
                          band.right() + 1 - int(std::max<qint64>(end, 0)), band.height()),
                    -1, count);

    if (headerDragging && dropPosition >= 0 && std::size_t(dropPosition) < count) {
        const QRect target = headerRect(dropPosition);
        QColor shade = palette.color(QPalette::Highlight);
        shade.setAlpha(90);
        painter.fillRect(target, shade);
    }
    painter.restore();
}

void GridCore::paintRows(QPainter& painter, const QRect& dirty) {
    const QRect client = clientRect();
    const int top = bodyTop();
    const QRect body = QRect(0, top, client.width(), client.height() - top).intersected(dirty);
    if (body.isEmpty())
        return;
    painter.save();
    painter.setClipRect(body);

    const QPalette& palette = view->palette();
    const QPalette::ColorGroup group = view->hasFocus() ? QPalette::Active : QPalette::Inactive;
    const qint64 v = vOffset();
    const qint64 h = hOffset();
    const qint64 rowsBottom = top + qint64(rowCount) * rowHeight - v;
    const qint64 contentRight = contentWidth() - h;

    // Below the last row: the colour the host chose for it.
    if (rowsBottom <= body.bottom()) {
        const int from = int(std::max<qint64>(rowsBottom, body.top()));
        painter.fillRect(QRect(body.left(), from, body.width(), body.bottom() + 1 - from),
                         host::colors::resolve(belowRowsColor, palette));
    }

    const qint64 firstPosition = std::max<qint64>(0, (body.top() - top + v) / rowHeight);
    const qint64 lastPosition =
        std::min<qint64>(qint64(rowCount) - 1, (body.bottom() - top + v) / rowHeight);
    const std::size_t firstColumn = firstColumnFrom(columnLeft, body.left() + h);
    const QColor lineColor = [&] {
        QStyleOption option;
        option.initFrom(view);
        return QColor::fromRgba(
            QRgb(view->style()->styleHint(QStyle::SH_Table_GridLineColor, &option, view)));
    }();

    for (qint64 position = firstPosition; position <= lastPosition; ++position) {
        const qint32 row = rowAtDisplayPosition(qint32(position));
        const int y = int(top + position * rowHeight - v);
        const QRect rowRect(body.left(), y, body.width(), rowHeight);
        const bool highlighted = highlightFocusedRow && row == focusRow;
        painter.fillRect(rowRect, palette.brush(group, QPalette::Base));
        if (highlighted && contentRight > 0) {
            painter.fillRect(
                QRect(0, y, int(std::min<qint64>(contentRight, body.right() + 1)), rowHeight),
                palette.brush(group, QPalette::Highlight));
        }
        for (std::size_t column = firstColumn;
             column < columnOrder.size() && columnLeft[column] - h <= body.right(); ++column) {
            const qint32 id = columnOrder[column];
            if (columns[std::size_t(id)].width > 0)
                paintCell(painter, cellRect(row, id), row, id, highlighted);
        }
    }

    if (gridLines && rowCount > 0) {
        const int linesBottom = int(std::min<qint64>(rowsBottom, body.bottom() + 1));
        const int linesRight = int(std::clamp<qint64>(contentRight, 0, body.right() + 1));
        for (qint64 position = firstPosition; position <= lastPosition; ++position) {
            const int y = int(top + (position + 1) * rowHeight - v) - 1;
            painter.fillRect(QRect(0, y, linesRight, 1), lineColor);
        }
        for (std::size_t column = firstColumn;
             column < columnOrder.size() && columnLeft[column] - h <= body.right(); ++column) {
            const int x = int(columnLeft[column + 1] - h) - 1;
            if (columnLeft[column + 1] > columnLeft[column])
                painter.fillRect(QRect(x, top, 1, linesBottom - top), lineColor);
        }
    }

    if (view->hasFocus() && focusRow >= 0 && focusRow < rowCount && focusColumn >= 0) {
        QRect rect = cellRect(focusRow, focusColumn);
        if (!cellFocus)
            rect = QRect(0, rect.top(), int(std::clamp<qint64>(contentRight, 0, client.width())),
                         rowHeight);
        QStyleOptionFocusRect option;
        option.initFrom(view->viewport());
        option.rect = rect.adjusted(0, 0, -1, -1);
        option.backgroundColor =
            palette.color(group, highlightFocusedRow ? QPalette::Highlight : QPalette::Base);
        view->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter,
                                     view->viewport());
    }
    painter.restore();
}

void GridCore::paintCell(QPainter& painter, const QRect& cell, qint32 row, qint32 columnId,
                         bool highlighted) {
    const qint32 index = columns[std::size_t(columnId)].itemIndex;
    const ItemData* data = itemIfAny(row, index);
    if (!data)
        return;
    // A cell with buttons is all buttons: they cover the caption and any check box.
    if (data->controls && !data->controls->empty()) {
        const qint32 count = qint32(data->controls->size());
        for (qint32 position = 0; position < count; ++position) {
            const ControlData& control = (*data->controls)[std::size_t(position)];
            const bool sunken = pressedControlDown && control.enabled &&
                                pressedControl == ControlRef{row, index, position, columnId};
            paintButton(painter, controlRect(cell, count, position), control, sunken);
        }
        return;
    }
    QRect box = cell.adjusted(2, 0, -2, 0);
    if (data->hasCheckBox) {
        const QRect indicator = checkBoxRect(cell);
        paintCheckBox(painter, indicator, data->checked);
        box.setLeft(indicator.right() + 1 + 4);
    }
    if (!data->caption.isEmpty() && box.width() > 0)
        paintCaption(painter, box, data->caption, highlighted);
}

void GridCore::paintCaption(QPainter& painter, const QRect& box, const QString& caption,
                            bool highlighted) {
    if (markupEnabled) {
        if (const markup::DocumentPtr document = documents.find(caption)) {
            markup::render(painter, *document, QRectF(box.adjusted(0, 1, 0, -1)), view->font());
            return;
        }
    }
    const QPalette& palette = view->palette();
    const QPalette::ColorGroup group = view->hasFocus() ? QPalette::Active : QPalette::Inactive;
    painter.setPen(palette.color(group, highlighted ? QPalette::HighlightedText : QPalette::Text));
    // elidedText hands back the caption itself when it fits, so one measuring pass decides both;
    // shaping the text is most of what a caption costs to paint.
    constexpr int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    painter.drawText(box, flags,
                     painter.fontMetrics().elidedText(caption, Qt::ElideRight, box.width()));
}

void GridCore::paintButton(QPainter& painter, const QRect& rect, const ControlData& control,
                           bool sunken) {
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    QWidget* widget = view->viewport();
    QStyle* style = view->style();
    const QPalette& palette = view->palette();
    const QPalette::ColorGroup group = control.enabled ? QPalette::Active : QPalette::Disabled;
    QRect content = rect.adjusted(3, 1, -3, -1);
    if (themedControls) {
        QStyleOptionButton option;
        option.initFrom(widget);
        option.rect = rect;
        option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
        option.state.setFlag(QStyle::State_Enabled, control.enabled);
        option.state |= sunken ? QStyle::State_Sunken : QStyle::State_Raised;
        style->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, widget);
        if (sunken) {
            content.translate(style->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, widget),
                              style->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, widget));
        }
    } else {
        painter.fillRect(rect, palette.brush(group, sunken ? QPalette::Mid : QPalette::Button));
        const QBrush border = palette.brush(group, QPalette::Dark);
        painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), border);
        painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), border);
        painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), border);
        painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), border);
        if (sunken)
            content.translate(1, 1);
    }
    if (control.caption.isEmpty() || content.width() <= 0)
        return;
    painter.setPen(palette.color(group, QPalette::ButtonText));
    const QString text =
        painter.fontMetrics().elidedText(control.caption, Qt::ElideRight, content.width());
    painter.drawText(content,
                     int(buttonAlignment(control.alignment, view->layoutDirection())) |
                         Qt::TextSingleLine,
                     text);
}

void GridCore::paintCheckBox(QPainter& painter, const QRect& rect, bool checked) {
    const QPalette& palette = view->palette();
    if (themedControls) {
        QStyleOptionButton option;
        option.initFrom(view->viewport());
        option.rect = rect;
        option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
        option.state |= checked ? QStyle::State_On : QStyle::State_Off;
        view->style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter,
                                     view->viewport());
        return;
    }
    painter.fillRect(rect, palette.brush(QPalette::Base));
    const QBrush border = palette.brush(QPalette::Text);
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), border);
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), border);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), border);
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), border);
    if (checked) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(palette.color(QPalette::Text), 2));
        const QRectF inner = QRectF(rect).adjusted(3, 3, -3, -3);
        const QPointF mark[] = {{inner.left(), inner.center().y()},
                                {inner.left() + inner.width() * 0.4, inner.bottom()},
                                {inner.right(), inner.top()}};
        painter.drawPolyline(mark, 3);
        painter.restore();
    }
}

} // namespace gridkit::detail
