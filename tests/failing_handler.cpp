// A program whose one handler fails, reported and ended by the host's default error handling.
#include "host/dispatcher.h"
#include "host/runtime_error.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    int steps = 0;
    QTimer::singleShot(0, [&] {
        host::Dispatcher::instance().invoke([&] {
            ++steps;
            throw host::RuntimeError(host::Overflow);
        });
    });
    QTimer::singleShot(0, [&] {
        // Queued behind the failure: must not run once the program is ending.
        host::Dispatcher::instance().invoke([&] { std::puts("handler after failure ran"); });
    });
    return app.exec();
}
