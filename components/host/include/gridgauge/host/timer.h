#pragma once

#include <QObject>
#include <QTimer>

namespace host {

// The platform timer: an interval in milliseconds and an enabled flag. While enabled with an
// interval above 0 it ticks through the event loop, never from inside the call that armed it.
// Enabling a timer that is already enabled keeps its running interval.
class Timer : public QObject {
    Q_OBJECT
    Q_PROPERTY(int interval READ interval WRITE setInterval)
    Q_PROPERTY(bool enabled READ enabled WRITE setEnabled)

public:
    explicit Timer(QObject* parent = nullptr);

    int interval() const { return interval_; }
    void setInterval(int milliseconds); // below 0 throws 380
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);

signals:
    void tick();

private:
    void update();

    QTimer timer_;
    int interval_ = 0;
    bool enabled_ = true;
};

} // namespace host
