// What the level history costs beside the monitoring it records.
//
// Closed window: the monitor appends one record per buffer; set beside the
// peak scan of one 50 ms buffer, the work the monitor does for every buffer
// anyway. Open window: one repaint tick at the 1-minute span (the busiest:
// a tick every 120 ms on a 500-pixel plot) with the two buffers that came
// since, against the same scan; and the whole paint of a full 60-minute span
// (opening the window, resizing it), once with no guard restores and once
// with the guard fighting another program 15 times a second all hour
// (54,000 restores): the second should cost no more than twice the first,
// and either well under a frame (16 ms). The ring's memory is counted once full:
// run RingMemory60min alone for its resident figure, since other benchmarks
// of the same run leave freed memory behind for it to reuse.
// bench/monitoring.sh --part history measures the whole program's CPU with
// the window closed and open.
#include "BenchRatios.h"
#include "BenchSignals.h"

#include "core/monitor/LevelHistory.h"
#include "core/monitor/PeakScan.h"
#include "ui/monitor/LevelHistoryGraph.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QImage>

#include <memory>

namespace {

using nuvask::LevelEvent;
using nuvask::LevelHistory;

constexpr int BufferBytes = 8820; // "1": 50 ms of 16-bit stereo
constexpr int NoStop = 40000;
constexpr int PlotWidth = 500;  // pixels
constexpr int PlotHeight = 160; // pixels

const QByteArray &quietBuffer()
{
    static const QByteArray data = nuvask::bench::QuietNoise(BufferBytes, 11);
    return data;
}

// Widgets need an application; the benchmarks run without a display.
void ensureApplication()
{
    if (QApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "nuvask_bench";
    static char *argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

// A history an hour long: a buffer every 50 ms, a lowering now and then,
// and `restores` guard restores a second.
struct FullHour
{
    qint64 now = 1'000'000;
    LevelHistory history{LevelHistory::DefaultCapacity, [this] { return now; }};
    int i = 0;
    int restores = 0;
    qint64 restored = 0;
    explicit FullHour(int restoresPerSecond = 0) : restores(restoresPerSecond)
    {
        history.SetMonitorRunning(true, 20000);
        for (qsizetype n = 0; n < LevelHistory::HourOfBuffers; ++n)
            buffer();
    }
    void buffer()
    {
        now += 50;
        history.Append(LevelEvent::Peak, (i * 7919) % 30000, 20000);
        if (++i % 400 == 0)
            history.Append(LevelEvent::AutoLower, 0, 20000, 200, 192);
        // Spread evenly over the buffers: restores / 20 per buffer.
        for (; restored < qint64(i) * restores / 20; ++restored)
            history.Append(LevelEvent::GuardRestore, 0, 20000, 150, 192);
    }
};

std::unique_ptr<nuvask::LevelHistoryGraph> graphOver(const LevelHistory &history, int minutes)
{
    ensureApplication();
    auto graph = std::make_unique<nuvask::LevelHistoryGraph>(history);
    graph->SetSpanMinutes(minutes);
    graph->resize(nuvask::LevelHistoryGraph::LeftMargin + PlotWidth + nuvask::LevelHistoryGraph::RightMargin,
                  nuvask::LevelHistoryGraph::TopMargin + PlotHeight + nuvask::LevelHistoryGraph::BottomMargin);
    graph->Refresh();
    return graph;
}

long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

void PeakScan50ms(benchmark::State &state)
{
    const QByteArray &data = quietBuffer();
    for (auto _ : state) {
        benchmark::DoNotOptimize(nuvask::PeakScanFast(data.constData(), BufferBytes, {}, NoStop));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(PeakScan50ms);

void HistoryAppend(benchmark::State &state)
{
    LevelHistory history; // the program's clock and size
    int peak = 0;
    for (auto _ : state) {
        history.Append(LevelEvent::Peak, peak, 20000);
        peak = (peak + 7919) % 32768;
    }
}
BENCHMARK(HistoryAppend);

void GraphTick1min(benchmark::State &state)
{
    FullHour hour;
    auto graph = graphOver(hour.history, 1);
    QImage screen(graph->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        // 120 ms of buffers, then what the timer does: bring the plot up to
        // date and paint the widget.
        hour.buffer();
        hour.buffer();
        hour.now += 20;
        graph->Refresh();
        graph->render(&screen);
    }
}
BENCHMARK(GraphTick1min);

// Everything a paint of a new 60-minute span does: the columns, the marks'
// labels and the widget.
void GraphPaint60min(benchmark::State &state)
{
    FullHour hour(int(state.range(0)));
    auto graph = graphOver(hour.history, 60);
    QImage screen(graph->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        graph->SetSpanMinutes(10); // every column again
        graph->SetSpanMinutes(60);
        graph->render(&screen);
    }
    state.counters["restores"] = double(hour.restored);
    state.counters["records"] = double(hour.history.EndSeq() - hour.history.FirstSeq());
}
BENCHMARK(GraphPaint60min)->ArgName("restores_per_s")->Arg(0)->Arg(15)->Unit(benchmark::kMillisecond);

void RingMemory60min(benchmark::State &state)
{
    for (auto _ : state) {
        const long before = residentKb();
        auto hour = std::make_unique<FullHour>();
        const long after = residentKb();
        state.counters["ring_bytes"] = double(LevelHistory::BytesFor(hour->history.Capacity()));
        state.counters["rss_kB"] = double(after - before);
        state.counters["records"] = double(hour->history.EndSeq());
    }
}
BENCHMARK(RingMemory60min)->Iterations(1);

const nuvask::bench::RatioLine appendOverScan{
    {"history: append / peak scan of a 50 ms buffer (time)", "PeakScan50ms", "HistoryAppend", "target <= 0.25"}};
const nuvask::bench::RatioLine tickOverScan{
    {"history: 1-min repaint tick / peak scan of a 50 ms buffer (time)", "PeakScan50ms", "GraphTick1min", ""}};
const nuvask::bench::RatioLine fightOverCalm{{"history: 60-min paint, 54,000 restores / none (time)",
                                              "GraphPaint60min/restores_per_s:0", "GraphPaint60min/restores_per_s:15",
                                              "target <= 2 (and <= 16 ms each)"}};

} // namespace
