// The connection to the sound server (libpulse) and its reconnect schedule.

#include "platform/pulse/PulseConnection.h"
#include "platform/pulse/PulsePolledContext.h"

#include <pulse/glib-mainloop.h>
#include <pulse/pulseaudio.h>

#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <type_traits>
#include <utility>

namespace nuvask {

struct PulseConnection::Native
{
    pa_glib_mainloop *loop = nullptr;
    pa_context *context = nullptr;

    // Every request hands back its pa_operation, which nothing here waits on.
    static bool sent(pa_operation *operation)
    {
        if (!operation)
            return false;
        pa_operation_unref(operation);
        return true;
    }

    static PulseDeviceInfo device(const char *name, const char *description, const pa_cvolume &volume, int mute)
    {
        PulseDeviceInfo info;
        info.name = QString::fromUtf8(name);
        info.description = QString::fromUtf8(description ? description : name);
        for (quint8 c = 0; c < volume.channels; ++c)
            info.volumes.append(volume.values[c]);
        info.muted = mute != 0;
        return info;
    }

    // Callbacks of the connection's own context only: a callback still queued
    // for a context already dropped finds another (or no) context and is ignored.
    static bool current(pa_context *c, void *userdata)
    {
        auto *self = static_cast<PulseConnection *>(userdata);
        return self->m_native->context == c;
    }

    static void onState(pa_context *c, void *userdata)
    {
        if (current(c, userdata))
            static_cast<PulseConnection *>(userdata)->onContextState();
    }

    static void onEvent(pa_context *c, pa_subscription_event_type_t, uint32_t, void *userdata)
    {
        if (current(c, userdata))
            static_cast<PulseConnection *>(userdata)->reload();
    }

    static void onServer(pa_context *c, const pa_server_info *info, void *userdata)
    {
        if (!current(c, userdata))
            return;
        auto *self = static_cast<PulseConnection *>(userdata);
        if (info) {
            self->m_loading.defaultSink = QString::fromUtf8(info->default_sink_name ? info->default_sink_name : "");
            self->m_loading.defaultSource =
                QString::fromUtf8(info->default_source_name ? info->default_source_name : "");
        }
        self->loadFinished();
    }

    // One entry of the sink or source list; the end of the list (or its failure) ends that part of the load.
    template <class Info> static void onDevice(pa_context *c, const Info *info, int eol, void *userdata)
    {
        if (!current(c, userdata))
            return;
        auto *self = static_cast<PulseConnection *>(userdata);
        if (eol != 0) {
            self->loadFinished();
            return;
        }
        PulseDeviceInfo entry = device(info->name, info->description, info->volume, info->mute);
        if constexpr (std::is_same_v<Info, pa_source_info>) {
            entry.monitor = info->monitor_of_sink != PA_INVALID_INDEX;
            self->m_loading.sources.append(entry);
        } else {
            self->m_loading.sinks.append(entry);
        }
    }
};

struct PulseConnection::PeakStream
{
    pa_stream *stream = nullptr;
    float peak = 0; // highest level since the last take, 0..1

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
            }
            pa_stream_drop(stream);
        }
    }
};

PulseConnection::PulseConnection(QObject *parent)
    : QObject(parent), m_native(std::make_unique<Native>()), m_retry(new QTimer(this))
{
    m_retry->setSingleShot(true);
    connect(m_retry, &QTimer::timeout, this, &PulseConnection::connectNow);
    // nullptr: the default GLib main context, which Qt's event dispatcher runs.
    m_native->loop = pa_glib_mainloop_new(nullptr);
}

PulseConnection::~PulseConnection()
{
    closePeaks();
    dropContext();
    if (m_native->loop)
        pa_glib_mainloop_free(m_native->loop);
}

void PulseConnection::start()
{
    if (m_state == State::Unconnected)
        connectNow();
}

void PulseConnection::waitForFirstAnswer(int ms)
{
    if (m_answered)
        return;
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    const auto settled = [this, &loop] {
        if (m_answered)
            loop.quit();
    };
    const QMetaObject::Connection a = connect(this, &PulseConnection::stateChanged, &loop, settled);
    loop.exec();
    disconnect(a);
}

