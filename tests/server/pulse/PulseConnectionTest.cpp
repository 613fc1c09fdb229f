// The connection to the sound server on its own: how long it waits between
// attempts while no server answers, and a change that the server announces
// while a full read of it is still on its way.
#include "tests/server/MixerAlsaSupport.h"

#include "platform/pulse/PulseConnection.h"

#include <gtest/gtest.h>

#include <optional>

using namespace nuvask;
using namespace nuvask::test;

namespace {

TEST(PulseConnectionTest, WaitBetweenAttemptsDoublesUpToItsBoundAndStartsOverOnceConnected)
{
    SKIP_WITHOUT_PULSE();
    std::optional<ScopedEnv> away(std::in_place, "PULSE_SERVER", "unix:/nonexistent/nuvask-no-server");
    PulseConnection connection;
    connection.setRetryWaits(10, 40);
    QList<int> waits; // before each next attempt
    QObject::connect(&connection, &PulseConnection::stateChanged, [&](PulseConnection::State state) {
        if (state == PulseConnection::State::Lost)
            waits.append(connection.nextRetryMs());
    });
    connection.start();
    ASSERT_TRUE(WaitFor([&] { return waits.size() >= 6; }, 5000)) << waits.size();
    EXPECT_EQ(waits.mid(0, 6), (QList<int>{10, 20, 40, 40, 40, 40}));

    // The server answers: the next outage starts again with the first wait.
    away.reset();
    ASSERT_TRUE(WaitFor([&] { return connection.state() == PulseConnection::State::Ready; }, 3000));
    EXPECT_EQ(connection.nextRetryMs(), 10);
}

// rec_sink's volume in the connection's picture, 0..1.
double SinkVolume(const PulseConnection &connection)
{
    for (const PulseDeviceInfo &sink : connection.server().sinks) {
        if (sink.name == QLatin1String("rec_sink") && !sink.volumes.isEmpty())
            return double(sink.volumes.first()) / PulseVolumeNorm;
    }
    return -1;
}

TEST(PulseConnectionTest, ChangeAnnouncedWhileAFullReadIsInFlightIsReadOnceMore)
{
    SKIP_WITHOUT_PULSE();
    PulseConnection connection;
    connection.start();
    connection.waitForFirstAnswer(3000);
    ASSERT_EQ(connection.state(), PulseConnection::State::Ready);
    Pactl({"set-sink-volume", "rec_sink", "20%"});
    ASSERT_TRUE(WaitFor([&] { return std::abs(SinkVolume(connection) - 0.2) < 0.01; }, 2000));

    // The read that a first change starts is in, but held on its way.
    connection.holdLoads(true);
    Pactl({"set-sink-volume", "rec_sink", "30%"});
    ASSERT_TRUE(WaitFor([&] { return connection.holdsLoad(); }, 2000));
    // A second change is announced meanwhile; the read in flight cannot hold it.
    Pactl({"set-sink-volume", "rec_sink", "60%"});
    Spin(300);
    connection.holdLoads(false);
    EXPECT_TRUE(WaitFor([&] { return std::abs(SinkVolume(connection) - 0.6) < 0.01; }, 2000))
        << "the picture stayed at " << SinkVolume(connection);
}

} // namespace
