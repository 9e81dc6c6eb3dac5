#include "gridgauge/gridkit/report_grid.h"

#include "accessibility.h"
#include "cell_drawings.h"
#include "cell_painters.h"
#include "content_fit.h"
#include "geometry.h"
#include "grid_painter.h"
#include "input.h"
#include "scroll_bar.h"
#include "settings.h"

#include "gridgauge/host/runtime_error.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QToolTip>

#include <algorithm>
#include <utility>

using host::RuntimeError;

namespace gridkit {

namespace {

qint16 buttonBits(Qt::MouseButtons buttons) {
    return qint16((buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
                  (buttons & Qt::MiddleButton ? 4 : 0));
}

qint16 shiftBits(Qt::KeyboardModifiers modifiers) {
    return qint16((modifiers & Qt::ShiftModifier ? 1 : 0) |
                  (modifiers & Qt::ControlModifier ? 2 : 0) |
                  (modifiers & Qt::AltModifier ? 4 : 0));
}

} // namespace

// What input tells the grid. The grid alone raises its events, invalidates, scrolls and sets the
// cursor; this only passes each on. A nested class takes its enclosing class's visibility: this
// one is kept out of the library's exports by hand.
class Q_DECL_HIDDEN ReportGrid::UserActions final : public detail::InputListener {
public:
    explicit UserActions(ReportGrid& grid)
        : grid_(grid) {}

