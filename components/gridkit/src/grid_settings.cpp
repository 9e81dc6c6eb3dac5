// The view's settings and its appearance object: each setting belongs to this view, and a change
// repaints only the part of it that the setting shows in.
#include "gridgauge/gridkit/report_grid.h"

#include "cell_drawings.h"
#include "geometry.h"
#include "settings.h"

#include "gridgauge/host/runtime_error.h"

using host::RuntimeError;

namespace gridkit {

// --- Appearance ---

Appearance::Appearance(ReportGrid& grid)
    : grid_(&grid) {}

ReportGrid& Appearance::grid() const {
    if (!grid_)
        throw RuntimeError(host::ObjectNotSet);
    return *grid_;
}

void Appearance::setHeaderStyle(qint32 style) {
    grid().setHeaderStyle(style);
}
qint32 Appearance::headerStyle() const {
    return grid().headerStyle();
}
void Appearance::setThemedControls(bool themed) {
    grid().setThemedControls(themed);
}
bool Appearance::themedControls() const {
    return grid().themedControls();
}
void Appearance::setBelowRowsColor(quint32 color) {
    grid().setBelowRowsColor(color);
}
quint32 Appearance::belowRowsColor() const {
    return grid().belowRowsColor();
}
void Appearance::setHighlightFocusedRow(bool highlight) {
    grid().setHighlightFocusedRow(highlight);
}
bool Appearance::highlightFocusedRow() const {
    return grid().highlightFocusedRow();
}

// --- settings ---

template <typename T>
void ReportGrid::changeSetting(T detail::ViewSettings::*setting, T value, Repaint what) {
    if (!detail::assign(settings_.get()->*setting, value))
        return;
    switch (what) {
    case Repaint::Nothing:
        break;
    case Repaint::Header:
        invalidate(geometry_->headerBand());
        break;
    case Repaint::Body:
        invalidate(geometry_->bodyRect());
        break;
    case Repaint::FocusedRow:
        if (focus_.row >= 0 && focus_.row < model_->rowCount())
            invalidate(geometry_->rowBand(focus_.row));
        break;
    }
}

void ReportGrid::setMarkupEnabled(bool enabled) {
    drawings_->clear();
    changeSetting(&detail::ViewSettings::markupEnabled, enabled, Repaint::Body);
}
bool ReportGrid::markupEnabled() const {
    return settings_->markupEnabled;
}

void ReportGrid::setGroupBoxVisible(bool visible) {
    if (!detail::assign(settings_->groupBoxVisible, visible))
        return;
    geometry_->setGroupBoxVisible(visible);
    updateScrollBars();
    invalidateAll();
    emit overlayAreaChanged();
}
bool ReportGrid::groupBoxVisible() const {
    return settings_->groupBoxVisible;
}

void ReportGrid::setColumnReorderAllowed(bool allowed) {
    changeSetting(&detail::ViewSettings::reorderAllowed, allowed, Repaint::Nothing);
}
bool ReportGrid::columnReorderAllowed() const {
    return settings_->reorderAllowed;
}

void ReportGrid::setSortOnHeaderClick(bool sort) {
    changeSetting(&detail::ViewSettings::sortOnClick, sort, Repaint::Nothing);
    if (!sort)
        model_->clearSort();
}
bool ReportGrid::sortOnHeaderClick() const {
    return settings_->sortOnClick;
}

void ReportGrid::setCellFocus(bool byCell) {
    changeSetting(&detail::ViewSettings::cellFocus, byCell, Repaint::FocusedRow);
}
bool ReportGrid::cellFocus() const {
    return settings_->cellFocus;
}

void ReportGrid::setGridLinesVisible(bool visible) {
    changeSetting(&detail::ViewSettings::gridLines, visible, Repaint::Body);
}
bool ReportGrid::gridLinesVisible() const {
    return settings_->gridLines;
}

void ReportGrid::setHeaderStyle(qint32 style) {
    if (style < 0 || style > 4)
        throw RuntimeError(host::InvalidPropertyValue);
    changeSetting(&detail::ViewSettings::headerStyle, style, Repaint::Header);
}
qint32 ReportGrid::headerStyle() const {
    return settings_->headerStyle;
}

void ReportGrid::setThemedControls(bool themed) {
    changeSetting(&detail::ViewSettings::themedControls, themed, Repaint::Body);
    updateMetrics(); // a flat check box has a size of its own
}
bool ReportGrid::themedControls() const {
    return settings_->themedControls;
}

void ReportGrid::setBelowRowsColor(quint32 color) {
    changeSetting(&detail::ViewSettings::belowRowsColor, host::colors::validated(color),
                  Repaint::Body);
}
quint32 ReportGrid::belowRowsColor() const {
    return settings_->belowRowsColor;
}

void ReportGrid::setHighlightFocusedRow(bool highlight) {
    changeSetting(&detail::ViewSettings::highlightFocusedRow, highlight, Repaint::FocusedRow);
}
bool ReportGrid::highlightFocusedRow() const {
    return settings_->highlightFocusedRow;
}

} // namespace gridkit
