#pragma once
// The buffers of one open capture device, kept the same way by every
// realisation of WaveInService: header flags, the queue in the order buffers
// were added, filling the buffer at its head, and handing buffers back as
// notifications queued on the Qt event loop. Destroying the queue drops the
// notifications not yet delivered, so a closed handle is never reported with
// headers its owner may already have freed.

#include "core/monitor/WaveInService.h"

#include <QList>
#include <QObject>

#include <map>
#include <memory>

namespace nuvask {

class WaveInQueue : public QObject {
    Q_OBJECT
public:
    WaveInQueue(WaveInHandle handle, WaveInNotify notify, QObject *parent = nullptr);

    quint32 prepare(WaveHeader *header);
    quint32 unprepare(WaveHeader *header);
    quint32 add(WaveHeader *header);

    bool isEmpty() const { return m_queue.isEmpty(); }
    qsizetype size() const { return m_queue.size(); }
    // Where the next captured bytes go and how many still fit (bytes);
    // nullptr and 0 when no buffer is queued.
    char *fillPointer(quint32 &room) const;
    // Counts `bytes` written at fillPointer(); a buffer that is full goes back.
    void commit(quint32 bytes);
    // Copies as much of `data` as the queued buffers take, in turn; returns
    // the bytes taken.
    quint32 write(const char *data, quint32 bytes);
    // Hands back the buffer being filled with the bytes it holds, and every
    // other queued buffer empty, in queue order.
    void handBackAll();

    // Delivers hand-backs inside the call that causes them, as a driver that
    // breaks the queued-delivery promise would; for tests of the caller.
    void setDeliverImmediately(bool immediately) { m_immediate = immediately; }

private:
    void handBack(WaveHeader *header);

    WaveInHandle m_handle;
    WaveInNotify m_notify;
    QList<WaveHeader *> m_queue;
    bool m_immediate = false;
};

} // namespace nuvask

namespace nuvask {

// The open handles of a capture service whose captures each keep a
// WaveInQueue (`queue`) and a mark for a device that went away (`gone`):
// finding a handle, the return code for a dead one, and the header calls,
// which only touch the queue.
template <class Capture> class WaveInCaptures {
public:
    Capture *find(WaveInHandle handle) const
    {
        const auto it = entries.find(handle);
        return it == entries.end() ? nullptr : it->second.get();
    }
    // The open capture of a live handle, or the return code to give instead.
    quint32 live(WaveInHandle handle, Capture *&capture) const
    {
        capture = find(handle);
        if (!capture)
            return WaveRc::InvalidHandle;
        return capture->gone ? WaveRc::NoDriver : WaveRc::NoError;
    }
    bool isAlive(WaveInHandle handle) const
    {
        const Capture *capture = find(handle);
        return capture && !capture->gone;
    }
    quint32 prepareHeader(WaveInHandle handle, WaveHeader *header) const
    {
        Capture *capture = nullptr;
        if (const quint32 rc = live(handle, capture))
            return rc;
        return capture->queue->prepare(header);
    }
    // Also after the device went away, so that its owner can let go.
    quint32 unprepareHeader(WaveInHandle handle, WaveHeader *header) const
    {
        Capture *capture = find(handle);
        return capture ? capture->queue->unprepare(header) : WaveRc::InvalidHandle;
    }

    std::map<WaveInHandle, std::unique_ptr<Capture>> entries;
};

} // namespace nuvask
