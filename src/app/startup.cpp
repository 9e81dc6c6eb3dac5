#include "startup.h"

#include "frm_main.h"

#include "grid/grid_control.h"
#include "gridgauge/controlkit/controlkit.h"
#include "gridgauge/host/control_registry.h"
#include "gridgauge/host/dispatcher.h"

#include <QApplication>

#include <memory>

void registerControls() {
    host::ControlRegistry::instance().add(QStringLiteral("GridKit.ReportGrid"),
                                          [](QWidget* parent) { return new report::Grid(parent); });
    controlkit::registerControls();
}

int runGridgauge(QApplication& app, const std::function<void(frmMain&)>& onCreated) {
    QApplication::setApplicationName(QStringLiteral("Gridgauge"));
    QApplication::setDesktopFileName(QStringLiteral("gridgauge"));

    registerControls();

    // A failure in any of these steps ends the process inside the dispatcher: there is no event
    // loop to leave yet.
    std::unique_ptr<frmMain> window;
    host::Dispatcher::instance().invoke([&] { window = std::make_unique<frmMain>(); });
    if (onCreated)
        onCreated(*window);
    window->load();
    window->show();
    return app.exec();
}
