// The pointer's events go to the listener first, before input acts on a press, and input then
// looks at the state afresh: a handler of the press may have rebuilt the rows, changed the cell
// under the pointer or destroyed the grid (the listener's answer tells).
#include "input.h"

#include "geometry.h"
#include "gridgauge/gridkit/grid_model.h"
#include "settings.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QtMath>

#include <algorithm>
#include <limits>

namespace gridkit::detail {

namespace {

// The pixel under the pointer: at a device pixel ratio above 1 positions can fall between whole
// pixels, and the pixel is the one that contains the point.
QPoint pixelAt(const QMouseEvent& event) {
    const QPointF p = event.position();
    return QPoint(qFloor(p.x()), qFloor(p.y()));
}

} // namespace

bool GridInput::isPressed(qint32 row, qint32 index, qint32 position, qint32 columnId) const {
    return pressedDown_ && pressed_.row == row && pressed_.item == index &&
           pressed_.position == position && pressed_.column == columnId;
}

// Whether p lies on the pressed button, and that button can still be clicked.
bool GridInput::onPressedControl(const QPoint& p) const {
    if (pressed_.column < 0 ||
        !model_.controlEnabled(pressed_.row, pressed_.item, pressed_.position))
        return false;
    const QRect cell = geometry_.cellBounds(pressed_.row, pressed_.column);
    const qint32 count = model_.item(pressed_.row, pressed_.item).controlCount();
    return GridGeometry::controlRect(cell, count, pressed_.position).contains(p);
}

// The listener hears of the pixel as shown; input itself works on the geometry's left-to-right
// layout, which a right-to-left view mirrors.
void GridInput::press(const QMouseEvent& event) {
    if (!listener_.pointerPressed(event, pixelAt(event)))
        return;
    const QPoint at = geometry_.visual(pixelAt(event));
    // Only the left button acts; the right and middle ones are reported and nothing more.
    if (event.button() != Qt::LeftButton || !geometry_.clientRect().contains(at) ||
        at.y() < geometry_.groupBoxHeight())
        return;
    if (at.y() >= geometry_.bodyTop())
        pressBody(at);
    else
        pressHeader(at, event.type() == QEvent::MouseButtonDblClick);
}

void GridInput::pressHeader(const QPoint& at, bool doubleClick) {
    const qint32 edge = geometry_.resizeEdgeAt(at);
    if (edge >= 0 && doubleClick) {
        listener_.fitColumn(edge);
        return;
    }
    if (edge >= 0) {
        resizingColumn_ = edge;
        resizeStartX_ = at.x();
        resizeStartWidth_ = geometry_.columnWidth(edge);
        return;
    }
    const qint32 position = geometry_.positionAtX(at.x());
    if (position >= 0) {
        pressedHeader_ = geometry_.columnAtPosition(position);
        pressPoint_ = at;
        headerDragging_ = false;
        listener_.headerLookChanged();
    }
}

void GridInput::pressBody(const QPoint& at) {
    const qint32 row = geometry_.rowAtY(at.y());
    const qint32 position = geometry_.positionAtX(at.x());
    if (row < 0 || position < 0)
        return;
    const qint32 columnId = geometry_.columnAtPosition(position);
    listener_.focusCell({row, columnId}, false);
    const qint32 index = model_.column(columnId).itemIndex;
    const ItemData* data = model_.itemIfAny(row, index);
    if (!data)
        return;
    const QRect cell = geometry_.cellBounds(row, columnId);
    if (data->hasControls()) {
        const qint32 count = data->controlCount();
        for (qint32 i = 0; i < count; ++i) {
            if (model_.controlEnabled(row, index, i) &&
                GridGeometry::controlRect(cell, count, i).contains(at)) {
                pressed_ = PressedControl{row, index, i, columnId};
                pressedDown_ = true;
                listener_.cellLookChanged(row, columnId);
                break;
            }
        }
        return;
    }
    if (data->hasCheckBox && geometry_.checkBoxRect(cell).contains(at))
        listener_.toggleCheckBox(row, index);
}

void GridInput::move(const QMouseEvent& event) {
    if (!listener_.pointerMoved(event, pixelAt(event)))
        return;
    const QPoint at = geometry_.visual(pixelAt(event));
    const bool leftHeld = event.buttons() & Qt::LeftButton;
    if (resizingColumn_ >= 0 && leftHeld) {
        const qint64 wanted = qint64(resizeStartWidth_) + at.x() - resizeStartX_;
        listener_.resizeColumn(resizingColumn_,
                               qint32(std::clamp<qint64>(wanted, Column::MinimumUserWidth,
                                                         std::numeric_limits<qint32>::max())));
        return;
    }
    if (leftHeld && (dragControl(at) || dragHeader(at)))
        return;
    if (!event.buttons())
        updateHover(at);
}

// A pressed button looks pressed only while the pointer is on it.
bool GridInput::dragControl(const QPoint& at) {
    if (pressed_.row < 0)
        return false;
    const bool inside = onPressedControl(at);
    if (inside != pressedDown_) {
        pressedDown_ = inside;
        listener_.cellLookChanged(pressed_.row, pressed_.column);
    }
    return true;
}

// A pressed header dragged far enough shows where it would be dropped.
bool GridInput::dragHeader(const QPoint& at) {
    if (pressedHeader_ < 0)
        return false;
    if (!settings_.reorderAllowed)
        return true;
    if (!headerDragging_ &&
        (at - pressPoint_).manhattanLength() >= QApplication::startDragDistance())
        headerDragging_ = true;
    if (!headerDragging_)
        return true;
    const qint64 last = geometry_.contentWidth() - geometry_.hOffset() - 1;
    qint32 target = geometry_.positionAtX(int(std::clamp<qint64>(at.x(), 0, last)));
    if (target < 0)
        target = geometry_.columnCount() - 1;
    if (target != dropPosition_) {
        dropPosition_ = target;
        listener_.headerLookChanged();
    }
    return true;
}

void GridInput::release(const QMouseEvent& event) {
    if (event.button() != Qt::LeftButton)
        return;
    const QPoint at = geometry_.visual(pixelAt(event));
    if (resizingColumn_ >= 0) {
        resizingColumn_ = -1;
        return;
    }
    if (pressed_.row >= 0) {
        const bool clicked = onPressedControl(at);
        const PressedControl pressed = std::exchange(pressed_, {});
        if (std::exchange(pressedDown_, false) && pressed.row < model_.rowCount())
            listener_.cellLookChanged(pressed.row, pressed.column);
        if (clicked)
            listener_.clickControl(pressed.row, pressed.item, pressed.position);
        return;
    }
    if (pressedHeader_ >= 0)
        finishHeaderPress(at);
}

void GridInput::finishHeaderPress(const QPoint& at) {
    const qint32 id = std::exchange(pressedHeader_, -1);
    listener_.headerLookChanged();
    if (std::exchange(headerDragging_, false)) {
        const qint32 from = geometry_.positionOfColumn(id);
        const qint32 to = std::exchange(dropPosition_, -1);
        if (to >= 0 && to != from)
            listener_.moveColumn(from, to);
        return;
    }
    if (settings_.sortOnClick && at.y() >= geometry_.groupBoxHeight() &&
        at.y() < geometry_.bodyTop() &&
        geometry_.positionAtX(at.x()) == geometry_.positionOfColumn(id))
        listener_.sortByColumn(id);
}

void GridInput::updateHover(const QPoint& at) {
    const bool split = geometry_.resizeEdgeAt(at) >= 0;
    if (split != splitCursor_) {
        splitCursor_ = split;
        listener_.resizeCursorChanged(split);
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
            listener_.headerLookChanged();
    }
}

void GridInput::leave() {
    updateHover(QPoint(-1, -1));
}

// Space on the focused cell: its first enabled button clicks, or its check box toggles.
void GridInput::activateFocusCell() {
    const qint32 index = model_.column(focus_.column).itemIndex;
    const ItemData* data = model_.itemIfAny(focus_.row, index);
    if (!data)
        return;
    if (data->hasControls()) {
        for (qint32 i = 0; i < data->controlCount(); ++i) {
            if (model_.controlEnabled(focus_.row, index, i)) {
                listener_.clickControl(focus_.row, index, i);
                return;
            }
        }
        return;
    }
    if (data->hasCheckBox)
        listener_.toggleCheckBox(focus_.row, index);
}

bool GridInput::key(const QKeyEvent& event) {
    const qint32 rows = model_.rowCount();
    const qint32 columns = geometry_.columnCount();
    if (rows == 0 || columns == 0)
        return false;
    const bool focused = focus_.row >= 0 && focus_.row < rows && focus_.column >= 0;
    switch (event.key()) {
    case Qt::Key_Space:
    case Qt::Key_Select:
    case Qt::Key_Return: // as in every dialog: Return presses the focused button
    case Qt::Key_Enter:
        if (!settings_.cellFocus || !focused)
            return false;
        activateFocusCell();
        return true;
    default:
        break;
    }
    qint32 position = focused ? model_.positionOfRow(focus_.row) : 0;
    qint32 column = focused ? geometry_.positionOfColumn(focus_.column) : 0;
    // The first key only shows where focus starts.
    if (!keyTarget(event, focused ? 1 : 0, position, column))
        return false;
    position = std::clamp(position, 0, rows - 1);
    column = std::clamp(column, 0, columns - 1);
    listener_.focusCell({model_.rowAtPosition(position), geometry_.columnAtPosition(column)}, true);
    return true;
}

// As in item views: each cell of a row, then on to the next row; with nothing focused yet, from
// the first or last cell.
bool GridInput::tab(bool forward) {
    const qint64 rows = model_.rowCount();
    const qint64 columns = geometry_.columnCount();
    if (!settings_.cellFocus || rows == 0 || columns == 0)
        return false;
    qint64 at = forward ? -1 : rows * columns;
    if (focus_.row >= 0 && focus_.row < rows && focus_.column >= 0)
        at = model_.positionOfRow(focus_.row) * columns + geometry_.positionOfColumn(focus_.column);
    at += forward ? 1 : -1;
    if (at < 0 || at >= rows * columns)
        return false;
    listener_.focusCell({model_.rowAtPosition(qint32(at / columns)),
                         geometry_.columnAtPosition(qint32(at % columns))},
                        true);
    return true;
}

bool GridInput::keyTarget(const QKeyEvent& event, qint32 step, qint32& position,
                          qint32& column) const {
    const qint32 page = geometry_.rowsPerPage();
    const bool toEnd = settings_.cellFocus && !(event.modifiers() & Qt::ControlModifier);
    switch (event.key()) {
    case Qt::Key_Up:
        position -= step;
        return true;
    case Qt::Key_Down:
        position += step;
        return true;
    case Qt::Key_PageUp:
        position -= page;
        return true;
    case Qt::Key_PageDown:
        position += page;
        return true;
    case Qt::Key_Home:
        (toEnd ? column : position) = 0;
        return true;
    case Qt::Key_End:
        (toEnd ? column : position) = toEnd ? geometry_.columnCount() - 1 : model_.rowCount() - 1;
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (!settings_.cellFocus)
            return false; // by row, the arrows sideways scroll
        // Sideways as the arrow points, whichever way the columns run.
        column += (event.key() == Qt::Key_Left) != (geometry_.direction() == Qt::RightToLeft)
                      ? -step
                      : step;
        return true;
    default:
        return false;
    }
}

} // namespace gridkit::detail
