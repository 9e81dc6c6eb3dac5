#pragma once

#include <functional>
#include <utility>

#include <QObject>

namespace host {

class RuntimeError;

// The one door every event handler goes through. Whatever escapes a handler is reported as a
// run-time error (a RuntimeError as it is, std::bad_alloc as 7 "Out of memory", anything else as
// 51 "Internal error") and ends the program with exit status 1; no exception ever reaches Qt's
// event loop. After that failure no further handler runs, so nothing acts on a half-finished state
// while the program winds down.
class Dispatcher {
public:
    using Reporter = std::function<void(const RuntimeError&)>;
    using Terminator = std::function<void(int exitStatus)>;

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

    bool failed() const { return failed_; }

    // Tests replace how a failure is reported and how the program ends; empty restores the default.
    void setReporter(Reporter reporter);
    void setTerminator(Terminator terminator);
    void reset() { failed_ = false; }

    // The default report: "Run-time error 'N':" and the description on stderr, and a message box
    // when there is a display to show it on.
    static void defaultReport(const RuntimeError& error);
    // The default ending, the only way a failure ends the program: leave the event loop with the
    // status, or the process when no loop runs yet (a failure while the window is being created,
    // loaded or first shown).
    static void defaultTerminate(int exitStatus);

private:
    Dispatcher() = default;
    // Called inside the catch block: turns the exception in flight into a report and the ending.
    void fail() noexcept;

    bool failed_ = false;
    Reporter reporter_;
    Terminator terminator_;
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
