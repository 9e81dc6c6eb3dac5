// The mouse events go out first, before the grid acts on a press, and the grid then looks at its
// state afresh: a handler of the press may have rebuilt the rows, changed the cell under the
// pointer or destroyed the grid (the model's reference tells). Everything is emitted directly, on
// the caller's stack.
#include "input.h"

#include "geometry.h"
#include "gridgauge/gridkit/report_grid.h"
#include "settings.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QtMath>
#include <QToolTip>

#include <algorithm>
#include <limits>

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

} // namespace

bool GridInput::hasFocusCell() const {
    return focusRow_ >= 0 && focusRow_ < model_.rowCount() && focusColumn_ >= 0;
}

bool GridInput::isPressed(qint32 row, qint32 index, qint32 position, qint32 columnId) const {
    return pressedDown_ && pressed_.row == row && pressed_.item == index &&
           pressed_.position == position && pressed_.column == columnId;
}

// Whether p lies on the pressed button, and that button can still be clicked.
bool GridInput::onPressedControl(const QPoint& p) const {
    if (pressed_.row < 0 || pressed_.row >= model_.rowCount() || pressed_.column < 0)
        return false;
    const ItemData* data = model_.itemIfAny(pressed_.row, pressed_.item);
    if (!data || !data->controls || std::size_t(pressed_.position) >= data->controls->size())
        return false;
    if (!(*data->controls)[std::size_t(pressed_.position)].enabled)
        return false;
    const QRect cell = geometry_.cellBounds(pressed_.row, pressed_.column);
    return GridGeometry::controlRect(cell, qint32(data->controls->size()), pressed_.position)
        .contains(p);
}

void GridInput::press(QMouseEvent* event) {
    event->accept();
    const QPoint at = pixelAt(event);
    const ModelRef alive = model_.ref();
    emit grid_.mousePressed(buttonBits(event->buttons()), shiftBits(event->modifiers()), at.x(),
                            at.y());
    if (!alive.get())
        return;
    // Only the left button acts; the right and middle ones are reported and nothing more.
    if (event->button() != Qt::LeftButton || !geometry_.clientRect().contains(at) ||
        at.y() < geometry_.groupBoxHeight())
        return;
    if (at.y() >= geometry_.bodyTop()) {
        pressBody(at);
        return;
    }
    const qint32 edge = geometry_.resizeEdgeAt(at);
    if (edge >= 0) {
        resizingColumn_ = edge;
        resizeStartX_ = at.x();
        resizeStartWidth_ = model_.column(edge).width;
        return;
    }
    const qint32 position = geometry_.positionAtX(at.x());
    if (position >= 0) {
        pressedHeader_ = geometry_.columnAtPosition(position);
        pressPoint_ = at;
        headerDragging_ = false;
        grid_.invalidate(geometry_.headerBand());
    }
}

void GridInput::pressBody(const QPoint& at) {
    const qint32 row = geometry_.rowAtY(at.y());
    const qint32 position = geometry_.positionAtX(at.x());
    if (row < 0 || position < 0)
        return;
    const qint32 columnId = geometry_.columnAtPosition(position);
    setFocusCell(row, columnId);
    const qint32 index = model_.column(columnId).itemIndex;
    const ItemData* data = model_.itemIfAny(row, index);
    if (!data)
        return;
    const QRect cell = geometry_.cellBounds(row, columnId);
    if (data->hasControls()) {
        const qint32 count = qint32(data->controls->size());
        for (qint32 i = 0; i < count; ++i) {
            if ((*data->controls)[std::size_t(i)].enabled &&
                GridGeometry::controlRect(cell, count, i).contains(at)) {
                pressed_ = PressedControl{row, index, i, columnId};
                pressedDown_ = true;
                grid_.invalidate(cell);
                break;
            }
        }
        return;
    }
    if (data->hasCheckBox &&
        GridGeometry::checkBoxRect(cell, grid_.checkBoxIndicatorSize()).contains(at))
        toggleCheckBox(row, index);
}

