#include "core/mixer/VolumeGuard.h"

#include "core/mixer/MixerLayer.h"

#include <QPointer>

#include <cmath>

namespace nuvask {

VolumeGuard::VolumeGuard(MixerLayer &layer, QObject *parent) : QObject(parent), m_layer(layer)
{
    m_elapsed.start();
    m_clock = [this] { return m_elapsed.elapsed(); };
    m_refilledAt = m_clock();
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, [this] {
        if (m_pending)
            restore();
    });
    m_layer.SetVolumeWatcher(this);
}

VolumeGuard::~VolumeGuard()
{
    m_layer.SetVolumeWatcher(nullptr);
}

void VolumeGuard::SetClock(std::function<qint64()> clock)
{
    m_clock = std::move(clock);
    m_refilledAt = m_clock();
}

void VolumeGuard::SetOn(bool on)
{
    if (on == m_on)
        return;
    const bool wasGuarding = Guarding();
    m_on = on;
    dropPending();
    m_fighting = false;
    if (on) {
        // The level the line has now; a strip not bound yet takes its first read.
        m_guarded = m_bound ? m_lastSeen : std::nullopt;
        m_told = false;
    }
    if (Guarding() != wasGuarding)
        emit guardingChanged(Guarding());
}

void VolumeGuard::setBound(bool bound)
{
    const bool wasGuarding = Guarding();
    m_bound = bound;
    m_guarded.reset();
    m_lastSeen.reset();
    dropPending();
    m_fighting = false;
    if (Guarding() != wasGuarding)
        emit guardingChanged(Guarding());
}

void VolumeGuard::StripVolumeBound(int strip)
{
    if (strip != GuardedStrip)
        return;
    // Another line is another matter: its fight is told again.
    const quint32 line = m_layer.Strip(strip).BoundLineId;
    if (line != m_boundLine)
        m_told = false;
    m_boundLine = line;
    setBound(true);
}

void VolumeGuard::StripVolumeUnbound(int strip)
{
    if (strip == GuardedStrip && m_bound)
        setBound(false);
}

void VolumeGuard::StripVolumeWritten(int strip, quint32 units)
{
    if (strip != GuardedStrip) {
        m_otherHandle = m_layer.StripHandle(strip);
        m_otherUnits = units;
        m_otherAt = m_clock();
        return;
    }
    if (!m_bound)
        return;
    m_lastSeen = units;
    if (m_on) {
        m_guarded = units;
        dropPending();
    }
}

void VolumeGuard::StripVolumeRead(int strip, quint32 units)
{
    if (strip != GuardedStrip || !m_bound)
        return;
    m_lastSeen = units;
    if (!m_on)
        return;
    if (!m_guarded) {
        // The first read after binding (or after switching on unbound).
        m_guarded = units;
        return;
    }
    if (units == *m_guarded) {
        // Our own write coming back, or the line back where it belongs.
        dropPending();
        return;
    }
    if (m_otherHandle != NoMixerHandle && m_otherHandle == m_layer.StripHandle(strip) && units == m_otherUnits
        && m_clock() - m_otherAt <= OtherStripWriteMs) {
        m_guarded = units;
        dropPending();
        return;
    }
    // Another program's change: answered once, now or when the bucket allows.
    noteFight(m_clock());
    m_pending = true;
    restore();
}

void VolumeGuard::restore()
{
    if (!Guarding() || !m_guarded || !m_lastSeen || *m_lastSeen == *m_guarded) {
        dropPending();
        return;
    }
    if (!takeToken()) {
        retryLater();
        return;
    }
    m_pending = false;
    m_retry.stop();
    const quint32 before = *m_lastSeen;
    const quint32 level = *m_guarded;
    // A failed write (the device went away, another write in progress) is not
    // tried again until the line changes again: retrying could only storm.
    if (m_layer.StripSetVolumeUnits(GuardedStrip, level)) {
        ++m_restores;
        emit restored(GuardedStrip, before, level);
    }
}

bool VolumeGuard::takeToken()
{
    const qint64 now = m_clock();
    m_tokens = std::min<double>(BurstRestores, m_tokens + double(now - m_refilledAt) * RestoresPerSecond / 1000.0);
    m_refilledAt = now;
    if (m_tokens < 1.0)
        return false;
    m_tokens -= 1.0;
    return true;
}

void VolumeGuard::retryLater()
{
    // When the next token is due; the change that waits is answered then.
    const double missing = 1.0 - m_tokens;
    const int ms = int(std::ceil(missing * 1000.0 / RestoresPerSecond));
    if (!m_retry.isActive())
        m_retry.start(qMax(ms, 1));
}

void VolumeGuard::dropPending()
{
    m_pending = false;
    m_retry.stop();
}

void VolumeGuard::noteFight(qint64 now)
{
    if (!m_fighting || now - m_lastOutside > FightGapMs) {
        m_fighting = true;
        m_fightStart = now;
    }
    m_lastOutside = now;
    if (!m_told && now - m_fightStart > FightSpanMs) {
        m_told = true;
        askWhoRecords();
    }
}

void VolumeGuard::askWhoRecords()
{
    const QPointer<VolumeGuard> self(this);
    const MixerHandle handle = m_layer.StripHandle(GuardedStrip);
    const quint32 line = m_layer.Strip(GuardedStrip).BoundLineId;
    m_layer.Service().recordingClients(handle, line, [self](const QStringList &names, bool answered) {
        if (self)
            emit self->fightNoticed(names, answered);
    });
}

} // namespace nuvask
