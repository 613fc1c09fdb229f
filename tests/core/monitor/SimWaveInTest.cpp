// The simulated capture device and the buffer bookkeeping every capture
// service shares: the contract the level monitor relies on.
#include "core/monitor/PeakScan.h"
#include "platform/sim/SimWaveIn.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <array>

using namespace nuvask;

namespace {

constexpr quint32 Buffer = 8820; // bytes: 50 ms of 44.1 kHz 16-bit stereo

struct Returned {
    WaveHeader *header;
    quint32 bytes;
};

class SimWaveInTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (std::size_t i = 0; i < headers.size(); ++i) {
            memory[i] = QByteArray(Buffer, '\x55');
            headers[i].data = memory[i].data();
            headers[i].bufferLength = Buffer;
        }
    }
    quint32 open(const WaveFormat &format = {})
    {
        return device.open(0, format, [this](WaveInHandle h, WaveHeader *header) {
            EXPECT_EQ(h, handle);
            returned.append({header, header->bytesRecorded});
            if (onReturn)
                onReturn(header);
        }, handle);
    }
    void queueAll()
    {
        for (WaveHeader &header : headers) {
            ASSERT_EQ(device.prepareHeader(handle, &header), WaveRc::NoError);
            ASSERT_EQ(device.addBuffer(handle, &header), WaveRc::NoError);
        }
    }
    static void deliver() { QCoreApplication::processEvents(); }
    int peak(const WaveHeader &header, const PeakScanLayout &layout = {}) const
    {
        return PeakScanRule(header.data, header.bytesRecorded, layout, 40000);
    }

    SimWaveIn device;
    WaveInHandle handle = NoWaveInHandle;
    std::array<QByteArray, 5> memory;
    std::array<WaveHeader, 5> headers;
    QList<Returned> returned;
    std::function<void(WaveHeader *)> onReturn;
};

TEST_F(SimWaveInTest, BuffersFillInTurnAndComeBackLaterOnTheEventLoop)
{
    ASSERT_EQ(open(), WaveRc::NoError);
    queueAll();
    EXPECT_FALSE(device.fillOne()) << "nothing is captured before start";
    ASSERT_EQ(device.start(handle), WaveRc::NoError);

    device.queueLevel(12000, Buffer / 4);
    device.queueFullScale(1);
    ASSERT_TRUE(device.fillOne());
    EXPECT_TRUE(returned.isEmpty()) << "hand-back must not run inside the call";
    deliver();
    ASSERT_EQ(returned.size(), 1);
    EXPECT_EQ(returned[0].header, &headers[0]);
    EXPECT_EQ(returned[0].bytes, Buffer);
    EXPECT_EQ(headers[0].flags & (WaveHeaderFlag::Done | WaveHeaderFlag::InQueue), WaveHeaderFlag::Done);
    EXPECT_EQ(peak(headers[0]), 12000);

    // The next buffer starts with the full-scale frame, then silence.
    ASSERT_TRUE(device.fillOne());
    deliver();
    ASSERT_EQ(returned.size(), 2);
    EXPECT_EQ(returned[1].header, &headers[1]);
    EXPECT_EQ(peak(headers[1]), 32768);
    EXPECT_EQ(PeakScanRule(headers[1].data + 4, Buffer - 4, {}, 40000), 0);
    EXPECT_EQ(device.queuedCount(), 3);

    // A buffer handed back can be queued again and comes last.
    ASSERT_EQ(device.addBuffer(handle, &headers[0]), WaveRc::NoError);
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(device.fillOne());
    deliver();
    ASSERT_EQ(returned.size(), 6);
    EXPECT_EQ(returned[5].header, &headers[0]);
}

TEST_F(SimWaveInTest, ResetHandsBackEveryBufferAndTheOneBeingFilledKeepsItsBytes)
{
    ASSERT_EQ(open(), WaveRc::NoError);
    queueAll();
    ASSERT_EQ(device.start(handle), WaveRc::NoError);
    device.queueLevel(3000, 10000);
    EXPECT_EQ(device.feed(Buffer + 400), Buffer + 400);
    deliver();
    ASSERT_EQ(returned.size(), 1);
    EXPECT_EQ(device.close(handle), WaveRc::StillPlaying);
    EXPECT_EQ(device.unprepareHeader(handle, &headers[1]), WaveRc::StillPlaying);

    ASSERT_EQ(device.reset(handle), WaveRc::NoError);
    EXPECT_FALSE(device.isStarted());
    EXPECT_EQ(device.queuedCount(), 0);
    deliver();
    ASSERT_EQ(returned.size(), 5);
    EXPECT_EQ(returned[1].header, &headers[1]);
    EXPECT_EQ(returned[1].bytes, 400u);
    EXPECT_EQ(peak(headers[1]), 3000);
    for (int i = 2; i < 5; ++i) {
        EXPECT_EQ(returned[i].header, &headers[i]);
        EXPECT_EQ(returned[i].bytes, 0u);
    }
    // Restart after the reset: capture goes on into buffers queued again.
    ASSERT_EQ(device.addBuffer(handle, &headers[2]), WaveRc::NoError);
    ASSERT_EQ(device.start(handle), WaveRc::NoError);
    ASSERT_TRUE(device.fillOne());
    deliver();
    EXPECT_EQ(returned.last().header, &headers[2]);
}

