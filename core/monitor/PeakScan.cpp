// The peak of a captured buffer.

#include "core/monitor/PeakScan.h"

#include "core/base/TextHelpers.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace nuvask {

namespace {

bool measurable(const PeakScanLayout &layout)
{
    return (layout.bytesPerSample == 1 || layout.bytesPerSample == 2) && layout.channels >= 1
           && layout.frameStep >= std::min(layout.channels, 2) * layout.bytesPerSample;
}

// Absolute value of one sample: an 8-bit sample is unsigned around 128, a
// 16-bit one signed little-endian (so -32768 gives 32768).
int magnitude(const uchar *p, int bytesPerSample)
{
    if (bytesPerSample == 1)
        return std::abs(int(p[0]) - 128);
    return std::abs(int(qint16(quint16(p[0] | (p[1] << 8)))));
}

// Bytes scanned between two threshold tests of the fast path: small enough to
// stay in L1 when the rule has to re-scan a block, large enough that the
// horizontal reduction is noise. A multiple of every frame step the fast path
// takes (1, 2 and 4 bytes).
constexpr quint32 BlockBytes = 4096;

// Largest magnitude of the 16-bit samples in [p, p + len), len even.
int blockPeak16(const uchar *p, quint32 len)
{
    int hi = 0;
    int lo = 0;
    quint32 i = 0;
#if defined(__SSE2__) && Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    if (len >= 64) {
        // Two independent max and min chains, so that four loads are in
        // flight per step.
        __m128i max0 = _mm_setzero_si128(), max1 = max0, min0 = max0, min1 = max0;
        for (; i + 64 <= len; i += 64) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i + 16));
            const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i + 32));
            const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i + 48));
            max0 = _mm_max_epi16(max0, _mm_max_epi16(a, b));
            min0 = _mm_min_epi16(min0, _mm_min_epi16(a, b));
            max1 = _mm_max_epi16(max1, _mm_max_epi16(c, d));
            min1 = _mm_min_epi16(min1, _mm_min_epi16(c, d));
        }
        __m128i vmax = _mm_max_epi16(max0, max1);
        __m128i vmin = _mm_min_epi16(min0, min1);
        // Fold the eight lanes down to one.
        vmax = _mm_max_epi16(vmax, _mm_srli_si128(vmax, 8));
        vmin = _mm_min_epi16(vmin, _mm_srli_si128(vmin, 8));
        vmax = _mm_max_epi16(vmax, _mm_srli_si128(vmax, 4));
        vmin = _mm_min_epi16(vmin, _mm_srli_si128(vmin, 4));
        vmax = _mm_max_epi16(vmax, _mm_srli_si128(vmax, 2));
        vmin = _mm_min_epi16(vmin, _mm_srli_si128(vmin, 2));
        hi = qint16(_mm_extract_epi16(vmax, 0));
        lo = qint16(_mm_extract_epi16(vmin, 0));
    }
#endif
    for (; i + 2 <= len; i += 2) {
        const int v = qint16(quint16(p[i] | (p[i + 1] << 8)));
        hi = std::max(hi, v);
        lo = std::min(lo, v);
    }
    return std::max(hi, -lo);
}

// Largest magnitude of the unsigned 8-bit samples in [p, p + len).
int blockPeak8(const uchar *p, quint32 len)
{
    int hi = 128;
    int lo = 128;
    quint32 i = 0;
#if defined(__SSE2__)
    if (len >= 32) {
        __m128i vmax = _mm_set1_epi8(char(128));
        __m128i vmin = vmax;
        for (; i + 32 <= len; i += 32) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i + 16));
            vmax = _mm_max_epu8(vmax, _mm_max_epu8(a, b));
            vmin = _mm_min_epu8(vmin, _mm_min_epu8(a, b));
        }
        alignas(16) uchar maxes[16];
        alignas(16) uchar mins[16];
        _mm_store_si128(reinterpret_cast<__m128i *>(maxes), vmax);
        _mm_store_si128(reinterpret_cast<__m128i *>(mins), vmin);
        hi = *std::max_element(maxes, maxes + 16);
        lo = *std::min_element(mins, mins + 16);
    }
#endif
    for (; i < len; ++i) {
        hi = std::max(hi, int(p[i]));
        lo = std::min(lo, int(p[i]));
    }
    return std::max(hi - 128, 128 - lo);
}

// One frame's first two channels mixed, around zero (the mean, rounded down).
int mixedSample(const uchar *p, const PeakScanLayout &layout)
{
    const auto sample = [&](int channel) {
        const uchar *q = p + channel * layout.bytesPerSample;
        return layout.bytesPerSample == 1 ? int(q[0]) - 128 : int(qint16(quint16(q[0] | (q[1] << 8))));
    };
    if (layout.channels < 2)
        return sample(0);
    return (sample(0) + sample(1)) >> 1; // arithmetic: rounds down
}

