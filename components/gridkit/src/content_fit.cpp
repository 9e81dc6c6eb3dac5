#include "content_fit.h"

#include "cell_drawings.h"
#include "cell_painters.h"
#include "geometry.h"
#include "gridgauge/gridkit/grid_model.h"
#include "settings.h"

#include <QFontMetricsF>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace gridkit::detail {

namespace {

HeaderCaption headerCaption(const ContentSources& s, qint32 columnId) {
    return {s.surface.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &s.surface),
            columnId == s.model.sortColumn()};
}

// Markup draws itself in whatever box it is given; only plain text is measured and cut.
bool isPlainText(const ContentSources& s, qint32 row, qint32 columnId, const QString& caption) {
    return !s.settings.markupEnabled || !s.drawings.find(row, columnId, caption);
}

int cellWidthFor(const ContentSources& s, qint32 row, qint32 columnId, const ItemData& data) {
    const QFontMetricsF metrics(s.surface.font());
    if (data.hasControls()) {
        // Buttons share the cell evenly, each 1 pixel in from its share all round.
        int widest = 0;
        for (const ControlData& control : *data.controls)
            widest = std::max(widest, TextCell::widthFor(metrics, control.caption));
        return data.controlCount() * (PushButtonCell::widthFor(widest) + 2);
    }
    // The caption box's insets from the cell, as the geometry places it.
    const QRect probe(0, 0, 1000, s.geometry.rowHeight());
    const QRect box = s.geometry.captionBox(probe, data.hasCheckBox);
    const int insets = probe.width() - box.width();
    if (data.caption.isEmpty() || !isPlainText(s, row, columnId, data.caption))
        return data.hasCheckBox ? s.geometry.checkBoxRect(probe).right() + 1 + 2 : 0;
    return insets + TextCell::widthFor(metrics, data.caption);
}

} // namespace

qint32 fittingWidth(const ContentSources& s, qint32 columnId) {
    const ColumnData& column = s.model.column(columnId);
    const QFontMetricsF metrics(s.surface.font());
    int width = headerCaption(s, columnId)
                    .sectionWidthFor(TextCell::widthFor(metrics, column.caption),
                                     s.geometry.headerHeight());
    for (qint32 row = 0; row < s.model.rowCount(); ++row) {
        if (const ItemData* data = s.model.itemIfAny(row, column.itemIndex))
            width = std::max(width, cellWidthFor(s, row, columnId, *data));
    }
    return std::max<qint32>(width, Column::MinimumUserWidth);
}

namespace {

std::optional<CutText> cutHeaderCaption(const ContentSources& s, qint32 position) {
    const qint32 id = s.geometry.columnAtPosition(position);
    const QString& caption = s.model.column(id).caption;
    const QRect section = s.geometry.headerRect(position);
    if (TextCell::fits(s.surface.fontMetrics(), caption, headerCaption(s, id).room(section.size())))
        return std::nullopt;
    return CutText{caption, section};
}

std::optional<CutText> cutCellText(const ContentSources& s, qint32 row, qint32 columnId,
                                   const QPoint& at) {
    const ItemData* data = s.model.itemIfAny(row, s.model.column(columnId).itemIndex);
    if (!data)
        return std::nullopt;
    const QRect cell = s.geometry.cellBounds(row, columnId);
    const QFontMetrics metrics = s.surface.fontMetrics();
    if (data->hasControls()) {
        for (qint32 i = 0; i < data->controlCount(); ++i) {
            const QRect button = GridGeometry::controlRect(cell, data->controlCount(), i);
            const QString& caption = (*data->controls)[std::size_t(i)].caption;
            if (button.contains(at) &&
                !TextCell::fits(metrics, caption, PushButtonCell::captionBox(button).width()))
                return CutText{caption, button};
        }
        return std::nullopt;
    }
    const QRect box = s.geometry.captionBox(cell, data->hasCheckBox);
    if (data->caption.isEmpty() || box.width() <= 0 ||
        !isPlainText(s, row, columnId, data->caption) ||
        TextCell::fits(metrics, data->caption, box.width()))
        return std::nullopt;
    return CutText{data->caption, cell};
}

} // namespace

std::optional<CutText> cutTextAt(const ContentSources& s, const QPoint& at) {
    const std::optional<GridGeometry::Hit> hit = s.geometry.hitTest(at.x(), at.y());
    if (!hit || hit->columnId < 0)
        return std::nullopt;
    if (at.y() < s.geometry.bodyTop())
        return cutHeaderCaption(s, s.geometry.positionOfColumn(hit->columnId));
    if (hit->row < 0)
        return std::nullopt;
    return cutCellText(s, hit->row, hit->columnId, at);
}

} // namespace gridkit::detail
