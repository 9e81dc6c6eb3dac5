#pragma once

// A drag that sets a cell's value from the pointer. A delegate hears of mouse moves only while
// the pointer is over one of its cells, and not at all once a view is busy selecting, so while
// the button is held the drag watches the view's viewport itself: every move there (and, the
// viewport having the pointer grabbed, anywhere on the screen) sets the value and goes no
// further, and the release ends the drag and goes on to the view. The cell is held by a
// persistent index and placed afresh at each move, so that rows inserted above it or a scroll
// during the drag keep the value under the pointer, and a cell that went away (a reset, a removed
// row, another model in the view, the view itself destroyed) ends the drag instead of being
// written.

#include <QObject>
#include <QPersistentModelIndex>
#include <QPointer>

class QAbstractItemModel;
class QAbstractItemView;
class QWidget;

namespace gridkit::detail {

class ProgressDrag : public QObject {
public:
    ProgressDrag() = default;
    ~ProgressDrag() override;

    // Follows the pointer for the cell at index of view, reading and writing role in model.
    void begin(QAbstractItemView& view, QAbstractItemModel& model, const QModelIndex& index,
               int role);
    void end();
    bool active() const { return viewport_ != nullptr; }

    // Writes the value for a pointer at x in cell (both in the same coordinates), unless it is
    // what the cell already holds.
    static void write(QAbstractItemModel& model, const QModelIndex& index, int role, double x,
                      const QRect& cell, Qt::LayoutDirection direction);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow(double x);

    QPointer<QAbstractItemView> view_;
    QPointer<QWidget> viewport_;
    QPointer<QAbstractItemModel> model_;
    QPersistentModelIndex cell_;
    int role_ = Qt::DisplayRole;
    QMetaObject::Connection viewGone_;
};

} // namespace gridkit::detail
