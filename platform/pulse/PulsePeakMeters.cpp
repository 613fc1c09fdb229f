// The strip meters' levels: a capture's, or a peak-detect stream per source.

#include "platform/pulse/PulsePeakMeters.h"

#include "platform/pulse/PulsePolledContext.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <cmath>

namespace nuvask {

struct PulsePeakMeters::PeakStream
{
    pa_stream *stream = nullptr;
    float peak = 0;       // highest level since the last take, 0..1
    bool arrived = false; // some level came since the last take

    ~PeakStream()
    {
        pa_stream_set_read_callback(stream, nullptr, nullptr);
        pa_stream_disconnect(stream);
        pa_stream_unref(stream);
    }

    static void onRead(pa_stream *stream, size_t, void *userdata)
    {
        auto *self = static_cast<PeakStream *>(userdata);
        const void *data = nullptr;
        size_t length = 0;
        // Read dry: every fragment is one level of the peak detector.
        while (pa_stream_readable_size(stream) > 0 && pa_stream_peek(stream, &data, &length) >= 0 && length > 0) {
            if (data) {
                const auto *levels = static_cast<const float *>(data);
                for (size_t i = 0; i < length / sizeof(float); ++i)
                    self->peak = std::max(self->peak, std::clamp(std::abs(levels[i]), 0.0f, 1.0f));
                self->arrived = true;
            }
            pa_stream_drop(stream);
        }
    }

    // What came since the last take, if anything did.
    bool take(float &level)
    {
        if (!arrived)
            return false;
        level = std::max(level, peak);
        peak = 0;
        arrived = false;
        return true;
    }
};

struct PulsePeakMeters::Watch
{
    std::unique_ptr<PeakStream> stream; // none while the tap reads the source
    bool tapped = false;
    // What the side that gave the source up had collected since the last take.
    float carry = 0;
    bool carried = false;
    qint64 lastLevelAt = -1; // when a take last had a level (ms), -1 before the first

    void keep(float level)
    {
        carry = std::max(carry, level);
        carried = true;
    }
};

PulsePeakMeters::PulsePeakMeters()
{
    m_clock.start();
}

PulsePeakMeters::~PulsePeakMeters()
{
    closeAll();
}

void PulsePeakMeters::closeAll()
{
    // The streams before the connection they run on.
    m_watches.clear();
    m_loop.reset();
}

bool PulsePeakMeters::openLoop()
{
    if (m_loop && m_loop->good())
        return true;
    for (auto &entry : m_watches)
        entry.second->stream.reset();
    m_loop.reset();
    auto loop = std::make_unique<PulsePolledContext>();
    // The server answers in milliseconds when it runs; a read of the meter
    // must not hang the window when it does not.
    if (!loop->connect("nuvASK peak meter", 1000))
        return false;
    m_loop = std::move(loop);
    return true;
}

bool PulsePeakMeters::watch(const QString &source)
{
    if (m_watches.count(source))
        return true;
    auto watch = std::make_unique<Watch>();
    if (!place(source, *watch))
        return false;
    m_watches.emplace(source, std::move(watch));
    return true;
}

void PulsePeakMeters::unwatch(const QString &source)
{
    m_watches.erase(source);
    if (m_watches.empty())
        m_loop.reset();
    else if (m_loop)
        m_loop->run(); // the stream's end is sent now, not at the next read
}

QStringList PulsePeakMeters::watched() const
{
    QStringList out;
    for (const auto &entry : m_watches)
        out.append(entry.first);
    return out;
}

bool PulsePeakMeters::hasOwnStream(const QString &source) const
{
    const auto it = m_watches.find(source);
    return it != m_watches.end() && it->second->stream != nullptr;
}

void PulsePeakMeters::sync()
{
    if (m_loop)
        m_loop->run(); // levels already sent belong to the streams that are about to close
    for (auto it = m_watches.begin(); it != m_watches.end();) {
        if (place(it->first, *it->second))
            ++it;
        else
            it = m_watches.erase(it); // the next read tries again
    }
}

bool PulsePeakMeters::place(const QString &source, Watch &watch)
{
    const bool tapped = m_tap && m_tap->tapsSource(source);
    if (tapped == watch.tapped && (tapped || watch.stream))
        return true;
    float level = 0;
    if (tapped) {
        // The capture reads every sample of this input: its own stream goes.
        if (watch.stream && watch.stream->take(level))
            watch.keep(level);
        if (watch.stream) {
            watch.stream.reset();
            // Sent now: nothing runs this connection while the capture reads.
            m_loop->run();
        }
        watch.tapped = true;
        return true;
    }
    if (watch.tapped) {
        // The capture stopped: what it collected since the last take is shown next.
        if (m_tap && m_tap->takeTappedPeak(source, level))
            watch.keep(level);
        watch.tapped = false;
    }
    if (!openLoop())
        return false;
    // One float level per fragment, 10 times a second: as often as the strip
    // meters read (every 100 ms), each the peak of its tenth of a second, and
    // next to no work for the server or for us.
    pa_sample_spec spec;
    spec.format = PA_SAMPLE_FLOAT32;
    spec.rate = 10;
    spec.channels = 1;
    pa_stream *stream = pa_stream_new(m_loop->context(), "nuvASK peak meter", &spec, nullptr);
    if (!stream)
        return false;
    auto peak = std::make_unique<PeakStream>();
    peak->stream = stream;
    pa_stream_set_read_callback(stream, &PeakStream::onRead, peak.get());
    pa_buffer_attr attr;
    attr.maxlength = quint32(-1);
    attr.tlength = attr.prebuf = attr.minreq = quint32(-1);
    attr.fragsize = sizeof(float);
    const QByteArray key = source.toUtf8();
    const auto flags = pa_stream_flags_t(PA_STREAM_DONT_MOVE | PA_STREAM_PEAK_DETECT | PA_STREAM_ADJUST_LATENCY);
    if (pa_stream_connect_record(stream, key.constData(), &attr, flags) < 0)
        return false; // the PeakStream frees the stream
    watch.stream = std::move(peak);
    m_loop->run(); // asked for now, so that its first level comes as early as it can
    return true;
}

bool PulsePeakMeters::take(const QString &source, float &level)
{
    level = 0;
    // Only streams of the meters' own deliver on this connection.
    const bool ownStreams =
        std::any_of(m_watches.begin(), m_watches.end(), [](const auto &entry) { return entry.second->stream != nullptr; });
    if (m_loop && ownStreams) {
        m_loop->run();
        if (!m_loop->good()) {
            // The server went away; the main connection sees it as well.
            closeAll();
            return true;
        }
    }
    const auto it = m_watches.find(source);
    if (it == m_watches.end())
        return true;
    Watch &watch = *it->second;
    // The capture may have started or stopped since the last sync.
    if (!place(source, watch)) {
        m_watches.erase(it);
        return true;
    }
    float peak = 0;
    const bool carried = std::exchange(watch.carried, false);
    if (carried)
        peak = std::exchange(watch.carry, 0.0f);
    const bool fresh = watch.tapped ? m_tap->takeTappedPeak(source, peak) : watch.stream->take(peak);
    const qint64 now = m_clock.elapsed();
    if (fresh || carried) {
        watch.lastLevelAt = now;
        level = peak;
        return true;
    }
    // Nothing new: a level that is only late (the streams' fragments and the
    // reads drift against each other, and a side that just took over has
    // not delivered yet) is no silence.
    return watch.lastLevelAt < 0 || now - watch.lastLevelAt >= LateLevelMs;
}

} // namespace nuvask
