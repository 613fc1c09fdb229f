// The capture service as the sound server's own record stream.

#include "platform/pulse/PulseWaveIn.h"

#include "core/monitor/PeakScan.h"
#include "platform/pulse/PulseConnection.h"
#include "platform/pulse/PulsePolledContext.h"

#include <pulse/pulseaudio.h>

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace nuvask {

namespace {

// How long an open may wait for the server to accept the connection and the
// stream (milliseconds); the server answers in a few when it runs at all.
constexpr int OpenWaitMs = 2000;
// The longest pause between two reads while capturing (milliseconds): bounds
// how late a server that went away is noticed.
constexpr int LongestPauseMs = 250;
// Read this long after the head buffer should be full (milliseconds): the
// server hands sound over in blocks of a few milliseconds.
constexpr int AfterFullMs = 3;

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

// The level (0..1) of a block for the strip meters, as the server's peak
// detector gives it to a meter stream of its own.
float levelOf(const void *data, size_t length, const WaveFormat &format)
{
    PeakScanLayout layout;
    layout.bytesPerSample = format.bitsPerSample / 8;
    layout.channels = format.channels;
    layout.frameStep = format.blockAlign;
    const int peak = PeakScanMixed(static_cast<const char *>(data), quint32(length), layout);
    return float(peak) / (layout.bytesPerSample == 1 ? 128.0f : 32768.0f);
}

} // namespace

// One capture has a connection and a main loop of its own, which nothing
// watches: the loop is run by hand when a buffer should be full, so that the
// sound's blocks (a few milliseconds each on a busy sink) collect in the
// socket instead of waking the program for every one.
struct PulseWaveIn::Capture
{
    WaveInHandle handle = NoWaveInHandle;
    WaveFormat format;
    PulsePolledContext connection;
    pa_stream *stream = nullptr; // none once gone
    std::unique_ptr<WaveInQueue> queue;
    QByteArray pending; // the part of a block no queued buffer had room for
    QTimer *tick = nullptr;
    bool started = false;
    bool gone = false;
    // For the strip meters: the highest level read since their last take.
    float peak = 0;
    bool captured = false;
    QElapsedTimer lastPoll; // the last read of the stream

    ~Capture()
    {
        delete tick;
        if (stream) {
            pa_stream_disconnect(stream);
            pa_stream_unref(stream);
        }
    }

    bool broken() const { return !connection.good() || !PA_STREAM_IS_GOOD(pa_stream_get_state(stream)); }

    // The source the stream records now (it follows the default source).
    bool reads(const QString &source)
    {
        if (!started || gone || !stream)
            return false;
        const char *name = pa_stream_get_device_name(stream);
        if (!name)
            return false;
        if (qstrcmp(sourceName, name) != 0) {
            sourceName = name;
            sourceText = QString::fromUtf8(name);
        }
        return source == sourceText;
    }
    QByteArray sourceName; // as the server last named it
    QString sourceText;

    static void send(pa_operation *operation)
    {
        if (operation)
            pa_operation_unref(operation);
    }
};

PulseWaveIn::PulseWaveIn(PulseConnection &connection, QObject *parent) : QObject(parent), m_connection(connection)
{
    m_connection.setLevelTap(this);
}

PulseWaveIn::~PulseWaveIn()
{
    m_connection.releaseLevelTap(this);
}

quint32 PulseWaveIn::fragmentBytes(const WaveFormat &format)
{
    const quint32 frame = qMax<quint32>(1, format.blockAlign);
    return qMax<quint32>(frame, quint32(quint64(format.samplesPerSec) * FragmentMs / 1000) * frame);
}

quint32 PulseWaveIn::deviceCount()
{
    return m_connection.state() == PulseConnection::State::Ready && !m_connection.server().defaultSource.isEmpty() ? 1
                                                                                                                   : 0;
}

quint32 PulseWaveIn::open(quint32 device, const WaveFormat &format, const WaveInNotify &notify, WaveInHandle &handle)
{
    if (device != 0)
        return WaveRc::BadDeviceId;
    pa_sample_spec spec;
    if (!sampleSpecOf(format, spec))
        return WaveRc::BadFormat;
    auto capture = std::make_unique<Capture>();
    capture->format = format;
    if (!capture->connection.connect("nuvASK recording level", OpenWaitMs))
        return WaveRc::NoDriver;

    capture->stream = pa_stream_new(capture->connection.context(), "nuvASK recording level", &spec, nullptr);
    if (!capture->stream)
        return WaveRc::NoMemory;
    pa_stream *stream = capture->stream;
    pa_buffer_attr attr;
    attr.maxlength = format.avgBytesPerSec; // a second waits for a buffer, as in a card's ring
    attr.tlength = attr.prebuf = attr.minreq = quint32(-1);
    // Small blocks keep the source's latency low, so that the sound of a
    // buffer is here when the buffer should be full; read in one go, they
    // cost no more wake-ups than large ones. Each block is still a message
    // for the server and for us: 20 ms blocks cost the machine a little
    // less, but PipeWire sends a block only once it is complete, and "Auto"
    // then reacts up to a block later: with 25 ms blocks, more than a
    // buffer and 10 ms after the sound.
    attr.fragsize = fragmentBytes(format);
    // The default source, followed when the desktop's default changes; corked
    // until started, so that nothing is captured before there is somewhere
    // to put it.
    const auto flags = pa_stream_flags_t(PA_STREAM_START_CORKED | PA_STREAM_ADJUST_LATENCY);
    if (pa_stream_connect_record(stream, nullptr, &attr, flags) < 0 ||
        !capture->connection.runUntil([stream] { return pa_stream_get_state(stream) != PA_STREAM_CREATING; },
                                      OpenWaitMs) ||
        pa_stream_get_state(stream) != PA_STREAM_READY)
        return WaveRc::NoDriver;

    const WaveInHandle h = m_nextHandle;
    m_nextHandle = HandleBit | ((m_nextHandle + 1) & ~HandleBit);
    if (m_nextHandle == HandleBit)
        m_nextHandle = HandleBit | 1;
    capture->handle = h;
    capture->queue = std::make_unique<WaveInQueue>(h, notify);
    capture->tick = new QTimer;
    capture->tick->setSingleShot(true);
    connect(capture->tick, &QTimer::timeout, this, [this, h] {
        if (Capture *c = m_open.find(h))
            poll(*c);
    });
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
    const bool starved = capture->queue->isEmpty();
    const quint32 rc = capture->queue->add(header);
    // What waited for a buffer goes into it now; behind another buffer, it
    // is filled when its turn comes.
    if (rc == WaveRc::NoError && capture->started && starved)
        poll(*capture);
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
    // Whatever was in flight when it was corked is older than this start.
    Capture::send(pa_stream_flush(capture->stream, nullptr, nullptr));
    Capture::send(pa_stream_cork(capture->stream, 0, nullptr, nullptr));
    poll(*capture);
    m_connection.levelTapChanged();
    return capture->gone ? WaveRc::NoDriver : WaveRc::NoError;
}

quint32 PulseWaveIn::reset(WaveInHandle handle)
{
    Capture *capture = nullptr;
    if (const quint32 rc = m_open.live(handle, capture))
        return rc;
    if (capture->started) {
        // What the stream already holds belongs to the buffer being filled.
        poll(*capture);
        if (capture->gone)
            return WaveRc::NoError; // it broke meanwhile: gone, buffers are back
        stopped(*capture);
        capture->tick->stop();
        Capture::send(pa_stream_cork(capture->stream, 1, nullptr, nullptr));
        Capture::send(pa_stream_flush(capture->stream, nullptr, nullptr));
        capture->connection.run();
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
    stopped(*it->second);
    m_open.entries.erase(it);
    return WaveRc::NoError;
}

void PulseWaveIn::poll(Capture &capture)
{
    if (capture.gone)
        return;
    capture.lastPoll.start();
    capture.connection.run();
    if (capture.broken()) {
        goneAway(capture);
        return;
    }
    drain(capture);
    // The next read when the head buffer should be full; none while there is
    // no buffer (the server keeps the sound meanwhile) or nothing started.
    quint32 room = 0;
    if (!capture.started || !capture.queue->fillPointer(room)) {
        capture.tick->stop();
        return;
    }
    const double ms = std::ceil(double(room) * 1000.0 / qMax<quint32>(1, capture.format.avgBytesPerSec));
    capture.tick->start(qBound(AfterFullMs, int(ms) + AfterFullMs, LongestPauseMs));
}

void PulseWaveIn::drain(Capture &capture)
{
    while (capture.started && !capture.queue->isEmpty()) {
        if (!capture.pending.isEmpty()) {
            const quint32 taken = capture.queue->write(capture.pending.constData(), quint32(capture.pending.size()));
            capture.pending.remove(0, taken);
            continue;
        }
        // Peeked without asking for the readable size first: an empty
        // stream answers with no length, and every libpulse call is a
        // system call (its fork check).
        const void *data = nullptr;
        size_t length = 0;
        if (pa_stream_peek(capture.stream, &data, &length) < 0 || length == 0)
            return;
        QByteArray hole;
        if (!data) {
            // A gap in the server's buffer: silence of its length.
            hole = QByteArray(qsizetype(length), capture.format.bitsPerSample == 8 ? char(0x80) : '\0');
            data = hole.constData();
        } else {
            capture.peak = std::max(capture.peak, levelOf(data, length, capture.format));
        }
        capture.captured = true;
        const auto *bytes = static_cast<const char *>(data);
        const quint32 taken = capture.queue->write(bytes, quint32(length));
        if (taken < length)
            capture.pending = QByteArray(bytes + taken, qsizetype(length - taken));
        pa_stream_drop(capture.stream);
    }
}

void PulseWaveIn::stopped(Capture &capture)
{
    if (!capture.started)
        return;
    if (capture.captured && capture.stream) {
        if (const char *name = pa_stream_get_device_name(capture.stream)) {
            float &level = m_leftover[QString::fromUtf8(name)];
            level = std::max(level, capture.peak);
        }
    }
    capture.peak = 0;
    capture.captured = false;
    capture.started = false;
    m_connection.levelTapChanged();
}

bool PulseWaveIn::tapsSource(const QString &source)
{
    for (const auto &entry : m_open.entries) {
        if (entry.second->reads(source))
            return true;
    }
    return false;
}

bool PulseWaveIn::takeTappedPeak(const QString &source, float &peak)
{
    bool any = false;
    if (const auto it = m_leftover.find(source); it != m_leftover.end()) {
        peak = std::max(peak, it->second);
        m_leftover.erase(it);
        any = true;
    }
    for (const auto &entry : m_open.entries) {
        Capture &capture = *entry.second;
        if (!capture.reads(source))
            continue;
        // Read just now (the meters' ticks ride the capture's own reads):
        // nothing newer than a block can have come.
        if (!capture.lastPoll.isValid() || capture.lastPoll.elapsed() >= FragmentMs)
            poll(capture);
        if (capture.captured) {
            peak = std::max(peak, capture.peak);
            capture.peak = 0;
            capture.captured = false;
            any = true;
        }
    }
    return any;
}

void PulseWaveIn::goneAway(Capture &capture)
{
    capture.tick->stop();
    stopped(capture);
    capture.gone = true;
    capture.pending.clear();
    capture.queue->handBackAll();
}

} // namespace nuvask
