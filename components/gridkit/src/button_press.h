#pragma once

// A push button of a cell held down by the pointer. An item view tells its delegate of a press
// and a release, but not of the moves between (and not of a move that leaves the cell), so while
// the button is held the press watches the view's viewport itself: the button shows pressed
// while the pointer is on it, and a release on it clicks it. It only watches: every event goes
// on to the view, which may have more to do with it (a report grid reports every move). The cell
// is held by a persistent index, so that a reset, a removed row or another model ends the press
// instead of clicking something else, and the view by a guarded pointer.

#include <QObject>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QRect>

#include <functional>

class QAbstractItemView;
class QWidget;

namespace gridgauge::gridkit::detail {

class ButtonPress : public QObject {
public:
    using Click = std::function<void(QAbstractItemView*, const QModelIndex&, int)>;

    ButtonPress() = default;
    ~ButtonPress() override;

    // The button at rect (in the viewport) of the cell at index was pressed in view.
    void begin(QAbstractItemView* view, const QModelIndex& index, int button, const QRect& rect,
               Click click);
    void end();
    bool active() const { return viewport_ != nullptr; }
    // Whether that button of that cell shows pressed, in view (any view when null).
    bool isDown(const QWidget* view, const QModelIndex& index, int button) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setDown(bool down);

    QPointer<QAbstractItemView> view_;
    QPointer<QWidget> viewport_;
    QPersistentModelIndex cell_;
    int button_ = -1;
    QRect rect_;
    bool down_ = false;
    Click click_;
};

} // namespace gridgauge::gridkit::detail
