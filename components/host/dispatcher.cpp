#include "dispatcher.h"

#include "runtime_error.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QThread>

#include <cstdio>
#include <cstdlib>

namespace host {

Dispatcher& Dispatcher::instance() {
    static Dispatcher dispatcher;
    return dispatcher;
}

bool Dispatcher::invoke(const std::function<void()>& handler) {
    if (failed_)
        return false;
    try {
        handler();
        return true;
    } catch (const RuntimeError& error) {
        failed_ = true;
        (reporter_ ? reporter_ : defaultReport)(error);
        (terminator_ ? terminator_ : defaultTerminate)(1);
        return false;
    }
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
    // Before the event loop runs (an error while loading) there is no loop to leave; main checks
    // failed() and returns the status itself, but a caller outside main may not, so leave hard.
    if (QCoreApplication::instance() && QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(exitStatus);
    else
        std::exit(exitStatus);
}

} // namespace host
