#include "gridgauge/host/dispatcher.h"

#include "dispatcher_testing.h"
#include "gridgauge/host/runtime_error.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <new>

namespace host {

namespace {

void defaultReport(const RuntimeError& error) {
    const QString title = QStringLiteral("Run-time error '%1':").arg(error.number());
    std::fprintf(stderr, "%s\n\n%s\n", qPrintable(title), qPrintable(error.description()));
    std::fflush(stderr);

    const QString platform = QGuiApplication::platformName();
    const bool hasDisplay = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) &&
                            platform != QLatin1String("offscreen") &&
                            platform != QLatin1String("minimal");
    if (hasDisplay) {
        QMessageBox box(QMessageBox::Critical, QCoreApplication::applicationName(),
                        title + QStringLiteral("\n\n") + error.description(), QMessageBox::Ok);
        box.exec();
    }
}

// The only way a failure ends the program.
void defaultTerminate(int exitStatus) {
    // Before the event loop runs (an error while loading) there is no loop to leave.
    if (QCoreApplication::instance() && QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(exitStatus);
    else
        std::exit(exitStatus);
}

class HostDispatcher final : public Dispatcher {
public:
    static HostDispatcher& instance() {
        static HostDispatcher dispatcher;
        return dispatcher;
    }

    bool failed() const { return failed_; }
    void setFailed(bool failed) { failed_ = failed; }

    testing::Reporter reporter;     // empty: defaultReport
    testing::Terminator terminator; // empty: defaultTerminate
};

// The exception in flight, as the run-time error it is reported as.
RuntimeError currentError() {
    try {
        throw;
    } catch (const RuntimeError& error) {
        return error;
    } catch (const std::bad_alloc&) {
        return RuntimeError(OutOfMemory);
    } catch (...) {
        return RuntimeError(InternalError);
    }
}

} // namespace

Dispatcher& Dispatcher::instance() {
    return HostDispatcher::instance();
}

void Dispatcher::fail() noexcept {
    failed_ = true;
    const HostDispatcher& self = HostDispatcher::instance();
    try {
        const RuntimeError error = currentError();
        (self.reporter ? self.reporter : defaultReport)(error);
    } catch (...) {
        // Reporting needs memory too; with none left the ending below still happens.
    }
    (self.terminator ? self.terminator : defaultTerminate)(1);
}

namespace testing {

void setReporter(Reporter reporter) {
    HostDispatcher::instance().reporter = std::move(reporter);
}
void setTerminator(Terminator terminator) {
    HostDispatcher::instance().terminator = std::move(terminator);
}
bool failed() {
    return HostDispatcher::instance().failed();
}
void reset() {
    HostDispatcher::instance().setFailed(false);
}

} // namespace testing

} // namespace host
