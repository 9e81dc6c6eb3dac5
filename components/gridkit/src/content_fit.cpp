#include "content_fit.h"

#include "cell_painters.h"
#include "report_grid_p.h"

#include <QFontMetricsF>
#include <QStyle>

namespace gridgauge::gridkit::detail {

namespace {

HeaderCaption headerCaption(const ReportGridPrivate& view, int column) {
    return {view.q->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, view.q),
            column == view.sortColumn};
}

QString header(const ReportGridPrivate& view, int column, int role) {
    const QAbstractItemModel* model = view.q->model();
    return model ? model->headerData(column, Qt::Horizontal, role).toString() : QString();
}

} // namespace

int headerWidthFor(const ReportGridPrivate& view, int column) {
    const QFontMetricsF metrics(view.q->font());
    return headerCaption(view, column)
        .sectionWidthFor(TextCell::widthFor(metrics, header(view, column, Qt::DisplayRole)),
                         view.geometry.headerHeight());
}

std::optional<CutText> headerTipAt(const ReportGridPrivate& view, const QPoint& at) {
    const GridGeometry& geometry = view.geometry;
    if (at.y() < geometry.groupBoxHeight() || at.y() >= geometry.bandHeight())
        return std::nullopt;
    const int position = geometry.positionAtX(at.x());
    if (position < 0)
        return std::nullopt;
    const int column = geometry.columnAtPosition(position);
    const QRect section = geometry.headerRect(position);
    // A header says what a click on it does, while a click sorts.
    if (view.settings.sortingEnabled) {
        const QString tip = header(view, column, Qt::ToolTipRole);
        if (!tip.isEmpty())
            return CutText{tip, section};
    }
    const QString caption = header(view, column, Qt::DisplayRole);
    if (TextCell::fits(view.q->fontMetrics(), caption,
                       headerCaption(view, column).room(section.size())))
        return std::nullopt;
    return CutText{caption, section};
}

} // namespace gridgauge::gridkit::detail
