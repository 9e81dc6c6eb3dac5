#pragma once

// How a running program pays for an event: the event is delivered, and then the window paints
// what its widgets invalidated, and only that, into its backing store and flushes it, as the event
// loop's next update request would. Nothing is forced to paint whole.
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace bench {

inline void paintPending(QWidget& window) {
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(window.window(), &request);
}

// Counts the paint events a widget receives, to see that a measured iteration painted at all.
class PaintCount : public QObject {
public:
    explicit PaintCount(QWidget& widget) { widget.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    int paints = 0;
};

} // namespace bench
