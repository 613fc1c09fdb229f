#pragma once
// SIGTERM, SIGINT and SIGHUP (logout, Ctrl-C, a closed terminal) become an
// ordinary close request on the event loop, so the program saves its settings
// as when the user closes the window, instead of dying on the spot.
//
// A close that cannot finish (an event loop that no longer runs, a window that
// will not close) must not keep the process alive against the system's wish:
// hardStopMs after the first signal the process ends regardless, with the
// status of a process ended by that signal's number (128 + signal).

#include <functional>

namespace nuvask {

inline constexpr int kHardStopMs = 1800; // milliseconds from the first signal

// Installs the handlers once; onSignal runs on the event loop of the calling
// (main) thread, once per signal received.
void InstallTerminationHandler(std::function<void()> onSignal, int hardStopMs = kHardStopMs);

} // namespace nuvask