    bool pointerPressed(const QMouseEvent& event, QPoint at) override {
        return grid_.pointerPressed(event, at);
    }
    bool pointerMoved(const QMouseEvent& event, QPoint at) override {
        return grid_.pointerMoved(event, at);
    }
    void focusCell(CellAddress cell, bool scrollIntoView) override {
        grid_.focusCell(cell, scrollIntoView);
    }
    void clickControl(qint32 row, qint32 item, qint32 position) override {
        grid_.clickItemControl(row, item, position);
    }
    void toggleCheckBox(qint32 row, qint32 item) override { grid_.toggleItemCheck(row, item); }
    void resizeColumn(qint32 columnId, qint32 width) override {
        grid_.resizeColumn(columnId, width);
    }
    void fitColumn(qint32 columnId) override {
        grid_.resizeColumn(columnId, detail::fittingWidth(grid_.contentSources(), columnId));
    }
    void moveColumn(qint32 from, qint32 to) override { grid_.moveColumn(from, to); }
    void sortByColumn(qint32 columnId) override { grid_.sortByColumn(columnId); }
    void cellLookChanged(qint32 row, qint32 columnId) override {
        grid_.invalidate(grid_.geometry_->cellBounds(row, columnId));
    }
    void headerLookChanged() override { grid_.invalidate(grid_.geometry_->headerBand()); }
    void resizeCursorChanged(bool overEdge) override { grid_.setResizeCursor(overEdge); }

private:
    ReportGrid& grid_;
};

// --- ReportGrid ---

ReportGrid::ReportGrid(QWidget* parent)
    : ReportGrid(std::make_shared<GridModel>(), parent) {}

ReportGrid::ReportGrid(std::shared_ptr<GridModel> model, QWidget* parent)
    : QAbstractScrollArea(parent)
    , model_(std::move(model))
    , self_(detail::ViewRef::anchor(this))
    , settings_(std::make_unique<detail::ViewSettings>())
    , geometry_(std::make_unique<detail::GridGeometry>(*model_))
    , actions_(std::make_unique<UserActions>(*this))
    , input_(
          std::make_unique<detail::GridInput>(*model_, *geometry_, *settings_, focus_, *actions_))
    , drawings_(std::make_unique<detail::CellDrawings>()) {
    detail::installAccessibleFactory();
    for (qint32 id = 0; id < model_->columnCount(); ++id)
        geometry_->addColumn(model_->column(id).width);
    model_->addObserver(this);
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
    geometry_->setDirection(layoutDirection());
    updateMetrics();
    updateScrollBars();
    cellOrigin_ = cellOrigin();
}

ReportGrid::~ReportGrid() {
    // Handles from this grid are cut off; the model, if another grid shares it, tells this one
    // nothing more.
    self_.clear();
    model_->removeObserver(this);
}

Appearance ReportGrid::appearance() {
    return Appearance(*this);
}
ColumnList ReportGrid::columns() const {
    return ColumnList(model_->ref(), self_);
}
RecordList ReportGrid::records() const {
    return RecordList(model_->ref());
}
RowList ReportGrid::rows() const {
    return RowList(model_->ref(), self_);
}

SortKey ReportGrid::sortKey() const {
    if (!settings_->markupEnabled)
        return {};
    return [](const QString& caption) { return detail::readableText(caption); };
}

void ReportGrid::rebuild() {
    model_->rebuild(sortKey());
    emit rebuilt();
}

void ReportGrid::redraw() {
    if (!pending_.isEmpty())
        viewport()->repaint(pending_);
}

std::optional<HitTestInfo> ReportGrid::hitTest(qint32 x, qint32 y) const {
    const QPoint at = fromGrid(QPoint(x, y));
    const std::optional<detail::GridGeometry::Hit> hit = geometry_->hitTest(at.x(), at.y());
    if (!hit)
        return std::nullopt;
    return model_->hitInfo(hit->row, hit->columnId, self_);
}

// --- geometry ---

int ReportGrid::headerHeight() const {
    return geometry_->headerHeight();
}
int ReportGrid::rowHeight() const {
    return geometry_->rowHeight();
}

qint32 ReportGrid::columnAtPosition(qint32 position) const {
    return geometry_->columnAtPosition(position);
}
qint32 ReportGrid::positionOfColumn(qint32 columnId) const {
    return geometry_->positionOfColumn(columnId);
}

QRect ReportGrid::cellRect(CellAddress cell) const {
    if (cell.row < 0 || cell.row >= model_->rowCount() || cell.column < 0 ||
        cell.column >= geometry_->columnCount())
        return {};
    return toGrid(geometry_->cellBounds(cell.row, cell.column));
}

QRect ReportGrid::headerRect(qint32 columnId) const {
    if (columnId < 0 || columnId >= geometry_->columnCount())
        return {};
    return toGrid(geometry_->headerRect(geometry_->positionOfColumn(columnId)));
}

QRect ReportGrid::controlRect(CellAddress cell, qint32 position) const {
    if (cellRect(cell).isNull())
        return {};
    const detail::ItemData* data = model_->cellItem(cell.row, cell.column);
    if (!data || position < 0 || position >= data->controlCount())
        return {};
    return toGrid(detail::GridGeometry::controlRect(geometry_->cellBounds(cell.row, cell.column),
                                                    data->controlCount(), position));
}

CellAddress ReportGrid::cellAt(int x, int y) const {
    const QPoint at = fromGrid(QPoint(x, y));
    const std::optional<detail::GridGeometry::Hit> hit = geometry_->hitTest(at.x(), at.y());
    return hit ? CellAddress{hit->row, hit->columnId} : CellAddress{};
}

QRegion ReportGrid::overlayArea() const {
    return QRegion(toGrid(geometry_->bodyRect()));
}

// The viewport lies right of a vertical scroll bar that a right-to-left view has on its left, and
// shows the geometry's layout mirrored there.
QRect ReportGrid::toGrid(const QRect& laidOut) const {
    return geometry_->visual(laidOut).translated(viewport()->pos());
}

QPoint ReportGrid::fromGrid(const QPoint& at) const {
    return geometry_->visual(at - viewport()->pos());
}

// The grid-coordinate x where the first column starts, left to right, or ends, right to left:
// everything on screen moves with it.
int ReportGrid::cellOrigin() const {
    const int h = geometry_->hOffset();
    const QRect shown = viewport()->geometry();
    return isRightToLeft() ? shown.left() + shown.width() + h : shown.left() - h;
}

void ReportGrid::cellsMayHaveMoved() {
    if (std::exchange(cellOrigin_, cellOrigin()) != cellOrigin_)
        emit viewScrolled();
}

QSize ReportGrid::sizeHint() const {
    const qint64 width = std::min<qint64>(geometry_->contentWidth(), 640);
    const qint64 height =
        geometry_->bodyTop() + std::min(model_->rowCount(), 12) * geometry_->rowHeight();
    return QSize(int(std::max<qint64>(width, 160)), int(std::max<qint64>(height, 100)));
}

// --- what handles ask ---

qint32 ReportGrid::columnWidth(qint32 columnId) const {
    return geometry_->columnWidth(columnId);
}

void ReportGrid::setColumnWidth(qint32 columnId, qint32 width) {
    if (width < 0)
        throw RuntimeError(host::InvalidPropertyValue);
    if (geometry_->columnWidth(columnId) == width)
        return;
    const qint32 previous = geometry_->setColumnWidth(columnId, width);
    invalidate(geometry_->fromColumnOn(columnId));
    updateScrollBars();
    emit columnWidthChanged(Column(model_->ref(), self_, columnId), previous, width);
}

QRect ReportGrid::cellBounds(qint32 row, qint32 columnId) const {
    return toGrid(geometry_->cellBounds(row, columnId));
}

// --- what the user does ---

CellAddress ReportGrid::focusedCell() const {
    return focus_;
}

void ReportGrid::setFocusedCell(CellAddress cell) {
    focusCell(cell, false);
}

void ReportGrid::focusCell(CellAddress cell, bool scrollIntoView) {
    if (cell != focus_) {
        // The focused row is highlighted across the view, and the focus rectangle goes round its
        // cell: both rows, the one left and the one entered, are all that change.
        if (focus_.row >= 0 && focus_.row < model_->rowCount())
            invalidate(geometry_->rowBand(focus_.row));
        focus_ = cell;
        if (focus_.row >= 0 && focus_.row < model_->rowCount())
            invalidate(geometry_->rowBand(focus_.row));
        detail::focusChanged(*this);
    }
    if (scrollIntoView)
        scrollTo(geometry_->offsetsToShow(focus_.row, focus_.column, settings_->cellFocus));
}

// As desktops show focus (a browser's :focus-visible, a style's State_KeyboardFocusChange): the
// frame goes round the focused cell once the keyboard has moved or acted on it, and a mouse press
// takes it away until the next such key, so that a click or a drag leaves the cell as it looks.
void ReportGrid::showFocusFrame(bool show) {
    if (std::exchange(focusFrameShown_, show) == show || focus_.row < 0 ||
        focus_.row >= model_->rowCount())
        return;
    invalidate(settings_->cellFocus && focus_.column >= 0
                   ? geometry_->cellBounds(focus_.row, focus_.column)
                   : geometry_->rowBand(focus_.row));
}

bool ReportGrid::clickItemControl(qint32 row, qint32 item, qint32 position) {
    if (!model_->controlEnabled(row, item, position))
        return false;
    emit itemButtonClicked(model_->rowHandle(row, self_), model_->itemHandle(row, item),
                           model_->controlHandle(row, item, position));
    return true;
}

void ReportGrid::toggleItemCheck(qint32 row, qint32 item) {
    model_->setChecked(row, item, !model_->item(row, item).checked);
    emit itemCheck(model_->rowHandle(row, self_), model_->itemHandle(row, item));
}

bool ReportGrid::isControlPressed(CellAddress cell, qint32 position) const {
    if (cell.column < 0 || cell.column >= geometry_->columnCount())
        return false;
    return input_->isPressed(cell.row, model_->column(cell.column).itemIndex, position,
                             cell.column);
}

QString ReportGrid::readableText(qint32 row, qint32 item) const {
    const detail::ItemData* data =
        row < model_->rowCount() ? model_->itemIfAny(row, item) : nullptr;
    if (!data)
        return {};
    return settings_->markupEnabled ? detail::readableText(data->caption) : data->caption;
}

bool ReportGrid::pointerPressed(const QMouseEvent& event, QPoint at) {
    const detail::ViewRef alive = self_;
    const QPoint p = at + viewport()->pos();
    emit mousePressed(buttonBits(event.buttons()), shiftBits(event.modifiers()), p.x(), p.y());
    return alive.get() != nullptr;
}

bool ReportGrid::pointerMoved(const QMouseEvent& event, QPoint at) {
    const detail::ViewRef alive = self_;
    const QPoint p = at + viewport()->pos();
    emit mouseMoved(buttonBits(event.buttons()), shiftBits(event.modifiers()), p.x(), p.y());
    return alive.get() != nullptr;
}

void ReportGrid::resizeColumn(qint32 columnId, qint32 width) {
    setColumnWidth(columnId, width);
}

void ReportGrid::moveColumn(qint32 fromPosition, qint32 toPosition) {
    geometry_->moveColumn(fromPosition, toPosition);
    updateScrollBars();
    invalidateAll();
    detail::tableChanged(*this);
    // Cells moved on screen without any width changing: hosts that lay widgets over cells hear
    // of it the same way as of a scroll.
    emit viewScrolled();
}

void ReportGrid::sortByColumn(qint32 columnId) {
    model_->sortBy(columnId, sortKey());
    emit viewScrolled(); // as above: the rows moved on screen
}

void ReportGrid::setResizeCursor(bool overEdge) {
    if (overEdge)
        viewport()->setCursor(Qt::SplitHCursor);
    else
        viewport()->unsetCursor();
}

// --- what changed in the model, repainted where it shows ---

void ReportGrid::invalidate(const QRect& rect) {
    const QRect visible = geometry_->visual(rect).intersected(viewport()->rect());
    if (visible.isEmpty())
        return;
    pending_ += visible;
    viewport()->update(visible);
}

void ReportGrid::invalidateAll() {
    invalidate(viewport()->rect());
}

void ReportGrid::itemChanged(qint32 record, qint32 item) {
    model_->forEachColumnShowing(item, [&](qint32 id) {
        drawings_->forget(record, id);
        invalidate(geometry_->cellBounds(record, id).intersected(geometry_->bodyRect()));
    });
    detail::itemChanged(*this, record, item);
}

void ReportGrid::columnCaptionChanged(qint32 column) {
    invalidate(geometry_->headerRect(geometry_->positionOfColumn(column)));
}

void ReportGrid::columnAdded(qint32 column) {
    geometry_->addColumn(model_->column(column).width);
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
    detail::CellStyle look;
    look.style = style();
    look.widget = viewport();
    look.themed = settings_->themedControls;
    geometry_->setCheckBoxIndicator(detail::CheckBoxCell::indicatorSize(look));
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

void ReportGrid::scrollTo(const QPoint& offsets) {
    horizontalScrollBar()->setValue(offsets.x());
    verticalScrollBar()->setValue(offsets.y());
}

// --- events ---

void ReportGrid::paintEvent(QPaintEvent* event) {
    pending_ = QRegion();
    QPainter painter(viewport());
    painter.setLayoutDirection(layoutDirection());
    const detail::GridPainter gridPainter(
        {*model_, *geometry_, *input_, *settings_, focus_, *drawings_}, *viewport(), hasFocus(),
        focusFrameShown_);
    for (const QRect& rect : event->region())
        gridPainter.paint(painter, rect);
}

void ReportGrid::resizeEvent(QResizeEvent*) {
    updateScrollBars();
}

void ReportGrid::scrollContentsBy(int, int) {
    geometry_->setOffsets(horizontalScrollBar()->value(), verticalScrollBar()->value());
    cellOrigin_ = cellOrigin();
    // The header stays put vertically, so the view cannot simply be blitted.
    invalidateAll();
    emit viewScrolled();
}

void ReportGrid::mousePressEvent(QMouseEvent* event) {
    event->accept();
    showFocusFrame(false);
    input_->press(*event);
}
// Each press of a double click is a press: two clicks on a button, two toggles of a check box.
void ReportGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    showFocusFrame(false);
    input_->press(*event);
}
void ReportGrid::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    input_->move(*event);
}
void ReportGrid::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    input_->release(*event);
}

