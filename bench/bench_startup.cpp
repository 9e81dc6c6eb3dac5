// Process start to the first refresh, Gridgauge against a minimal Qt window, each a child process
// on the offscreen platform, timed by the wall clock from the spawn until the child says "done".
#include "ratio_report.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <string>

namespace {

constexpr int RunsPerRepetition = 6;

// Seconds from the spawn to the child's "done"; negative when it never came.
double secondsToDone(const QString& program, const QStringList& extra) {
    QProcess child;
    child.setProgram(program);
    child.setArguments(QStringList{QStringLiteral("-platform"), QStringLiteral("offscreen")} +
                       extra);
    child.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    child.start(QIODevice::ReadOnly);
    double seconds = -1.0;
    if (child.waitForStarted(10000)) {
        QByteArray out;
        while (!out.contains("done\n")) {
            if (!child.waitForReadyRead(10000))
                break;
            out += child.readAllStandardOutput();
        }
        if (out.contains("done\n"))
            seconds = double(clock.nsecsElapsed()) / 1e9;
    }
    if (!child.waitForFinished(10000)) {
        child.kill();
        child.waitForFinished();
    }
    return seconds;
}

void startup(benchmark::State& state, const char* program, const QStringList& extra = {}) {
    const QString path = QString::fromLocal8Bit(program);
    for (auto _ : state) {
        const double seconds = secondsToDone(path, extra);
        if (seconds < 0) {
            state.SkipWithError((std::string(program) + " did not report done").c_str());
            break;
        }
        state.SetIterationTime(seconds);
    }
}

void BM_startup_gridgauge(benchmark::State& state) {
    startup(state, STARTUP_GRIDGAUGE);
}
BENCHMARK(BM_startup_gridgauge)
    ->UseManualTime()
    ->Iterations(RunsPerRepetition)
    ->Unit(benchmark::kMillisecond);

void BM_startup_peer(benchmark::State& state) {
    startup(state, STARTUP_PEER);
}
BENCHMARK(BM_startup_peer)
    ->UseManualTime()
    ->Iterations(RunsPerRepetition)
    ->Unit(benchmark::kMillisecond);

// The peer with its font measured before the caption, as any window that shows text must.
void BM_startup_peer_with_font(benchmark::State& state) {
    startup(state, STARTUP_PEER, {QStringLiteral("--with-font")});
}
BENCHMARK(BM_startup_peer_with_font)
    ->UseManualTime()
    ->Iterations(RunsPerRepetition)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    return bench::runWithRatios(argc, argv, [](const bench::RatioReporter& r) {
        using bench::Clock;
        // The fair peer: a window that shows text measures its font before its first paint.
        bench::printRatio("startup_vs_peer_with_font",
                          r.median("BM_startup_gridgauge", Clock::Real) /
                              r.median("BM_startup_peer_with_font", Clock::Real),
                          "1.1");
        // Context, without a goal of its own ("-"): against a window that draws no text.
        bench::printRatio("startup",
                          r.median("BM_startup_gridgauge", Clock::Real) /
                              r.median("BM_startup_peer", Clock::Real),
                          "-");
    });
}
