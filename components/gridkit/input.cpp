// Mouse and keys. The mouse events go out first, before the grid acts on a press, and the grid
// then looks at its state afresh: a handler of the press may have rebuilt the rows or changed the
// cell under the pointer. Everything is emitted directly, on the caller's stack.
#include "grid_core.h"
#include "report_grid.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QtMath>
#include <QToolTip>

#include <algorithm>

namespace gridkit::detail {

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

// The pixel under the pointer: at a device pixel ratio above 1 positions can fall between whole
// pixels, and the pixel is the one that contains the point.
QPoint pixelAt(const QMouseEvent* event) {
    const QPointF p = event->position();
    return QPoint(qFloor(p.x()), qFloor(p.y()));
}

// Whether p lies on the pressed button, and that button can still be clicked.
bool onPressedControl(GridCore& core, const QPoint& p) {
    const ControlRef& ref = core.pressedControl;
    if (ref.row < 0 || ref.row >= core.rowCount || ref.column < 0)
        return false;
    const ItemData* data = core.itemIfAny(ref.row, ref.item);
    if (!data || !data->controls || std::size_t(ref.position) >= data->controls->size())
        return false;
    if (!(*data->controls)[std::size_t(ref.position)].enabled)
        return false;
    const QRect cell = core.cellRect(ref.row, ref.column);
    return GridCore::controlRect(cell, qint32(data->controls->size()), ref.position).contains(p);
}

} // namespace

void GridCore::mousePress(QMouseEvent* event) {
    event->accept();
    const QPoint at = pixelAt(event);
    // A handler may do anything, the grid's destruction included.
    const std::shared_ptr<GridCore> keep = shared_from_this();
    const QPointer<ReportGrid> grid = view;
    emit view->mousePressed(buttonBits(event->buttons()), shiftBits(event->modifiers()), at.x(),
                            at.y());
    if (!grid || !view)
        return;
    // Only the left button acts; the right and middle ones are reported and nothing more.
    if (event->button() != Qt::LeftButton || !clientRect().contains(at))
        return;
    if (at.y() < groupBoxHeight())
        return;

    if (at.y() < bodyTop()) {
        const qint32 edge = resizeEdgeAt(at);
        if (edge >= 0) {
            resizingColumn = edge;
            resizeStartX = at.x();
            resizeStartWidth = columns[std::size_t(edge)].width;
            return;
        }
        const qint32 position = displayPositionAtX(at.x());
        if (position >= 0) {
            pressedHeader = columnOrder[std::size_t(position)];
            pressPoint = at;
            headerDragging = false;
            view->viewport()->update();
        }
        return;
    }

    const qint32 row = rowAtY(at.y());
    const qint32 position = displayPositionAtX(at.x());
    if (row < 0 || position < 0)
        return;
    const qint32 columnId = columnOrder[std::size_t(position)];
    setFocusCell(row, columnId);
    const qint32 index = columns[std::size_t(columnId)].itemIndex;
    const ItemData* data = itemIfAny(row, index);
    if (!data)
        return;
    const QRect cell = cellRect(row, columnId);
    if (data->controls && !data->controls->empty()) {
        const qint32 count = qint32(data->controls->size());
        for (qint32 i = 0; i < count; ++i) {
            if ((*data->controls)[std::size_t(i)].enabled &&
                controlRect(cell, count, i).contains(at)) {
                pressedControl = ControlRef{row, index, i, columnId};
                pressedControlDown = true;
                view->viewport()->update(cell);
                break;
            }
        }
        return;
    }
    if (data->hasCheckBox && checkBoxRect(cell).contains(at)) {
        ItemData& toggled = item(row, index);
        toggled.checked = !toggled.checked;
        view->viewport()->update(cell);
        emit view->itemCheck(makeRow(row), makeItem(row, index));
    }
}

