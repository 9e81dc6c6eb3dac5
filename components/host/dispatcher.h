#pragma once

#include <QObject>

#include <functional>
#include <utility>

namespace host {

class RuntimeError;

// The one door every event handler goes through. A RuntimeError that escapes a handler is reported
// and ends the program with exit status 1; no exception ever reaches Qt's event loop. After that
// failure no further handler runs, so nothing acts on a half-finished state while the program winds
// down.
class Dispatcher {
public:
    using Reporter = std::function<void(const RuntimeError&)>;
    using Terminator = std::function<void(int exitStatus)>;

    static Dispatcher& instance();

    // Runs the handler unless an earlier one failed. Returns false when it did not run to its end.
    bool invoke(const std::function<void()>& handler);

    bool failed() const { return failed_; }

    // Tests replace how a failure is reported and how the program ends; empty restores the default.
    void setReporter(Reporter reporter);
    void setTerminator(Terminator terminator);
    void reset() { failed_ = false; }

    // The default report: "Run-time error 'N':" and the description on stderr, and a message box
    // when there is a display to show it on.
    static void defaultReport(const RuntimeError& error);
    // The default ending: leave the event loop with the status, or the process when no loop runs.
    static void defaultTerminate(int exitStatus);

private:
    Dispatcher() = default;
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
