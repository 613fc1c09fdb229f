// What the level history costs beside the monitoring it records.
//
// Closed window: the monitor appends one record per buffer; set beside the
// peak scan of one 50 ms buffer, the work the monitor does for every buffer
// anyway. Open window: one repaint tick at the 1-minute span (the busiest:
// a tick every 120 ms on a 500-pixel plot) with the two buffers that came
// since, against the same scan; and a whole repaint of a full 60-minute ring
// (opening the window, resizing it). The ring's memory is counted once full:
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

// A history an hour long: a buffer every 50 ms, a lowering now and then.
struct FullHour
{
    qint64 now = 1'000'000;
    LevelHistory history{LevelHistory::DefaultCapacity, [this] { return now; }};
    int i = 0;
    FullHour()
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

void GraphFull60min(benchmark::State &state)
{
    FullHour hour;
    auto graph = graphOver(hour.history, 60);
    for (auto _ : state) {
        graph->SetSpanMinutes(10); // every column again
        graph->SetSpanMinutes(60);
        graph->Refresh();
    }
}
BENCHMARK(GraphFull60min);

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

} // namespace
