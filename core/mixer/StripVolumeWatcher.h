#pragma once
// What the mixer layer tells about the volumes of the strips' lines beside
// drawing them: that a strip got a volume control (bound) or lost it, every
// value read from a change notification (the same reads the strips are drawn
// from), and every write the program itself made, as the line holds it
// afterwards (a card keeps only its own steps). The volume guard implements
// it; tests use a recording fake.

#include "core/mixer/MixerService.h"

namespace nuvask {

class StripVolumeWatcher {
public:
    virtual ~StripVolumeWatcher() = default;

    // The strip was bound to a line with a volume control; its first read follows.
    virtual void StripVolumeBound(int strip) = 0;
    // The strip has no volume control any more (re-bound, unbound, closed).
    virtual void StripVolumeUnbound(int strip) = 0;
    // The line's volume as a change notification (or the binding) read it, mixer units.
    virtual void StripVolumeRead(int strip, quint32 units) = 0;
    // The program wrote the strip's volume; `units` is what the line holds now.
    virtual void StripVolumeWritten(int strip, quint32 units) = 0;
};

} // namespace nuvask