void PulseConnection::connectNow()
{
    dropContext();
    setState(State::Connecting);
    pa_context *context = pa_context_new(pa_glib_mainloop_get_api(m_native->loop), "nuvASK");
    m_native->context = context;
    if (context) {
        pa_context_set_state_callback(context, &Native::onState, this);
        pa_context_set_subscribe_callback(context, &Native::onEvent, this);
        // Never start a server of our own: the desktop decides which server runs.
        if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0)
            return;
    }
    // Not even sent: treated like a refused connection, later and outside this
    // call. A connection refused at once has said so through its state
    // callback already; a second report would count the failure twice.
    if (m_native->context == context)
        QMetaObject::invokeMethod(this, &PulseConnection::onContextState, Qt::QueuedConnection);
}

void PulseConnection::closePeaks()
{
    // The streams before the connection they run on.
    m_peaks.clear();
    m_peakLoop.reset();
}

bool PulseConnection::openPeakLoop()
{
    if (m_peakLoop && m_peakLoop->good())
        return true;
    closePeaks();
    auto peakLoop = std::make_unique<PulsePolledContext>();
    // The server answers in milliseconds when it runs; a read of the meter
    // must not hang the window when it does not.
    if (!peakLoop->connect("nuvASK peak meter", 1000))
        return false;
    m_peakLoop = std::move(peakLoop);
    return true;
}

void PulseConnection::dropContext()
{
    closePeaks();
    pa_context *context = m_native->context;
    m_native->context = nullptr;
    m_pendingLoads = 0;
    m_reloadAgain = false;
    if (!context)
        return;
    pa_context_set_state_callback(context, nullptr, nullptr);
    pa_context_set_subscribe_callback(context, nullptr, nullptr);
    pa_context_disconnect(context);
    pa_context_unref(context);
}

void PulseConnection::onContextState()
{
    pa_context *context = m_native->context;
    const pa_context_state_t state = context ? pa_context_get_state(context) : PA_CONTEXT_FAILED;
    if (state == PA_CONTEXT_READY) {
        const auto mask = pa_subscription_mask_t(PA_SUBSCRIPTION_MASK_SINK | PA_SUBSCRIPTION_MASK_SOURCE |
                                                 PA_SUBSCRIPTION_MASK_SERVER);
        Native::sent(pa_context_subscribe(context, mask, nullptr, nullptr));
        reload(); // Ready once the first picture is read
        return;
    }
    if (state != PA_CONTEXT_FAILED && state != PA_CONTEXT_TERMINATED)
        return;
    closePeaks();
    // The context cannot be freed inside its own callback: forget it now (its
    // late callbacks are ignored from here on) and free it from the event loop.
    m_native->context = nullptr;
    if (context) {
        QMetaObject::invokeMethod(
            this,
            [context] {
                pa_context_set_state_callback(context, nullptr, nullptr);
                pa_context_set_subscribe_callback(context, nullptr, nullptr);
                pa_context_unref(context);
            },
            Qt::QueuedConnection);
    }
    m_pendingLoads = 0;
    m_reloadAgain = false;
    m_answered = true;
    setState(State::Lost);
    m_retry->start(m_retryMs);
    m_retryMs = std::min(m_retryMs * 2, m_maxRetryMs);
}

void PulseConnection::setRetryWaits(int firstMs, int maxMs)
{
    m_firstRetryMs = m_retryMs = firstMs;
    m_maxRetryMs = maxMs;
}

void PulseConnection::holdLoads(bool hold)
{
    m_holdLoads = hold;
    if (!hold && std::exchange(m_loadHeld, false))
        loadFinished();
}

void PulseConnection::reload()
{
    pa_context *context = m_native->context;
    if (!context)
        return;
    if (m_pendingLoads > 0) {
        m_reloadAgain = true; // one more full read once this one is in
        return;
    }
    m_loading = PulseServerState();
    m_pendingLoads = 3;
    const bool sent = Native::sent(pa_context_get_server_info(context, &Native::onServer, this)) &&
                      Native::sent(pa_context_get_sink_info_list(context, &Native::onDevice<pa_sink_info>, this)) &&
                      Native::sent(pa_context_get_source_info_list(context, &Native::onDevice<pa_source_info>, this));
    if (!sent) {
        // The connection is failing; its state callback follows.
        m_pendingLoads = 0;
    }
}

