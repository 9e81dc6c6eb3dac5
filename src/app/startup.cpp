#include "startup.h"

#include "frm_main.h"

#include "controlkit/controlkit.h"
#include "gridkit/report_grid.h"
#include "host/dispatcher.h"

#include <QApplication>

#include <memory>

int runGridgauge(QApplication& app, const std::function<void(frmMain&)>& onCreated) {
    QApplication::setApplicationName(QStringLiteral("Gridgauge"));
    QApplication::setDesktopFileName(QStringLiteral("gridgauge"));

    gridkit::registerControls();
    controlkit::registerControls();

    auto& dispatcher = host::Dispatcher::instance();
    std::unique_ptr<frmMain> window;
    dispatcher.invoke([&] { window = std::make_unique<frmMain>(); });
    if (dispatcher.failed())
        return 1;
    if (onCreated)
        onCreated(*window);
    window->load();
    if (dispatcher.failed())
        return 1;
    window->show();
    if (dispatcher.failed())
        return 1;
    return app.exec();
}
