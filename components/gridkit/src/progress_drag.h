#pragma once

// A drag that sets a cell's value from the pointer, and the writes it and the editor make. A
// delegate hears of mouse moves only while the pointer is over one of its cells, and not at all
// once a view is busy selecting, so while the button is held the drag watches the view's viewport
// itself: every move there (and, the viewport having the pointer grabbed, anywhere on the screen)
// sets the value and goes no further, and the release ends the drag and goes on to the view. The
// cell is held by a persistent index and placed afresh at each move, so that rows inserted above
// it or a scroll during the drag keep the value under the pointer, and a cell that went away (a
// reset, a removed row, another model in the view, the view itself destroyed) ends the drag
// instead of being written.

#include "progress_bar.h"

#include <QObject>
#include <QPersistentModelIndex>
#include <QPointer>

class QAbstractItemModel;
class QAbstractItemView;
class QWidget;

namespace gridgauge::gridkit::detail {

// Writes a delegate's values into a model. A model is free to refuse a value (a role it does not
// store, a type it does not take, a read-only cell whose flags said otherwise); the first refusal
// is reported, later ones are not, so that a drag over such a model says so once, not at every
// move.
class ProgressWriter {
public:
    // Writes value in role, of the type the cell already holds there when it is a number or a
    // text that can hold value (a model keeping doubles may take nothing else), an int otherwise.
    // Whether the model took it.
    bool write(QAbstractItemModel& model, const QModelIndex& index, int role, int value);

private:
    bool warned_ = false;
};

// Where a drag reads and writes the value, and the range the pointer maps onto.
struct ProgressTarget {
    int valueRole = Qt::DisplayRole;
    int editRole = Qt::EditRole;
    ProgressRange range;
};

class ProgressDrag : public QObject {
public:
    explicit ProgressDrag(ProgressWriter& writer)
        : writer_(writer) {}
    ~ProgressDrag() override;

    // Follows the pointer for the cell at index of view, as target says, until the release.
    void begin(QAbstractItemView& view, QAbstractItemModel& model, const QModelIndex& index,
               const ProgressTarget& target);
    void end();

    // Writes the value for a pointer at x in cell (both in the same coordinates), unless it is
    // what the cell already shows.
    void write(QAbstractItemModel& model, const QModelIndex& index, const ProgressTarget& target,
               double x, const QRect& cell, Qt::LayoutDirection direction);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow(double x);

    ProgressWriter& writer_;
    QPointer<QAbstractItemView> view_;
    QPointer<QWidget> viewport_;
    QPointer<QAbstractItemModel> model_;
    QPersistentModelIndex cell_;
    ProgressTarget target_;
    QMetaObject::Connection viewGone_;
};

} // namespace gridgauge::gridkit::detail
