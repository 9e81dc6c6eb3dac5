// A program of another project, as C++17 and with GridKit alone: the engine comes with it, both
// namespaces are the libraries' own, and the version it runs with is the one it was built
// against. Prints that version.
#include <gridgauge/gridkit/report_grid.h>
#include <gridgauge/markup/markup.h>
#include <gridgauge/version.h>

#include <QApplication>
#include <QStandardItemModel>

#include <cstdio>
#include <cstring>

static_assert(GRIDGAUGE_VERSION >= GRIDGAUGE_VERSION_CHECK(1, 0, 0), "built against 1.x");

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (std::strcmp(gridgauge::version(), GRIDGAUGE_VERSION_STRING) != 0) {
        std::fprintf(stderr, "runs with %s, built against %s\n", gridgauge::version(),
                     GRIDGAUGE_VERSION_STRING);
        return 1;
    }
    const gridgauge::markup::DocumentPtr document =
        gridgauge::markup::parse(QStringLiteral("<TextBlock Text='75%'/>"));
    if (!document || gridgauge::markup::textContent(*document) != QStringLiteral("75%"))
        return 2;
    QStandardItemModel model(2, 2);
    gridgauge::gridkit::ReportGrid grid;
    grid.setModel(&model);
    if (grid.model() != &model || !grid.visualRect(model.index(1, 1)).isValid())
        return 3;
    std::printf("%s\n", gridgauge::version());
    return 0;
}
