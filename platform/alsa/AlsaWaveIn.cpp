// The capture service over ALSA's "default" device.

#include "platform/alsa/AlsaWaveIn.h"

#include "platform/alsa/AlsaCapturePcm.h"

#include <alsa/asoundlib.h>

#include <QByteArray>
#include <QList>
#include <QSocketNotifier>
#include <QTimer>

namespace nuvask {

namespace {

// The pulse plugin leaves its descriptor readable from start until the first
// period arrives (up to 2 s while the sink idles), and says "not ready" each
// time it is asked. Watching it then would spin the event loop tens of
// thousands of times a second; instead the descriptor rests this long after
// such a wake-up (milliseconds): at most 100 wake-ups a second while waiting,
// and a fifth of a period of delay at worst once data flows.
constexpr int RestAfterFalseWakeMs = 10;

} // namespace

struct AlsaWaveIn::Capture {
    WaveInHandle handle = NoWaveInHandle;
    WaveFormat format;
    std::unique_ptr<AlsaCapturePcm> pcm; // none between a reset and the next start
    std::unique_ptr<WaveInQueue> queue;
    QList<QSocketNotifier *> notifiers;
    QTimer *rest = nullptr; // runs while the descriptors rest after a false wake-up
    bool started = false;
    bool gone = false;
    int opens = 0;
};

AlsaWaveIn::AlsaWaveIn(const QString &pcmName, QObject *parent) : QObject(parent), m_pcmName(pcmName) {}

AlsaWaveIn::~AlsaWaveIn()
{
    for (auto &entry : m_open.entries)
        unwatch(*entry.second);
}

int AlsaWaveIn::streamOpenCount(WaveInHandle handle) const
{
    const Capture *capture = m_open.find(handle);
    return capture ? capture->opens : 0;
}

quint32 AlsaWaveIn::deviceCount()
{
    snd_config_update_free_global();
    quint32 rc = WaveRc::NoError;
    return AlsaCapturePcm::open(m_pcmName, WaveFormat{}, &rc) ? 1 : 0;
}

quint32 AlsaWaveIn::open(quint32 device, const WaveFormat &format, const WaveInNotify &notify, WaveInHandle &handle)
{
    if (device != 0)
        return WaveRc::BadDeviceId;
    // A freshly read configuration, so that a sound server started or changed
    // since the last open is found.
    snd_config_update_free_global();
    quint32 rc = WaveRc::NoError;
    auto pcm = AlsaCapturePcm::open(m_pcmName, format, &rc);
    if (!pcm)
        return rc;
    handle = m_nextHandle++;
    auto capture = std::make_unique<Capture>();
    capture->handle = handle;
    capture->format = format;
    capture->pcm = std::move(pcm);
    capture->queue = std::make_unique<WaveInQueue>(handle, notify);
    capture->rest = new QTimer(this);
    capture->rest->setSingleShot(true);
    capture->rest->setInterval(RestAfterFalseWakeMs);
    const WaveInHandle h = handle;
    connect(capture->rest, &QTimer::timeout, this, [this, h] {
        if (Capture *c = m_open.find(h))
            updateWatching(*c);
    });
    capture->opens = 1;
    m_open.entries.emplace(handle, std::move(capture));
    return WaveRc::NoError;
}

bool AlsaWaveIn::isAlive(WaveInHandle handle) const
{
    return m_open.isAlive(handle);
}

quint32 AlsaWaveIn::prepareHeader(WaveInHandle handle, WaveHeader *header)
{
    return m_open.prepareHeader(handle, header);
}

quint32 AlsaWaveIn::unprepareHeader(WaveInHandle handle, WaveHeader *header)
{
    return m_open.unprepareHeader(handle, header);
}

quint32 AlsaWaveIn::addBuffer(WaveInHandle handle, WaveHeader *header)
{
    Capture *capture = nullptr;
    if (const quint32 rc = m_open.live(handle, capture))
        return rc;
    const quint32 rc = capture->queue->add(header);
    updateWatching(*capture);
    return rc;
}

quint32 AlsaWaveIn::start(WaveInHandle handle)
{
    Capture *capture = nullptr;
    if (const quint32 rc = m_open.live(handle, capture))
        return rc;
    if (capture->started)
        return WaveRc::NoError;
    capture->started = true;
    if (capture->pcm) {
        if (capture->pcm->start() < 0) {
            capture->started = false;
            return WaveRc::Error;
        }
        watch(*capture);
        updateWatching(*capture);
        return WaveRc::NoError;
    }
    return reopen(*capture) ? WaveRc::NoError : WaveRc::NoDriver;
}

quint32 AlsaWaveIn::reset(WaveInHandle handle)
{
    Capture *capture = nullptr;
    if (const quint32 rc = m_open.live(handle, capture))
        return rc;
    // What the stream already holds belongs to the buffer being filled.
    long frames = 0;
    if (capture->pcm && capture->started && !drain(*capture, frames))
        return WaveRc::NoError; // it broke meanwhile: gone, buffers are back
    unwatch(*capture);
    capture->pcm.reset();
    capture->started = false;
    capture->queue->handBackAll();
    return WaveRc::NoError;
}

quint32 AlsaWaveIn::close(WaveInHandle handle)
{
    const auto it = m_open.entries.find(handle);
    if (it == m_open.entries.end())
        return WaveRc::InvalidHandle;
    if (!it->second->queue->isEmpty())
        return WaveRc::StillPlaying;
    unwatch(*it->second);
    delete it->second->rest;
    m_open.entries.erase(it);
    return WaveRc::NoError;
}

bool AlsaWaveIn::reopen(Capture &capture)
{
    unwatch(capture);
    capture.pcm.reset();
    quint32 rc = WaveRc::NoError;
    capture.pcm = AlsaCapturePcm::open(m_pcmName, capture.format, &rc);
    if (capture.pcm)
        ++capture.opens;
    if (!capture.pcm || (capture.started && capture.pcm->start() < 0)) {
        goneAway(capture);
        return false;
    }
    if (capture.started) {
        watch(capture);
        updateWatching(capture);
    }
    return true;
}

void AlsaWaveIn::watch(Capture &capture)
{
    unwatch(capture);
    const WaveInHandle handle = capture.handle;
    for (const AlsaCapturePcm::Descriptor &d : capture.pcm->pollDescriptors()) {
        auto *notifier =
            new QSocketNotifier(qintptr(d.fd), d.write ? QSocketNotifier::Write : QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [this, handle] { onReadable(handle); });
        capture.notifiers.append(notifier);
    }
}

void AlsaWaveIn::unwatch(Capture &capture)
{
    for (QSocketNotifier *notifier : std::as_const(capture.notifiers)) {
        notifier->setEnabled(false);
        notifier->deleteLater();
    }
    capture.notifiers.clear();
}

void AlsaWaveIn::updateWatching(Capture &capture)
{
    const bool enabled =
        capture.started && !capture.gone && !capture.queue->isEmpty() && !capture.rest->isActive();
    for (QSocketNotifier *notifier : std::as_const(capture.notifiers))
        notifier->setEnabled(enabled);
}

void AlsaWaveIn::onReadable(WaveInHandle handle)
{
    Capture *capture = m_open.find(handle);
    if (!capture || capture->gone || !capture->pcm || !capture->started)
        return;
    const AlsaCapturePcm::Readiness readiness = capture->pcm->readiness();
    if (readiness == AlsaCapturePcm::Readiness::Failed) {
        goneAway(*capture);
        return;
    }
    long frames = 0;
    if (!drain(*capture, frames))
        return;
    if (frames == 0 && readiness == AlsaCapturePcm::Readiness::NotReady)
        capture->rest->start();
    updateWatching(*capture);
}

bool AlsaWaveIn::drain(Capture &capture, long &framesRead)
{
    framesRead = 0;
    const quint32 frameBytes = capture.pcm->frameBytes();
    while (true) {
        quint32 room = 0;
        char *to = capture.queue->fillPointer(room);
        if (!to)
            return true;
        long n = 0;
        if (room >= frameBytes) {
            n = capture.pcm->read(to, room / frameBytes);
            if (n > 0)
                capture.queue->commit(quint32(n) * frameBytes);
        } else {
            // A buffer whose length is no whole number of frames: the frame
            // that does not fit continues in the next buffer.
            QByteArray frame(qsizetype(frameBytes), '\0');
            n = capture.pcm->read(frame.data(), 1);
            if (n > 0)
                capture.queue->write(frame.constData(), frameBytes);
        }
        if (n > 0) {
            framesRead += n;
            continue;
        }
        if (n == 0)
            return true;
        if (n == -EPIPE || n == -ESTRPIPE) {
            // Overrun or suspend: the data is lost either way; a fresh stream
            // is the one restart that does not leave the descriptor spinning.
            return reopen(capture);
        }
        goneAway(capture);
        return false;
    }
}

void AlsaWaveIn::goneAway(Capture &capture)
{
    unwatch(capture);
    capture.pcm.reset();
    capture.gone = true;
    capture.started = false;
    capture.queue->handBackAll();
}

} // namespace nuvask
