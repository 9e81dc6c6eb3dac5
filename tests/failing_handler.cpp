// A program whose one handler fails, reported and ended by the host's default error handling.
// The first argument chooses what the handler throws: a run-time error (the default), bad_alloc,
// a standard exception, or a value that is no exception class at all.
#include "gridgauge/host/dispatcher.h"
#include "gridgauge/host/runtime_error.h"

#include <QApplication>
#include <QTimer>

#include <new>
#include <stdexcept>

namespace {

[[noreturn]] void throwKind(const QString& kind) {
    if (kind == QLatin1String("bad-alloc"))
        throw std::bad_alloc();
    if (kind == QLatin1String("std-exception"))
        throw std::logic_error("not a run-time error");
    if (kind == QLatin1String("int"))
        throw 42;
    throw host::RuntimeError(host::Overflow);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const QString kind = arguments.size() > 1 ? arguments.at(1) : QString();
    int steps = 0;
    QTimer::singleShot(0, [&] {
        host::Dispatcher::instance().invoke([&] {
            ++steps;
            throwKind(kind);
        });
    });
    QTimer::singleShot(0, [&] {
        // Queued behind the failure: must not run once the program is ending.
        host::Dispatcher::instance().invoke([&] { std::puts("handler after failure ran"); });
    });
    return app.exec();
}
