#pragma once
// Five capture buffers on a capture service, used as the level monitor uses
// them: every buffer that comes back is recorded with its bytes and peak and,
// while `requeue` is set, queued again if it holds anything. The handle is
// reset, its buffers unprepared and closed when the object goes.

#include "core/monitor/PeakScan.h"
#include "core/monitor/WaveInService.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <gtest/gtest.h>

#include <array>

namespace nuvask::test {

constexpr quint32 CaptureBufferBytes = 8820; // 50 ms of 44.1 kHz 16-bit stereo
// A null sink that idled renders its first block late: up to about 2 s.
constexpr int FirstBufferMs = 4000;

struct CaptureBuffers
{
    explicit CaptureBuffers(WaveInService &service) : wave(service) { clock.start(); }
    CaptureBuffers(const CaptureBuffers &) = delete;
    CaptureBuffers &operator=(const CaptureBuffers &) = delete;
    ~CaptureBuffers()
    {
        if (handle == NoWaveInHandle)
            return;
        wave.reset(handle);
        for (WaveHeader &header : headers)
            wave.unprepareHeader(handle, &header);
        EXPECT_EQ(wave.close(handle), WaveRc::NoError);
    }

    quint32 open()
    {
        for (std::size_t i = 0; i < headers.size(); ++i) {
            memory[i] = QByteArray(CaptureBufferBytes, '\0');
            headers[i] = WaveHeader{memory[i].data(), CaptureBufferBytes};
        }
        return wave.open(
            0, WaveFormat{},
            [this](WaveInHandle h, WaveHeader *header) {
                EXPECT_EQ(h, handle);
                returned.append(header);
                times.append(clock.elapsed());
                bytes.append(header->bytesRecorded);
                peaks.append(PeakScanFast(header->data, header->bytesRecorded, {}, 40000));
                if (requeue && header->bytesRecorded > 0) {
                    EXPECT_EQ(wave.addBuffer(handle, header), WaveRc::NoError);
                }
            },
            handle);
    }
    void queueAll()
    {
        for (WaveHeader &header : headers) {
            ASSERT_EQ(wave.prepareHeader(handle, &header), WaveRc::NoError);
            ASSERT_EQ(wave.addBuffer(handle, &header), WaveRc::NoError);
        }
    }
    void forget()
    {
        returned.clear();
        times.clear();
        bytes.clear();
        peaks.clear();
    }

    WaveInService &wave;
    WaveInHandle handle = NoWaveInHandle;
    std::array<QByteArray, 5> memory;
    std::array<WaveHeader, 5> headers;
    QList<WaveHeader *> returned;
    QList<qint64> times; // when each came back, in milliseconds of `clock`
    QElapsedTimer clock;
    QList<quint32> bytes;
    QList<int> peaks;
    bool requeue = true;
};

} // namespace nuvask::test
