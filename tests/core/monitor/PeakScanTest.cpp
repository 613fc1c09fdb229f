#include "core/monitor/PeakScan.h"

#include <QByteArray>
#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace nuvask;

namespace {

constexpr PeakScanLayout Stereo16{2, 2, 4};
constexpr PeakScanLayout Mono16{2, 1, 2};
constexpr PeakScanLayout Stereo8{1, 2, 2};
constexpr PeakScanLayout Mono8{1, 1, 1};
constexpr int NoStop = 40000;   // above any 16-bit magnitude
constexpr quint32 Largest = 79380; // the longest capture buffer, bytes

QByteArray samples16(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int v : values) {
        bytes.append(char(v & 0xFF));
        bytes.append(char((v >> 8) & 0xFF));
    }
    return bytes;
}

int both(const QByteArray &data, const PeakScanLayout &layout, int threshold, quint32 bytes = ~0u)
{
    const quint32 n = std::min(bytes, quint32(data.size()));
    const int rule = PeakScanRule(data.constData(), n, layout, threshold);
    const int fast = PeakScanFast(data.constData(), n, layout, threshold);
    EXPECT_EQ(rule, fast) << "threshold " << threshold << " bytes " << n;
    return rule;
}

} // namespace

TEST(PeakScan, FullScaleNegativeSampleInTheLastFrameIsFound)
{
    QByteArray data(Largest, '\0');
    data[Largest - 2] = char(0x00); // right channel of the last frame: -32768
    data[Largest - 1] = char(0x80);
    EXPECT_EQ(both(data, Stereo16, NoStop), 32768);
    EXPECT_EQ(both(data, Stereo16, 32763), 32768);
    // Left channel alone too.
    data[Largest - 2] = 0;
    data[Largest - 1] = 0;
    data[Largest - 4] = char(0x00);
    data[Largest - 3] = char(0x80);
    EXPECT_EQ(both(data, Stereo16, NoStop), 32768);
    EXPECT_EQ(both(QByteArray(Largest, '\0'), Stereo16, NoStop), 0);
}

TEST(PeakScan, StopsAtTheFirstFrameReachingTheThreshold)
{
    // Frames: (1000, -200) (0, 5000) (30000, 0): with 4000 the second channel
    // of frame 2 stops the scan before the loud third frame.
    const QByteArray data = samples16({1000, -200, 0, 5000, 30000, 0});
    EXPECT_EQ(both(data, Stereo16, 4000), 5000);
    EXPECT_EQ(both(data, Stereo16, 5000), 5000); // reaching is enough
    EXPECT_EQ(both(data, Stereo16, 5001), 30000);
    EXPECT_EQ(both(data, Stereo16, NoStop), 30000);
    // A threshold of 0 (cut level at its minimum) still looks at one frame.
    EXPECT_EQ(both(data, Stereo16, 0), 1000);

    // The same inside a long buffer, with the stop on either channel around a
    // block boundary and a louder sample in the next frame.
    QByteArray longer(8192, '\0');
    const QByteArray stop = samples16({-7000});
    const QByteArray loud = samples16({32000});
    for (int at : {1020, 1022, 1024, 4092, 4094, 4096, 4098, 8188}) {
        QByteArray d = longer;
        d.replace(at, 2, stop);
        const int next = (at / 4 + 1) * 4;
        if (next < d.size())
            d.replace(next, 2, loud);
        EXPECT_EQ(both(d, Stereo16, 6000), 7000) << at;
    }
}

TEST(PeakScan, PartialLastFrameIsNotRead)
{
    // Three whole frames and three bytes of a fourth that holds -32768.
    QByteArray data = samples16({10, 20, 30, 40, 50, 60, -32768, -32768});
    EXPECT_EQ(both(data, Stereo16, NoStop, 15), 60);
    EXPECT_EQ(both(data, Stereo16, NoStop, 16), 32768);
    EXPECT_EQ(both(data, Stereo16, NoStop, 3), 0);
    EXPECT_EQ(both(data, Mono16, NoStop, 13), 60);
    // An odd length over many blocks: the fast path's tail must stop as the rule does.
    QByteArray big(4097, '\0');
    big.replace(4094, 2, samples16({-30000}));
    big[4096] = char(0x80);
    EXPECT_EQ(both(big, Stereo16, NoStop), 30000);
    EXPECT_EQ(both(big, Stereo8, NoStop), 128); // 8-bit: 0x00 bytes are -128
}

