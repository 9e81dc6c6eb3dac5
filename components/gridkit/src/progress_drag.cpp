#include "progress_drag.h"

#include <QAbstractItemView>
#include <QMouseEvent>

namespace gridgauge::gridkit::detail {

namespace {

// value as the type held, when that type is a number or a text and holds value as it is.
QVariant asHeld(int value, const QVariant& held) {
    switch (held.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float: {
        QVariant converted(value);
        if (converted.convert(held.metaType()) && converted.toDouble() == double(value))
            return converted;
        break;
    }
    case QMetaType::QString:
        return QString::number(value);
    default:
        break;
    }
    return value;
}

} // namespace

bool ProgressWriter::write(QAbstractItemModel& model, const QModelIndex& index, int role,
                           int value) {
    if (model.setData(index, asHeld(value, index.data(role)), role))
        return true;
    if (!warned_) {
        warned_ = true;
        qWarning("gridgauge::gridkit::ProgressDelegate: the model refused %d in role %d at row %d, "
                 "column "
                 "%d; nothing was written, and further refusals go unreported",
                 value, role, index.row(), index.column());
    }
    return false;
}

ProgressDrag::~ProgressDrag() {
    end();
}

void ProgressDrag::begin(QAbstractItemView& view, QAbstractItemModel& model,
                         const QModelIndex& index, const ProgressTarget& target) {
    end();
    view_ = &view;
    viewport_ = view.viewport();
    model_ = &model;
    cell_ = index;
    target_ = target;
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

void ProgressDrag::write(QAbstractItemModel& model, const QModelIndex& index,
                         const ProgressTarget& target, double x, const QRect& cell,
                         Qt::LayoutDirection direction) {
    if (cell.width() <= 0)
        return;
    const int value = progressAt(x, cell, direction, target.range);
    if (progressValue(index.data(target.valueRole)) != double(value))
        writer_.write(model, index, target.editRole, value);
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
    write(*model_, cell_, target_, x, view_->visualRect(cell_), view_->layoutDirection());
}

} // namespace gridgauge::gridkit::detail
