#include "report_grid.h"

#include "accessibility.h"
#include "grid_core.h"

#include "host/control_registry.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>

#include <algorithm>
#include <limits>

using host::RuntimeError;

namespace gridkit {

namespace detail {
GridCore& coreOf(const ReportGrid& grid) {
    return *grid.core_;
}
} // namespace detail

using detail::GridCore;

// --- Appearance ---

Appearance::Appearance(detail::CoreRef core)
    : core_(std::move(core)) {}

void Appearance::setHeaderStyle(qint32 style) {
    auto core = GridCore::lock(core_);
    if (style < 0 || style > 4)
        throw RuntimeError(host::InvalidPropertyValue);
    core->headerStyle = style;
    core->view->viewport()->update();
}

qint32 Appearance::headerStyle() const {
    return GridCore::lock(core_)->headerStyle;
}

void Appearance::setThemedControls(bool themed) {
    auto core = GridCore::lock(core_);
    core->themedControls = themed;
    core->view->viewport()->update();
}

bool Appearance::themedControls() const {
    return GridCore::lock(core_)->themedControls;
}

void Appearance::setBelowRowsColor(quint32 color) {
    auto core = GridCore::lock(core_);
    if (!host::colors::isValid(color))
        throw RuntimeError(host::InvalidPropertyValue);
    core->belowRowsColor = color;
    core->view->viewport()->update();
}

quint32 Appearance::belowRowsColor() const {
    return GridCore::lock(core_)->belowRowsColor;
}

void Appearance::setHighlightFocusedRow(bool highlight) {
    auto core = GridCore::lock(core_);
    core->highlightFocusedRow = highlight;
    core->view->viewport()->update();
}

bool Appearance::highlightFocusedRow() const {
    return GridCore::lock(core_)->highlightFocusedRow;
}

// --- ReportGrid ---

ReportGrid::ReportGrid(QWidget* parent)
    : QAbstractScrollArea(parent)
    , core_(std::make_shared<GridCore>(this)) {
    detail::installAccessibleFactory();
    // Viewport coordinates are the grid's own: hosts place widgets over cells by item bounds.
    setFrameShape(QFrame::NoFrame);
    setViewportMargins(0, 0, 0, 0);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    // Every pixel is painted, so Qt need not clear the viewport first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    horizontalScrollBar()->setSingleStep(20);
    core_->updateMetrics();
    core_->relayout();
}

ReportGrid::~ReportGrid() {
    // Handles that outlive the grid are refused from here on, even while an event handler that
    // destroyed the grid still holds the core for the rest of its call.
    core_->view = nullptr;
    core_->anchor->core = nullptr;
}

Appearance ReportGrid::appearance() {
    return Appearance(core_->ref());
}
ColumnList ReportGrid::columns() {
    return ColumnList(core_->ref());
}
RecordList ReportGrid::records() {
    return RecordList(core_->ref());
}
RowList ReportGrid::rows() {
    return RowList(core_->ref());
}

void ReportGrid::rebuild() {
    GridCore& core = *core_;
    if (core.records.size() > std::size_t(std::numeric_limits<qint32>::max()))
        throw RuntimeError(host::Overflow);
    core.rowCount = qint32(core.records.size());
    ++core.generation;
    if (core.sortColumn >= 0)
        core.applySort();
    // Rows only grow, so no scroll offset moves here and no notification is due.
    core.updateScrollBars();
    viewport()->update();
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent event(this, QAccessibleTableModelChangeEvent::ModelReset);
        QAccessible::updateAccessibility(&event);
    }
    emit rebuilt();
}

void ReportGrid::redraw() {
    viewport()->update();
}

std::optional<HitTestInfo> ReportGrid::hitTest(qint32 x, qint32 y) const {
    return core_->hitTest(x, y);
}

void ReportGrid::setMarkupEnabled(bool enabled) {
    core_->markupEnabled = enabled;
    viewport()->update();
}

bool ReportGrid::markupEnabled() const {
    return core_->markupEnabled;
}

void ReportGrid::setGroupBoxVisible(bool visible) {
    if (core_->groupBoxVisible == visible)
        return;
    core_->groupBoxVisible = visible;
    core_->updateScrollBars();
    viewport()->update();
}

bool ReportGrid::groupBoxVisible() const {
    return core_->groupBoxVisible;
}

void ReportGrid::setColumnReorderAllowed(bool allowed) {
    core_->reorderAllowed = allowed;
}
bool ReportGrid::columnReorderAllowed() const {
    return core_->reorderAllowed;
}

void ReportGrid::setSortOnHeaderClick(bool sort) {
    core_->sortOnClick = sort;
    if (!sort && core_->sortColumn >= 0) {
        core_->sortColumn = -1;
        core_->applySort();
        viewport()->update();
    }
}

bool ReportGrid::sortOnHeaderClick() const {
    return core_->sortOnClick;
}

void ReportGrid::setCellFocus(bool byCell) {
    core_->cellFocus = byCell;
    viewport()->update();
}

bool ReportGrid::cellFocus() const {
    return core_->cellFocus;
}

void ReportGrid::setGridLinesVisible(bool visible) {
    core_->gridLines = visible;
    viewport()->update();
}

bool ReportGrid::gridLinesVisible() const {
    return core_->gridLines;
}

int ReportGrid::headerHeight() const {
    return core_->headerHeight;
}
int ReportGrid::rowHeight() const {
    return core_->rowHeight;
}

QSize ReportGrid::sizeHint() const {
    const qint64 width = std::min<qint64>(core_->contentWidth(), 640);
    const qint64 height = core_->bodyTop() + std::min(core_->rowCount, 12) * core_->rowHeight;
    return QSize(int(std::max<qint64>(width, 160)), int(std::max<qint64>(height, 100)));
}

// --- events ---

void ReportGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    core_->paint(painter, event->rect());
}

void ReportGrid::resizeEvent(QResizeEvent*) {
    core_->updateScrollBars();
}

void ReportGrid::scrollContentsBy(int, int) {
    // The header stays put vertically, so the view cannot simply be blitted.
    viewport()->update();
    emit viewScrolled();
}

void ReportGrid::mousePressEvent(QMouseEvent* event) {
    core_->mousePress(event);
}
// Each press of a double click is a press: two clicks on a button, two toggles of a check box.
void ReportGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    core_->mousePress(event);
}
void ReportGrid::mouseMoveEvent(QMouseEvent* event) {
    core_->mouseMove(event);
}
void ReportGrid::mouseReleaseEvent(QMouseEvent* event) {
    core_->mouseRelease(event);
}

void ReportGrid::keyPressEvent(QKeyEvent* event) {
    if (!core_->keyPress(event))
        QAbstractScrollArea::keyPressEvent(event);
}

void ReportGrid::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void ReportGrid::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void ReportGrid::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        core_->updateMetrics();
        core_->relayout();
        viewport()->update();
    }
}

bool ReportGrid::viewportEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::ToolTip:
        return core_->toolTip(static_cast<QHelpEvent*>(event));
    case QEvent::Leave:
        core_->mouseLeave();
        break;
    default:
        break;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void registerControls() {
    host::ControlRegistry::instance().add(QStringLiteral("GridKit.ReportGrid"),
                                          [](QWidget* parent) { return new ReportGrid(parent); });
}

} // namespace gridkit