TEST(PeakScan, EightBitSamplesAreUnsignedAroundTheMiddle)
{
    EXPECT_EQ(both(QByteArray(64, char(128)), Stereo8, NoStop), 0);
    EXPECT_EQ(both(QByteArray(64, char(0)), Stereo8, NoStop), 128);
    EXPECT_EQ(both(QByteArray(64, char(255)), Mono8, NoStop), 127);
    QByteArray data(100, char(128));
    data[37] = char(10);  // right channel, -118
    data[60] = char(200); // left channel, +72
    EXPECT_EQ(both(data, Stereo8, NoStop), 118);
    EXPECT_EQ(both(data, Stereo8, 100), 118);
    EXPECT_EQ(both(data, Stereo8, 119), 118);
    EXPECT_EQ(both(data, Stereo8, 50), 118);
    data[37] = char(128);
    EXPECT_EQ(both(data, Stereo8, 50), 72);
}

TEST(PeakScan, ThresholdOnTheEightBitScaleRoundsHalfToEven)
{
    EXPECT_EQ(PeakScanThreshold(32763, 2), 32763);
    EXPECT_EQ(PeakScanThreshold(32763, 1), 128);
    EXPECT_EQ(PeakScanThreshold(40000, 1), 156); // still above any 8-bit magnitude
    EXPECT_EQ(PeakScanThreshold(27648, 1), 108);
    EXPECT_EQ(PeakScanThreshold(384, 1), 2);     // 1.5
    EXPECT_EQ(PeakScanThreshold(640, 1), 2);     // 2.5
    EXPECT_EQ(PeakScanThreshold(0, 1), 0);
}

TEST(PeakScan, MonoMeasuresEveryFrameAndWideFramesOnlyTheirFirstTwoChannels)
{
    // In mono the second sample is the next frame, not a second channel: with
    // a threshold of 100 the scan stops at the first frame.
    const QByteArray mono = samples16({150, -9000});
    EXPECT_EQ(both(mono, Mono16, 100), 150);
    EXPECT_EQ(both(mono, Stereo16, 100), 9000);
    EXPECT_EQ(both(mono, Mono16, NoStop), 9000);

    // Three channels in 6-byte frames: the third is not measured.
    const PeakScanLayout three{2, 3, 6};
    const QByteArray wide = samples16({1, 2, -32768, 3, -400, 32767});
    EXPECT_EQ(both(wide, three, NoStop), 400);
    // Layouts the rule cannot measure give 0 instead of reading past the buffer.
    EXPECT_EQ(both(wide, PeakScanLayout{2, 2, 2}, NoStop), 0);
    EXPECT_EQ(both(wide, PeakScanLayout{3, 1, 3}, NoStop), 0);
    EXPECT_EQ(both(wide, PeakScanLayout{2, 0, 2}, NoStop), 0);
}

TEST(PeakScan, FastAgreesWithTheRuleOnRandomBuffers)
{
    std::mt19937 random(20261207);
    const PeakScanLayout layouts[] = {Stereo16, Mono16, Stereo8, Mono8, PeakScanLayout{2, 2, 6}};
    for (int round = 0; round < 400; ++round) {
        const PeakScanLayout layout = layouts[round % 5];
        const quint32 size = std::uniform_int_distribution<quint32>(0, 9000)(random);
        // Quiet noise with a few spikes, so that early stops fall anywhere.
        const int quiet = std::uniform_int_distribution<int>(0, 255)(random);
        QByteArray data(qsizetype(size), '\0');
        for (char &c : data)
            c = char(layout.bytesPerSample == 1 ? 128 + std::uniform_int_distribution<int>(-quiet / 2, quiet / 2)(random)
                                                : std::uniform_int_distribution<int>(-quiet, quiet)(random) & 0xFF);
        if (layout.bytesPerSample == 2) {
            // Byte noise on a 16-bit layout would be loud everywhere: keep high
            // bytes small, then plant spikes.
            for (quint32 i = 1; i < size; i += 2)
                data[i] = char((data[i] & 0x01) ? 0xFF : 0x00);
        }
        const int spikes = std::uniform_int_distribution<int>(0, 4)(random);
        for (int s = 0; s < spikes && size > 2; ++s) {
            const quint32 at = std::uniform_int_distribution<quint32>(0, size - 2)(random);
            data[at] = char(random());
            data[at + 1] = char(random());
        }
        const int limit = layout.bytesPerSample == 1 ? 129 : 32769;
        for (int threshold : {NoStop, std::uniform_int_distribution<int>(0, limit)(random),
                              std::uniform_int_distribution<int>(0, 600)(random)})
            both(data, layout, threshold);
    }
}

