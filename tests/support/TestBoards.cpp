#include "support/TestBoards.h"

namespace nuvask::test {

SimDevice RecordingOnlyDevice()
{
    SimDevice device;
    device.productName = QStringLiteral("USB Mic");
    SimDestination rec;
    rec.line = sim::Line(0xFFFF0007u, MixerComponent::DstWaveIn, "Capture", {sim::Volume(1, 30000)});
    rec.sources = {sim::Line(7, MixerComponent::SrcMicrophone, "Mic", {sim::Volume(2, 5)})};
    device.destinations = {rec};
    return device;
}

} // namespace nuvask::test
