// The connection to the sound server (libpulse) and its reconnect schedule.

#include "platform/pulse/PulseConnection.h"

#include <pulse/glib-mainloop.h>
#include <pulse/pulseaudio.h>

#include <QCoreApplication>
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

    static void onEvent(pa_context *c, pa_subscription_event_type_t type, uint32_t index, void *userdata)
    {
        if (!current(c, userdata))
            return;
        auto *self = static_cast<PulseConnection *>(userdata);
        // A known device that changed is read again alone; a device that came
        // or went, or a change of the server (its defaults), reads everything.
        // A new device's first change can come before the news that it is
        // there: a change of a device not in the picture reads everything too.
        const int facility = type & PA_SUBSCRIPTION_EVENT_FACILITY_MASK;
        const bool changed = (type & PA_SUBSCRIPTION_EVENT_TYPE_MASK) == PA_SUBSCRIPTION_EVENT_CHANGE;
        const bool sink = facility == PA_SUBSCRIPTION_EVENT_SINK;
        if (changed && (sink || facility == PA_SUBSCRIPTION_EVENT_SOURCE) && self->knows(!sink, index))
            (sink ? self->m_dirty.sinks : self->m_dirty.sources).insert(index);
        else
            self->m_dirty.full = true;
        self->reload();
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
        entry.index = info->index;
        QList<PulseDeviceInfo> *list = &self->m_loading.sinks;
        if constexpr (std::is_same_v<Info, pa_source_info>) {
            entry.monitor = info->monitor_of_sink != PA_INVALID_INDEX;
            list = &self->m_loading.sources;
        }
        (std::is_same_v<Info, pa_source_info> ? self->m_readNow.sources : self->m_readNow.sinks).insert(entry.index);
        // Read alone, a device takes its place in the picture.
        const auto same = [&entry](const PulseDeviceInfo &known) { return known.index == entry.index; };
        const auto it = std::find_if(list->begin(), list->end(), same);
        if (it != list->end())
            *it = entry;
        else
            list->append(entry);
    }

    // One source output (a recording stream) of the listing that answers who records.
    static void onSourceOutput(pa_context *c, const pa_source_output_info *info, int eol, void *userdata)
    {
        if (!current(c, userdata))
            return;
        auto *self = static_cast<PulseConnection *>(userdata);
        if (eol != 0) {
            self->answerClients(eol > 0);
            return;
        }
        const auto property = [info](const char *key) {
            const char *value = info->proplist ? pa_proplist_gets(info->proplist, key) : nullptr;
            return QString::fromUtf8(value ? value : "");
        };
        // Our own meters and capture are not the ones to blame.
        if (property(PA_PROP_APPLICATION_PROCESS_ID) == QString::number(QCoreApplication::applicationPid()))
            return;
        QString name = property(PA_PROP_APPLICATION_NAME);
        if (name.isEmpty())
            name = property(PA_PROP_APPLICATION_PROCESS_BINARY);
        if (name.isEmpty())
            name = QString::fromUtf8(info->name ? info->name : "");
        self->m_outputs.append({info->source, name});
    }
};

PulseConnection::PulseConnection(QObject *parent)
    : QObject(parent), m_native(std::make_unique<Native>()), m_retry(new QTimer(this)), m_confirm(new QTimer(this)),
      m_peakMeters(std::make_unique<PulsePeakMeters>())
{
    m_clock.start();
    m_confirm->setSingleShot(true);
    connect(m_confirm, &QTimer::timeout, this, &PulseConnection::confirmOwnWrites);
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
    m_peakMeters->closeAll();
}

void PulseConnection::dropContext()
{
    closePeaks();
    pa_context *context = m_native->context;
    m_native->context = nullptr;
    m_pendingLoads = 0;
    m_reloadAgain = false;
    m_dirty = {};
    m_ownSinkWrites.clear();
    m_ownSourceWrites.clear();
    m_ownDefaultSource.clear();
    // Whoever asked was answered when the connection was lost, or is going away.
    m_clientQueries.clear();
    m_listingOutputs = false;
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
        m_dirty.full = true;
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
    answerClients(false);
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
        m_reloadAgain = true; // one more read once this one is in
        return;
    }
    const Dirty dirty = std::exchange(m_dirty, {});
    m_readNow = {};
    m_readNow.full = dirty.full;
    bool sent = true;
    const auto ask = [&](pa_operation *operation) {
        sent = sent && Native::sent(operation);
        m_pendingLoads += sent ? 1 : 0;
    };
    if (dirty.full) {
        m_loading = PulseServerState();
        ask(pa_context_get_server_info(context, &Native::onServer, this));
        ask(pa_context_get_sink_info_list(context, &Native::onDevice<pa_sink_info>, this));
        ask(pa_context_get_source_info_list(context, &Native::onDevice<pa_source_info>, this));
    } else {
        // The picture as it is, with the changed devices read again: one
        // answer instead of every device of the server.
        m_loading = m_server;
        for (quint32 index : dirty.sinks)
            ask(pa_context_get_sink_info_by_index(context, index, &Native::onDevice<pa_sink_info>, this));
        for (quint32 index : dirty.sources)
            ask(pa_context_get_source_info_by_index(context, index, &Native::onDevice<pa_source_info>, this));
    }
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
    holdOwnWrites();
    // The server's answer to this program's own write, or a change it made
    // and took back, shows nothing new: nobody needs to look again.
    const bool same = m_state == State::Ready && m_loading == m_server;
    m_server = m_loading;
    if (m_state != State::Ready) {
        m_retryMs = m_firstRetryMs;
        m_answered = true;
        setState(State::Ready);
    }
    if (!same)
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