void PulseConnection::loadFinished()
{
    if (m_pendingLoads == 0 || --m_pendingLoads > 0)
        return;
    if (m_holdLoads) {
        m_pendingLoads = 1; // the last part, given when released
        m_loadHeld = true;
        return;
    }
    m_server = m_loading;
    if (m_state != State::Ready) {
        m_retryMs = m_firstRetryMs;
        m_answered = true;
        setState(State::Ready);
    }
    emit serverChanged();
    if (m_reloadAgain) {
        m_reloadAgain = false;
        reload();
    }
}

void PulseConnection::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}

PulseDeviceInfo *PulseConnection::find(bool source, const QString &name)
{
    QList<PulseDeviceInfo> &list = source ? m_server.sources : m_server.sinks;
    for (PulseDeviceInfo &info : list) {
        if (info.name == name)
            return &info;
    }
    return nullptr;
}

bool PulseConnection::setVolumes(bool source, const QString &name, const QList<quint32> &volumes)
{
    PulseDeviceInfo *info = find(source, name);
    if (m_state != State::Ready || !info || volumes.isEmpty() || volumes.size() > PA_CHANNELS_MAX)
        return false;
    pa_cvolume volume;
    pa_cvolume_init(&volume);
    volume.channels = quint8(volumes.size());
    for (qsizetype c = 0; c < volumes.size(); ++c)
        volume.values[c] = std::min<quint32>(volumes.at(c), PA_VOLUME_MAX);
    const QByteArray key = name.toUtf8();
    pa_operation *operation =
        source ? pa_context_set_source_volume_by_name(m_native->context, key.constData(), &volume, nullptr, nullptr)
               : pa_context_set_sink_volume_by_name(m_native->context, key.constData(), &volume, nullptr, nullptr);
    if (!Native::sent(operation))
        return false;
    info->volumes = volumes;
    return true;
}

bool PulseConnection::setMute(bool source, const QString &name, bool muted)
{
    PulseDeviceInfo *info = find(source, name);
    if (m_state != State::Ready || !info)
        return false;
    const QByteArray key = name.toUtf8();
    pa_operation *operation =
        source ? pa_context_set_source_mute_by_name(m_native->context, key.constData(), muted, nullptr, nullptr)
               : pa_context_set_sink_mute_by_name(m_native->context, key.constData(), muted, nullptr, nullptr);
    if (!Native::sent(operation))
        return false;
    info->muted = muted;
    return true;
}

bool PulseConnection::setDefaultSource(const QString &name)
{
    if (m_state != State::Ready || !find(true, name))
        return false;
    const QByteArray key = name.toUtf8();
    if (!Native::sent(pa_context_set_default_source(m_native->context, key.constData(), nullptr, nullptr)))
        return false;
    m_server.defaultSource = name;
    return true;
}

bool PulseConnection::watchPeak(const QString &source)
{
    if (m_peaks.count(source))
        return true;
    if (m_state != State::Ready || !find(true, source) || !openPeakLoop())
        return false;
    // One float level per fragment, 10 times a second: as often as the strip
    // meters read (every 100 ms), each the peak of its tenth of a second, and
    // next to no work for the server or for us.
    pa_sample_spec spec;
    spec.format = PA_SAMPLE_FLOAT32;
    spec.rate = 10;
    spec.channels = 1;
    pa_stream *stream = pa_stream_new(m_peakLoop->context(), "nuvASK peak meter", &spec, nullptr);
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
    m_peaks.emplace(source, std::move(peak));
    return true;
}

void PulseConnection::unwatchPeak(const QString &source)
{
    m_peaks.erase(source);
    if (m_peaks.empty())
        closePeaks();
}

QStringList PulseConnection::watchedPeaks() const
{
    QStringList out;
    for (const auto &entry : m_peaks)
        out.append(entry.first);
    return out;
}

float PulseConnection::takePeak(const QString &source)
{
    if (m_peakLoop) {
        m_peakLoop->run();
        if (!m_peakLoop->good()) {
            // The server went away; the main connection sees it as well.
            closePeaks();
            return 0;
        }
    }
    const auto it = m_peaks.find(source);
    if (it == m_peaks.end())
        return 0;
    return std::exchange(it->second->peak, 0.0f);
}

} // namespace nuvask