TEST_F(SimWaveInTest, HandBacksStillPendingAtCloseAreDropped)
{
    ASSERT_EQ(open(), WaveRc::NoError);
    queueAll();
    ASSERT_EQ(device.start(handle), WaveRc::NoError);
    ASSERT_EQ(device.reset(handle), WaveRc::NoError);
    for (WaveHeader &header : headers)
        ASSERT_EQ(device.unprepareHeader(handle, &header), WaveRc::NoError);
    ASSERT_EQ(device.close(handle), WaveRc::NoError);
    deliver();
    EXPECT_TRUE(returned.isEmpty()) << "a closed handle must never be reported";
    EXPECT_EQ(device.reset(handle), WaveRc::InvalidHandle);
}

TEST_F(SimWaveInTest, HeaderAndHandleMisuseIsRefused)
{
    EXPECT_EQ(device.open(1, {}, {}, handle), WaveRc::BadDeviceId);
    WaveFormat odd;
    odd.blockAlign = 3;
    EXPECT_EQ(open(odd), WaveRc::BadFormat);
    ASSERT_EQ(open(), WaveRc::NoError);
    WaveInHandle second = NoWaveInHandle;
    EXPECT_EQ(device.open(0, {}, {}, second), WaveRc::Allocated);

    EXPECT_EQ(device.addBuffer(handle, &headers[0]), WaveRc::Unprepared);
    ASSERT_EQ(device.prepareHeader(handle, &headers[0]), WaveRc::NoError);
    EXPECT_EQ(device.addBuffer(handle, &headers[0]), WaveRc::NoError);
    EXPECT_EQ(device.addBuffer(handle, &headers[0]), WaveRc::StillPlaying);
    EXPECT_EQ(device.queuedCount(), 1);
    WaveHeader empty;
    EXPECT_EQ(device.prepareHeader(handle, &empty), WaveRc::InvalidParam);
    EXPECT_EQ(device.start(handle + 1), WaveRc::InvalidHandle);

    device.setDeviceCount(0);
    EXPECT_EQ(device.deviceCount(), 0u);
}

TEST_F(SimWaveInTest, AnyCallFailsOnRequest)
{
    // The second prepare fails once, the first add fails once: enough to reach
    // every open failure of the monitor in turn.
    device.addFault({SimWaveCall::Prepare, WaveRc::NoMemory, 1, 1});
    device.addFault({SimWaveCall::AddBuffer, WaveRc::Error, 0, 1});
    device.addFault({SimWaveCall::Start, WaveRc::NoDriver, 0, 1});
    ASSERT_EQ(open(), WaveRc::NoError);
    EXPECT_EQ(device.prepareHeader(handle, &headers[0]), WaveRc::NoError);
    EXPECT_EQ(device.prepareHeader(handle, &headers[1]), WaveRc::NoMemory);
    EXPECT_EQ(device.prepareHeader(handle, &headers[1]), WaveRc::NoError);
    EXPECT_EQ(device.addBuffer(handle, &headers[0]), WaveRc::Error);
    EXPECT_EQ(device.addBuffer(handle, &headers[0]), WaveRc::NoError);
    EXPECT_EQ(device.start(handle), WaveRc::NoDriver);
    EXPECT_FALSE(device.isStarted());
    EXPECT_EQ(device.start(handle), WaveRc::NoError);
    EXPECT_EQ(device.callCount(SimWaveCall::Prepare), 3);

    device.addFault({SimWaveCall::Open, WaveRc::Allocated});
    ASSERT_EQ(device.reset(handle), WaveRc::NoError);
    EXPECT_EQ(device.unprepareHeader(handle, &headers[0]), WaveRc::NoError);
    EXPECT_EQ(device.close(handle), WaveRc::NoError);
    EXPECT_EQ(open(), WaveRc::Allocated);
    EXPECT_FALSE(device.isOpen());
}

