#pragma once

// Mouse and keys turned into the grid's events and its own reactions: the focused cell, a pressed
// button, a header press, a column being resized or dragged to another place, the hovered header.

#include <QPoint>
#include <QtGlobal>

class QHelpEvent;
class QKeyEvent;
class QMouseEvent;

namespace gridkit {

class GridModel;
class ReportGrid;

namespace detail {

class GridGeometry;
struct ViewSettings;

class GridInput {
public:
    GridInput(ReportGrid& grid, GridModel& model, const GridGeometry& geometry,
              const ViewSettings& settings)
        : grid_(grid)
        , model_(model)
        , geometry_(geometry)
        , settings_(settings) {}

    void press(QMouseEvent* event);
    void move(QMouseEvent* event);
    void release(QMouseEvent* event);
    void leave();
    bool key(QKeyEvent* event); // whether the grid used the key
    bool toolTip(QHelpEvent* event);

    // The focused cell: a row number and a column id, both -1 until the user clicks a cell or
    // presses a key.
    qint32 focusRow() const { return focusRow_; }
    qint32 focusColumn() const { return focusColumn_; }
    bool hasFocusCell() const;
    void setFocusCell(qint32 row, qint32 columnId);
    // Space on the focused cell: its first enabled button clicks, or its check box toggles.
    void activateFocusCell();
    // A click on a cell's button and a toggle of its check box, as the mouse and the keys make
    // them; assistive technology acts through these too, so that every road raises the same event.
    // A button that does not exist or is disabled does not click.
    bool clickControl(qint32 row, qint32 index, qint32 position);
    void toggleCheckBox(qint32 row, qint32 index);

    // What painting shows of the pointer.
    qint32 hoverHeader() const { return hoverHeader_; }
    qint32 pressedHeader() const { return pressedHeader_; }
    bool headerDragging() const { return headerDragging_; }
    qint32 dropPosition() const { return dropPosition_; }
    bool isPressed(qint32 row, qint32 index, qint32 position, qint32 columnId) const;

private:
    // Which button of which cell the left button went down on.
    struct PressedControl {
        qint32 row = -1;
        qint32 item = -1;
        qint32 position = -1;
        qint32 column = -1; // the column id it was pressed in, in case two columns show one item
    };

    bool onPressedControl(const QPoint& p) const;
    void pressBody(const QPoint& at);
    void finishHeaderPress(const QPoint& at);
    void updateHover(const QPoint& at);

    ReportGrid& grid_;
    GridModel& model_;
    const GridGeometry& geometry_;
    const ViewSettings& settings_;

    qint32 focusRow_ = -1;
    qint32 focusColumn_ = -1;
    qint32 hoverHeader_ = -1;
    PressedControl pressed_;
    bool pressedDown_ = false; // the pointer is on the pressed button
    qint32 pressedHeader_ = -1;
    QPoint pressPoint_;
    bool headerDragging_ = false;
    qint32 dropPosition_ = -1;
    qint32 resizingColumn_ = -1;
    int resizeStartX_ = 0;
    qint32 resizeStartWidth_ = 0;
    bool splitCursor_ = false;
};

} // namespace detail
} // namespace gridkit
