// A libpulse main loop run by hand, without a wake-up pipe.

#include "platform/pulse/PulsePolledLoop.h"

#include <pulse/rtclock.h>
#include <pulse/timeval.h>

#include <poll.h>
#include <sys/time.h>

#include <algorithm>
#include <cerrno>
#include <vector>

// The event types are libpulse's opaque handles: each main loop defines its own.
struct pa_io_event
{
    int fd;
    pa_io_event_flags_t events;
    pa_io_event_cb_t callback;
    void *userdata;
    pa_io_event_destroy_cb_t destroy = nullptr;
    bool dead = false;
};

struct pa_time_event
{
    bool enabled = false;
    pa_usec_t due = 0; // on the monotonic clock
    struct timeval asked {};
    pa_time_event_cb_t callback = nullptr;
    void *userdata = nullptr;
    pa_time_event_destroy_cb_t destroy = nullptr;
    bool dead = false;
};

struct pa_defer_event
{
    bool enabled = true;
    pa_defer_event_cb_t callback = nullptr;
    void *userdata = nullptr;
    pa_defer_event_destroy_cb_t destroy = nullptr;
    bool dead = false;
};

namespace nuvask {

namespace {

// libpulse marks a time on its monotonic clock with this bit of tv_usec
// (times without it are wall-clock times).
constexpr suseconds_t MonotonicMark = suseconds_t(1) << 30;

pa_usec_t monotonicOf(const struct timeval &tv)
{
    struct timeval t = tv;
    if (t.tv_usec & MonotonicMark) {
        t.tv_usec &= ~MonotonicMark;
        return pa_timeval_load(&t);
    }
    struct timeval wallNow {};
    gettimeofday(&wallNow, nullptr);
    const pa_usec_t now = pa_rtclock_now();
    const pa_usec_t wallDue = pa_timeval_load(&t);
    const pa_usec_t wall = pa_timeval_load(&wallNow);
    return wallDue >= wall ? now + (wallDue - wall) : (now > wall - wallDue ? now - (wall - wallDue) : 0);
}

short pollEventsOf(pa_io_event_flags_t flags)
{
    return short((flags & PA_IO_EVENT_INPUT ? POLLIN : 0) | (flags & PA_IO_EVENT_OUTPUT ? POLLOUT : 0));
}

pa_io_event_flags_t flagsOf(short revents)
{
    return pa_io_event_flags_t((revents & POLLIN ? PA_IO_EVENT_INPUT : 0) |
                               (revents & POLLOUT ? PA_IO_EVENT_OUTPUT : 0) |
                               (revents & POLLHUP ? PA_IO_EVENT_HANGUP : 0) |
                               (revents & (POLLERR | POLLNVAL) ? PA_IO_EVENT_ERROR : 0));
}

// Frees the events marked dead; their destroy callbacks may free more.
template <typename Event>
bool sweep(std::vector<Event *> &events, pa_mainloop_api *api)
{
    bool any = false;
    for (std::size_t i = 0; i < events.size();) {
        Event *e = events[i];
        if (!e->dead) {
            ++i;
            continue;
        }
        events.erase(events.begin() + std::ptrdiff_t(i));
        if (e->destroy)
            e->destroy(api, e, e->userdata);
        delete e;
        any = true;
    }
    return any;
}

} // namespace

struct PulsePolledLoop::Impl
{
    pa_mainloop_api api{};
    std::vector<pa_io_event *> ios;
    std::vector<pa_time_event *> times;
    std::vector<pa_defer_event *> defers;
    std::vector<pollfd> fds;            // the round's poll set
    std::vector<pa_io_event *> polled;  // the event of each entry of `fds`

    static Impl *of(pa_mainloop_api *a) { return static_cast<Impl *>(a->userdata); }

    Impl()
    {
        api.userdata = this;
        api.io_new = [](pa_mainloop_api *a, int fd, pa_io_event_flags_t events, pa_io_event_cb_t cb,
                        void *userdata) -> pa_io_event * {
            auto *e = new pa_io_event{fd, events, cb, userdata};
            of(a)->ios.push_back(e);
            return e;
        };
        api.io_enable = [](pa_io_event *e, pa_io_event_flags_t events) { e->events = events; };
        api.io_free = [](pa_io_event *e) { e->dead = true; };
        api.io_set_destroy = [](pa_io_event *e, pa_io_event_destroy_cb_t cb) { e->destroy = cb; };
        api.time_new = [](pa_mainloop_api *a, const struct timeval *tv, pa_time_event_cb_t cb,
                          void *userdata) -> pa_time_event * {
            auto *e = new pa_time_event;
            e->callback = cb;
            e->userdata = userdata;
            restart(e, tv);
            of(a)->times.push_back(e);
            return e;
        };
        api.time_restart = [](pa_time_event *e, const struct timeval *tv) { restart(e, tv); };
        api.time_free = [](pa_time_event *e) { e->dead = true; };
        api.time_set_destroy = [](pa_time_event *e, pa_time_event_destroy_cb_t cb) { e->destroy = cb; };
        api.defer_new = [](pa_mainloop_api *a, pa_defer_event_cb_t cb, void *userdata) -> pa_defer_event * {
            auto *e = new pa_defer_event;
            e->callback = cb;
            e->userdata = userdata;
            of(a)->defers.push_back(e);
            return e;
        };
        api.defer_enable = [](pa_defer_event *e, int on) { e->enabled = on != 0; };
        api.defer_free = [](pa_defer_event *e) { e->dead = true; };
        api.defer_set_destroy = [](pa_defer_event *e, pa_defer_event_destroy_cb_t cb) { e->destroy = cb; };
        // Nothing to leave: the loop only runs while its owner calls it.
        api.quit = [](pa_mainloop_api *, int) {};
    }

