// The grid at a hundred thousand records: its rebuild against filling a QStandardItemModel of the
// same size, and its full repaint against the same repaint with the program's eleven records.
#include "app_fixture.h"
#include "progress/markup.h"
#include "ratio_report.h"

#include "gridkit/report_grid.h"
#include "host/system_colors.h"
#include "host/units.h"

#include <QApplication>
#include <QImage>
#include <QStandardItemModel>

#include <memory>
#include <vector>

namespace {

constexpr int ManyRecords = 100000;
constexpr int FewRecords = 11;
constexpr int ItemsPerRecord = 4;
constexpr int ColumnWidth = 100;

// Every record reads like one of the program's: text in three items and a progress bar in item 1.
// The bars repeat every 101 records and share their text, as equal captions would.
const std::vector<QString>& contents() {
    static const std::vector<QString> texts = [] {
        std::vector<QString> bars;
        for (int percent = 0; percent <= 100; ++percent)
            bars.push_back(BuildNestedMarkup(ColumnWidth, 20, percent));
        std::vector<QString> all;
        all.reserve(std::size_t(ManyRecords) * ItemsPerRecord);
        for (int r = 0; r < ManyRecords; ++r) {
            for (int k = 0; k < ItemsPerRecord; ++k) {
                if (k == 1)
                    all.push_back(bars[std::size_t(r % 101)]);
                else
                    all.push_back(QStringLiteral("Record %1, item %2").arg(r).arg(k));
            }
        }
        return all;
    }();
    return texts;
}

const QString& text(int record, int item) {
    return contents()[std::size_t(record) * ItemsPerRecord + std::size_t(item)];
}

// The size the program's grid has: its window's client area.
QSize windowSize() {
    const host::FormDescription& d = frmMain::designTime();
    return QSize(host::units::twipsToPixelsX(d.clientWidth),
                 host::units::twipsToPixelsY(d.clientHeight));
}

// A grid with the program's settings and columns, records records, shown at the window's size.
std::unique_ptr<gridkit::ReportGrid> makeGrid(int records) {
    auto grid = std::make_unique<gridkit::ReportGrid>();
    grid->appearance().setHeaderStyle(4);
    grid->setMarkupEnabled(true);
    grid->setGroupBoxVisible(false);
    grid->setColumnReorderAllowed(false);
    grid->setSortOnHeaderClick(false);
    grid->setCellFocus(true);
    grid->setGridLinesVisible(true);
    grid->appearance().setThemedControls(true);
    grid->appearance().setBelowRowsColor(host::colors::ButtonFace);
    grid->appearance().setHighlightFocusedRow(true);
    for (int c = 0; c < ItemsPerRecord; ++c)
        grid->columns().add(c, QStringLiteral("Col ") + QString::number(c), ColumnWidth, true);
    gridkit::RecordList list = grid->records();
    for (int r = 0; r < records; ++r) {
        gridkit::Record record = list.add();
        for (int k = 0; k < ItemsPerRecord; ++k)
            record.addItem(QString()).setCaption(text(r, k));
    }
    grid->rebuild();
    grid->resize(windowSize());
    grid->show();
    QCoreApplication::processEvents();
    return grid;
}

void keepImage(const QImage& image) {
    const uchar* bits = image.constBits();
    benchmark::DoNotOptimize(bits);
    benchmark::ClobberMemory();
}

void BM_scale_rebuild_gridgauge(benchmark::State& state) {
    const std::unique_ptr<gridkit::ReportGrid> grid = makeGrid(ManyRecords);
    for (auto _ : state) {
        grid->rebuild();
        benchmark::ClobberMemory();
    }
    if (grid->rows().count() != ManyRecords)
        state.SkipWithError("the rebuild did not show every record");
    QCoreApplication::processEvents();
}
BENCHMARK(BM_scale_rebuild_gridgauge)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

// Not a comparison of its own: what the rebuild above does not include, making the records and
// items through the object model, beside the peer's fill that does the same job.
void BM_scale_fill_gridgauge(benchmark::State& state) {
    contents();
    for (auto _ : state) {
        auto grid = std::make_unique<gridkit::ReportGrid>();
        for (int c = 0; c < ItemsPerRecord; ++c)
            grid->columns().add(c, QStringLiteral("Col ") + QString::number(c), ColumnWidth, true);
        gridkit::RecordList list = grid->records();
        for (int r = 0; r < ManyRecords; ++r) {
            gridkit::Record record = list.add();
            for (int k = 0; k < ItemsPerRecord; ++k)
                record.addItem(QString()).setCaption(text(r, k));
        }
        grid->rebuild();
        benchmark::DoNotOptimize(grid.get());
        benchmark::ClobberMemory();
        state.PauseTiming();
        grid.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_scale_fill_gridgauge)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// The model is sized first and then given its items, the faster of the two usual ways (the other
// is appendRow, which signals every row).
void BM_scale_fill_peer(benchmark::State& state) {
    contents();
    for (auto _ : state) {
        auto model = std::make_unique<QStandardItemModel>(ManyRecords, ItemsPerRecord);
        for (int r = 0; r < ManyRecords; ++r)
            for (int k = 0; k < ItemsPerRecord; ++k)
                model->setItem(r, k, new QStandardItem(text(r, k)));
        benchmark::DoNotOptimize(model.get());
        benchmark::ClobberMemory();
        state.PauseTiming();
        model.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_scale_fill_peer)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

void paintInto(benchmark::State& state, QWidget& grid) {
    QImage image(grid.size() * grid.devicePixelRatioF(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(grid.devicePixelRatioF());
    for (auto _ : state) {
        grid.render(&image);
        keepImage(image);
    }
}

// The program's own grid after its first refresh, as it starts (11 records), and with records
// added until it holds 100,000: the added ones are like its rows 3 to 10, four items with empty
// captions, so both paint the same cells and only the number of records differs.
// Which part of the grid is painted: all of it, or only the body (the viewport, without the
// scroll bar that the large grid shows and the small one does not).
enum class Part { Whole, Body };

void programGrid(benchmark::State& state, int records, Part part = Part::Whole) {
    const std::unique_ptr<frmMain> f = app_fixture::start();
    gridkit::ReportGrid& grid = *f->wndReportControlData;
    gridkit::RecordList list = grid.records();
    while (list.count() < records) {
        gridkit::Record record = list.add();
        for (int k = 0; k < ItemsPerRecord; ++k)
            record.addItem(QString());
    }
    grid.rebuild();
    if (grid.rows().count() != records)
        state.SkipWithError("the grid does not hold the records");
    QCoreApplication::processEvents();
    paintInto(state, part == Part::Whole ? static_cast<QWidget&>(grid) : *grid.viewport());
    QCoreApplication::processEvents();
}

void BM_scale_repaint_100000(benchmark::State& state) {
    programGrid(state, ManyRecords);
}
BENCHMARK(BM_scale_repaint_100000)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

void BM_scale_repaint_11(benchmark::State& state) {
    programGrid(state, FewRecords);
}
BENCHMARK(BM_scale_repaint_11)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

// Not a comparison of its own: the same two grids without their scroll bars, the part that
// GridKit paints itself.
void BM_scale_repaint_body_100000(benchmark::State& state) {
    programGrid(state, ManyRecords, Part::Body);
}
BENCHMARK(BM_scale_repaint_body_100000)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

void BM_scale_repaint_body_11(benchmark::State& state) {
    programGrid(state, FewRecords, Part::Body);
}
BENCHMARK(BM_scale_repaint_body_11)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

// Not a comparison of its own: every record with text and a bar. The window shows 17 rows of the
// large grid but only 11 of the small one, so this pair measures mostly how many rows are in view.
void BM_scale_repaint_filled_100000(benchmark::State& state) {
    const std::unique_ptr<gridkit::ReportGrid> grid = makeGrid(ManyRecords);
    paintInto(state, *grid);
}
BENCHMARK(BM_scale_repaint_filled_100000)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

void BM_scale_repaint_filled_11(benchmark::State& state) {
    const std::unique_ptr<gridkit::ReportGrid> grid = makeGrid(FewRecords);
    paintInto(state, *grid);
}
BENCHMARK(BM_scale_repaint_filled_11)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return bench::runWithRatios(argc, argv, [](const bench::RatioReporter& r) {
        using bench::Clock;
        bench::printRatio("scale_rebuild",
                          r.median("BM_scale_rebuild_gridgauge", Clock::Cpu) /
                              r.median("BM_scale_fill_peer", Clock::Cpu),
                          "0.25");
        bench::printRatio("scale_repaint",
                          r.median("BM_scale_repaint_100000", Clock::Cpu) /
                              r.median("BM_scale_repaint_11", Clock::Cpu),
                          "1.2");
        // Context for the two above, without goals of their own ("-").
        bench::printRatio("scale_fill",
                          r.median("BM_scale_fill_gridgauge", Clock::Cpu) /
                              r.median("BM_scale_fill_peer", Clock::Cpu),
                          "-");
        bench::printRatio("scale_repaint_body",
                          r.median("BM_scale_repaint_body_100000", Clock::Cpu) /
                              r.median("BM_scale_repaint_body_11", Clock::Cpu),
                          "-");
    });
}
