#include "gridgauge/host/timer.h"

#include "gridgauge/host/runtime_error.h"

namespace host {

Timer::Timer(QObject* parent)
    : QObject(parent) {
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &Timer::tick);
}

void Timer::setInterval(int milliseconds) {
    if (milliseconds < 0)
        throw RuntimeError(InvalidPropertyValue);
    if (milliseconds == interval_)
        return;
    interval_ = milliseconds;
    timer_.stop(); // a new interval starts counting afresh
    update();
}

void Timer::setEnabled(bool enabled) {
    enabled_ = enabled;
    update();
}

void Timer::update() {
    const bool shouldRun = enabled_ && interval_ > 0;
    if (!shouldRun)
        timer_.stop();
    else if (!timer_.isActive())
        timer_.start(interval_);
}

} // namespace host
