#include "app/frm_main.h"

#include "controlkit/controlkit.h"
#include "gridkit/report_grid.h"
#include "host/dispatcher.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv); // takes Qt's own options (-platform and the like), nothing else
    QApplication::setApplicationName(QStringLiteral("Gridgauge"));
    QApplication::setDesktopFileName(QStringLiteral("gridgauge"));

    gridkit::registerControls();
    controlkit::registerControls();

    auto& dispatcher = host::Dispatcher::instance();
    std::unique_ptr<frmMain> window;
    dispatcher.invoke([&] { window = std::make_unique<frmMain>(); });
    if (dispatcher.failed())
        return 1;
    window->load();
    if (dispatcher.failed())
        return 1;
    window->show();
    if (dispatcher.failed())
        return 1;
    return app.exec();
}
