#include "button_press.h"

#include <QAbstractItemView>
#include <QMouseEvent>
#include <QtMath>

namespace gridgauge::gridkit::detail {

ButtonPress::~ButtonPress() {
    end();
}

void ButtonPress::begin(QAbstractItemView* view, const QModelIndex& index, int button,
                        const QRect& rect, Click click) {
    end();
    if (!view)
        return;
    view_ = view;
    viewport_ = view->viewport();
    cell_ = index;
    button_ = button;
    rect_ = rect;
    click_ = std::move(click);
    viewport_->installEventFilter(this);
    setDown(true);
}

void ButtonPress::end() {
    if (viewport_)
        viewport_->removeEventFilter(this);
    setDown(false);
    viewport_ = nullptr;
    view_ = nullptr;
    cell_ = QPersistentModelIndex();
    button_ = -1;
    click_ = nullptr;
}

bool ButtonPress::isDown(const QWidget* view, const QModelIndex& index, int button) const {
    return down_ && button == button_ && cell_ == index && (!view || view == view_.data());
}

void ButtonPress::setDown(bool down) {
    if (down_ == down)
        return;
    down_ = down;
    if (view_ && cell_.isValid())
        view_->update(cell_);
}

bool ButtonPress::eventFilter(QObject* watched, QEvent* event) {
    if (watched != viewport_.data() || !cell_.isValid() || !view_) {
        if (watched == viewport_.data())
            end(); // the cell or the view went away: nothing to click
        return false;
    }
    switch (event->type()) {
    case QEvent::MouseMove: {
        const QPointF at = static_cast<QMouseEvent*>(event)->position();
        setDown(rect_.contains(QPoint(qFloor(at.x()), qFloor(at.y()))));
        break;
    }
    case QEvent::MouseButtonRelease: {
        const auto* release = static_cast<QMouseEvent*>(event);
        if (release->button() != Qt::LeftButton)
            break;
        const QPointF at = release->position();
        const bool clicked = rect_.contains(QPoint(qFloor(at.x()), qFloor(at.y())));
        QAbstractItemView* view = view_;
        const QPersistentModelIndex cell = cell_;
        const int button = button_;
        const Click click = click_;
        const QPointer<QObject> viewport = watched;
        end();
        // The click's handler may delete the view and the delegate: this press is over first,
        // and a viewport gone with its view takes no more of the event.
        if (clicked && click)
            click(view, cell, button);
        return !viewport;
    }
    default:
        break;
    }
    return false;
}

} // namespace gridgauge::gridkit::detail
