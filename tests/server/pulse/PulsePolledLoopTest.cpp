// The hand-run main loop under libpulse's connections, driven through the
// same table of functions libpulse calls: descriptors, timers and deferred
// work run when due and only then, and events freed from inside a callback
// (libpulse does that when a stream or connection ends) are neither run
// again nor used after they are gone.
#include "platform/pulse/PulsePolledLoop.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <sys/time.h>
#include <unistd.h>

using namespace nuvask;

namespace {

struct Counts
{
    int io = 0;
    int timer = 0;
    int deferred = 0;
    int destroyed = 0;
    pa_io_event_flags_t lastFlags = PA_IO_EVENT_NULL;
    bool freeInCallback = false;
};

struct timeval wallClockIn(int ms)
{
    struct timeval tv {};
    gettimeofday(&tv, nullptr);
    const long usec = tv.tv_usec + long(ms) * 1000;
    tv.tv_sec += usec / 1000000;
    tv.tv_usec = usec % 1000000;
    return tv;
}

class PulsePolledLoopTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(::pipe(fds), 0); }
    void TearDown() override
    {
        ::close(fds[0]);
        ::close(fds[1]);
    }

    pa_io_event *watchRead()
    {
        pa_io_event *e = api->io_new(
            api, fds[0], PA_IO_EVENT_INPUT,
            [](pa_mainloop_api *a, pa_io_event *e, int fd, pa_io_event_flags_t flags, void *userdata) {
                auto *c = static_cast<Counts *>(userdata);
                ++c->io;
                c->lastFlags = flags;
                char byte = 0;
                [[maybe_unused]] const auto n = ::read(fd, &byte, 1);
                if (c->freeInCallback)
                    a->io_free(e);
            },
            &counts);
        api->io_set_destroy(e, [](pa_mainloop_api *, pa_io_event *, void *userdata) {
            ++static_cast<Counts *>(userdata)->destroyed;
        });
        return e;
    }

    void writeByte() { ASSERT_EQ(::write(fds[1], "x", 1), 1); }

    int fds[2] = {-1, -1};
    Counts counts;
    std::unique_ptr<PulsePolledLoop> loop = std::make_unique<PulsePolledLoop>();
    pa_mainloop_api *api = loop->api();
};

TEST_F(PulsePolledLoopTest, ADescriptorRunsOnlyWhenReadyAndEnabledAndEveryByteIsRead)
{
    pa_io_event *e = watchRead();
    loop->runReady();
    EXPECT_EQ(counts.io, 0) << "nothing to read: not run";

    // Three bytes: one read per round, all of them before runReady returns.
    writeByte();
    writeByte();
    writeByte();
    loop->runReady();
    EXPECT_EQ(counts.io, 3);
    EXPECT_TRUE(counts.lastFlags & PA_IO_EVENT_INPUT);

    // Disabled, it is not run however much waits.
    api->io_enable(e, PA_IO_EVENT_NULL);
    writeByte();
    loop->runReady();
    EXPECT_EQ(counts.io, 3);
    api->io_enable(e, PA_IO_EVENT_INPUT);
    EXPECT_TRUE(loop->runOnce(1000));
    EXPECT_EQ(counts.io, 4);

    // The other end closed: the watcher hears the hang-up.
    ::close(fds[1]);
    fds[1] = ::dup(fds[0]); // something for TearDown to close
    loop->runOnce(0);
    EXPECT_TRUE(counts.lastFlags & PA_IO_EVENT_HANGUP);
}

TEST_F(PulsePolledLoopTest, AnEventFreedInItsOwnCallbackIsDestroyedOnceAndNeverRunAgain)
{
    watchRead();
    counts.freeInCallback = true;
    writeByte();
    writeByte();
    loop->runReady();
    EXPECT_EQ(counts.io, 1);
    EXPECT_EQ(counts.destroyed, 1);
    loop->runReady();
    EXPECT_EQ(counts.io, 1);

    // Events still there when the loop goes are destroyed with it.
    watchRead();
    loop.reset();
    EXPECT_EQ(counts.destroyed, 2);
}

TEST_F(PulsePolledLoopTest, ATimerFiresOnceWhenDueAndAgainOnlyWhenRestarted)
{
    const struct timeval due = wallClockIn(40);
    pa_time_event *t = api->time_new(
        api, &due, [](pa_mainloop_api *, pa_time_event *, const struct timeval *, void *userdata) {
            ++static_cast<Counts *>(userdata)->timer;
        },
        &counts);
    loop->runReady();
    EXPECT_EQ(counts.timer, 0) << "not due yet";

    // A wait for something else ends when the timer is due, not at its own end.
    QElapsedTimer clock;
    clock.start();
    while (counts.timer == 0 && clock.elapsed() < 2000)
        ASSERT_TRUE(loop->runOnce(1000));
    EXPECT_EQ(counts.timer, 1);
    EXPECT_GE(clock.elapsed(), 30);
    EXPECT_LT(clock.elapsed(), 500);
    loop->runOnce(60);
    EXPECT_EQ(counts.timer, 1) << "a timer fires once";

    const struct timeval now = wallClockIn(0);
    api->time_restart(t, &now);
    loop->runReady();
    EXPECT_EQ(counts.timer, 2);
    api->time_restart(t, nullptr); // switched off
    loop->runOnce(20);
    EXPECT_EQ(counts.timer, 2);
}

TEST_F(PulsePolledLoopTest, DeferredWorkRunsEveryRoundWhileEnabledWithoutWaiting)
{
    pa_defer_event *d = api->defer_new(
        api,
        [](pa_mainloop_api *a, pa_defer_event *e, void *userdata) {
            auto *c = static_cast<Counts *>(userdata);
            if (++c->deferred == 3)
                a->defer_enable(e, 0);
        },
        &counts);
    QElapsedTimer clock;
    clock.start();
    loop->runOnce(1000); // deferred work waiting: the round does not sleep
    EXPECT_LT(clock.elapsed(), 500);
    loop->runReady();
    EXPECT_EQ(counts.deferred, 3);
    api->defer_enable(d, 1);
    loop->runOnce(0);
    EXPECT_EQ(counts.deferred, 4);
    api->defer_free(d);
    loop->runReady();
    EXPECT_EQ(counts.deferred, 4);
}

} // namespace
