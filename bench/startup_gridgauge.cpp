// Gridgauge's start-up as its main runs it, ending at the first refresh: the first caption change
// after the window is made is the refresh's, so it reports "done" and leaves the event loop.
#include "app/frm_main.h"

#include "controlkit/controlkit.h"
#include "gridkit/report_grid.h"
#include "host/dispatcher.h"

#include <QApplication>

#include <cstdio>
#include <memory>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Gridgauge"));
    QApplication::setDesktopFileName(QStringLiteral("gridgauge"));

    gridkit::registerControls();
    controlkit::registerControls();

    auto& dispatcher = host::Dispatcher::instance();
    std::unique_ptr<frmMain> window;
    dispatcher.invoke([&] { window = std::make_unique<frmMain>(); });
    if (dispatcher.failed())
        return 1;
    QObject::connect(window.get(), &QWidget::windowTitleChanged, &app, [] {
        std::fputs("done\n", stdout);
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    window->load();
    if (dispatcher.failed())
        return 1;
    window->show();
    if (dispatcher.failed())
        return 1;
    return app.exec();
}
