#include "gridgauge/host/dispatcher.h"

#include "gridgauge/host/runtime_error.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <new>

namespace host {

Dispatcher& Dispatcher::instance() {
    static Dispatcher dispatcher;
    return dispatcher;
}

namespace {

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

void Dispatcher::fail() noexcept {
    failed_ = true;
    try {
        const RuntimeError error = currentError();
        (reporter_ ? reporter_ : defaultReport)(error);
    } catch (...) {
        // Reporting needs memory too; with none left the ending below still happens.
    }
    (terminator_ ? terminator_ : defaultTerminate)(1);
}

void Dispatcher::setReporter(Reporter reporter) {
    reporter_ = std::move(reporter);
}
void Dispatcher::setTerminator(Terminator terminator) {
    terminator_ = std::move(terminator);
}

void Dispatcher::defaultReport(const RuntimeError& error) {
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

void Dispatcher::defaultTerminate(int exitStatus) {
    // Before the event loop runs (an error while loading) there is no loop to leave.
    if (QCoreApplication::instance() && QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(exitStatus);
    else
        std::exit(exitStatus);
}

} // namespace host
