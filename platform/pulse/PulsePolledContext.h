#pragma once
// A connection to the sound server on a main loop of its own that nothing
// watches: it runs only when its owner asks, so that what the server sends
// between two reads collects in the socket instead of waking the program for
// every block. For streams read at a pace of their own (the level monitor's
// capture, the strip meters' levels). libpulse types stay in this library.

#include <functional>
#include <memory>

struct pa_context;

namespace nuvask {

class PulsePolledContext
{
public:
    PulsePolledContext();
    ~PulsePolledContext();
    PulsePolledContext(const PulsePolledContext &) = delete;
    PulsePolledContext &operator=(const PulsePolledContext &) = delete;

    // Connects (never starting a server) and waits for the server's answer at
    // most `waitMs` milliseconds; false when it did not accept.
    bool connect(const char *clientName, int waitMs);
    // Runs what is waiting without blocking.
    void run();
    // Runs the loop until `done` says so, at most `waitMs` milliseconds;
    // false at the deadline or when the loop fails.
    bool runUntil(const std::function<bool()> &done, int waitMs);
    // False once the connection failed or ended.
    bool good() const;
    pa_context *context() const;

private:
    struct Native;
    std::unique_ptr<Native> m_native;
};

} // namespace nuvask
