// Keeps each volume strip on its line while the sound system changes.

#include "ui/mixer/StripRebinder.h"

#include "core/mixer/MixerLayer.h"
#include "ui/mixer/VolumeStrip.h"

#include <QTimer>

namespace nuvask {

StripRebinder::StripRebinder(MixerLayer &layer, const std::array<VolumeStrip *, 3> &strips, QObject *parent)
    : QObject(parent), m_layer(layer), m_strips(strips), m_settle(new QTimer(this))
{
    m_settle->setSingleShot(true);
    m_settle->setInterval(SettleMs);
    connect(m_settle, &QTimer::timeout, this, &StripRebinder::rebuild);
}

void StripRebinder::start()
{
    m_active = true;
    remember();
    if (std::exchange(m_pending, false))
        m_settle->start();
}

void StripRebinder::stop()
{
    m_active = false;
    m_pending = false;
    m_settle->stop();
}

void StripRebinder::devicesChanged()
{
    if (!m_active) {
        m_pending = true;
        return;
    }
    m_settle->start();
}

void StripRebinder::remember()
{
    for (int n = 0; n < 3; ++n) {
        if (!m_layer.StripBound(n))
            continue; // still waiting for its line: keep what it waits for
        const VolumeStrip *strip = m_strips[n];
        Wanted &w = m_wanted[n];
        w.at = {strip->deviceIndex(), strip->destinationIndex(), strip->sourceIndex()};
        w.binding = TakeStripBinding(m_layer, w.at);
        w.deviceName = m_layer.DeviceNameList().value(w.at.device);
        w.valid = !w.binding.destType.isEmpty();
    }
}

StripBinding StripRebinder::bindingToSave(int strip, const StripBinding &shown) const
{
    if (strip < 0 || strip >= 3 || m_layer.StripBound(strip) || !m_wanted[strip].valid)
        return shown;
    return m_wanted[strip].binding;
}

void StripRebinder::rebuild()
{
    if (!m_active)
        return;
    if (m_rebuilding) {
        // Announced while a rebuild lets pending events run: once more after it.
        m_settle->start();
        return;
    }
    m_rebuilding = true;
    ++m_rebuilds;
    remember();
    m_layer.MixerCloseAll();
    QString error;
    // A device that cannot be listed now leaves its strips unbound; the next
    // change tries again. Nothing to tell the user: the strips show it.
    m_layer.MixerOpenAll(error);
    for (int n = 0; n < 3; ++n) {
        VolumeStrip *strip = m_strips[n];
        strip->fillDevices(m_layer.DeviceNameList());
        const Wanted &w = m_wanted[n];
        StripSelection found;
        QString bindError;
        if (w.valid && FindBoundLine(m_layer, w.deviceName, w.at, w.binding, found)) {
            strip->selectBinding(found.device, found.destination, found.source);
            bindError = strip->bindSelection();
            if (bindError.isEmpty())
                continue;
        }
        strip->selectBinding(-1, -1, -1);
        m_layer.StripUnbind(n);
    }
    m_rebuilding = false;
}

} // namespace nuvask
