#pragma once
// Simulated boards shared by several test suites.

#include "platform/sim/SimTopology.h"

namespace nuvask::test {

// A second card with only a recording destination (type 7) holding one
// microphone source (type 0x1003).
SimDevice RecordingOnlyDevice();

} // namespace nuvask::test
