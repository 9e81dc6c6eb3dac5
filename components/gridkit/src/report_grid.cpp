#include "gridgauge/gridkit/report_grid.h"

#include "accessibility.h"
#include "cell_painters.h"
#include "geometry.h"
#include "grid_painter.h"
#include "input.h"
#include "scroll_bar.h"

#include "gridgauge/host/control_registry.h"
#include "gridgauge/host/runtime_error.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionHeader>

#include <algorithm>

using host::RuntimeError;

namespace gridkit {

// --- Appearance ---

Appearance::Appearance(detail::ModelRef model, ReportGrid* grid)
    : model_(std::move(model))
    , grid_(grid) {}

ReportGrid& Appearance::grid() const {
    model_.lock();
    return *grid_;
}

void Appearance::setHeaderStyle(qint32 style) {
    ReportGrid& g = grid();
    if (style < 0 || style > 4)
        throw RuntimeError(host::InvalidPropertyValue);
    if (g.settings_.headerStyle == style)
        return;
    g.settings_.headerStyle = style;
    g.invalidate(g.geometry_->headerBand());
}

qint32 Appearance::headerStyle() const {
    return grid().settings_.headerStyle;
}

void Appearance::setThemedControls(bool themed) {
    ReportGrid& g = grid();
    if (g.settings_.themedControls == themed)
        return;
    g.settings_.themedControls = themed;
    g.invalidate(g.geometry_->bodyRect());
}

bool Appearance::themedControls() const {
    return grid().settings_.themedControls;
}

void Appearance::setBelowRowsColor(quint32 color) {
    ReportGrid& g = grid();
    if (!host::colors::isValid(color))
        throw RuntimeError(host::InvalidPropertyValue);
    if (g.settings_.belowRowsColor == color)
        return;
    g.settings_.belowRowsColor = color;
    g.invalidate(g.geometry_->bodyRect());
}

quint32 Appearance::belowRowsColor() const {
    return grid().settings_.belowRowsColor;
}

void Appearance::setHighlightFocusedRow(bool highlight) {
    ReportGrid& g = grid();
    if (g.settings_.highlightFocusedRow == highlight)
        return;
    g.settings_.highlightFocusedRow = highlight;
    if (g.input_->hasFocusCell())
        g.invalidate(g.geometry_->rowBand(g.input_->focusRow()));
}

bool Appearance::highlightFocusedRow() const {
    return grid().settings_.highlightFocusedRow;
}

// --- ReportGrid ---

ReportGrid::ReportGrid(QWidget* parent)
    : QAbstractScrollArea(parent)
    , geometry_(std::make_unique<detail::GridGeometry>(model_))
    , input_(std::make_unique<detail::GridInput>(*this, model_, *geometry_, settings_)) {
    detail::installAccessibleFactory();
    model_.setObserver(this);
    model_.setGeometry(geometry_.get());
    // Viewport coordinates are the grid's own: hosts place widgets over cells by item bounds.
    setFrameShape(QFrame::NoFrame);
    setViewportMargins(0, 0, 0, 0);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    // Every pixel is painted, so Qt need not clear the viewport first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    setVerticalScrollBar(new detail::ScrollBar(Qt::Vertical));
    setHorizontalScrollBar(new detail::ScrollBar(Qt::Horizontal));
    horizontalScrollBar()->setSingleStep(20);
    updateMetrics();
    updateScrollBars();
}

ReportGrid::~ReportGrid() {
    // The model goes with the grid and cuts every handle off; nothing must reach the view from it
    // while the members are taken down.
    model_.setObserver(nullptr);
    model_.setGeometry(nullptr);
}

Appearance ReportGrid::appearance() {
    return Appearance(model_.ref(), this);
}
ColumnList ReportGrid::columns() const {
    return const_cast<GridModel&>(model_).columns();
}
RecordList ReportGrid::records() const {
    return const_cast<GridModel&>(model_).records();
}
RowList ReportGrid::rows() const {
    return const_cast<GridModel&>(model_).rows();
}

void ReportGrid::rebuild() {
    model_.rebuild();
    emit rebuilt();
}

void ReportGrid::redraw() {
    if (!pending_.isEmpty())
        viewport()->repaint(pending_);
}

std::optional<HitTestInfo> ReportGrid::hitTest(qint32 x, qint32 y) const {
    const std::optional<detail::GridGeometry::Hit> hit = geometry_->hitTest(x, y);
    if (!hit)
        return std::nullopt;
    return model_.hitInfo(hit->row, hit->columnId);
}

void ReportGrid::setMarkupEnabled(bool enabled) {
    if (model_.markupEnabled() == enabled)
        return;
    model_.setMarkupEnabled(enabled);
    invalidate(geometry_->bodyRect());
}

bool ReportGrid::markupEnabled() const {
    return model_.markupEnabled();
}

void ReportGrid::setGroupBoxVisible(bool visible) {
    if (settings_.groupBoxVisible == visible)
        return;
    settings_.groupBoxVisible = visible;
    geometry_->setGroupBoxVisible(visible);
    updateScrollBars();
    invalidateAll();
    host::overlayAreaChanged(*this);
}

bool ReportGrid::groupBoxVisible() const {
    return settings_.groupBoxVisible;
}

void ReportGrid::setColumnReorderAllowed(bool allowed) {
    settings_.reorderAllowed = allowed;
}
bool ReportGrid::columnReorderAllowed() const {
    return settings_.reorderAllowed;
}

void ReportGrid::setSortOnHeaderClick(bool sort) {
    settings_.sortOnClick = sort;
    if (!sort)
        model_.clearSort();
}

bool ReportGrid::sortOnHeaderClick() const {
    return settings_.sortOnClick;
}

void ReportGrid::setCellFocus(bool byCell) {
    if (settings_.cellFocus == byCell)
        return;
    settings_.cellFocus = byCell;
    if (input_->hasFocusCell())
        invalidate(geometry_->rowBand(input_->focusRow()));
}

bool ReportGrid::cellFocus() const {
    return settings_.cellFocus;
}

void ReportGrid::setGridLinesVisible(bool visible) {
    if (settings_.gridLines == visible)
        return;
    settings_.gridLines = visible;
    invalidate(geometry_->bodyRect());
}

bool ReportGrid::gridLinesVisible() const {
    return settings_.gridLines;
}

int ReportGrid::headerHeight() const {
    return geometry_->headerHeight();
}
int ReportGrid::rowHeight() const {
    return geometry_->rowHeight();
}

QRegion ReportGrid::overlayArea() const {
    return QRegion(geometry_->bodyRect());
}

QSize ReportGrid::sizeHint() const {
    const qint64 width = std::min<qint64>(geometry_->contentWidth(), 640);
    const qint64 height =
        geometry_->bodyTop() + std::min(model_.rowCount(), 12) * geometry_->rowHeight();
    return QSize(int(std::max<qint64>(width, 160)), int(std::max<qint64>(height, 100)));
}

// --- what changed, repainted where it shows ---

void ReportGrid::invalidate(const QRect& rect) {
    const QRect visible = rect.intersected(viewport()->rect());
    if (visible.isEmpty())
        return;
    pending_ += visible;
    viewport()->update(visible);
}

void ReportGrid::invalidateAll() {
    invalidate(viewport()->rect());
}

void ReportGrid::itemChanged(qint32 record, qint32 item) {
    // Usually one column shows an item, but nothing forbids two.
    for (qint32 id = 0; id < model_.columnCount(); ++id) {
        if (model_.column(id).itemIndex == item)
            invalidate(geometry_->cellBounds(record, id).intersected(geometry_->bodyRect()));
    }
    detail::itemChanged(*this, record, item);
}

void ReportGrid::columnCaptionChanged(qint32 column) {
    invalidate(geometry_->headerRect(geometry_->positionOfColumn(column)));
}

void ReportGrid::columnResized(qint32 column, qint32 previousWidth, qint32 width) {
    geometry_->relayoutColumns();
    invalidate(geometry_->fromColumnOn(column));
    updateScrollBars();
    emit columnWidthChanged(model_.columnHandle(column), previousWidth, width);
}

void ReportGrid::columnsChanged() {
    geometry_->relayoutColumns();
    updateScrollBars();
    invalidateAll();
    detail::tableChanged(*this);
}

void ReportGrid::rowsChanged(RowsChange change) {
    if (!change.rowSet && !change.order)
        return;
    updateScrollBars();
    invalidateAll();
    detail::tableChanged(*this);
}

void ReportGrid::focusCellChanged() {
    detail::focusChanged(*this);
}

// --- metrics and scrolling ---

void ReportGrid::updateMetrics() {
    const QFontMetrics metrics = fontMetrics();
    // 20 pixels at least, so that a 20-pixel-high widget laid over a cell fits it.
    int rowHeight = std::max(20, metrics.height() + 4);
    const int indicator = style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, this);
    rowHeight = std::max(rowHeight, indicator + 4);
    QStyleOptionHeader option;
    option.initFrom(this);
    option.orientation = Qt::Horizontal;
    option.text = QStringLiteral("Xg");
    const QSize section =
        style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), this);
    geometry_->setMetrics(rowHeight, std::max(rowHeight, section.height()));
    verticalScrollBar()->setSingleStep(rowHeight);
}