void GridCore::mouseMove(QMouseEvent* event) {
    event->accept();
    const QPoint at = pixelAt(event);
    const std::shared_ptr<GridCore> keep = shared_from_this();
    const QPointer<ReportGrid> grid = view;
    emit view->mouseMoved(buttonBits(event->buttons()), shiftBits(event->modifiers()), at.x(),
                          at.y());
    if (!grid || !view)
        return;
    const bool leftHeld = event->buttons() & Qt::LeftButton;

    if (resizingColumn >= 0 && leftHeld) {
        const qint64 wanted = qint64(resizeStartWidth) + at.x() - resizeStartX;
        setColumnWidth(resizingColumn,
                       qint32(std::clamp<qint64>(wanted, Column::MinimumUserWidth,
                                                 std::numeric_limits<qint32>::max())));
        return;
    }
    if (pressedControl.row >= 0 && leftHeld) {
        const bool inside = onPressedControl(*this, at);
        if (inside != pressedControlDown) {
            pressedControlDown = inside;
            view->viewport()->update();
        }
        return;
    }
    if (pressedHeader >= 0 && leftHeld) {
        if (!reorderAllowed)
            return;
        if (!headerDragging &&
            (at - pressPoint).manhattanLength() >= QApplication::startDragDistance())
            headerDragging = true;
        if (headerDragging) {
            const qint64 last = contentWidth() - hOffset() - 1;
            qint32 target = displayPositionAtX(int(std::clamp<qint64>(at.x(), 0, last)));
            if (target < 0)
                target = qint32(columnOrder.size()) - 1;
            if (target != dropPosition) {
                dropPosition = target;
                view->viewport()->update();
            }
        }
        return;
    }
    if (!event->buttons())
        updateHover(at);
}

void GridCore::mouseRelease(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = pixelAt(event);
    if (resizingColumn >= 0) {
        resizingColumn = -1;
        return;
    }
    if (pressedControl.row >= 0) {
        const ControlRef pressed = pressedControl;
        const bool clicked = onPressedControl(*this, at);
        pressedControl = {};
        pressedControlDown = false;
        view->viewport()->update();
        if (clicked) {
            emit view->itemButtonClicked(makeRow(pressed.row), makeItem(pressed.row, pressed.item),
                                         makeControl(pressed.row, pressed.item, pressed.position));
        }
        return;
    }
    if (pressedHeader >= 0)
        finishHeaderPress(at);
}

void GridCore::finishHeaderPress(const QPoint& at) {
    const qint32 id = pressedHeader;
    pressedHeader = -1;
    view->viewport()->update();
    if (headerDragging) {
        headerDragging = false;
        const qint32 from = positionOfColumn(id);
        const qint32 to = dropPosition;
        dropPosition = -1;
        if (to < 0 || to == from)
            return;
        columnOrder.erase(columnOrder.begin() + from);
        columnOrder.insert(columnOrder.begin() + to, id);
        relayout();
        // Cells moved on screen without any width changing: hosts that lay widgets over cells
        // hear of it the same way as of a scroll.
        emit view->viewScrolled();
        return;
    }
    if (!sortOnClick || at.y() < groupBoxHeight() || at.y() >= bodyTop() ||
        displayPositionAtX(at.x()) != positionOfColumn(id))
        return;
    if (sortColumn == id) {
        sortDescending = !sortDescending;
    } else {
        sortColumn = id;
        sortDescending = false;
    }
    applySort();
    emit view->viewScrolled(); // as above: the rows moved on screen
}

void GridCore::updateHover(const QPoint& at) {
    const bool split = resizeEdgeAt(at) >= 0;
    if (split != splitCursor) {
        splitCursor = split;
        if (split)
            view->viewport()->setCursor(Qt::SplitHCursor);
        else
            view->viewport()->unsetCursor();
    }
    qint32 hover = -1;
    if (!split && at.y() >= groupBoxHeight() && at.y() < bodyTop()) {
        const qint32 position = displayPositionAtX(at.x());
        if (position >= 0)
            hover = columnOrder[std::size_t(position)];
    }
    if (hover != hoverHeader) {
        hoverHeader = hover;
        if (headerStyle == 4) // only the platform style shows hovering
            view->viewport()->update(0, groupBoxHeight(), clientRect().width(), headerHeight);
    }
}

