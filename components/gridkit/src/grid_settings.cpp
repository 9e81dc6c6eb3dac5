// The view's settings: each belongs to this view, a change repaints only the part of it that the
// setting shows in, and a value refused warns and changes nothing.
#include "header_band.h"
#include "report_grid_p.h"

#include <QScrollBar>

namespace gridgauge::gridkit {

namespace {

template <typename T> bool assign(T& field, const T& value) {
    if (field == value)
        return false;
    field = value;
    return true;
}

} // namespace

bool ReportGrid::groupBoxVisible() const {
    return d->settings.groupBoxVisible;
}

void ReportGrid::setGroupBoxVisible(bool visible) {
    if (!assign(d->settings.groupBoxVisible, visible))
        return;
    d->geometry.setGroupBoxVisible(visible);
    d->updateMetrics();
    d->updateScrollBars();
    d->invalidateAll();
    emit overlayAreaChanged();
    emit groupBoxVisibleChanged(visible);
}

bool ReportGrid::columnsMovable() const {
    return d->settings.columnsMovable;
}

void ReportGrid::setColumnsMovable(bool movable) {
    if (assign(d->settings.columnsMovable, movable))
        emit columnsMovableChanged(movable);
}

bool ReportGrid::isSortingEnabled() const {
    return d->settings.sortingEnabled;
}

void ReportGrid::setSortingEnabled(bool enabled) {
    if (assign(d->settings.sortingEnabled, enabled))
        emit sortingEnabledChanged(enabled);
}

bool ReportGrid::cellFocus() const {
    return d->settings.cellFocus;
}

void ReportGrid::setCellFocus(bool byCell) {
    if (!assign(d->settings.cellFocus, byCell))
        return;
    if (d->isCurrentValid())
        d->invalidate(d->geometry.rowBand(currentIndex().row()));
    emit cellFocusChanged(byCell);
}

bool ReportGrid::gridLinesVisible() const {
    return d->settings.gridLines;
}

void ReportGrid::setGridLinesVisible(bool visible) {
    if (!assign(d->settings.gridLines, visible))
        return;
    viewport()->update();
    emit gridLinesVisibleChanged(visible);
}

ReportGrid::HeaderStyle ReportGrid::headerStyle() const {
    return d->settings.headerStyle;
}

void ReportGrid::setHeaderStyle(HeaderStyle style) {
    if (style != FlatHeader && style != StyledHeader) {
        qWarning("ReportGrid::setHeaderStyle: no header style %d", int(style));
        return;
    }
    if (!assign(d->settings.headerStyle, style))
        return;
    d->header->update();
    emit headerStyleChanged(style);
}

QColor ReportGrid::belowRowsColor() const {
    return d->settings.belowRowsColor;
}

void ReportGrid::setBelowRowsColor(const QColor& color) {
    if (!assign(d->settings.belowRowsColor, color))
        return;
    viewport()->update();
    emit belowRowsColorChanged();
}

QPalette::ColorRole ReportGrid::belowRowsRole() const {
    return d->settings.belowRowsRole;
}

void ReportGrid::setBelowRowsRole(QPalette::ColorRole role) {
    if (role < 0 || role >= QPalette::NColorRoles) {
        qWarning("ReportGrid::setBelowRowsRole: no colour role %d", int(role));
        return;
    }
    if (!assign(d->settings.belowRowsRole, role))
        return;
    viewport()->update();
    emit belowRowsColorChanged();
}

int ReportGrid::minimumColumnWidth() const {
    return d->settings.minimumColumnWidth;
}

void ReportGrid::setMinimumColumnWidth(int width) {
    if (width < 0) {
        qWarning("ReportGrid::setMinimumColumnWidth: %d refused", width);
        return;
    }
    if (assign(d->settings.minimumColumnWidth, width))
        emit minimumColumnWidthChanged(width);
}

} // namespace gridgauge::gridkit