bool PulseConnection::knows(bool source, quint32 index) const
{
    const QList<PulseDeviceInfo> &list = source ? m_server.sources : m_server.sinks;
    return std::any_of(list.cbegin(), list.cend(), [index](const PulseDeviceInfo &d) { return d.index == index; });
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

void PulseConnection::noteWrite(bool source, const QString &name)
{
    if (const PulseDeviceInfo *device = find(source, name))
        (source ? m_ownSourceWrites : m_ownSinkWrites).insert(name, {device->volumes, device->muted, m_clock.elapsed()});
}

void PulseConnection::holdOwnWrites()
{
    // A picture can show a device as it was before this program's write: it
    // was asked for before the write went out, or (PipeWire) the server has
    // taken the write but not applied it yet. Taken as it is, it would turn
    // a strip back for a moment and look to the volume guard like another
    // program's change. Until the server shows the write, or ConfirmMs
    // passed, what was written stands.
    const qint64 now = m_clock.elapsed();
    bool held = false;
    const auto hold = [&](QList<PulseDeviceInfo> &loaded, QHash<QString, OwnWrite> &own, const QSet<quint32> &read) {
        for (auto it = own.begin(); it != own.end();) {
            const auto device = std::find_if(loaded.begin(), loaded.end(),
                                             [&](const PulseDeviceInfo &d) { return d.name == it.key(); });
            if (device == loaded.end() || now - it->at >= ConfirmMs) {
                it = own.erase(it);
                continue;
            }
            if (m_readNow.full || read.contains(device->index)) {
                if (device->volumes == it->volumes && device->muted == it->muted) {
                    it = own.erase(it); // the server shows it
                    continue;
                }
                device->volumes = it->volumes;
                device->muted = it->muted;
                held = true;
            }
            ++it;
        }
    };
    hold(m_loading.sinks, m_ownSinkWrites, m_readNow.sinks);
    hold(m_loading.sources, m_ownSourceWrites, m_readNow.sources);
    if (!m_ownDefaultSource.isEmpty() && m_readNow.full) {
        if (m_loading.defaultSource == m_ownDefaultSource || now - m_ownDefaultSourceAt >= ConfirmMs) {
            m_ownDefaultSource.clear();
        } else {
            m_loading.defaultSource = m_ownDefaultSource;
            held = true;
        }
    }
    // The server says when it applies a write; should it not, look again
    // once the write no longer stands.
    if (held && !m_confirm->isActive())
        m_confirm->start(ConfirmMs);
}

void PulseConnection::confirmOwnWrites()
{
    // Not shown yet: look again; what the server shows then is taken once
    // ConfirmMs passed.
    if (m_ownSinkWrites.isEmpty() && m_ownSourceWrites.isEmpty() && m_ownDefaultSource.isEmpty())
        return;
    const auto again = [](const QList<PulseDeviceInfo> &devices, const QHash<QString, OwnWrite> &own,
                          QSet<quint32> &dirty) {
        for (const PulseDeviceInfo &device : devices) {
            if (own.contains(device.name))
                dirty.insert(device.index);
        }
    };
    again(m_server.sinks, m_ownSinkWrites, m_dirty.sinks);
    again(m_server.sources, m_ownSourceWrites, m_dirty.sources);
    m_dirty.full = m_dirty.full || !m_ownDefaultSource.isEmpty();
    reload();
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
    noteWrite(source, name);
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
    noteWrite(source, name);
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
    m_ownDefaultSource = name;
    m_ownDefaultSourceAt = m_clock.elapsed();
    return true;
}

void PulseConnection::recordingClients(const QString &source, const ClientsAnswer &answer)
{
    const PulseDeviceInfo *device = find(true, source);
    if (m_state != State::Ready || !device) {
        // No server, or no such source: nobody can be named. Answered from
        // the event loop as a listing would be.
        const bool answered = m_state == State::Ready;
        QMetaObject::invokeMethod(
            this, [answer, answered] { answer({}, answered); }, Qt::QueuedConnection);
        return;
    }
    m_clientQueries.append({device->index, answer});
    if (m_listingOutputs)
        return; // the listing on its way answers this one too
    m_outputs.clear();
    m_listingOutputs =
        Native::sent(pa_context_get_source_output_info_list(m_native->context, &Native::onSourceOutput, this));
    if (!m_listingOutputs) {
        QMetaObject::invokeMethod(
            this, [this] { answerClients(false); }, Qt::QueuedConnection);
    }
}

void PulseConnection::answerClients(bool answered)
{
    m_listingOutputs = false;
    const QList<ClientsQuery> queries = std::exchange(m_clientQueries, {});
    const QList<std::pair<quint32, QString>> outputs = std::exchange(m_outputs, {});
    for (const ClientsQuery &query : queries) {
        QStringList names;
        for (const auto &[sourceIndex, name] : outputs) {
            if (answered && sourceIndex == query.sourceIndex && !names.contains(name))
                names.append(name);
        }
        query.answer(names, answered);
    }
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