void GridCore::mouseLeave() {
    updateHover(QPoint(-1, -1));
}

void GridCore::setFocusCell(qint32 row, qint32 columnId) {
    if (row == focusRow && columnId == focusColumn)
        return;
    focusRow = row;
    focusColumn = columnId;
    view->viewport()->update();
}

void GridCore::activateFocusCell() {
    if (focusRow < 0 || focusRow >= rowCount || focusColumn < 0)
        return;
    const qint32 index = columns[std::size_t(focusColumn)].itemIndex;
    const ItemData* data = itemIfAny(focusRow, index);
    if (!data)
        return;
    if (data->controls && !data->controls->empty()) {
        for (std::size_t i = 0; i < data->controls->size(); ++i) {
            if ((*data->controls)[i].enabled) {
                emit view->itemButtonClicked(makeRow(focusRow), makeItem(focusRow, index),
                                             makeControl(focusRow, index, qint32(i)));
                return;
            }
        }
        return;
    }
    if (data->hasCheckBox) {
        ItemData& toggled = item(focusRow, index);
        toggled.checked = !toggled.checked;
        view->viewport()->update();
        emit view->itemCheck(makeRow(focusRow), makeItem(focusRow, index));
    }
}

bool GridCore::keyPress(QKeyEvent* event) {
    if (rowCount == 0 || columnOrder.empty())
        return false;
    const bool focused = focusRow >= 0 && focusRow < rowCount && focusColumn >= 0;
    const qint32 step = focused ? 1 : 0; // the first key only shows where focus starts
    qint32 position = focused ? displayPositionOfRow(focusRow) : 0;
    qint32 column = focused ? positionOfColumn(focusColumn) : 0;
    const qint32 page = std::max(1, (clientRect().height() - bodyTop()) / rowHeight);
    const bool control = event->modifiers() & Qt::ControlModifier;

    switch (event->key()) {
    case Qt::Key_Up:
        position -= step;
        break;
    case Qt::Key_Down:
        position += step;
        break;
    case Qt::Key_PageUp:
        position -= page;
        break;
    case Qt::Key_PageDown:
        position += page;
        break;
    case Qt::Key_Home:
        if (cellFocus && !control)
            column = 0;
        else
            position = 0;
        break;
    case Qt::Key_End:
        if (cellFocus && !control)
            column = qint32(columnOrder.size()) - 1;
        else
            position = rowCount - 1;
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (!cellFocus)
            return false; // by row, the arrows sideways scroll
        column += event->key() == Qt::Key_Left ? -step : step;
        break;
    case Qt::Key_Space:
    case Qt::Key_Select:
        if (!cellFocus || !focused)
            return false;
        activateFocusCell();
        return true;
    default:
        return false;
    }
    position = std::clamp(position, 0, rowCount - 1);
    column = std::clamp(column, 0, qint32(columnOrder.size()) - 1);
    setFocusCell(rowAtDisplayPosition(position), columnOrder[std::size_t(column)]);
    ensureVisible(focusRow, focusColumn, cellFocus);
    return true;
}

bool GridCore::toolTip(QHelpEvent* event) {
    const QPoint at = event->pos();
    if (at.y() >= groupBoxHeight() && at.y() < bodyTop()) {
        const qint32 position = displayPositionAtX(at.x());
        if (position >= 0) {
            const QString& tip = columns[std::size_t(columnOrder[std::size_t(position)])].tooltip;
            if (!tip.isEmpty()) {
                QToolTip::showText(event->globalPos(), tip, view->viewport(), headerRect(position));
                return true;
            }
        }
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}

} // namespace gridkit::detail