// PeakScanMixed over packed 16-bit stereo frames: pairs summed in 32 bits,
// halved and packed back into 16 bits (the mean always fits), eight frames a
// step.
int mixedPeak16Stereo(const uchar *p, quint32 frames)
{
    int hi = 0;
    int lo = 0;
    quint32 i = 0;
#if defined(__SSE2__) && Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    if (frames >= 8) {
        const __m128i ones = _mm_set1_epi16(1);
        __m128i vmax = _mm_setzero_si128();
        __m128i vmin = vmax;
        for (; i + 8 <= frames; i += 8) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 4 * i));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 4 * i + 16));
            const __m128i mean = _mm_packs_epi32(_mm_srai_epi32(_mm_madd_epi16(a, ones), 1),
                                                 _mm_srai_epi32(_mm_madd_epi16(b, ones), 1));
            vmax = _mm_max_epi16(vmax, mean);
            vmin = _mm_min_epi16(vmin, mean);
        }
        alignas(16) qint16 maxes[8];
        alignas(16) qint16 mins[8];
        _mm_store_si128(reinterpret_cast<__m128i *>(maxes), vmax);
        _mm_store_si128(reinterpret_cast<__m128i *>(mins), vmin);
        hi = *std::max_element(maxes, maxes + 8);
        lo = *std::min_element(mins, mins + 8);
    }
#endif
    const PeakScanLayout stereo;
    for (; i < frames; ++i) {
        const int v = mixedSample(p + 4 * i, stereo);
        hi = std::max(hi, v);
        lo = std::min(lo, v);
    }
    return std::max(hi, -lo);
}

} // namespace

int PeakScanThreshold(int level16, int bytesPerSample)
{
    return bytesPerSample == 1 ? int(RoundDiv(level16, 256)) : level16;
}

int PeakScanRule(const char *data, quint32 bytes, const PeakScanLayout &layout, int threshold)
{
    if (!measurable(layout))
        return 0;
    const auto *p = reinterpret_cast<const uchar *>(data);
    const quint32 step = quint32(layout.frameStep);
    const quint32 n = bytes / step * step;
    int first = 0;
    int second = 0;
    for (quint32 pos = 0; pos < n; pos += step) {
        first = std::max(first, magnitude(p + pos, layout.bytesPerSample));
        if (layout.channels >= 2)
            second = std::max(second, magnitude(p + pos + layout.bytesPerSample, layout.bytesPerSample));
        first = std::max(first, second);
        if (first >= threshold)
            break;
    }
    return first;
}

int PeakScanFast(const char *data, quint32 bytes, const PeakScanLayout &layout, int threshold)
{
    // Blocks of whole frames need frames without gaps or unmeasured channels;
    // anything else, and a threshold the first frame always reaches, goes
    // through the rule itself.
    if (!measurable(layout) || layout.frameStep != std::min(layout.channels, 2) * layout.bytesPerSample
        || threshold <= 0)
        return PeakScanRule(data, bytes, layout, threshold);
    const auto *p = reinterpret_cast<const uchar *>(data);
    const quint32 step = quint32(layout.frameStep);
    const quint32 n = bytes / step * step;
    int peak = 0;
    for (quint32 pos = 0; pos < n; pos += BlockBytes) {
        const quint32 len = std::min(BlockBytes, n - pos);
        const int block = layout.bytesPerSample == 2 ? blockPeak16(p + pos, len) : blockPeak8(p + pos, len);
        if (std::max(peak, block) >= threshold) {
            // The stop lies in this block. The peak before it is below the
            // threshold, so the rule run on the block alone stops at the same
            // frame.
            return std::max(peak, PeakScanRule(data + pos, len, layout, threshold));
        }
        peak = std::max(peak, block);
    }
    return peak;
}

int PeakScanMixed(const char *data, quint32 bytes, const PeakScanLayout &layout)
{
    if (!measurable(layout))
        return 0;
    const auto *p = reinterpret_cast<const uchar *>(data);
    const quint32 step = quint32(layout.frameStep);
    if (layout.bytesPerSample == 2 && layout.channels == 2 && step == 4)
        return mixedPeak16Stereo(p, bytes / step);
    int peak = 0;
    for (quint32 pos = 0; pos + step <= bytes; pos += step)
        peak = std::max(peak, std::abs(mixedSample(p + pos, layout)));
    return peak;
}

} // namespace nuvask
