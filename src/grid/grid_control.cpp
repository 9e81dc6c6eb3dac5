#include "grid_control.h"

#include "gridgauge/gridkit/grid_delegate.h"
#include "gridgauge/host/runtime_error.h"
#include "gridgauge/host/system_colors.h"

#include <QCoreApplication>
#include <QItemSelectionModel>

using host::RuntimeError;

namespace report {

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

// --- Appearance ---

Appearance::Appearance(Grid& grid)
    : grid_(&grid) {}

Grid& Appearance::grid() const {
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

// --- Grid ---

Grid::Grid(QWidget* parent)
    : gridgauge::gridkit::ReportGrid(parent)
    , records_(new RecordsModel(this))
    , self_(detail::GridRef::anchor(this)) {
    setModel(records_);
    gridDelegate()->setMarkupEnabled(false);
    applyBelowRowsColor();
    connect(records_, &RecordsModel::userChecked, this, [this](qint32 record, qint32 item) {
        emit itemCheck(rowHandle(record), itemHandle(record, item));
    });
    connect(this, &gridgauge::gridkit::ReportGrid::buttonClicked, this, &Grid::relayButton);
    connect(this, &gridgauge::gridkit::ReportGrid::cellsMoved, this, &Grid::viewScrolled);
    connect(this, &gridgauge::gridkit::ReportGrid::columnResized, this,
            [this](int column, int previous, int now) {
                emit columnWidthChanged(Column(self_, column), previous, now);
            });
    // Mouse positions are the grid's own, as item bounds are.
    connect(this, &gridgauge::gridkit::ReportGrid::mousePressed, this,
            [this](Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, const QPoint& at) {
                const QPoint p = at + viewport()->pos();
                emit mouseDown(buttonBits(buttons), shiftBits(modifiers), p.x(), p.y());
            });
    connect(this, &gridgauge::gridkit::ReportGrid::mouseMoved, this,
            [this](Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, const QPoint& at) {
                const QPoint p = at + viewport()->pos();
                emit mouseMove(buttonBits(buttons), shiftBits(modifiers), p.x(), p.y());
            });
}

Grid::~Grid() {
    // Handles from this grid are cut off.
    self_.clear();
}

Appearance Grid::appearance() {
    return Appearance(*this);
}
ColumnList Grid::columns() const {
    return ColumnList(self_);
}
RecordList Grid::records() const {
    return RecordList(self_);
}
RowList Grid::rows() const {
    return RowList(self_);
}

void Grid::rebuild() {
    records_->rebuild();
    emit rebuilt();
}

void Grid::redraw() {
    // What the view scheduled is painted now, with the window's next update brought forward.
    QCoreApplication::sendPostedEvents(window(), QEvent::UpdateRequest);
}

std::optional<HitTestInfo> Grid::hitTest(qint32 x, qint32 y) const {
    const QRect shown = viewport()->geometry();
    const int bandTop = shown.top() - (headerHeight() + (groupBoxVisible() ? rowHeight() + 16 : 0));
    if (x < shown.left() || x > shown.right() || y < bandTop || y > shown.bottom())
        return std::nullopt;
    std::optional<Column> column;
    std::optional<Row> row;
    std::optional<Item> item;
    // The group box above the header holds neither a column nor a row.
    const int columnId = y >= shown.top() - headerHeight() ? columnAt(x - shown.left()) : -1;
    if (columnId >= 0)
        column = Column(self_, columnId);
    const int position = y >= shown.top() ? rowAt(y - shown.top()) : -1;
    if (position >= 0) {
        const qint32 record = records_->recordAt(position);
        row = rowHandle(record);
        const qint32 index = columnId >= 0 ? records_->column(columnId).itemIndex : -1;
        if (records_->itemIfAny(record, index))
            item = itemHandle(record, index);
    }
    return HitTestInfo(std::move(column), std::move(row), std::move(item));
}

// --- settings ---

void Grid::setMarkupEnabled(bool enabled) {
    records_->setMarkupCaptions(enabled);
    gridDelegate()->setMarkupEnabled(enabled);
    viewport()->update();
}

bool Grid::markupEnabled() const {
    return gridDelegate()->markupEnabled();
}

void Grid::setColumnReorderAllowed(bool allowed) {
    setColumnsMovable(allowed);
}

bool Grid::columnReorderAllowed() const {
    return columnsMovable();
}

void Grid::setSortOnHeaderClick(bool sort) {
    setSortingEnabled(sort);
    if (!sort)
        records_->clearSort();
}

bool Grid::sortOnHeaderClick() const {
    return isSortingEnabled();
}

void Grid::setHeaderStyle(qint32 style) {
    if (style < 0 || style > 4)
        throw RuntimeError(host::InvalidPropertyValue);
    headerStyle_ = style;
    gridgauge::gridkit::ReportGrid::setHeaderStyle(style == 4 ? StyledHeader : FlatHeader);
}

qint32 Grid::headerStyle() const {
    return headerStyle_;
}

void Grid::setThemedControls(bool themed) {
    gridDelegate()->setThemedControls(themed);
    viewport()->update();
}

bool Grid::themedControls() const {
    return gridDelegate()->themedControls();
}

void Grid::setBelowRowsColor(quint32 color) {
    belowRows_ = host::colors::validated(color);
    applyBelowRowsColor();
}

quint32 Grid::belowRowsColor() const {
    return belowRows_;
}

// A system colour follows the palette: it is resolved anew whenever the palette changes.
void Grid::applyBelowRowsColor() {
    gridgauge::gridkit::ReportGrid::setBelowRowsColor(host::colors::resolve(belowRows_, palette()));
}

void Grid::setHighlightFocusedRow(bool highlight) {
    if (highlightFocusedRow_ == highlight)
        return;
    highlightFocusedRow_ = highlight;
    setSelectionMode(highlight ? SingleSelection : NoSelection);
    if (!highlight)
        selectionModel()->clearSelection();
    else if (currentIndex().isValid())
        selectionModel()->select(currentIndex(),
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

bool Grid::highlightFocusedRow() const {
    return highlightFocusedRow_;
}

// --- geometry, in the grid's own coordinates ---

QModelIndex Grid::cellIndex(qint32 record, qint32 columnId) const {
    if (record < 0 || record >= records_->rows() || columnId < 0 ||
        columnId >= records_->columnTotal())
        return {};
    return records_->index(records_->positionOf(record), columnId);
}

QRect Grid::cellBounds(qint32 record, qint32 columnId) const {
    const QRect cell = visualRect(cellIndex(record, columnId));
    return cell.isNull() ? QRect() : cell.translated(viewport()->pos());
}

QRect Grid::cellRect(CellAddress cell) const {
    return cellBounds(cell.row, cell.column);
}

QRect Grid::headerSection(qint32 columnId) const {
    const QRect section = headerRect(columnId);
    return section.isNull() ? QRect() : section.translated(viewport()->pos());
}

QRect Grid::controlRect(CellAddress cell, qint32 position) const {
    const QRect button = buttonRect(cellIndex(cell.row, cell.column), position);
    return button.isNull() ? QRect() : button.translated(viewport()->pos());
}

CellAddress Grid::cellAt(int x, int y) const {
    const std::optional<HitTestInfo> hit = hitTest(x, y);
    if (!hit || !hit->column())
        return {};
    return {hit->row() ? hit->row()->index() : -1, columnAt(x - viewport()->x())};
}

// --- what the user does, done for them ---

CellAddress Grid::focusedCell() const {
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return {};
    return {records_->recordAt(current.row()), current.column()};
}

void Grid::setFocusedCell(CellAddress cell) {
    const QModelIndex index = cellIndex(cell.row, cell.column);
    if (index.isValid())
        selectionModel()->setCurrentIndex(index, selectionCommand(index));
}

bool Grid::clickItemControl(qint32 row, qint32 item, qint32 position) {
    const QModelIndex cell = cellIndex(row, records_->findColumn(item));
    return cell.isValid() && gridDelegate()->clickButton(this, cell, position);
}

void Grid::toggleItemCheck(qint32 row, qint32 item) {
    const QModelIndex cell = cellIndex(row, records_->findColumn(item));
    const ItemData* data = records_->itemIfAny(row, item);
    if (cell.isValid() && data && data->hasCheckBox)
        records_->setData(cell, data->checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

bool Grid::isControlPressed(CellAddress cell, qint32 position) const {
    return gridDelegate()->isButtonPressed(cellIndex(cell.row, cell.column), position);
}

QString Grid::readableText(qint32 row, qint32 item) const {
    const qint32 column = records_->findColumn(item);
    const QModelIndex cell = cellIndex(row, column);
    return cell.isValid() ? gridDelegate()->readableText(cell) : QString();
}

// --- events, relayed with the program's handles ---

void Grid::relayButton(const QModelIndex& index, int button) {
    const qint32 record = records_->recordAt(index.row());
    const qint32 item = records_->column(index.column()).itemIndex;
    emit itemButtonClicked(rowHandle(record), itemHandle(record, item),
                           ItemControl(self_, record, item, button));
}

Row Grid::rowHandle(qint32 row) const {
    return Row(self_, records_->generation(), row);
}

Item Grid::itemHandle(qint32 record, qint32 index) const {
    return Item(self_, record, index);
}

void Grid::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange)
        applyBelowRowsColor();
    gridgauge::gridkit::ReportGrid::changeEvent(event);
}

} // namespace report