void ReportGrid::updateScrollBars() {
    geometry_->setViewportSize(viewport()->size());
    QScrollBar* vertical = verticalScrollBar();
    vertical->setPageStep(std::max(1, geometry_->bodyHeight()));
    vertical->setRange(0, geometry_->maxVOffset());
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setPageStep(std::max(1, viewport()->width()));
    horizontal->setRange(0, geometry_->maxHOffset());
    geometry_->setOffsets(horizontal->value(), vertical->value());
}

QSize ReportGrid::checkBoxIndicatorSize() const {
    detail::CellStyle look;
    look.style = style();
    look.widget = viewport();
    look.themed = settings_.themedControls;
    return detail::CheckBoxCell::indicatorSize(look);
}

// --- events ---

void ReportGrid::paintEvent(QPaintEvent* event) {
    pending_ = QRegion();
    QPainter painter(viewport());
    const detail::GridPainter gridPainter(model_, *geometry_, *input_, settings_, *viewport(),
                                          hasFocus());
    for (const QRect& rect : event->region())
        gridPainter.paint(painter, rect);
}

void ReportGrid::resizeEvent(QResizeEvent*) {
    updateScrollBars();
}

void ReportGrid::scrollContentsBy(int, int) {
    geometry_->setOffsets(horizontalScrollBar()->value(), verticalScrollBar()->value());
    // The header stays put vertically, so the view cannot simply be blitted.
    invalidateAll();
    emit viewScrolled();
}

