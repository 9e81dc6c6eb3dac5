// The grid at a hundred thousand records: the whole window's repaint against the usual Qt table of
// as many rows, the work on one cell against the same work at the program's eleven records, and,
// as context, its rebuild and fill against filling a QStandardItemModel of the same size.
#include "app_fixture.h"
#include "event_to_pixels.h"
#include "peer_table.h"
#include "progress/markup.h"
#include "ratio_report.h"

#include "grid/grid_control.h"

#include <QApplication>
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

// What the records added to a grid hold: four empty items, like the program's rows 3 to 10, or
// the texts and bars of contents().
enum class Added { Empty, Contents };

// Adds records until the grid holds `records`; the rows are made by the next rebuild.
void addRecords(report::Grid& grid, int records, Added added) {
    report::RecordList list = grid.records();
    for (int r = list.count(); r < records; ++r) {
        report::Record record = list.add();
        for (int k = 0; k < ItemsPerRecord; ++k) {
            report::Item item = record.addItem(QString());
            if (added == Added::Contents)
                item.setCaption(text(r, k));
        }
    }
}

// The program's own window after its first refresh, as its own start-up leaves it (11 records), or
// with records added until it holds `records`.
std::unique_ptr<frmMain> programWindow(benchmark::State& state, int records, Added added) {
    std::unique_ptr<frmMain> f = app_fixture::start();
    report::Grid& grid = *f->wndReportControlData;
    addRecords(grid, records, added);
    grid.rebuild();
    if (grid.rows().count() != records)
        state.SkipWithError("the grid does not hold the records");
    bench::waitExposed(state, *f);
    app_fixture::settle(*f);
    QCoreApplication::processEvents();
    return f;
}

// The program's grid, with its settings and columns as its load makes them, holding records with
// texts and bars.
void BM_scale_rebuild_gridgauge(benchmark::State& state) {
    const std::unique_ptr<frmMain> f = programWindow(state, ManyRecords, Added::Contents);
    report::Grid& grid = *f->wndReportControlData;
    for (auto _ : state) {
        grid.rebuild();
        benchmark::ClobberMemory();
    }
    if (grid.rows().count() != ManyRecords)
        state.SkipWithError("the rebuild did not show every record");
    QCoreApplication::processEvents();
}
BENCHMARK(BM_scale_rebuild_gridgauge)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

// Each iteration makes its container and fills it anew; only throwing it away is not timed.
template <typename Fill> void fillEach(benchmark::State& state, Fill fill) {
    contents();
    for (auto _ : state) {
        auto filled = fill();
        benchmark::DoNotOptimize(filled.get());
        benchmark::ClobberMemory();
        state.PauseTiming();
        filled.reset();
        state.ResumeTiming();
    }
}

// Not a comparison of its own: what the rebuild above does not include, making the records and
// items through the object model, beside the peer's fill that does the same job.
void BM_scale_fill_gridgauge(benchmark::State& state) {
    fillEach(state, [] {
        auto grid = std::make_unique<report::Grid>();
        for (int c = 0; c < ItemsPerRecord; ++c)
            grid->columns().add(c, QStringLiteral("Col ") + QString::number(c), ColumnWidth, true);
        addRecords(*grid, ManyRecords, Added::Contents);
        grid->rebuild();
        return grid;
    });
}
BENCHMARK(BM_scale_fill_gridgauge)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// The model is sized first and then given its items, the faster of the two usual ways (the other
// is appendRow, which signals every row).
void BM_scale_fill_peer(benchmark::State& state) {
    fillEach(state, [] {
        auto model = std::make_unique<QStandardItemModel>(ManyRecords, ItemsPerRecord);
        for (int r = 0; r < ManyRecords; ++r)
            for (int k = 0; k < ItemsPerRecord; ++k)
                model->setItem(r, k, new QStandardItem(text(r, k)));
        return model;
    });
}
BENCHMARK(BM_scale_fill_peer)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// The whole window repainted, as after it was uncovered: every widget in it (grid or table,
// header, scroll bar, labels, bars) invalidated whole, then painted through the backing store.
void repaintWhole(benchmark::State& state, QWidget& window, QWidget& counted) {
    bench::PaintCount painted(counted);
    const QList<QWidget*> widgets = window.findChildren<QWidget*>();
    for (auto _ : state) {
        window.update();
        for (QWidget* widget : widgets)
            widget->update();
        bench::paintPending(window);
    }
    if (painted.paints == 0)
        state.SkipWithError("nothing was painted");
    QCoreApplication::processEvents();
}

