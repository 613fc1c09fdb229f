#pragma once
// SIGTERM, SIGINT and SIGHUP (logout, Ctrl-C, a closed terminal) become an
// ordinary close request on the event loop, so the program saves its settings
// as when the user closes the window, instead of dying on the spot.

#include <functional>

namespace nuvask {

// Installs the handlers once; onSignal runs on the event loop of the calling
// (main) thread. A second signal while the first is being handled is folded in.
void InstallTerminationHandler(std::function<void()> onSignal);

} // namespace nuvask