void ReportGrid::mousePressEvent(QMouseEvent* event) {
    input_->press(event);
}
// Each press of a double click is a press: two clicks on a button, two toggles of a check box.
void ReportGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    input_->press(event);
}
void ReportGrid::mouseMoveEvent(QMouseEvent* event) {
    input_->move(event);
}
void ReportGrid::mouseReleaseEvent(QMouseEvent* event) {
    input_->release(event);
}

void ReportGrid::keyPressEvent(QKeyEvent* event) {
    if (!input_->key(event))
        QAbstractScrollArea::keyPressEvent(event);
}

void ReportGrid::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    invalidate(geometry_->bodyRect());
    detail::focusEntered(*this);
}

void ReportGrid::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    invalidate(geometry_->bodyRect());
}

void ReportGrid::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::StyleChange: {
        const int rowHeight = geometry_->rowHeight();
        const int headerHeight = geometry_->headerHeight();
        updateMetrics();
        updateScrollBars();
        invalidateAll();
        host::overlayAreaChanged(*this);
        // Every cell below the header moved: hosts that lay widgets over cells hear of it as of
        // a scroll.
        if (geometry_->rowHeight() != rowHeight || geometry_->headerHeight() != headerHeight)
            emit viewScrolled();
        break;
    }
    case QEvent::PaletteChange:
    case QEvent::LayoutDirectionChange:
        invalidateAll();
        break;
    default:
        break;
    }
}

void ReportGrid::moveEvent(QMoveEvent* event) {
    QAbstractScrollArea::moveEvent(event);
    host::overlayAreaChanged(*this);
}

bool ReportGrid::viewportEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::Resize:
        // Scroll bars coming and going resize the viewport without resizing the grid.
        updateScrollBars();
        host::overlayAreaChanged(*this);
        break;
    case QEvent::ToolTip:
        return input_->toolTip(static_cast<QHelpEvent*>(event));
    case QEvent::Leave:
        input_->leave();
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
