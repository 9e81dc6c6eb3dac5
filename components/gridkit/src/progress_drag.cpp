#include "progress_drag.h"

#include "progress_bar.h"

#include <QAbstractItemView>
#include <QMouseEvent>

namespace gridkit::detail {

ProgressDrag::~ProgressDrag() {
    end();
}

void ProgressDrag::begin(QAbstractItemView& view, QAbstractItemModel& model,
                         const QModelIndex& index, int role) {
    end();
    view_ = &view;
    viewport_ = view.viewport();
    model_ = &model;
    cell_ = index;
    role_ = role;
    viewport_->installEventFilter(this);
    viewGone_ = connect(&view, &QObject::destroyed, this, &ProgressDrag::end);
}

void ProgressDrag::end() {
    if (viewport_)
        viewport_->removeEventFilter(this);
    disconnect(viewGone_);
    view_ = nullptr;
    viewport_ = nullptr;
    model_ = nullptr;
    cell_ = QPersistentModelIndex();
}

void ProgressDrag::write(QAbstractItemModel& model, const QModelIndex& index, int role, double x,
                         const QRect& cell, Qt::LayoutDirection direction) {
    if (cell.width() <= 0)
        return;
    const int value = progressAt(x, cell, direction);
    if (progressValue(index.data(role)) != double(value))
        model.setData(index, value, role);
}

bool ProgressDrag::eventFilter(QObject* watched, QEvent* event) {
    if (watched != viewport_)
        return false;
    switch (event->type()) {
    case QEvent::MouseMove: {
        const auto* move = static_cast<const QMouseEvent*>(event);
        // A release the viewport never saw (another window took the pointer) ends it too.
        if (!move->buttons().testFlag(Qt::LeftButton)) {
            end();
            return false;
        }
        follow(move->position().x());
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<const QMouseEvent*>(event)->button() == Qt::LeftButton)
            end();
        return false;
    default:
        return false;
    }
}

void ProgressDrag::follow(double x) {
    if (!view_ || !model_ || !cell_.isValid() || cell_.model() != model_ ||
        view_->model() != model_) {
        end();
        return;
    }
    // Written last: what the model does on the change (even resetting) cannot reach this drag's
    // state half made.
    write(*model_, cell_, role_, x, view_->visualRect(cell_), view_->layoutDirection());
}

} // namespace gridkit::detail
