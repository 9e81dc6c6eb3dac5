#pragma once

#include <utility>

#include <QObject>

namespace host {

// The one door every event handler goes through. Whatever escapes a handler is reported as a
// run-time error (a RuntimeError as it is, std::bad_alloc as 7 "Out of memory", anything else as
// 51 "Internal error"): "Run-time error 'N':" and the description on stderr, and in a message box
// when there is a display to show it on. Then the program ends with exit status 1, leaving the
// event loop, or the process when no loop runs yet (a failure while the window is being created,
// loaded or first shown); no exception ever reaches Qt's event loop. After that failure no further
// handler runs, so nothing acts on a half-finished state while the program winds down.
class Dispatcher {
public:
    static Dispatcher& instance();

    // Runs the handler unless an earlier one failed. Returns false when it did not run to its end.
    // The handler is called in place: entering it allocates nothing.
    template <typename Handler> bool invoke(Handler&& handler) noexcept {
        if (failed_)
            return false;
        try {
            std::forward<Handler>(handler)();
            return true;
        } catch (...) {
            fail();
            return false;
        }
    }

protected:
    // The one instance is of the host's own kind, which also holds how a failure is reported and
    // how the program then ends.
    Dispatcher() = default;
    ~Dispatcher() = default;

    bool failed_ = false;

private:
    // Called inside the catch block: turns the exception in flight into a report and the ending.
    void fail() noexcept;
};

// Connects a signal to a handler that is entered through the dispatcher.
template <typename Sender, typename Signal, typename Handler>
QMetaObject::Connection connectHandler(Sender* sender, Signal signal, QObject* context,
                                       Handler handler) {
    return QObject::connect(sender, signal, context, [handler](auto&&... args) {
        Dispatcher::instance().invoke([&] { handler(std::forward<decltype(args)>(args)...); });
    });
}

} // namespace host
