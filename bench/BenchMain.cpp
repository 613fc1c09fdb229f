// The benchmark binary's main: Google Benchmark's usual table, then the
// declared ratios of bytes per second (or of time, for benchmarks that count
// no bytes) from this same run.
#include "BenchRatios.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <vector>

namespace nuvask::bench {

std::vector<Ratio> &Ratios()
{
    static std::vector<Ratio> ratios;
    return ratios;
}

namespace {

class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.error_occurred)
                continue;
            // With repetitions the median stands for the benchmark; a single
            // run stands for itself.
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type != Run::RT_Iteration && !median)
                continue;
            const auto bytes = run.counters.find("bytes_per_second");
            // Speed: bytes per second when counted, else runs per unit of time.
            m_speed[median ? run.run_name.str() : run.benchmark_name()] =
                bytes != run.counters.end() ? double(bytes->second) : 1.0 / run.GetAdjustedRealTime();
        }
    }
    const std::map<std::string, double> &speeds() const { return m_speed; }

private:
    std::map<std::string, double> m_speed;
};

} // namespace

} // namespace nuvask::bench

int main(int argc, char **argv)
{
    // The machine is shared: by default report the median of five runs, which
    // steadies the ratios far more than one long run does.
    std::vector<char *> args(argv, argv + argc);
    static char repetitions[] = "--benchmark_repetitions=5";
    static char aggregatesOnly[] = "--benchmark_report_aggregates_only=true";
    if (argc == 1) {
        args.push_back(repetitions);
        args.push_back(aggregatesOnly);
    }
    argc = int(args.size());
    argv = args.data();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    nuvask::bench::RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto &speeds = reporter.speeds();
    bool header = false;
    for (const nuvask::bench::Ratio &ratio : nuvask::bench::Ratios()) {
        const auto num = speeds.find(ratio.numerator);
        const auto den = speeds.find(ratio.denominator);
        if (num == speeds.end() || den == speeds.end() || den->second <= 0)
            continue;
        if (!header) {
            std::printf("\nRatios (speed over speed, same run)\n");
            header = true;
        }
        std::printf("  %-52s %8.3f   %s\n", ratio.label.c_str(), num->second / den->second, ratio.target.c_str());
    }
    return 0;
}
