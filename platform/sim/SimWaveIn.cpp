// The simulated capture device with a scripted signal.

#include "platform/sim/SimWaveIn.h"

#include "core/base/TextHelpers.h"
#include "core/monitor/WaveInQueue.h"

#include <QTimer>

#include <cmath>
#include <numbers>

namespace nuvask {

namespace {

constexpr int SineFrames = 100; // one period of the level tone: 441 Hz at 44100 Hz

bool supported(const WaveFormat &format)
{
    return format.formatTag == 1 && (format.channels == 1 || format.channels == 2)
           && (format.bitsPerSample == 8 || format.bitsPerSample == 16) && format.samplesPerSec > 0
           && format.blockAlign == format.channels * format.bitsPerSample / 8;
}

} // namespace

SimWaveIn::SimWaveIn(QObject *parent) : QObject(parent), m_pace(new QTimer(this))
{
    m_pace->setSingleShot(true);
    connect(m_pace, &QTimer::timeout, this, [this] {
        fillOne();
        updatePacing();
    });
}

SimWaveIn::~SimWaveIn() = default;

void SimWaveIn::queueLevel(int level, quint32 frames)
{
    m_signal.append({Segment::Level, qBound(0, level, 32767), frames, {}});
}

void SimWaveIn::queueSilence(quint32 frames)
{
    queueLevel(0, frames);
}

void SimWaveIn::queueFullScale(quint32 frames)
{
    m_signal.append({Segment::FullScale, 32768, frames, {}});
}

void SimWaveIn::queueBytes(const QByteArray &bytes)
{
    if (!bytes.isEmpty())
        m_signal.append({Segment::Raw, 0, 0, bytes});
}

void SimWaveIn::clearSignal()
{
    m_signal.clear();
    m_partFrame.clear();
}

quint32 SimWaveIn::enter(SimWaveCall call, WaveInHandle handle, bool evenWhenGone)
{
    ++m_calls[int(call)];
    if (call != SimWaveCall::Open) {
        if (handle == NoWaveInHandle || handle != m_handle)
            return WaveRc::InvalidHandle;
        if (m_gone && !evenWhenGone)
            return WaveRc::NoDriver;
    }
    for (qsizetype i = 0; i < m_faults.size(); ++i) {
        SimWaveFault &f = m_faults[i];
        if (f.call != call)
            continue;
        if (f.skip > 0) {
            --f.skip;
            continue;
        }
        const quint32 rc = f.rc;
        if (f.times > 0 && --f.times == 0)
            m_faults.removeAt(i);
        return rc;
    }
    return WaveRc::NoError;
}

quint32 SimWaveIn::deviceCount()
{
    return m_deviceCount;
}

quint32 SimWaveIn::open(quint32 device, const WaveFormat &format, const WaveInNotify &notify, WaveInHandle &handle)
{
    if (const quint32 rc = enter(SimWaveCall::Open, NoWaveInHandle))
        return rc;
    if (device >= m_deviceCount)
        return WaveRc::BadDeviceId;
    if (isOpen())
        return WaveRc::Allocated;
    if (!supported(format))
        return WaveRc::BadFormat;
    m_format = format;
    m_handle = m_nextHandle++;
    m_queue = std::make_unique<WaveInQueue>(m_handle, notify);
    m_queue->setDeliverImmediately(m_immediate);
    m_partFrame.clear();
    m_phase = 0;
    handle = m_handle;
    return WaveRc::NoError;
}

quint32 SimWaveIn::prepareHeader(WaveInHandle handle, WaveHeader *header)
{
    if (const quint32 rc = enter(SimWaveCall::Prepare, handle))
        return rc;
    return m_queue->prepare(header);
}

quint32 SimWaveIn::unprepareHeader(WaveInHandle handle, WaveHeader *header)
{
    if (const quint32 rc = enter(SimWaveCall::Unprepare, handle, true))
        return rc;
    return m_queue->unprepare(header);
}

quint32 SimWaveIn::addBuffer(WaveInHandle handle, WaveHeader *header)
{
    if (const quint32 rc = enter(SimWaveCall::AddBuffer, handle))
        return rc;
    const quint32 rc = m_queue->add(header);
    updatePacing();
    return rc;
}

quint32 SimWaveIn::start(WaveInHandle handle)
{
    if (const quint32 rc = enter(SimWaveCall::Start, handle))
        return rc;
    m_started = true;
    updatePacing();
    return WaveRc::NoError;
}

quint32 SimWaveIn::reset(WaveInHandle handle)
{
    if (const quint32 rc = enter(SimWaveCall::Reset, handle))
        return rc;
    m_started = false;
    updatePacing();
    m_queue->handBackAll();
    return WaveRc::NoError;
}

quint32 SimWaveIn::close(WaveInHandle handle)
{
    if (const quint32 rc = enter(SimWaveCall::Close, handle, true))
        return rc;
    if (!m_queue->isEmpty())
        return WaveRc::StillPlaying;
    m_queue.reset();
    m_handle = NoWaveInHandle;
    m_started = false;
    m_gone = false;
    updatePacing();
    return WaveRc::NoError;
}

void SimWaveIn::goAway()
{
    if (!isOpen() || m_gone)
        return;
    m_gone = true;
    m_started = false;
    updatePacing();
    m_queue->handBackAll();
}

void SimWaveIn::setDeliverImmediately(bool immediately)
{
    m_immediate = immediately;
    if (m_queue)
        m_queue->setDeliverImmediately(immediately);
}

int SimWaveIn::queuedCount() const
{
    return m_queue ? int(m_queue->size()) : 0;
}

bool SimWaveIn::fillOne()
{
    quint32 room = 0;
    if (!m_started || !m_queue || !m_queue->fillPointer(room))
        return false;
    const QByteArray bytes = take(room);
    m_queue->write(bytes.constData(), quint32(bytes.size()));
    return true;
}

quint32 SimWaveIn::feed(quint32 bytes)
{
    if (!m_started || !m_queue)
        return 0;
    const QByteArray data = take(bytes);
    return m_queue->write(data.constData(), quint32(data.size()));
}

void SimWaveIn::setPaced(bool paced)
{
    m_paced = paced;
    updatePacing();
}

void SimWaveIn::updatePacing()
{
    quint32 room = 0;
    const bool run = m_paced && m_started && m_queue && m_queue->fillPointer(room);
    if (!run) {
        m_pace->stop();
        return;
    }
    if (!m_pace->isActive()) {
        // One buffer's worth of sound, in milliseconds.
        m_pace->start(int(quint64(room) * 1000 / qMax<quint32>(1, m_format.avgBytesPerSec)));
    }
}

QByteArray SimWaveIn::nextFrame()
{
    const bool eightBit = m_format.bitsPerSample == 8;
    int value = 0;
    if (!m_signal.isEmpty()) {
        Segment &segment = m_signal.first();
        if (segment.kind == Segment::FullScale)
            value = -32768;
        else
            value = int(std::lround(segment.level * std::sin(2 * std::numbers::pi * double(m_phase % SineFrames)
                                                             / SineFrames)));
        ++m_phase;
        if (--segment.frames == 0)
            m_signal.removeFirst();
    }
    QByteArray frame;
    for (int channel = 0; channel < m_format.channels; ++channel) {
        if (eightBit) {
            frame.append(char(qBound(qint64(0), 128 + qint64(RoundDiv(value, 256)), qint64(255))));
        } else {
            frame.append(char(value & 0xFF));
            frame.append(char((value >> 8) & 0xFF));
        }
    }
    return frame;
}

QByteArray SimWaveIn::take(quint32 bytes)
{
    QByteArray out;
    out.reserve(qsizetype(bytes));
    while (quint32(out.size()) < bytes) {
        const qsizetype want = qsizetype(bytes) - out.size();
        if (m_partFrame.isEmpty() && !m_signal.isEmpty() && m_signal.first().kind == Segment::Raw) {
            QByteArray &raw = m_signal.first().raw;
            out.append(raw.left(want));
            raw.remove(0, qMin(want, raw.size()));
            if (raw.isEmpty())
                m_signal.removeFirst();
            continue;
        }
        if (m_partFrame.isEmpty() && m_signal.isEmpty() && want >= m_format.blockAlign) {
            // The script ran out: silence, in whole frames.
            out.append(want / m_format.blockAlign * m_format.blockAlign, m_format.bitsPerSample == 8 ? char(128) : '\0');
            continue;
        }
        if (m_partFrame.isEmpty())
            m_partFrame = nextFrame();
        out.append(m_partFrame.left(want));
        m_partFrame.remove(0, qMin(want, m_partFrame.size()));
    }
    return out;
}

} // namespace nuvask
