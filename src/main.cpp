#include "app/startup.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv); // takes Qt's own options (-platform and the like), nothing else
    return runGridgauge(app);
}
