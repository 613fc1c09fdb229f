#include "platform/pulse/PulseWaveIn.h"

#include "platform/pulse/PulseConnection.h"

#include <pulse/pulseaudio.h>

#include <QMetaObject>

namespace nuvask {

struct PulseWaveIn::Capture
{
    WaveInHandle handle = NoWaveInHandle;
    WaveFormat format;
    pa_stream *stream = nullptr; // none once gone
    std::unique_ptr<WaveInQueue> queue;
    QByteArray pending; // the part of a fragment no queued buffer had room for
    bool started = false;
    bool gone = false;
};

struct PulseWaveIn::Native
{
    // The capture a stream's callback is about, found by its stream: a
    // callback that comes after the stream was let go finds none.
    static Capture *capture(pa_stream *stream, void *userdata)
    {
        for (auto &entry : static_cast<PulseWaveIn *>(userdata)->m_open.entries) {
            if (entry.second->stream == stream)
                return entry.second.get();
        }
        return nullptr;
    }

    static void onState(pa_stream *stream, void *userdata)
    {
        auto *self = static_cast<PulseWaveIn *>(userdata);
        Capture *c = capture(stream, userdata);
        if (!c)
            return;
        switch (pa_stream_get_state(stream)) {
        case PA_STREAM_READY:
            // A start that came while the stream was still being set up; from
            // the event loop, since libpulse is not done with the stream yet.
            if (c->started) {
                const WaveInHandle handle = c->handle;
                QMetaObject::invokeMethod(
                    self,
                    [self, handle] {
                        Capture *later = self->m_open.find(handle);
                        if (later && later->started && later->stream &&
                            pa_stream_get_state(later->stream) == PA_STREAM_READY) {
                            sent(pa_stream_flush(later->stream, nullptr, nullptr));
                            sent(pa_stream_cork(later->stream, 0, nullptr, nullptr));
                        }
                    },
                    Qt::QueuedConnection);
            }
            break;
        case PA_STREAM_FAILED:
        case PA_STREAM_TERMINATED:
            self->goneAway(*c);
            break;
        default:
            break;
        }
    }

    static void onRead(pa_stream *stream, size_t, void *userdata)
    {
        auto *self = static_cast<PulseWaveIn *>(userdata);
        Capture *c = capture(stream, userdata);
        if (!c)
            return;
        self->drain(*c);
        if (!c->queue->isEmpty())
            return;
        // Nowhere to put it yet: the server side keeps up to a second, as a
        // card's ring would; older sound is lost, as in an overrun.
        const size_t keep = c->format.avgBytesPerSec;
        const void *data = nullptr;
        size_t length = 0;
        while (pa_stream_readable_size(stream) != size_t(-1) && pa_stream_readable_size(stream) > keep &&
               pa_stream_peek(stream, &data, &length) >= 0 && length > 0)
            pa_stream_drop(stream);
    }