namespace {

// The mixed level written out frame by frame: the mean of the first two
// channels, rounded down, and its largest magnitude.
int mixedByHand(const QByteArray &data, const PeakScanLayout &layout)
{
    const auto *p = reinterpret_cast<const uchar *>(data.constData());
    const auto sample = [&](qsizetype at) {
        return layout.bytesPerSample == 1 ? int(p[at]) - 128 : int(qint16(quint16(p[at] | (p[at + 1] << 8))));
    };
    int peak = 0;
    for (qsizetype pos = 0; pos + layout.frameStep <= data.size(); pos += layout.frameStep) {
        const int v = layout.channels < 2 ? sample(pos)
                                          : int(std::floor((sample(pos) + sample(pos + layout.bytesPerSample)) / 2.0));
        peak = std::max(peak, std::abs(v));
    }
    return peak;
}

} // namespace

TEST(PeakScan, MixedLevelIsTheMeanOfBothChannels)
{
    // One channel alone counts half; opposite channels cancel out; the
    // most negative pair reaches the full scale.
    EXPECT_EQ(PeakScanMixed(samples16({30000, 0, 0, 6000}).constData(), 8, Stereo16), 15000);
    EXPECT_EQ(PeakScanMixed(samples16({20000, -20000, 100, 101}).constData(), 8, Stereo16), 100);
    EXPECT_EQ(PeakScanMixed(samples16({-32768, -32768}).constData(), 4, Stereo16), 32768);
    EXPECT_EQ(PeakScanMixed(samples16({32767, -32768}).constData(), 4, Stereo16), 1) << "-0.5 rounds down";
    // A partial last frame is not read; mono is the sample itself; 8-bit is
    // around the middle.
    EXPECT_EQ(PeakScanMixed(samples16({10, 10, -30000}).constData(), 6, Stereo16), 10);
    EXPECT_EQ(PeakScanMixed(samples16({-700, 300}).constData(), 4, Mono16), 700);
    const QByteArray eight("\x00\xff\x80\x00", 4);
    EXPECT_EQ(PeakScanMixed(eight.constData(), 4, Stereo8), 64);
    EXPECT_EQ(PeakScanMixed(eight.constData(), 4, Mono8), 128);
    EXPECT_EQ(PeakScanMixed(eight.constData(), 4, PeakScanLayout{3, 1, 3}), 0);
}

TEST(PeakScan, MixedLevelAgreesWithTheMeanByHandOnRandomBuffers)
{
    std::mt19937 random(20261208);
    const PeakScanLayout layouts[] = {Stereo16, Mono16, Stereo8, Mono8, PeakScanLayout{2, 2, 6}};
    for (int round = 0; round < 300; ++round) {
        const PeakScanLayout layout = layouts[round % 5];
        // Lengths around the eight-frame steps, and full buffers.
        const quint32 size = round % 7 == 0 ? Largest : std::uniform_int_distribution<quint32>(0, 300)(random);
        QByteArray data(qsizetype(size), '\0');
        for (char &c : data)
            c = char(random());
        EXPECT_EQ(PeakScanMixed(data.constData(), size, layout), mixedByHand(data, layout))
            << "layout " << layout.bytesPerSample << "/" << layout.channels << "/" << layout.frameStep << " bytes "
            << size;
    }
}
