#include "core/mixer/VolumeGuard.h"

#include "core/mixer/MixerLayer.h"

#include <QPointer>

#include <cmath>
#include <limits>

namespace nuvask {

namespace {

quint32 distance(quint32 a, quint32 b)
{
    return a > b ? a - b : b - a;
}

} // namespace

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
    startOver();
    if (on) {
        // The level the line has now; a strip not bound yet takes its first read.
        if (m_bound && !m_seen.channels.isEmpty())
            m_guarded = m_seen.channels;
        m_told = false;
    }
    if (Guarding() != wasGuarding)
        emit guardingChanged(Guarding());
}

void VolumeGuard::setBound(bool bound)
{
    const bool wasGuarding = Guarding();
    m_bound = bound;
    m_seen = DeviceVolume();
    startOver();
    if (Guarding() != wasGuarding)
        emit guardingChanged(Guarding());
}

void VolumeGuard::startOver()
{
    m_guarded.reset();
    m_confirmed = true;
    m_wroteAt.reset();
    dropPending();
    m_fighting = false;
}

bool VolumeGuard::readLine(DeviceVolume &now)
{
    if (!m_layer.StripDeviceVolume(GuardedStrip, now))
        return false;
    if (!sameInput(now)) {
        // Another input behind the same line: nothing is written to it, and
        // the one before stays where it was.
        takeInput(now);
        return false;
    }
    m_seen = now;
    return true;
}

bool VolumeGuard::sameInput(const DeviceVolume &now) const
{
    return !m_seen.channels.isEmpty() && now.input == m_seen.input && now.channels.size() == m_seen.channels.size();
}

void VolumeGuard::takeInput(const DeviceVolume &now)
{
    // Another input is another matter: its fight is told again.
    const QString input = QString::number(m_layer.Strip(GuardedStrip).BoundLineId) + QLatin1Char(' ') + now.input;
    if (input != m_input)
        m_told = false;
    m_input = input;
    m_seen = now;
    startOver();
    if (m_on)
        m_guarded = now.channels;
}

void VolumeGuard::StripVolumeBound(int strip)
{
    if (strip != GuardedStrip)
        return;
    setBound(true);
    DeviceVolume now;
    readLine(now);
}

void VolumeGuard::StripVolumeUnbound(int strip)
{
    if (strip == GuardedStrip && m_bound)
        setBound(false);
}

bool VolumeGuard::writesGuardedInput(int strip)
{
    if (strip == GuardedStrip)
        return true;
    // Two strips may show one input under two names (a server's default input
    // and the same input by name), or one line twice.
    if (m_layer.StripHandle(strip) != m_layer.StripHandle(GuardedStrip))
        return false;
    if (m_layer.Strip(strip).controls[StripVolume].controlId ==
        m_layer.Strip(GuardedStrip).controls[StripVolume].controlId)
        return true;
    DeviceVolume other;
    return !m_seen.input.isEmpty() && m_layer.StripDeviceVolume(strip, other) && other.input == m_seen.input;
}

void VolumeGuard::StripVolumeWritten(int strip)
{
    if (!m_bound || !writesGuardedInput(strip))
        return;
    DeviceVolume now;
    if (!readLine(now))
        return;
    m_wroteAt = m_clock();
    // A restore keeps the level it wrote back; any other write of the
    // program's sets it.
    if (m_restoring || !m_on)
        return;
    m_guarded = now.channels;
    m_confirmed = false;
    dropPending();
}

bool VolumeGuard::echoOfOwnWrite(const DeviceVolume &now) const
{
    if (m_confirmed || !m_wroteAt || m_clock() - *m_wroteAt > EchoMs || !m_guarded ||
        m_guarded->size() != now.channels.size())
        return false;
    const quint32 near = qMax<quint32>(now.full / EchoShare, 1);
    for (qsizetype c = 0; c < now.channels.size(); ++c) {
        if (distance(now.channels.at(c), m_guarded->at(c)) > near)
            return false;
    }
    return true;
}

void VolumeGuard::StripVolumeRead(int strip)
{
    if (strip != GuardedStrip || !m_bound)
        return;
    DeviceVolume now;
    if (!readLine(now) || !m_on || !m_guarded)
        return;
    if (now.channels == *m_guarded) {
        // The program's own write coming back, or the line back where it
        // belongs. A device that rounds may still give its version of the
        // write: it shows what was written first, the rounded value later.
        dropPending();
        return;
    }
    if (echoOfOwnWrite(now)) {
        m_guarded = now.channels;
        m_confirmed = true;
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
    if (!Guarding() || !m_guarded || m_seen.channels.size() != m_guarded->size()) {
        dropPending();
        return;
    }
    // The channel that moved most names the restore; the others are written
    // as the level has them, which is where a channel nobody moved still is.
    qsizetype moved = -1;
    quint32 most = 0;
    for (qsizetype c = 0; c < m_guarded->size(); ++c) {
        const quint32 d = distance(m_seen.channels.at(c), m_guarded->at(c));
        if (d > most) {
            most = d;
            moved = c;
        }
    }
    if (moved < 0) {
        dropPending();
        return;
    }
    if (!takeToken()) {
        retryLater();
        return;
    }
    m_pending = false;
    m_retry.stop();
    const auto units = [this](quint32 value) {
        return quint32(
            qMin<qint64>(m_layer.StripUnitsOf(GuardedStrip, m_seen, value), std::numeric_limits<quint32>::max()));
    };
    const quint32 before = units(m_seen.channels.at(moved));
    const quint32 after = units(m_guarded->at(moved));
    // A failed write (the device went away, another write in progress) is not
    // tried again until the line changes again: retrying could only storm.
    m_restoring = true;
    const bool written = m_layer.StripSetDeviceVolume(GuardedStrip, *m_guarded);
    m_restoring = false;
    if (written) {
        ++m_restores;
        emit restored(GuardedStrip, before, after);
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
    m_layer.Service().recordingClients(handle, line, [self](const QStringList &names, RecordingClientsState state) {
        if (self)
            emit self->fightNoticed(names, state);
    });
}

} // namespace nuvask