void ReportGrid::keyPressEvent(QKeyEvent* event) {
    const detail::ViewRef alive = self_; // a key's handler may destroy the grid
    if (input_->key(*event)) {
        if (alive.get())
            showFocusFrame(true);
    } else
        QAbstractScrollArea::keyPressEvent(event);
}

// Tab and Shift+Tab walk the cells while focus moves by cell, as in item views; past the last
// cell, or the first, the focus moves on to the next control.
bool ReportGrid::focusNextPrevChild(bool next) {
    if (hasFocus() && input_->tab(next)) {
        showFocusFrame(true);
        return true;
    }
    return QAbstractScrollArea::focusNextPrevChild(next);
}

void ReportGrid::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
        reason == Qt::ShortcutFocusReason)
        focusFrameShown_ = true;
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
        emit overlayAreaChanged();
        // Every cell below the header moved: hosts that lay widgets over cells hear of it as of
        // a scroll.
        if (geometry_->rowHeight() != rowHeight || geometry_->headerHeight() != headerHeight)
            emit viewScrolled();
        break;
    }
    case QEvent::PaletteChange:
        invalidateAll();
        break;
    case QEvent::LayoutDirectionChange:
        geometry_->setDirection(layoutDirection());
        invalidateAll();
        emit overlayAreaChanged();
        cellsMayHaveMoved();
        break;
    default:
        break;
    }
}

