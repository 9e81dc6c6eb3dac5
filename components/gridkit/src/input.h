#pragma once

// The header's gestures and the keys, turned into what the user did: dragged a column's divider,
// double-clicked it, dragged a header to another place, clicked a header, moved the current
// cell. Input keeps only the state of a gesture in progress (what is pressed, what is being
// dragged, what the pointer hovers) and asks the view to do everything; presses on cells go to
// their delegates, through the view.

#include <QPoint>

class QKeyEvent;
class QModelIndex;
class QMouseEvent;

namespace gridgauge::gridkit {

class ReportGridPrivate;

namespace detail {

class GridInput {
public:
    explicit GridInput(ReportGridPrivate& view)
        : view_(view) {}

    // In the header band's coordinates, laid out left to right (already mirrored back).
    void headerPress(const QMouseEvent& event, const QPoint& at);
    void headerMove(const QMouseEvent& event, const QPoint& at);
    void headerRelease(const QMouseEvent& event, const QPoint& at);
    void leave();

    // Whether the view used the key.
    bool key(const QKeyEvent& event);
    // Tab (forward) or Shift+Tab: the next or previous cell in reading order. False past either
    // end, and when focus moves by row, for the focus to move on to another control.
    bool tab(bool forward);

    // What painting shows of the header.
    int hoverHeader() const { return hoverHeader_; }
    int pressedHeader() const { return pressedHeader_; }
    bool headerDragging() const { return headerDragging_; }
    int dropPosition() const { return dropPosition_; }

private:
    bool dragHeader(const QPoint& at);
    void finishHeaderPress(const QPoint& at);
    void updateHover(const QPoint& at);
    void setHover(int column);
    // Where a key moves the current cell to, or false for a key that does not move it.
    bool keyTarget(const QKeyEvent& event, int step, int& row, int& position) const;

    ReportGridPrivate& view_;
    int hoverHeader_ = -1;
    int pressedHeader_ = -1;
    QPoint pressPoint_;
    bool headerDragging_ = false;
    int dropPosition_ = -1;
    int resizingColumn_ = -1;
    int resizeStartX_ = 0;
    int resizeStartWidth_ = 0;
    bool splitCursor_ = false;
};

} // namespace detail
} // namespace gridgauge::gridkit
