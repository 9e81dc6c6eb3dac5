// Gridgauge's start-up as its main runs it, ending at the first refresh: the first caption change
// after the window is made is the refresh's, so it reports "done" and leaves the event loop.
#include "app/frm_main.h"
#include "app/startup.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    return runGridgauge(app, [&app](frmMain& window) {
        QObject::connect(&window, &QWidget::windowTitleChanged, &app, [] {
            std::fputs("done\n", stdout);
            std::fflush(stdout);
            QCoreApplication::quit();
        });
    });
}
