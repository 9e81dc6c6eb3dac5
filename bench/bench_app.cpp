// The real window against the usual Qt way: one refresh with its repaint, and one drag move
// handled end to end.
#include "app_fixture.h"
#include "peer_table.h"
#include "ratio_report.h"

#include <QApplication>
#include <QMouseEvent>
#include <QStyle>

#include <memory>

namespace {

// The percentages a run of Up and Down clicks would show, so that each refresh has a new value.
int percentAt(int step) {
    return step % 101;
}

void keepImage(const QImage& image) {
    const uchar* bits = image.constBits();
    benchmark::DoNotOptimize(bits);
    benchmark::ClobberMemory();
}

// With GRIDGAUGE_BENCH_IMAGES set to a folder, the last image of each side is saved there, to see
// that both sides drew the same content.
void saveImage(const QImage& image, const char* name) {
    const QString folder = qEnvironmentVariable("GRIDGAUGE_BENCH_IMAGES");
    if (!folder.isEmpty())
        image.save(folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

QImage canvasFor(const QWidget& widget) {
    QImage image(widget.size() * widget.devicePixelRatioF(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(widget.devicePixelRatioF());
    return image;
}

// One refresh as the timer's tick runs it (through the dispatcher, as the event loop would) after
// the value changed, then the grid's repaint into an image. With the bar, ProgressBar1 is painted
// into the same image where it lies over the grid, so that the image holds what the peer's view
// holds, its index widget included.
void refresh(benchmark::State& state, bool withBar) {
    const std::unique_ptr<frmMain> f = app_fixture::start();
    QWidget& grid = *f->wndReportControlData;
    QWidget& bar = *f->ProgressBar1;
    QImage image = canvasFor(grid);
    int step = 0;
    for (auto _ : state) {
        f->ProgressBar1->setValue(percentAt(step++));
        f->Timer1->setEnabled(true);
        emit f->Timer1->tick();
        grid.render(&image);
        if (withBar)
            bar.render(&image, bar.pos(), QRegion(), QWidget::DrawChildren);
        keepImage(image);
    }
    if (f->Timer1->enabled() || !f->caption().startsWith(QLatin1String("Progress percent: ")))
        state.SkipWithError("the tick did not run the refresh");
    saveImage(image, withBar ? "refresh_gridgauge_with_bar" : "refresh_gridgauge");
    QCoreApplication::processEvents();
}

void BM_refresh_repaint_gridgauge(benchmark::State& state) {
    refresh(state, false);
}
BENCHMARK(BM_refresh_repaint_gridgauge)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

void BM_refresh_repaint_gridgauge_with_bar(benchmark::State& state) {
    refresh(state, true);
}
BENCHMARK(BM_refresh_repaint_gridgauge_with_bar)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMicrosecond);

void BM_refresh_repaint_peer(benchmark::State& state) {
    const std::unique_ptr<frmMain> like = app_fixture::start();
    bench::PeerWindow peer(*like);
    like->hide();
    // As Gridgauge's start-up leaves its window: the first refresh, at 75, already ran.
    QImage first = canvasFor(peer.view());
    peer.refresh(75, first);
    peer.show();
    if (!QTest::qWaitForWindowExposed(&peer))
        state.SkipWithError("peer window not exposed");
    QImage image = canvasFor(peer.view());
    if (image.size() != canvasFor(*like->wndReportControlData).size())
        state.SkipWithError("the peer's view is not the grid's size");
    int step = 0;
    for (auto _ : state) {
        peer.refresh(percentAt(step++), image);
        keepImage(image);
    }
    saveImage(image, "refresh_peer");
    QCoreApplication::processEvents();
}
BENCHMARK(BM_refresh_repaint_peer)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

// One move with the left button held, after "Allow drag" is ticked and the button went down in
// the seeded cell: the grid's hit test, the handler's markup, caption and rebuild, then the
// grid's repaint.
void BM_drag_move_gridgauge(benchmark::State& state) {
    const std::unique_ptr<frmMain> f = app_fixture::start();
    QWidget* surface = app_fixture::surface(*f);
    const QRect box = app_fixture::cell(*f, 2, 2);
    QTest::mouseClick(
        surface, Qt::LeftButton, {},
        QPoint(box.left() + 2 + f->style()->pixelMetric(QStyle::PM_IndicatorWidth) / 2,
               box.center().y()));
    if (!frmMainProbe::AllowDrag(*f))
        state.SkipWithError("Allow drag did not tick");
    const QRect seeded = app_fixture::cell(*f, 2, 1);
    const int y = seeded.center().y();
    QTest::mousePress(surface, Qt::LeftButton, {}, QPoint(seeded.left() + 1, y));

    QWidget& grid = *f->wndReportControlData;
    QImage image = canvasFor(grid);
    const int span = seeded.width() + 20;
    int step = 0;
    for (auto _ : state) {
        // Across the cell and a little past both edges, so the bar keeps changing.
        const QPointF at(seeded.left() - 10 + (step++ * 7) % span, y);
        QMouseEvent move(QEvent::MouseMove, at, surface->mapToGlobal(at), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(surface, &move);
        grid.render(&image);
        keepImage(image);
    }
    if (!f->caption().endsWith(QLatin1String("%")) || f->caption().endsWith(QLatin1String(" %")))
        state.SkipWithError("the moves did not reach the drag handler");
    state.SetItemsProcessed(state.iterations());
    saveImage(image, "drag_gridgauge");
    QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(seeded.left() + 1, y));
    QCoreApplication::processEvents();
}
BENCHMARK(BM_drag_move_gridgauge)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return bench::runWithRatios(argc, argv, [](const bench::RatioReporter& r) {
        using bench::Clock;
        const double peer = r.median("BM_refresh_repaint_peer", Clock::Cpu);
        bench::printRatio("refresh_repaint",
                          r.median("BM_refresh_repaint_gridgauge", Clock::Cpu) / peer, "0.25");
        bench::printRatio("refresh_repaint_with_bar",
                          r.median("BM_refresh_repaint_gridgauge_with_bar", Clock::Cpu) / peer,
                          "0.25");
        bench::printRatio("drag_moves_per_second",
                          1e9 / r.median("BM_drag_move_gridgauge", Clock::Cpu), "5000");
    });
}