bool GridInput::clickControl(qint32 row, qint32 index, qint32 position) {
    if (row < 0 || row >= model_.rowCount() || position < 0)
        return false;
    const ItemData* data = model_.itemIfAny(row, index);
    if (!data || !data->controls || std::size_t(position) >= data->controls->size() ||
        !(*data->controls)[std::size_t(position)].enabled)
        return false;
    emit grid_.itemButtonClicked(model_.rowHandle(row), model_.itemHandle(row, index),
                                 model_.controlHandle(row, index, position));
    return true;
}

void GridInput::toggleCheckBox(qint32 row, qint32 index) {
    model_.setChecked(row, index, !model_.item(row, index).checked);
    emit grid_.itemCheck(model_.rowHandle(row), model_.itemHandle(row, index));
}

void GridInput::move(QMouseEvent* event) {
    event->accept();
    const QPoint at = pixelAt(event);
    const ModelRef alive = model_.ref();
    emit grid_.mouseMoved(buttonBits(event->buttons()), shiftBits(event->modifiers()), at.x(),
                          at.y());
    if (!alive.get())
        return;
    const bool leftHeld = event->buttons() & Qt::LeftButton;

    if (resizingColumn_ >= 0 && leftHeld) {
        const qint64 wanted = qint64(resizeStartWidth_) + at.x() - resizeStartX_;
        model_.setColumnWidth(resizingColumn_,
                              qint32(std::clamp<qint64>(wanted, Column::MinimumUserWidth,
                                                        std::numeric_limits<qint32>::max())));
        return;
    }
    if (pressed_.row >= 0 && leftHeld) {
        const bool inside = onPressedControl(at);
        if (inside != pressedDown_) {
            pressedDown_ = inside;
            grid_.invalidate(geometry_.cellBounds(pressed_.row, pressed_.column));
        }
        return;
    }
    if (pressedHeader_ >= 0 && leftHeld) {
        if (!settings_.reorderAllowed)
            return;
        if (!headerDragging_ &&
            (at - pressPoint_).manhattanLength() >= QApplication::startDragDistance())
            headerDragging_ = true;
        if (headerDragging_) {
            const qint64 last = geometry_.contentWidth() - geometry_.hOffset() - 1;
            qint32 target = geometry_.positionAtX(int(std::clamp<qint64>(at.x(), 0, last)));
            if (target < 0)
                target = model_.columnCount() - 1;
            if (target != dropPosition_) {
                dropPosition_ = target;
                grid_.invalidate(geometry_.headerBand());
            }
        }
        return;
    }
    if (!event->buttons())
        updateHover(at);
}

void GridInput::release(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = pixelAt(event);
    if (resizingColumn_ >= 0) {
        resizingColumn_ = -1;
        return;
    }
    if (pressed_.row >= 0) {
        const PressedControl pressed = pressed_;
        const bool clicked = onPressedControl(at);
        if (pressedDown_ && pressed.row < model_.rowCount())
            grid_.invalidate(geometry_.cellBounds(pressed.row, pressed.column));
        pressed_ = {};
        pressedDown_ = false;
        if (clicked)
            clickControl(pressed.row, pressed.item, pressed.position);
        return;
    }
    if (pressedHeader_ >= 0)
        finishHeaderPress(at);
}

void GridInput::finishHeaderPress(const QPoint& at) {
    const qint32 id = pressedHeader_;
    pressedHeader_ = -1;
    grid_.invalidate(geometry_.headerBand());
    if (headerDragging_) {
        headerDragging_ = false;
        const qint32 from = geometry_.positionOfColumn(id);
        const qint32 to = dropPosition_;
        dropPosition_ = -1;
        if (to < 0 || to == from)
            return;
        model_.moveColumn(from, to);
        // Cells moved on screen without any width changing: hosts that lay widgets over cells
        // hear of it the same way as of a scroll.
        emit grid_.viewScrolled();
        return;
    }
    if (!settings_.sortOnClick || at.y() < geometry_.groupBoxHeight() ||
        at.y() >= geometry_.bodyTop() ||
        geometry_.positionAtX(at.x()) != geometry_.positionOfColumn(id))
        return;
    model_.sortBy(id);
    emit grid_.viewScrolled(); // as above: the rows moved on screen
}

