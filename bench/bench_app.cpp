// The real window against the usual Qt way, each paying what a running program pays: one refresh
// tick after the value changed, and one drag move in a progress cell, from the event to the pixels
// of what it invalidated.
#include "app_fixture.h"
#include "event_to_pixels.h"
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

// One tick of Timer1 after ProgressBar1 changed, through the dispatcher as the event loop would
// run it; then the window paints what the refresh invalidated: the follower cell and the bar.
void BM_refresh_repaint_gridgauge(benchmark::State& state) {
    const std::unique_ptr<frmMain> f = app_fixture::start();
    bench::waitExposed(state, *f);
    bench::PaintCount painted(*app_fixture::surface(*f));
    int step = 0;
    for (auto _ : state) {
        f->ProgressBar1->setValue(percentAt(step++));
        f->Timer1->setEnabled(true);
        emit f->Timer1->tick();
        bench::paintPending(*f);
    }
    if (f->Timer1->enabled() || !f->caption().startsWith(QLatin1String("Progress percent: ")))
        state.SkipWithError("the tick did not run the refresh");
    if (painted.paints == 0)
        state.SkipWithError("the refresh painted nothing");
    QCoreApplication::processEvents();
}
BENCHMARK(BM_refresh_repaint_gridgauge)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

void BM_refresh_repaint_peer(benchmark::State& state) {
    const std::unique_ptr<frmMain> like = app_fixture::start();
    bench::PeerWindow peer(*like);
    peer.standInFor(*like);
    bench::waitExposed(state, peer);
    bench::PaintCount painted(*peer.view().viewport());
    int step = 0;
    for (auto _ : state) {
        peer.refresh(percentAt(step++));
        bench::paintPending(peer);
    }
    if (painted.paints == 0)
        state.SkipWithError("the refresh painted nothing");
    QCoreApplication::processEvents();
}
BENCHMARK(BM_refresh_repaint_peer)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

// An x that sweeps across the cell and a little past both edges, so the bar keeps changing.
QPointF sweep(const QRect& cell, int step) {
    const int span = cell.width() + 20;
    return QPointF(cell.left() - 10 + (step * 7) % span, cell.center().y());
}

void sendMove(QWidget& surface, const QPointF& at) {
    QMouseEvent move(QEvent::MouseMove, at, surface.mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&surface, &move);
}

// One move with the left button held, after "Allow drag" was ticked with a click and the button
// went down in the seeded cell: the grid's events, the handler's hit test, markup, caption write
// and rebuild, the window caption, and the seeded cell's repaint.
void BM_drag_move_gridgauge(benchmark::State& state) {
    const std::unique_ptr<frmMain> f = app_fixture::start();
    bench::waitExposed(state, *f);
    QWidget& surface = *app_fixture::surface(*f);
    // Cells are placed in the grid's client area; the grid's mouse events go to its viewport.
    const QPoint toSurface = surface.mapFrom(f->wndReportControlData, QPoint());
    const QRect box = app_fixture::cell(*f, 2, 2).translated(toSurface);
    QTest::mouseClick(
        &surface, Qt::LeftButton, {},
        QPoint(box.left() + 2 + f->style()->pixelMetric(QStyle::PM_IndicatorWidth) / 2,
               box.center().y()));
    if (!frmMainProbe::AllowDrag(*f))
        state.SkipWithError("Allow drag did not tick");
    const QRect seeded = app_fixture::cell(*f, 2, 1).translated(toSurface);
    QTest::mousePress(&surface, Qt::LeftButton, {}, seeded.topLeft() + QPoint(1, 1));
    bench::paintPending(*f);
    bench::PaintCount painted(surface);
    int step = 0;
    for (auto _ : state) {
        sendMove(surface, sweep(seeded, step++));
        bench::paintPending(*f);
    }
    if (!f->caption().endsWith(QLatin1String("%")) || f->caption().endsWith(QLatin1String(" %")))
        state.SkipWithError("the moves did not reach the drag handler");
    if (painted.paints == 0)
        state.SkipWithError("the moves painted nothing");
    QTest::mouseRelease(&surface, Qt::LeftButton, {}, seeded.topLeft() + QPoint(1, 1));
    QCoreApplication::processEvents();
}
BENCHMARK(BM_drag_move_gridgauge)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

// The same move in the peer: the view hands it to the delegate, which sets the cell's value from
// x; the model tells the view, which repaints the cell.
void BM_drag_move_peer(benchmark::State& state) {
    const std::unique_ptr<frmMain> like = app_fixture::start();
    bench::PeerWindow peer(*like);
    peer.standInFor(*like);
    bench::waitExposed(state, peer);
    QTableView& view = peer.view();
    QWidget& surface = *view.viewport();
    const QRect seeded = view.visualRect(peer.model().index(2, 1));
    QTest::mousePress(&surface, Qt::LeftButton, {}, seeded.topLeft() + QPoint(1, 1));
    bench::paintPending(peer);
    bench::PaintCount painted(surface);
    int step = 0;
    for (auto _ : state) {
        sendMove(surface, sweep(seeded, step++));
        bench::paintPending(peer);
    }
    if (painted.paints == 0)
        state.SkipWithError("the moves painted nothing");
    QTest::mouseRelease(&surface, Qt::LeftButton, {}, seeded.topLeft() + QPoint(1, 1));
    QCoreApplication::processEvents();
}
BENCHMARK(BM_drag_move_peer)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return bench::runWithRatios(argc, argv, [](const bench::RatioReporter& r) {
        using bench::Clock;
        bench::printRatio("refresh_repaint",
                          r.median("BM_refresh_repaint_gridgauge", Clock::Cpu) /
                              r.median("BM_refresh_repaint_peer", Clock::Cpu),
                          "0.25");
        bench::printRatio("drag_move",
                          r.median("BM_drag_move_gridgauge", Clock::Cpu) /
                              r.median("BM_drag_move_peer", Clock::Cpu),
                          "0.25");
    });
}
