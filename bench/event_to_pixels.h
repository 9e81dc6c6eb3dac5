#pragma once

// How a running program pays for an event: the event is delivered, and then the window paints
// what its widgets invalidated, and only that, into its backing store and flushes it, as the event
// loop's next update request would. Nothing is forced to paint whole.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEvent>
#include <QTest>
#include <QWidget>

namespace bench {

// Before the first measured event: the window is on the screen and has handled what showing it
// queued.
inline void waitExposed(benchmark::State& state, QWidget& window) {
    if (!QTest::qWaitForWindowExposed(&window))
        state.SkipWithError("window not exposed");
    QCoreApplication::processEvents();
}

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