TEST_F(SimWaveInTest, EightBitAndMonoFormatsGetTheSignalInTheirOwnLayout)
{
    WaveFormat eight{1, 2, 44100, 88200, 2, 8};
    ASSERT_EQ(open(eight), WaveRc::NoError);
    queueAll();
    ASSERT_EQ(device.start(handle), WaveRc::NoError);
    device.queueLevel(16384, Buffer / 2);
    device.queueFullScale(1);
    ASSERT_TRUE(device.fillOne());
    ASSERT_TRUE(device.fillOne());
    deliver();
    ASSERT_EQ(returned.size(), 2);
    const PeakScanLayout layout8{1, 2, 2};
    EXPECT_EQ(peak(headers[0], layout8), 64);
    EXPECT_EQ(uchar(headers[1].data[0]), 0);
    EXPECT_EQ(uchar(headers[1].data[2]), 128) << "silence after the script is 128 in 8-bit";
    ASSERT_EQ(device.reset(handle), WaveRc::NoError);
    deliver();
    for (WaveHeader &header : headers)
        device.unprepareHeader(handle, &header);
    ASSERT_EQ(device.close(handle), WaveRc::NoError);

    returned.clear();
    ASSERT_EQ(open(WaveFormat{1, 1, 44100, 88200, 2, 16}), WaveRc::NoError);
    queueAll();
    ASSERT_EQ(device.start(handle), WaveRc::NoError);
    device.queueBytes(QByteArray::fromHex("0100ff7f"));
    device.queueLevel(500, 3);
    ASSERT_EQ(device.feed(8), 8u);
    EXPECT_EQ(QByteArray(headers[0].data, 8).toHex(), QByteArray("0100ff7f00001f00"));
}

TEST_F(SimWaveInTest, DeviceGoingAwayHandsBuffersBackAndThenOnlyClosingWorks)
{
    ASSERT_EQ(open(), WaveRc::NoError);
    queueAll();
    ASSERT_EQ(device.start(handle), WaveRc::NoError);
    device.queueLevel(8000, 1000);
    device.feed(1000);
    device.goAway();
    deliver();
    ASSERT_EQ(returned.size(), 5);
    EXPECT_EQ(returned[0].bytes, 1000u);
    EXPECT_EQ(device.addBuffer(handle, &headers[0]), WaveRc::NoDriver);
    EXPECT_EQ(device.start(handle), WaveRc::NoDriver);
    EXPECT_EQ(device.reset(handle), WaveRc::NoDriver);
    EXPECT_EQ(device.unprepareHeader(handle, &headers[0]), WaveRc::NoError);
    EXPECT_EQ(device.close(handle), WaveRc::NoError);
    EXPECT_EQ(open(), WaveRc::NoError) << "a later open finds the device again";
}

TEST_F(SimWaveInTest, ImmediateDeliveryMayCloseTheDeviceInsideReset)
{
    // A caller that closes on the first empty buffer, while the reset that
    // handed it back is still running: the rest must be dropped, not touched.
    device.setDeliverImmediately(true);
    ASSERT_EQ(open(), WaveRc::NoError);
    queueAll();
    ASSERT_EQ(device.start(handle), WaveRc::NoError);
    onReturn = [this](WaveHeader *) {
        onReturn = nullptr;
        EXPECT_EQ(device.reset(handle), WaveRc::NoError);
        for (WaveHeader &header : headers)
            device.unprepareHeader(handle, &header);
        EXPECT_EQ(device.close(handle), WaveRc::NoError);
    };
    ASSERT_EQ(device.reset(handle), WaveRc::NoError);
    EXPECT_EQ(returned.size(), 1);
    EXPECT_FALSE(device.isOpen());
    deliver();
    EXPECT_EQ(returned.size(), 1);
}

TEST_F(SimWaveInTest, PacedDeviceFillsABufferPerBufferLengthOfSound)
{
    ASSERT_EQ(open(), WaveRc::NoError);
    queueAll();
    device.setPaced(true);
    ASSERT_EQ(device.start(handle), WaveRc::NoError);
    QElapsedTimer clock;
    clock.start();
    while (returned.size() < 3 && clock.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    ASSERT_EQ(returned.size(), 3);
    // 50 ms of sound each; a timer never fires early.
    EXPECT_GE(clock.elapsed(), 140);
    ASSERT_EQ(device.reset(handle), WaveRc::NoError);
    deliver();
    const auto count = returned.size();
    QElapsedTimer idle;
    idle.start();
    while (idle.elapsed() < 120)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    EXPECT_EQ(returned.size(), count) << "no filling after reset";
}

} // namespace
