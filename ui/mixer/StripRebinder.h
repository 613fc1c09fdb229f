#pragma once
// Keeps each strip on its line while the sound system changes under the
// running window (a sound server restarted, the default device changed, a
// headset plugged in or out): when the mixer service says so, the lists are
// built again and each strip is bound again to the line it was on - the
// device of the same name, the destination of the same type, the source of
// the same type and name. A strip whose line is gone shows itself unbound
// (empty lists, no controls) until the line returns or the user picks another.

#include "core/mixer/StripBindingRestore.h"

#include <QObject>

#include <array>

class QTimer;

namespace nuvask {

class MixerLayer;
class VolumeStrip;

class StripRebinder : public QObject {
    Q_OBJECT
public:
    // Milliseconds the lists wait after a change: a headset brings a sink, a
    // source and a card within moments, and they are listed once.
    static constexpr int SettleMs = 100;

    StripRebinder(MixerLayer &layer, const std::array<VolumeStrip *, 3> &strips, QObject *parent = nullptr);

    // From now on changes rebuild the lists (the start-up has bound the strips);
    // a change announced before is acted on now.
    void start();
    // Closing: nothing is rebuilt any more.
    void stop();
    // Called by the mixer service when devices or lines changed.
    void devicesChanged();
    // What strip N is saved as: `shown` while it is bound, else the line it
    // waits for (when it had one).
    StripBinding bindingToSave(int strip, const StripBinding &shown) const;
    // The number of times the lists were built again.
    int rebuilds() const { return m_rebuilds; }

private:
    struct Wanted {
        bool valid = false;
        QString deviceName;
        StripSelection at;
        StripBinding binding;
    };
    void remember();
    void rebuild();

    MixerLayer &m_layer;
    std::array<VolumeStrip *, 3> m_strips;
    std::array<Wanted, 3> m_wanted;
    QTimer *m_settle = nullptr;
    bool m_active = false;
    bool m_pending = false;
    bool m_rebuilding = false;
    int m_rebuilds = 0;
};

} // namespace nuvask
