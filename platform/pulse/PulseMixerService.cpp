// The sound server as one mixer device.

#include "platform/pulse/PulseMixerService.h"

#include <QMetaObject>
#include <QTimer>

#include <cmath>

namespace nuvask {

PulseMixerService::PulseMixerService(PulseConnection &connection, QObject *parent)
    : QObject(parent), m_connection(connection), m_peakIdle(new QTimer(this))
{
    m_clock.start();
    // Runs only while a meter stream is open.
    m_peakIdle->setInterval(PeakIdleMs);
    connect(m_peakIdle, &QTimer::timeout, this, &PulseMixerService::closeUnreadPeaks);
    connect(&m_connection, &PulseConnection::serverChanged, this, &PulseMixerService::onServerChanged);
    connect(&m_connection, &PulseConnection::stateChanged, this, &PulseMixerService::onStateChanged);
    if (isReady())
        onServerChanged();
}

quint32 PulseMixerService::deviceCount()
{
    return isReady() ? 1 : 0;
}

quint32 PulseMixerService::deviceCaps(quint32 device, MixerCaps &caps)
{
    if (device != 0)
        return MixerRc::BadDeviceId;
    if (!isReady())
        return MixerRc::NoDriver;
    caps.productName = QStringLiteral("PulseAudio");
    caps.destinations = m_lines.destinationCount();
    return MixerRc::NoError;
}

quint32 PulseMixerService::open(quint32 device, const MixerNotify &notify, MixerHandle &handle)
{
    if (device != 0)
        return MixerRc::BadDeviceId;
    if (!isReady())
        return MixerRc::NoDriver;
    handle = m_nextHandle++;
    m_open.emplace(handle, notify);
    return MixerRc::NoError;
}

quint32 PulseMixerService::close(MixerHandle handle)
{
    return m_open.erase(handle) ? MixerRc::NoError : MixerRc::InvalidHandle;
}

quint32 PulseMixerService::check(MixerHandle handle) const
{
    if (!m_open.contains(handle))
        return MixerRc::InvalidHandle;
    return isReady() ? MixerRc::NoError : MixerRc::NoDriver;
}

quint32 PulseMixerService::lineInfoByDestination(MixerHandle handle, quint32 destination, MixerLine &line)
{
    const quint32 rc = check(handle);
    return rc != MixerRc::NoError ? rc : m_lines.lineByDestination(destination, line);
}

quint32 PulseMixerService::lineInfoBySource(MixerHandle handle, quint32 destination, quint32 source, MixerLine &line)
{
    const quint32 rc = check(handle);
    return rc != MixerRc::NoError ? rc : m_lines.lineBySource(destination, source, line);
}

quint32 PulseMixerService::lineInfoById(MixerHandle handle, quint32 lineId, MixerLine &line)
{
    const quint32 rc = check(handle);
    return rc != MixerRc::NoError ? rc : m_lines.lineById(lineId, line);
}

quint32 PulseMixerService::lineControls(MixerHandle handle, quint32 lineId, QList<MixerControl> &controls)
{
    const quint32 rc = check(handle);
    return rc != MixerRc::NoError ? rc : m_lines.lineControls(lineId, controls);
}

quint32 PulseMixerService::controlValues(MixerHandle handle, const MixerControlDetails &details, QList<quint32> &values)
{
    const quint32 rc = check(handle);
    if (rc != MixerRc::NoError)
        return rc;
    QString source;
    if (m_lines.peakMeterSource(details.controlId, source))
        return readPeak(source, values);
    return m_lines.values(details, values);
}

quint32 PulseMixerService::readPeak(const QString &source, QList<quint32> &values)
{
    if (source.isEmpty() || !m_connection.watchPeak(source))
        return MixerRc::Error;
    m_peakReads.insert(source, m_clock.elapsed());
    if (!m_peakIdle->isActive())
        m_peakIdle->start();
    // The first read after opening shows silence; the levels follow. A level
    // that is only late (no new one since the last read, but one came a
    // moment ago, as when the level monitor's capture and the meter's own
    // stream change hands) fails the read, so that the meter keeps what it
    // shows instead of dropping to silence.
    float level = 0;
    if (!m_connection.takePeak(source, level))
        return MixerRc::Error;
    values = {quint32(qint32(std::lround(level * PulseMixerLines::PeakMax)))};
    return MixerRc::NoError;
}

void PulseMixerService::closeUnreadPeaks()
{
    const qint64 now = m_clock.elapsed();
    for (const QString &source : m_connection.watchedPeaks()) {
        if (now - m_peakReads.value(source, 0) >= PeakIdleMs) {
            m_connection.unwatchPeak(source);
            m_peakReads.remove(source);
        }
    }
    if (m_connection.watchedPeaks().isEmpty())
        m_peakIdle->stop();
}

quint32 PulseMixerService::controlListTexts(MixerHandle handle, const MixerControlDetails &details,
                                            QList<MixerListText> &texts)
{
    const quint32 rc = check(handle);
    return rc != MixerRc::NoError ? rc : m_lines.listTexts(details, texts);
}

quint32 PulseMixerService::setControlValues(MixerHandle handle, const MixerControlDetails &details,
                                            const QList<quint32> &values)
{
    quint32 rc = check(handle);
    PulseMixerLines::Write write;
    if (rc == MixerRc::NoError)
        rc = m_lines.planWrite(details, values, write);
    return rc != MixerRc::NoError ? rc : send(write);
}

quint32 PulseMixerService::deviceVolume(MixerHandle handle, const MixerControlDetails &details, DeviceVolume &volume)
{
    const quint32 rc = check(handle);
    return rc != MixerRc::NoError ? rc : m_lines.deviceVolume(details.controlId, volume);
}

quint32 PulseMixerService::setDeviceVolume(MixerHandle handle, const MixerControlDetails &details,
                                           const QList<quint32> &channels)
{
    quint32 rc = check(handle);
    PulseMixerLines::Write write;
    if (rc == MixerRc::NoError)
        rc = m_lines.planDeviceWrite(details.controlId, channels, write);
    return rc != MixerRc::NoError ? rc : send(write);
}

quint32 PulseMixerService::send(const PulseMixerLines::Write &write)
{
    bool sent = false;
    switch (write.kind) {
    case PulseMixerLines::Write::Volume:
        sent = m_connection.setVolumes(write.source, write.name, write.volumes);
        break;
    case PulseMixerLines::Write::Mute:
        sent = m_connection.setMute(write.source, write.name, write.muted);
        break;
    case PulseMixerLines::Write::DefaultSource:
        sent = m_connection.setDefaultSource(write.name);
        break;
    }
    if (!sent)
        return isReady() ? MixerRc::Error : MixerRc::NoDriver;
    // The connection took the value at once; the window hears of its own
    // write as of any other (the server's echo then finds nothing new).
    m_lines.update(m_connection.server());
    postChanges();
    return MixerRc::NoError;
}

void PulseMixerService::recordingClients(MixerHandle handle, quint32 lineId, const RecordingClientsAnswer &answer)
{
    QString source;
    const quint32 rc = check(handle);
    if (rc == MixerRc::NoDriver) {
        answer({}, RecordingClientsState::Unreachable);
        return;
    }
    if (rc != MixerRc::NoError || !m_lines.recordingSource(lineId, source)) {
        answer({}, RecordingClientsState::CannotTell);
        return;
    }
    m_connection.recordingClients(source, [answer](const QStringList &names, bool answered) {
        answer(names, answered ? RecordingClientsState::Named : RecordingClientsState::Unreachable);
    });
}

void PulseMixerService::onServerChanged()
{
    m_lines.update(m_connection.server());
    postChanges();
    const PulseMixerLines::Signature signature = m_lines.lineSignature();
    if (signature != m_signature || !m_wasReady) {
        m_signature = signature;
        m_wasReady = true;
        emit linesChanged();
    }
}

void PulseMixerService::onStateChanged()
{
    if (isReady() || !m_wasReady)
        return; // Ready is announced with the first picture (onServerChanged)
    m_wasReady = false;
    emit linesChanged();
}

void PulseMixerService::postChanges()
{
    const QHash<quint32, QList<quint32>> now = m_lines.allValues();
    QList<quint32> changed;
    // Compared value by value: only what the window would draw differently is posted.
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (m_posted.value(it.key()) != it.value())
            changed.append(it.key());
    }
    m_posted = now;
    // Another default behind MAIN is another input even at the same volume:
    // whoever follows MAIN's volume (the volume guard) must hear of it.
    const PulseServerState &server = m_lines.server();
    for (const bool source : {false, true}) {
        QString &posted = source ? m_postedSource : m_postedSink;
        const QString &current = source ? server.defaultSource : server.defaultSink;
        if (posted == current)
            continue;
        posted = current;
        for (quint32 controlId : PulseMixerLines::mainControls(source)) {
            if (!changed.contains(controlId))
                changed.append(controlId);
        }
    }
    for (const auto &[handle, notify] : m_open) {
        for (quint32 controlId : std::as_const(changed)) {
            const MixerHandle h = handle;
            QMetaObject::invokeMethod(
                this,
                [this, h, controlId] {
                    const auto it = m_open.find(h);
                    if (it != m_open.end() && it->second)
                        it->second(h, controlId);
                },
                Qt::QueuedConnection);
        }
    }
}

} // namespace nuvask
