// Buffer bookkeeping shared by every capture realisation.

#include "core/monitor/WaveInQueue.h"

#include <QMetaObject>
#include <QPointer>

#include <cstring>

namespace nuvask {

WaveInQueue::WaveInQueue(WaveInHandle handle, WaveInNotify notify, QObject *parent)
    : QObject(parent), m_handle(handle), m_notify(std::move(notify))
{
}

quint32 WaveInQueue::prepare(WaveHeader *header)
{
    if (!header || !header->data || header->bufferLength == 0)
        return WaveRc::InvalidParam;
    header->flags |= WaveHeaderFlag::Prepared;
    return WaveRc::NoError;
}

quint32 WaveInQueue::unprepare(WaveHeader *header)
{
    if (!header)
        return WaveRc::InvalidParam;
    if (header->flags & WaveHeaderFlag::InQueue)
        return WaveRc::StillPlaying;
    header->flags &= ~WaveHeaderFlag::Prepared;
    return WaveRc::NoError;
}

quint32 WaveInQueue::add(WaveHeader *header)
{
    if (!header || !header->data || header->bufferLength == 0)
        return WaveRc::InvalidParam;
    if (!(header->flags & WaveHeaderFlag::Prepared))
        return WaveRc::Unprepared;
    if (header->flags & WaveHeaderFlag::InQueue)
        return WaveRc::StillPlaying;
    header->bytesRecorded = 0;
    header->flags = (header->flags & ~WaveHeaderFlag::Done) | WaveHeaderFlag::InQueue;
    m_queue.append(header);
    return WaveRc::NoError;
}

char *WaveInQueue::fillPointer(quint32 &room) const
{
    if (m_queue.isEmpty()) {
        room = 0;
        return nullptr;
    }
    WaveHeader *head = m_queue.first();
    room = head->bufferLength - head->bytesRecorded;
    return head->data + head->bytesRecorded;
}

void WaveInQueue::commit(quint32 bytes)
{
    if (m_queue.isEmpty() || bytes == 0)
        return;
    WaveHeader *head = m_queue.first();
    head->bytesRecorded = qMin(head->bufferLength, head->bytesRecorded + bytes);
    if (head->bytesRecorded == head->bufferLength)
        handBack(m_queue.takeFirst());
}

quint32 WaveInQueue::write(const char *data, quint32 bytes)
{
    quint32 taken = 0;
    while (taken < bytes) {
        quint32 room = 0;
        char *to = fillPointer(room);
        if (!to)
            break;
        const quint32 n = qMin(room, bytes - taken);
        std::memcpy(to, data + taken, n);
        taken += n;
        commit(n);
    }
    return taken;
}

void WaveInQueue::handBackAll()
{
    const QList<WaveHeader *> queued = std::exchange(m_queue, {});
    // Delivered immediately, a notification may close the device and with it
    // this queue.
    const QPointer<WaveInQueue> alive(this);
    for (WaveHeader *header : queued) {
        if (!alive)
            return;
        handBack(header);
    }
}

void WaveInQueue::handBack(WaveHeader *header)
{
    header->flags = (header->flags & ~WaveHeaderFlag::InQueue) | WaveHeaderFlag::Done;
    if (!m_notify)
        return;
    if (m_immediate) {
        // A copy: the call may close the device and destroy this queue.
        const WaveInNotify notify = m_notify;
        notify(m_handle, header);
        return;
    }
    QMetaObject::invokeMethod(
        this, [this, header] { m_notify(m_handle, header); }, Qt::QueuedConnection);
}

} // namespace nuvask
