#pragma once

// Mouse and keys turned into what the user did: pressed a button of a cell, ticked a check box,
// moved the focus, dragged a column's edge or a header to another place, clicked a header. Input
// keeps only the state of a gesture in progress (what is pressed, what is being dragged, what the
// pointer hovers) and tells the grid everything through InputListener; it reads the model, the
// geometry and the settings and changes none of them.

#include "gridgauge/gridkit/handles.h"

#include <QPoint>
#include <QtGlobal>

class QKeyEvent;
class QMouseEvent;

namespace gridkit {

class GridModel;

namespace detail {

class GridGeometry;
struct ViewSettings;

class InputListener {
public:
    // The pointer went down or moved, before input acts on it. Answers whether the view is still
    // there: a handler may destroy it, input with it, and input then returns at once.
    virtual bool pointerPressed(const QMouseEvent& event, QPoint at) = 0;
    virtual bool pointerMoved(const QMouseEvent& event, QPoint at) = 0;

    // What the user did.
    virtual void focusCell(CellAddress cell, bool scrollIntoView) = 0;
    virtual void clickControl(qint32 row, qint32 item, qint32 position) = 0;
    virtual void toggleCheckBox(qint32 row, qint32 item) = 0;
    virtual void resizeColumn(qint32 columnId, qint32 width) = 0;
    // Wants the column as wide as its content (a double click on its header divider).
    virtual void fitColumn(qint32 columnId) = 0;
    virtual void moveColumn(qint32 fromPosition, qint32 toPosition) = 0;
    virtual void sortByColumn(qint32 columnId) = 0;

    // What input shows of itself changed: a button's pressed look in a cell, the header's hover,
    // press or drop look, the pointer's shape over a column edge.
    virtual void cellLookChanged(qint32 row, qint32 columnId) = 0;
    virtual void headerLookChanged() = 0;
    virtual void resizeCursorChanged(bool overEdge) = 0;

protected:
    ~InputListener() = default;
};

class GridInput {
public:
    GridInput(const GridModel& model, const GridGeometry& geometry, const ViewSettings& settings,
              const CellAddress& focus, InputListener& listener)
        : model_(model)
        , geometry_(geometry)
        , settings_(settings)
        , focus_(focus)
        , listener_(listener) {}

    void press(const QMouseEvent& event);
    void move(const QMouseEvent& event);
    void release(const QMouseEvent& event);
    void leave();
    bool key(const QKeyEvent& event); // whether the grid used the key
    // Tab (forward) or Shift+Tab: the next or previous cell in reading order. False past either
    // end, and when focus moves by row, for the focus to move on to another control.
    bool tab(bool forward);

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
    void pressHeader(const QPoint& at, bool doubleClick);
    void pressBody(const QPoint& at);
    bool dragControl(const QPoint& at);
    bool dragHeader(const QPoint& at);
    void finishHeaderPress(const QPoint& at);
    void updateHover(const QPoint& at);
    // Where a key moves the focus, or nothing for a key that does not move it.
    bool keyTarget(const QKeyEvent& event, qint32 step, qint32& position, qint32& column) const;
    void activateFocusCell();

    const GridModel& model_;
    const GridGeometry& geometry_;
    const ViewSettings& settings_;
    const CellAddress& focus_;
    InputListener& listener_;

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
