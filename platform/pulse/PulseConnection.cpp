// The connection to the sound server (libpulse) and its reconnect schedule.

#include "platform/pulse/PulseConnection.h"

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

PulseConnection::PulseConnection(QObject *parent)
    : QObject(parent), m_native(std::make_unique<Native>()), m_retry(new QTimer(this)),
      m_peakMeters(std::make_unique<PulsePeakMeters>())
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
    // Not even sent: treated like a refused connection, later and outside this call.
    QMetaObject::invokeMethod(this, &PulseConnection::onContextState, Qt::QueuedConnection);
}

void PulseConnection::closePeaks()
{
    m_peakMeters->closeAll();
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
    m_retryMs = std::min(m_retryMs * 2, MaxRetryMs);
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
    m_server = m_loading;
    if (m_state != State::Ready) {
        m_retryMs = FirstRetryMs;
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
    if (m_peakMeters->isWatched(source))
        return true;
    return m_state == State::Ready && find(true, source) && m_peakMeters->watch(source);
}

void PulseConnection::unwatchPeak(const QString &source)
{
    m_peakMeters->unwatch(source);
}

QStringList PulseConnection::watchedPeaks() const
{
    return m_peakMeters->watched();
}

bool PulseConnection::takePeak(const QString &source, float &level)
{
    return m_peakMeters->take(source, level);
}

void PulseConnection::setLevelTap(PulseLevelTap *tap)
{
    m_peakMeters->setTap(tap);
}

void PulseConnection::releaseLevelTap(PulseLevelTap *tap)
{
    // The meters' next read finds their sources without it.
    if (m_peakMeters->tap() == tap)
        m_peakMeters->setTap(nullptr);
}

void PulseConnection::levelTapChanged()
{
    if (std::exchange(m_peakSyncQueued, true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_peakSyncQueued = false;
            if (m_state == State::Ready)
                m_peakMeters->sync();
        },
        Qt::QueuedConnection);
}

} // namespace nuvask
