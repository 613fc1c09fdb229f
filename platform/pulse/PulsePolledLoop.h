#pragma once
// A libpulse main loop that runs only when its owner calls it, from the
// owner's thread. libpulse's own pa_mainloop is built to sleep in poll() and
// be woken from elsewhere: every event it enables or dispatches writes to a
// wake-up pipe and every iteration reads it back, three system calls per
// message of the server beside the one read the message needs. A capture
// that reads 10 ms blocks pays that a hundred times a second for nothing;
// this loop has no pipe: one poll() per round, then what is ready.

#include <pulse/mainloop-api.h>

#include <memory>

namespace nuvask {

class PulsePolledLoop
{
public:
    PulsePolledLoop();
    ~PulsePolledLoop();
    PulsePolledLoop(const PulsePolledLoop &) = delete;
    PulsePolledLoop &operator=(const PulsePolledLoop &) = delete;

    pa_mainloop_api *api();
    // Runs rounds until nothing is ready any more (at most `maxRounds`).
    void runReady(int maxRounds = 1000);
    // One round that waits at most `timeoutMs` (sooner when a timer is due)
    // for something to be ready; false when poll() failed.
    bool runOnce(int timeoutMs);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace nuvask
