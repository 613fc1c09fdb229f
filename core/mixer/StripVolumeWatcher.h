#pragma once
// What the mixer layer tells about the volumes of the strips' lines beside
// drawing them: that a strip got a volume control (bound) or lost it, that a
// change notification read its volume (the same reads the strips are drawn
// from), and that the program itself wrote it through the strips' one write
// path (a click, up/down, a registered volume, an automatic lowering, a
// restore). The watcher reads the line itself (MixerLayer::StripDeviceVolume)
// when it needs the values. The volume guard implements it; tests use a
// recording fake.

#include "core/mixer/MixerService.h"

namespace nuvask {

class StripVolumeWatcher {
public:
    virtual ~StripVolumeWatcher() = default;

    // The strip was bound to a line with a volume control.
    virtual void StripVolumeBound(int strip) = 0;
    // The strip has no volume control any more (re-bound, unbound, closed).
    virtual void StripVolumeUnbound(int strip) = 0;
    // A change notification (or the binding) read the line's volume.
    virtual void StripVolumeRead(int strip) = 0;
    // The program wrote the strip's volume; the line holds the write now.
    virtual void StripVolumeWritten(int strip) = 0;
};

} // namespace nuvask