    ~Impl()
    {
        for (auto *e : ios)
            e->dead = true;
        for (auto *e : times)
            e->dead = true;
        for (auto *e : defers)
            e->dead = true;
        while (sweepAll()) {
        }
    }

    static void restart(pa_time_event *e, const struct timeval *tv)
    {
        e->enabled = tv != nullptr;
        if (tv) {
            e->asked = *tv;
            e->due = monotonicOf(*tv);
        }
    }

    bool sweepAll()
    {
        const bool a = sweep(ios, &api);
        const bool b = sweep(times, &api);
        const bool c = sweep(defers, &api);
        return a || b || c;
    }

    // Every enabled deferred event once; whether any ran.
    bool runDefers()
    {
        bool any = false;
        const std::size_t n = defers.size(); // those added meanwhile wait for the next round
        for (std::size_t i = 0; i < n; ++i) {
            pa_defer_event *e = defers[i];
            if (e->dead || !e->enabled)
                continue;
            e->callback(&api, e, e->userdata);
            any = true;
        }
        return any;
    }

    // Milliseconds to the next timer (capped at `limit`).
    int untilNextTimer(int limit) const
    {
        const pa_usec_t now = pa_rtclock_now();
        pa_usec_t soonest = pa_usec_t(-1);
        for (const auto *e : times) {
            if (!e->dead && e->enabled)
                soonest = std::min(soonest, e->due);
        }
        if (soonest == pa_usec_t(-1))
            return limit;
        if (soonest <= now)
            return 0;
        return int(std::min<pa_usec_t>(pa_usec_t(limit), (soonest - now + 999) / 1000));
    }

    bool runTimers()
    {
        bool any = false;
        const pa_usec_t now = pa_rtclock_now();
        const std::size_t n = times.size();
        for (std::size_t i = 0; i < n; ++i) {
            pa_time_event *e = times[i];
            if (e->dead || !e->enabled || e->due > now)
                continue;
            e->enabled = false; // a timer fires once unless restarted
            const struct timeval asked = e->asked;
            e->callback(&api, e, &asked, e->userdata);
            any = true;
        }
        return any;
    }

    // Polls the descriptors; 1 when something was dispatched, 0 when
    // nothing was ready, -1 when poll() failed.
    int pollAndRun(int timeoutMs)
    {
        fds.clear();
        polled.clear();
        for (auto *e : ios) {
            if (e->dead)
                continue;
            fds.push_back({e->fd, pollEventsOf(e->events), 0});
            polled.push_back(e);
        }
        int ready = ::poll(fds.data(), nfds_t(fds.size()), timeoutMs);
        if (ready < 0)
            return errno == EINTR ? 0 : -1;
        bool any = false;
        for (std::size_t i = 0; i < fds.size() && ready > 0; ++i) {
            if (!fds[i].revents)
                continue;
            --ready;
            pa_io_event *e = polled[i];
            if (e->dead)
                continue;
            e->callback(&api, e, e->fd, flagsOf(fds[i].revents), e->userdata);
            any = true;
        }
        return any ? 1 : 0;
    }

    // A round as libpulse's loop runs it: deferred work first (without
    // waiting for the descriptors then), descriptors, timers.
    int round(int timeoutMs)
    {
        const bool deferred = runDefers();
        const int io = pollAndRun(deferred ? 0 : untilNextTimer(timeoutMs));
        const bool timed = runTimers();
        sweepAll();
        if (io < 0)
            return -1;
        return deferred || io > 0 || timed ? 1 : 0;
    }
};

PulsePolledLoop::PulsePolledLoop() : m_impl(std::make_unique<Impl>()) {}

PulsePolledLoop::~PulsePolledLoop() = default;

pa_mainloop_api *PulsePolledLoop::api()
{
    return &m_impl->api;
}

void PulsePolledLoop::runReady(int maxRounds)
{
    for (int i = 0; i < maxRounds && m_impl->round(0) > 0; ++i) {
    }
}

bool PulsePolledLoop::runOnce(int timeoutMs)
{
    return m_impl->round(std::max(0, timeoutMs)) >= 0;
}

} // namespace nuvask
