// Peak scan of the longest capture buffer (79380 bytes, 450 ms of 16-bit
// stereo), kept in cache: the fast scan beside a plain read of the same bytes
// and beside the frame-by-frame rule. The buffer is quiet noise and the
// threshold above any sample, so every scan reads the whole buffer.
#include "BenchRatios.h"
#include "BenchSignals.h"

#include "core/monitor/PeakScan.h"

#include <benchmark/benchmark.h>

#include <QByteArray>

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr int Bytes = 79380;
constexpr int NoStop = 40000;

const QByteArray &buffer()
{
    static const QByteArray data = nuvask::bench::QuietNoise(Bytes, 7);
    return data;
}

// The cheapest pass that touches every byte: OR of 16-byte loads (8-byte
// words where SSE2 is missing), four accumulators so the loads overlap.
quint64 plainRead(const char *p, int n)
{
    int i = 0;
    quint64 acc = 0;
#if defined(__SSE2__)
    __m128i a = _mm_setzero_si128(), b = a, c = a, d = a;
    for (; i + 64 <= n; i += 64) {
        a = _mm_or_si128(a, _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i)));
        b = _mm_or_si128(b, _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i + 16)));
        c = _mm_or_si128(c, _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i + 32)));
        d = _mm_or_si128(d, _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i + 48)));
    }
    const __m128i all = _mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d));
    quint64 lanes[2];
    std::memcpy(lanes, &all, sizeof lanes);
    acc = lanes[0] | lanes[1];
#endif
    for (; i + 8 <= n; i += 8) {
        quint64 w;
        std::memcpy(&w, p + i, 8);
        acc |= w;
    }
    for (; i < n; ++i)
        acc |= uchar(p[i]);
    return acc;
}

void PlainRead(benchmark::State &state)
{
    const QByteArray &data = buffer();
    for (auto _ : state) {
        benchmark::DoNotOptimize(plainRead(data.constData(), Bytes));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * Bytes);
}
BENCHMARK(PlainRead);

void PeakScanFast(benchmark::State &state)
{
    const QByteArray &data = buffer();
    for (auto _ : state) {
        benchmark::DoNotOptimize(nuvask::PeakScanFast(data.constData(), Bytes, {}, NoStop));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * Bytes);
}
BENCHMARK(PeakScanFast);

void PeakScanRule(benchmark::State &state)
{
    const QByteArray &data = buffer();
    for (auto _ : state) {
        benchmark::DoNotOptimize(nuvask::PeakScanRule(data.constData(), Bytes, {}, NoStop));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * Bytes);
}
BENCHMARK(PeakScanRule);

const nuvask::bench::RatioLine fastOverRead{
    {"peak scan: fast / plain read (79380 B in cache)", "PeakScanFast", "PlainRead", "target >= 0.5"}};
const nuvask::bench::RatioLine fastOverRule{
    {"peak scan: fast / per-frame rule", "PeakScanFast", "PeakScanRule", ""}};

} // namespace