void ReportGrid::moveEvent(QMoveEvent* event) {
    QAbstractScrollArea::moveEvent(event);
    emit overlayAreaChanged();
}

bool ReportGrid::viewportEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::Move:
        // Scroll bars coming and going resize the viewport without resizing the grid, and move
        // it when a right-to-left view has its vertical one on the left; right to left, the
        // cells stay with the viewport's right edge.
        updateScrollBars();
        emit overlayAreaChanged();
        cellsMayHaveMoved();
        break;
    case QEvent::ToolTip:
        return toolTip(static_cast<QHelpEvent*>(event));
    case QEvent::Leave:
        input_->leave();
        break;
    default:
        break;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

detail::ContentSources ReportGrid::contentSources() const {
    return {*model_, *geometry_, *settings_, *drawings_, *viewport()};
}

// A header says what a click on it does: its column's tooltip, while a click sorts. Otherwise a
// header or a cell tells nothing unless what it shows is cut off, and then shows all of it.
bool ReportGrid::toolTip(QHelpEvent* event) {
    const QPoint at = geometry_->visual(event->pos());
    std::optional<detail::CutText> tip;
    if (settings_->sortOnClick && at.y() >= geometry_->groupBoxHeight() &&
        at.y() < geometry_->bodyTop()) {
        const qint32 position = geometry_->positionAtX(at.x());
        if (position >= 0) {
            const QString& text = model_->column(geometry_->columnAtPosition(position)).tooltip;
            if (!text.isEmpty())
                tip = detail::CutText{text, geometry_->headerRect(position)};
        }
    }
    if (!tip)
        tip = detail::cutTextAt(contentSources(), at);
    if (tip) {
        QToolTip::showText(event->globalPos(), tip->text, viewport(), geometry_->visual(tip->area));
        return true;
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}

} // namespace gridkit
