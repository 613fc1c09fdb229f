#pragma once
// The main window as the mixer layer sees it.
//
// What the mixer layer does to the main window: the automatic-volume marks
// (Label_AUTO_0..2), the strip meter timer (Timer_PK), the control-change
// notification the window receives for every open device, whether
// automatic recording volume is switched on, and each automatic lowering.
// Implemented by the main window; tests use a recording fake.

#include "core/mixer/MixerService.h"

namespace nuvask {

// One automatic lowering of a strip, by either form.
struct AutoLowering {
    int strip = 0;
    int before = 0;          // UI steps the strip showed
    int after = 0;           // UI steps written; `before` when nothing was
    bool written = false;    // false: the mixer took no write (busy, refused)
    bool mixerMeter = false; // the mixer-meter form (Auto_RecV), else "Auto"
};

class MixerHost {
public:
    virtual ~MixerHost() = default;

    // Shows or hides Label_AUTO_<strip>.
    virtual void SetAutoMarkVisible(int strip, bool visible) = 0;
    // Starts or stops Timer_PK.
    virtual void SetPeakTimerRunning(bool running) = 0;
    // A control of an open device changed; arrives from the event loop.
    virtual void MixerControlChange(MixerHandle handle, quint32 controlId) = 0;
    // The menu switch of automatic recording volume (MO_Auto_RecV) is checked.
    virtual bool AutoRecVChecked() const = 0;
    // A strip with a volume control was lowered automatically, or should
    // have been. Only the level history listens.
    virtual void StripAutoLowered(const AutoLowering &) {}
};

} // namespace nuvask