void BM_scale_repaint_gridgauge(benchmark::State& state) {
    const std::unique_ptr<frmMain> f = programWindow(state, ManyRecords, Added::Empty);
    repaintWhole(state, *f, *app_fixture::surface(*f));
}
BENCHMARK(BM_scale_repaint_gridgauge)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

void BM_scale_repaint_peer(benchmark::State& state) {
    const std::unique_ptr<frmMain> like = programWindow(state, ManyRecords, Added::Empty);
    bench::PeerWindow peer(*like);
    peer.standInFor(*like);
    bench::waitExposed(state, peer);
    repaintWhole(state, peer, *peer.view().viewport());
}
BENCHMARK(BM_scale_repaint_peer)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

// What a program does to one cell of a large grid as often as to a small one: write its caption
// (and see it repainted), find what lies under a point, and ask where a cell is.
void flat(benchmark::State& state, int records) {
    const std::unique_ptr<frmMain> f = programWindow(state, records, Added::Empty);
    report::Grid& grid = *f->wndReportControlData;
    const QRect target = app_fixture::cell(*f, 5, 2);
    const QString texts[] = {QStringLiteral("Record 5, item 2"), QStringLiteral("Record 5, two")};
    bench::PaintCount painted(*app_fixture::surface(*f));
    int step = 0;
    for (auto _ : state) {
        const report::Row row = grid.rows().row(5);
        row.record().item(2).setCaption(texts[step++ % 2]);
        bench::paintPending(*f);
        const std::optional<report::HitTestInfo> hit =
            grid.hitTest(target.center().x(), target.center().y());
        benchmark::DoNotOptimize(hit);
        qint32 l = 0, t = 0, r = 0, b = 0;
        row.itemBounds(row.record().item(1), l, t, r, b);
        benchmark::DoNotOptimize(l + t + r + b);
    }
    if (painted.paints == 0)
        state.SkipWithError("the caption writes painted nothing");
    QCoreApplication::processEvents();
}

void BM_scale_flat_100000(benchmark::State& state) {
    flat(state, ManyRecords);
}
BENCHMARK(BM_scale_flat_100000)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

void BM_scale_flat_11(benchmark::State& state) {
    flat(state, FewRecords);
}
BENCHMARK(BM_scale_flat_11)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return bench::runWithRatios(argc, argv, [](const bench::RatioReporter& r) {
        using bench::Clock;
        bench::printRatio("scale_repaint",
                          r.median("BM_scale_repaint_gridgauge", Clock::Cpu) /
                              r.median("BM_scale_repaint_peer", Clock::Cpu),
                          "0.6");
        bench::printRatio("scale_flat",
                          r.median("BM_scale_flat_100000", Clock::Cpu) /
                              r.median("BM_scale_flat_11", Clock::Cpu),
                          "1.1");
        // Context, without goals of their own ("-").
        bench::printRatio("scale_rebuild",
                          r.median("BM_scale_rebuild_gridgauge", Clock::Cpu) /
                              r.median("BM_scale_fill_peer", Clock::Cpu),
                          "-");
        bench::printRatio("scale_fill",
                          r.median("BM_scale_fill_gridgauge", Clock::Cpu) /
                              r.median("BM_scale_fill_peer", Clock::Cpu),
                          "-");
    });
}