    static void sent(pa_operation *operation)
    {
        if (operation)
            pa_operation_unref(operation);
    }
};

namespace {

bool sampleSpecOf(const WaveFormat &format, pa_sample_spec &spec)
{
    if (format.formatTag != 1 || (format.bitsPerSample != 8 && format.bitsPerSample != 16) ||
        (format.channels != 1 && format.channels != 2) || format.samplesPerSec == 0 ||
        format.blockAlign != format.channels * format.bitsPerSample / 8)
        return false;
    spec.format = format.bitsPerSample == 8 ? PA_SAMPLE_U8 : PA_SAMPLE_S16LE;
    spec.channels = quint8(format.channels);
    spec.rate = format.samplesPerSec;
    return pa_sample_spec_valid(&spec) != 0;
}

} // namespace

PulseWaveIn::PulseWaveIn(PulseConnection &connection, QObject *parent) : QObject(parent), m_connection(connection)
{
    connect(&m_connection, &PulseConnection::stateChanged, this, &PulseWaveIn::onConnectionState);
}

PulseWaveIn::~PulseWaveIn()
{
    for (auto &entry : m_open.entries) {
        if (pa_stream *stream = std::exchange(entry.second->stream, nullptr))
            release(stream);
    }
    freeReleased();
}

void PulseWaveIn::release(pa_stream *stream)
{
    pa_stream_set_state_callback(stream, nullptr, nullptr);
    pa_stream_set_read_callback(stream, nullptr, nullptr);
    const pa_stream_state_t state = pa_stream_get_state(stream);
    if (state == PA_STREAM_READY || state == PA_STREAM_CREATING)
        pa_stream_disconnect(stream);
    // Freed from the event loop, since the stream may be inside one of its own
    // callbacks now; at the latest with this service, before the connection
    // (and the main loop its context runs on) goes.
    if (m_released.isEmpty())
        QMetaObject::invokeMethod(this, &PulseWaveIn::freeReleased, Qt::QueuedConnection);
    m_released.append(stream);
}

void PulseWaveIn::freeReleased()
{
    for (pa_stream *stream : std::exchange(m_released, {}))
        pa_stream_unref(stream);
}

quint32 PulseWaveIn::fragmentBytes(const WaveFormat &format)
{
    const quint32 frame = qMax<quint32>(1, format.blockAlign);
    return qMax<quint32>(frame, format.samplesPerSec / 20 * frame);
}

quint32 PulseWaveIn::deviceCount()
{
    return m_connection.nativeContext() && !m_connection.server().defaultSource.isEmpty() ? 1 : 0;
}

quint32 PulseWaveIn::open(quint32 device, const WaveFormat &format, const WaveInNotify &notify, WaveInHandle &handle)
{
    if (device != 0)
        return WaveRc::BadDeviceId;
    pa_sample_spec spec;
    if (!sampleSpecOf(format, spec))
        return WaveRc::BadFormat;
    pa_context *context = m_connection.nativeContext();
    if (!context)
        return WaveRc::NoDriver;
    pa_stream *stream = pa_stream_new(context, "nuvASK recording level", &spec, nullptr);
    if (!stream)
        return WaveRc::NoMemory;
    const WaveInHandle h = m_nextHandle;
    pa_stream_set_state_callback(stream, &Native::onState, this);
    pa_stream_set_read_callback(stream, &Native::onRead, this);
    pa_buffer_attr attr;
    attr.maxlength = quint32(-1);
    attr.tlength = attr.prebuf = attr.minreq = quint32(-1);
    attr.fragsize = fragmentBytes(format);
    // The default source, followed when the desktop's default changes; corked
    // until started, so that nothing is captured before there is somewhere
    // to put it.
    const auto flags = pa_stream_flags_t(PA_STREAM_START_CORKED | PA_STREAM_ADJUST_LATENCY);
    if (pa_stream_connect_record(stream, nullptr, &attr, flags) < 0) {
        release(stream);
        return WaveRc::NoDriver;
    }
    m_nextHandle = HandleBit | ((m_nextHandle + 1) & ~HandleBit);
    if (m_nextHandle == HandleBit)
        m_nextHandle = HandleBit | 1;
    auto capture = std::make_unique<Capture>();
    capture->handle = h;
    capture->format = format;
    capture->stream = stream;
    capture->queue = std::make_unique<WaveInQueue>(h, notify);
    m_open.entries.emplace(h, std::move(capture));
    handle = h;
    return WaveRc::NoError;
}

bool PulseWaveIn::isAlive(WaveInHandle handle) const
{
    return m_open.isAlive(handle);
}

quint32 PulseWaveIn::prepareHeader(WaveInHandle handle, WaveHeader *header)
{
    return m_open.prepareHeader(handle, header);
}

quint32 PulseWaveIn::unprepareHeader(WaveInHandle handle, WaveHeader *header)
{
    return m_open.unprepareHeader(handle, header);
}

quint32 PulseWaveIn::addBuffer(WaveInHandle handle, WaveHeader *header)
{
    Capture *capture = nullptr;
    if (const quint32 rc = m_open.live(handle, capture))
        return rc;
    const quint32 rc = capture->queue->add(header);
    // What waited for a buffer goes into it now.
    if (rc == WaveRc::NoError && capture->started)
        drain(*capture);
    return rc;
}

quint32 PulseWaveIn::start(WaveInHandle handle)
{
    Capture *capture = nullptr;
    if (const quint32 rc = m_open.live(handle, capture))
        return rc;
    if (capture->started)
        return WaveRc::NoError;
    capture->started = true;
    if (pa_stream_get_state(capture->stream) == PA_STREAM_READY) {
        // Whatever was in flight when it was corked is older than this start.
        Native::sent(pa_stream_flush(capture->stream, nullptr, nullptr));
        Native::sent(pa_stream_cork(capture->stream, 0, nullptr, nullptr));
    }
    return WaveRc::NoError;
}

quint32 PulseWaveIn::reset(WaveInHandle handle)
{
    Capture *capture = nullptr;
    if (const quint32 rc = m_open.live(handle, capture))
        return rc;
    if (capture->started) {
        // What the stream already holds belongs to the buffer being filled.
        drain(*capture);
        capture->started = false;
        if (pa_stream_get_state(capture->stream) == PA_STREAM_READY) {
            Native::sent(pa_stream_cork(capture->stream, 1, nullptr, nullptr));
            Native::sent(pa_stream_flush(capture->stream, nullptr, nullptr));
        }
    }
    capture->pending.clear();
    capture->queue->handBackAll();
    return WaveRc::NoError;
}

quint32 PulseWaveIn::close(WaveInHandle handle)
{
    const auto it = m_open.entries.find(handle);
    if (it == m_open.entries.end())
        return WaveRc::InvalidHandle;
    if (!it->second->queue->isEmpty())
        return WaveRc::StillPlaying;
    if (pa_stream *stream = std::exchange(it->second->stream, nullptr))
        release(stream);
    m_open.entries.erase(it);
    return WaveRc::NoError;
}

void PulseWaveIn::drain(Capture &capture)
{
    while (capture.started && !capture.gone && !capture.queue->isEmpty()) {
        if (!capture.pending.isEmpty()) {
            const quint32 taken = capture.queue->write(capture.pending.constData(), quint32(capture.pending.size()));
            capture.pending.remove(0, taken);
            continue;
        }
        const size_t readable = pa_stream_readable_size(capture.stream);
        if (readable == size_t(-1) || readable == 0)
            return;
        const void *data = nullptr;
        size_t length = 0;
        if (pa_stream_peek(capture.stream, &data, &length) < 0 || length == 0)
            return;
        QByteArray hole;
        if (!data) {
            // A gap in the server's buffer: silence of its length.
            hole = QByteArray(qsizetype(length), capture.format.bitsPerSample == 8 ? char(0x80) : '\0');
            data = hole.constData();
        }
        const auto *bytes = static_cast<const char *>(data);
        const quint32 taken = capture.queue->write(bytes, quint32(length));
        if (taken < length)
            capture.pending = QByteArray(bytes + taken, qsizetype(length - taken));
        pa_stream_drop(capture.stream);
    }
}

void PulseWaveIn::goneAway(Capture &capture)
{
    if (capture.gone)
        return;
    if (pa_stream *stream = std::exchange(capture.stream, nullptr))
        release(stream);
    capture.gone = true;
    capture.started = false;
    capture.pending.clear();
    capture.queue->handBackAll();
}

void PulseWaveIn::onConnectionState()
{
    if (m_connection.state() == PulseConnection::State::Ready)
        return;
    // Every stream belonged to the context that was lost.
    for (auto &entry : m_open.entries)
        goneAway(*entry.second);
}

} // namespace nuvask
