#pragma once

// Google Benchmark's own table, then one "ratio NAME VALUE GOAL" line per comparison, each taken
// from the medians of the repetitions. Repetitions are interleaved at random unless the command
// line says otherwise, so slow spells of this shared machine fall on both sides of a comparison
// instead of on whichever ran second.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <map>
#include <string>
#include <vector>

namespace bench {

// Which clock a comparison is judged by. In-process work is judged by the process's CPU time
// (benchmarks register MeasureProcessCPUTime, since Qt's raster engine hands some blending to its
// thread pool), which other sessions' load on the two cores cannot inflate; child processes by
// wall time (manual time), since their work is not in this process.
enum class Clock { Cpu, Real };

class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter()
        : benchmark::ConsoleReporter(OO_None) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        benchmark::ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            // By function name: the suffixes (iterations, manual_time) vary with the registration.
            Series& series = series_[run.run_name.function_name];
            const double scale = nanosecondsPer(run.time_unit);
            if (run.run_type == Run::RT_Aggregate) {
                if (run.aggregate_name == "median") {
                    series.medianCpu = run.GetAdjustedCPUTime() * scale;
                    series.medianReal = run.GetAdjustedRealTime() * scale;
                }
            } else {
                series.cpu.push_back(run.GetAdjustedCPUTime() * scale);
                series.real.push_back(run.GetAdjustedRealTime() * scale);
            }
        }
    }

    // Nanoseconds per iteration, the median over the repetitions; NaN when the benchmark did not
    // run (filtered out, or it failed).
    double median(const std::string& name, Clock clock) const {
        const auto found = series_.find(name);
        if (found == series_.end())
            return std::numeric_limits<double>::quiet_NaN();
        const Series& s = found->second;
        const double aggregate = clock == Clock::Cpu ? s.medianCpu : s.medianReal;
        if (!std::isnan(aggregate))
            return aggregate;
        return medianOf(clock == Clock::Cpu ? s.cpu : s.real);
    }

private:
    struct Series {
        std::vector<double> cpu, real;
        double medianCpu = std::numeric_limits<double>::quiet_NaN();
        double medianReal = std::numeric_limits<double>::quiet_NaN();
    };

    static double nanosecondsPer(benchmark::TimeUnit unit) {
        switch (unit) {
        case benchmark::kNanosecond:
            return 1.0;
        case benchmark::kMicrosecond:
            return 1e3;
        case benchmark::kMillisecond:
            return 1e6;
        case benchmark::kSecond:
            return 1e9;
        }
        return 1.0;
    }

    static double medianOf(std::vector<double> values) {
        if (values.empty())
            return std::numeric_limits<double>::quiet_NaN();
        std::sort(values.begin(), values.end());
        const std::size_t middle = values.size() / 2;
        return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
    }

    std::map<std::string, Series> series_;
};

// Small ratios keep two significant digits, so that 0.0004 does not print as 0.00.
inline std::string formatValue(double value) {
    char text[64];
    if (std::isnan(value))
        return "nan";
    if (std::fabs(value) >= 1000.0)
        std::snprintf(text, sizeof text, "%.0f", value);
    else if (std::fabs(value) >= 0.1)
        std::snprintf(text, sizeof text, "%.2f", value);
    else
        std::snprintf(text, sizeof text, "%.2g", value);
    return text;
}

inline void printRatio(const std::string& name, double value, const std::string& goal) {
    if (std::isnan(value)) {
        std::fprintf(stderr, "ratio %s: a side did not run, no figure\n", name.c_str());
        return;
    }
    std::printf("ratio %s %s %s\n", name.c_str(), formatValue(value).c_str(), goal.c_str());
}

// Runs the registered benchmarks with the reporter, then prints the ratio lines. argc and argv are
// what is left after QApplication took its own options.
inline int runWithRatios(int argc, char** argv,
                         const std::function<void(const RatioReporter&)>& printRatios) {
    std::vector<char*> args(argv, argv + argc);
    // First, so that a flag given on the command line still wins.
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + (args.empty() ? 0 : 1), interleave);
    int count = int(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::fflush(stdout);
    printRatios(reporter);
    std::fflush(stdout);
    return 0;
}

} // namespace bench