void GridInput::updateHover(const QPoint& at) {
    const bool split = geometry_.resizeEdgeAt(at) >= 0;
    if (split != splitCursor_) {
        splitCursor_ = split;
        if (split)
            grid_.viewport()->setCursor(Qt::SplitHCursor);
        else
            grid_.viewport()->unsetCursor();
    }
    qint32 hover = -1;
    if (!split && at.y() >= geometry_.groupBoxHeight() && at.y() < geometry_.bodyTop()) {
        const qint32 position = geometry_.positionAtX(at.x());
        if (position >= 0)
            hover = geometry_.columnAtPosition(position);
    }
    if (hover != hoverHeader_) {
        hoverHeader_ = hover;
        if (settings_.platformHeader()) // only the platform style shows hovering
            grid_.invalidate(geometry_.headerBand());
    }
}

void GridInput::leave() {
    updateHover(QPoint(-1, -1));
}

void GridInput::setFocusCell(qint32 row, qint32 columnId) {
    if (row == focusRow_ && columnId == focusColumn_)
        return;
    // The focused row is highlighted across the view, and the focus rectangle goes round its
    // cell: both rows, the one left and the one entered, are all that change.
    if (hasFocusCell())
        grid_.invalidate(geometry_.rowBand(focusRow_));
    focusRow_ = row;
    focusColumn_ = columnId;
    if (hasFocusCell())
        grid_.invalidate(geometry_.rowBand(focusRow_));
    grid_.focusCellChanged();
}

void GridInput::activateFocusCell() {
    if (!hasFocusCell())
        return;
    const qint32 index = model_.column(focusColumn_).itemIndex;
    const ItemData* data = model_.itemIfAny(focusRow_, index);
    if (!data)
        return;
    if (data->hasControls()) {
        for (std::size_t i = 0; i < data->controls->size(); ++i) {
            if (clickControl(focusRow_, index, qint32(i)))
                return;
        }
        return;
    }
    if (data->hasCheckBox)
        toggleCheckBox(focusRow_, index);
}

bool GridInput::key(QKeyEvent* event) {
    const qint32 rows = model_.rowCount();
    const qint32 columns = model_.columnCount();
    if (rows == 0 || columns == 0)
        return false;
    const bool focused = hasFocusCell();
    const qint32 step = focused ? 1 : 0; // the first key only shows where focus starts
    qint32 position = focused ? model_.positionOfRow(focusRow_) : 0;
    qint32 column = focused ? geometry_.positionOfColumn(focusColumn_) : 0;
    const qint32 page = geometry_.rowsPerPage();
    const bool control = event->modifiers() & Qt::ControlModifier;
    const bool byCell = settings_.cellFocus;

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
        if (byCell && !control)
            column = 0;
        else
            position = 0;
        break;
    case Qt::Key_End:
        if (byCell && !control)
            column = columns - 1;
        else
            position = rows - 1;
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (!byCell)
            return false; // by row, the arrows sideways scroll
        column += event->key() == Qt::Key_Left ? -step : step;
        break;
    case Qt::Key_Space:
    case Qt::Key_Select:
    case Qt::Key_Return: // as in every dialog: Return presses the focused button
    case Qt::Key_Enter:
        if (!byCell || !focused)
            return false;
        activateFocusCell();
        return true;
    default:
        return false;
    }
    position = std::clamp(position, 0, rows - 1);
    column = std::clamp(column, 0, columns - 1);
    setFocusCell(model_.rowAtPosition(position), geometry_.columnAtPosition(column));
    const QPoint offsets = geometry_.offsetsToShow(focusRow_, focusColumn_, byCell);
    grid_.horizontalScrollBar()->setValue(offsets.x());
    grid_.verticalScrollBar()->setValue(offsets.y());
    return true;
}

bool GridInput::toolTip(QHelpEvent* event) {
    const QPoint at = event->pos();
    if (at.y() >= geometry_.groupBoxHeight() && at.y() < geometry_.bodyTop()) {
        const qint32 position = geometry_.positionAtX(at.x());
        if (position >= 0) {
            const QString& tip = model_.column(geometry_.columnAtPosition(position)).tooltip;
            if (!tip.isEmpty()) {
                QToolTip::showText(event->globalPos(), tip, grid_.viewport(),
                                   geometry_.headerRect(position));
                return true;
            }
        }
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}

} // namespace gridkit::detail
