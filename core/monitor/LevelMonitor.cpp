// The recording level monitor: capture, peak against the cut level, automatic lowering.

#include "core/monitor/LevelMonitor.h"

#include "core/mixer/MixerLayer.h"
#include "core/monitor/LevelHistory.h"
#include "core/base/TextHelpers.h"

#include <QMetaObject>
#include <QPointer>

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace nuvask {

namespace {

constexpr int AutoStrip = MixerLayer::RecordingStrip;
constexpr quint32 FirstDevice = 0; // the first wave-input device itself, never a mapper

std::unique_ptr<char[]> allocateOrNull(std::size_t bytes)
{
    return std::unique_ptr<char[]>(new (std::nothrow) char[bytes]);
}

// Holds a re-entrancy mark for one scope, released on every way out unless
// the scope decides to keep it.
class Mark {
public:
    explicit Mark(bool &mark) : m_mark(mark) { m_mark = true; }
    ~Mark()
    {
        if (!m_kept)
            m_mark = false;
    }
    Mark(const Mark &) = delete;
    Mark &operator=(const Mark &) = delete;
    void keep() { m_kept = true; }

private:
    bool &m_mark;
    bool m_kept = false;
};

} // namespace

LevelMonitor::LevelMonitor(WaveInService &wave, MixerLayer &layer, LevelMonitorView &view, QObject *parent)
    : QObject(parent), m_wave(wave), m_layer(layer), m_view(view), m_allocate(allocateOrNull),
      m_analysis(allocateOrNull(AnalysisBytes))
{
}

LevelMonitor::~LevelMonitor()
{
    // The widgets may be gone already: only the device is released.
    releaseDevice();
}

void LevelMonitor::releaseDevice()
{
    if (m_handle == NoWaveInHandle)
        return;
    // Forgotten first: buffers the reset hands back belong to no open device.
    const WaveInHandle handle = std::exchange(m_handle, NoWaveInHandle);
    m_requeue = 0;
    m_wave.reset(handle);
    for (WaveHeader &header : m_headers)
        m_wave.unprepareHeader(handle, &header);
    m_wave.close(handle);
}

WaveFormat LevelMonitor::CaptureFormat()
{
    WaveFormat format;
    format.formatTag = 1; // PCM
    format.channels = 2;
    format.samplesPerSec = 44100;
    format.bitsPerSample = 16;
    format.blockAlign = quint16(RoundDiv(format.bitsPerSample, 8) * format.channels);
    format.avgBytesPerSec = format.blockAlign * format.samplesPerSec;
    return format;
}

quint32 LevelMonitor::BufferLengthFor(int index, const WaveFormat &format)
{
    const quint32 step = format.channels * format.samplesPerSec / 10; // bytes per item of the list
    const quint32 bytes = quint32(std::max(index, 0) + 1) * step;
    return format.blockAlign ? bytes - bytes % format.blockAlign : bytes;
}

bool LevelMonitor::ownsHeader(const WaveHeader *header) const
{
    return std::any_of(m_headers.begin(), m_headers.end(), [header](const WaveHeader &h) { return &h == header; });
}

void LevelMonitor::resetHold()
{
    m_waveHold = 0;
    m_view.SetHoldCaption(QStringLiteral("0"));
}

void LevelMonitor::showStopped()
{
    if (m_history)
        m_history->SetMonitorRunning(false, CutLevel());
    m_offShown = false;
    m_view.SetOffButtonShown(false);
    m_autoOn = false; // automatic recording volume ends with the monitor
    m_view.SetAutoButtonOn(false);
    m_view.SetLevelCover(m_view.MeterHeight());
}

void LevelMonitor::WaveMeterOpen(QString &error)
{
    // 1. Whatever ran before is closed first.
    error.clear();
    stopAndClose();

    // 2. Format, analysis layout, meter scale and buffer length.
    m_format = CaptureFormat();
    m_layout.bytesPerSample = int(RoundDiv(m_format.bitsPerSample, 8));
    m_layout.channels = m_format.channels;
    m_layout.frameStep = m_format.blockAlign;
    const int height = m_view.MeterHeight(); // pixels
    m_meterScale = height > 0 ? int(std::max<qint64>(1, RoundDiv(MeterMax, height))) : 1;
    int index = m_view.IntervalIndex();
    if (index < 0) {
        index = 0;
        m_view.SetIntervalIndexQuietly(0);
    }
    m_bufferBytes = BufferLengthFor(index, m_format);

    // 3. The five buffers.
    for (auto &buffer : m_buffers) {
        buffer = m_allocate(m_bufferBytes);
        if (!buffer) {
            failOpen(error, WaveMeterText::NoMemory());
            return;
        }
    }

    // 4. The device.
    m_stopMark = false;
    const QPointer<LevelMonitor> self(this);
    const WaveInNotify notify = [self](WaveInHandle handle, WaveHeader *header) {
        if (self)
            self->WaveMeterOnData(handle, header);
    };
    WaveInHandle handle = NoWaveInHandle;
    if (m_wave.open(FirstDevice, m_format, notify, handle) != WaveRc::NoError
        || handle == NoWaveInHandle) {
        failOpen(error, WaveMeterText::OpenFailed());
        return;
    }
    m_handle = handle;

    // 5. Every buffer queued, in order.
    for (int i = 0; i < BufferCount; ++i) {
        WaveHeader &header = m_headers[i];
        header = WaveHeader{m_buffers[i].get(), m_bufferBytes, 0, 0, 0};
        if (m_wave.prepareHeader(m_handle, &header) != WaveRc::NoError) {
            failOpen(error, i == 0 ? WaveMeterText::PrepareFirstFailed() : WaveMeterText::PrepareLaterFailed());
            return;
        }
        if (m_wave.addBuffer(m_handle, &header) != WaveRc::NoError) {
            failOpen(error, WaveMeterText::AddFailed());
            return;
        }
    }

    // 6. Capture runs.
    if (m_wave.start(m_handle) != WaveRc::NoError)
        failOpen(error, WaveMeterText::StartFailed());
}

void LevelMonitor::failOpen(QString &error, const QString &text)
{
    error = text;
    // A device with no buffer queued would never hand one back to close it,
    // so whatever is still open after the stop is closed here.
    stopAndClose();
}

void LevelMonitor::stopAndClose()
{
    WaveMeterStop();
    if (m_handle != NoWaveInHandle || buffersAllocated())
        WaveMeterClose();
}

void LevelMonitor::WaveMeterStop()
{
    m_requeue = 0;
    if (m_handle != NoWaveInHandle)
        m_wave.reset(m_handle);
    m_view.LetMessagesRun();
}

void LevelMonitor::WaveMeterClose()
{
    // Buffers the reset below hands back find the monitor stopped.
    m_stopMark = true;
    releaseDevice();
    for (int i = 0; i < BufferCount; ++i) {
        m_buffers[i].reset();
        m_headers[i] = WaveHeader{};
    }
    showStopped();
}

void LevelMonitor::WaveMeterOnData(WaveInHandle handle, WaveHeader *header)
{
    if (!takeBuffer(handle, header))
        return;
    // Measured at once, not from a later pass of the event loop: the copy
    // is one, and two buffers handed back in one pass (a late read) would
    // both be measured from the second, so that a loud first one went
    // unseen. Inside the measuring (a lowering's reset handing buffers back
    // at once) it waits for the event loop as before.
    if (!m_levelBusy) {
        WaveMeterOnLevel(m_headerCopy);
        return;
    }
    QMetaObject::invokeMethod(
        this, [this] { WaveMeterOnLevel(m_headerCopy); }, Qt::QueuedConnection);
}

bool LevelMonitor::takeBuffer(WaveInHandle handle, WaveHeader *header)
{
    // 1. A buffer of a device closed meanwhile is not ours to touch.
    if (m_stopMark || !buffersAllocated() || m_dataBusy)
        return false;
    if (handle != m_handle || !header || !ownsHeader(header))
        return false;
    Mark busy(m_dataBusy);

    // 2./3. An empty buffer closes the device unless a lowering's reset is
    // still handing buffers back.
    if (m_requeue > 0)
        --m_requeue;
    if (header->bytesRecorded == 0 && m_requeue <= 0) {
        m_stopMark = true;
        WaveMeterClose();
        return false;
    }
    // 4. Closing: nothing is queued again, and the mark stays.
    if (m_closing) {
        busy.keep();
        return false;
    }

    // 5. Copy for the analysis, which runs once the buffer is back. A
    // buffer handed back before it was full (a lowering's reset, Off, a
    // lost device) holds sound from before that moment: measured, it would
    // lower the volume a second time for the same sound.
    m_headerCopy = *header;
    const bool measure = header->bytesRecorded > 0 && header->bytesRecorded >= header->bufferLength;
    if (measure) {
        const quint32 bytes = std::min({header->bytesRecorded, header->bufferLength, AnalysisBytes});
        if (m_analysis)
            std::memcpy(m_analysis.get(), header->data, bytes);
        m_headerCopy.bytesRecorded = bytes;
    }
    // 6. The same buffer goes back to the device; a failure drops it.
    header->bytesRecorded = 0;
    if (m_wave.prepareHeader(m_handle, header) == WaveRc::NoError)
        m_wave.addBuffer(m_handle, header);
    return measure;
}

void LevelMonitor::WaveMeterOnLevel(const WaveHeader &copy)
{
    // 1. Nothing is measured once the window closes.
    if (m_closing || m_levelBusy)
        return;
    Mark busy(m_levelBusy);

    // 2. Whole frames only.
    const quint32 step = quint32(std::max(m_layout.frameStep, 1));
    quint32 bytes = std::min(copy.bytesRecorded, AnalysisBytes);
    bytes -= bytes % step;
    if (bytes == 0 || !m_analysis)
        return;

    // 3./4. While "Auto" is on, the scan may stop at the first frame that
    // reaches the cut level: the lowering needs no more.
    const int threshold = PeakScanThreshold(m_autoOn ? CutLevel() : FullScanThreshold, m_layout.bytesPerSample);
    int peak = PeakScanFast(m_analysis.get(), bytes, m_layout, threshold);
    // A scan stopped at the cut level only knows that it was reached; the
    // history keeps how loud the buffer really got (did it clip?).
    const int fullScan = PeakScanThreshold(FullScanThreshold, m_layout.bytesPerSample);
    int whole = m_history && peak >= threshold ? PeakScanFast(m_analysis.get(), bytes, m_layout, fullScan) : peak;
    // 5. The window may have started closing while the scan ran.
    if (m_closing) {
        busy.keep();
        return;
    }
    // 6.-8. Cover and hold, on the 16-bit scale.
    if (m_layout.bytesPerSample == 1) {
        peak *= 256;
        whole *= 256;
    }
    m_view.SetLevelCover(int(std::max<qint64>(0, RoundDiv(MeterMax - peak, m_meterScale))));
    if (peak > m_waveHold) {
        m_waveHold = peak;
        m_view.SetHoldCaption(QString::number(peak));
    }
    if (m_history)
        m_history->Append(LevelEvent::Peak, whole, CutLevel());
    emit levelMeasured(peak);
    // 9. A handler of the signal may have closed the window.
    if (m_closing) {
        busy.keep();
        return;
    }
    // 10. Automatic recording volume.
    if (peak >= CutLevel() && m_autoOn && m_layer.StripShowsVolume(AutoStrip))
        lowerRecordingVolume();
    // 11. The device closed meanwhile.
    if (m_stopMark)
        showStopped();
}

void LevelMonitor::lowerRecordingVolume()
{
    // A failed write is ignored: the hold is still reset and capture restarts.
    m_layer.StripAutoLower(AutoStrip);
    resetHold();
    if (m_handle == NoWaveInHandle)
        return;
    // Set before the reset: a device that hands its buffers back inside the
    // reset call must find them to be queued again, not taken for a stop.
    m_requeue = RequeueAfterLowering;
    m_wave.reset(m_handle);
    if (m_handle != NoWaveInHandle)
        m_wave.start(m_handle);
}

void LevelMonitor::BeginClosing()
{
    m_closing = true;
    m_stopMark = true;
    WaveMeterStop();
}

// --- User actions ---

void LevelMonitor::Btn_RPK_ONClick()
{
    if (m_onBusy)
        return;
    m_view.LetMessagesRun();
    const Mark busy(m_onBusy);
    resetHold();
    QString error;
    WaveMeterOpen(error);
    if (!error.isEmpty()) {
        m_view.ShowMessage(error);
        return;
    }
    m_offShown = true;
    m_view.SetOffButtonShown(true);
    if (m_history)
        m_history->SetMonitorRunning(true, CutLevel());
}

void LevelMonitor::Btn_RPK_OFFClick()
{
    // A device that hands nothing back would otherwise stay open for ever.
    stopAndClose();
}

void LevelMonitor::Btn_RPKClick()
{
    resetHold();
}

void LevelMonitor::Btn_RAutoClick()
{
    if (!m_offShown)
        Btn_RPK_ONClick();
    if (m_autoOn) {
        m_autoOn = false;
        m_view.SetAutoButtonOn(false);
        return;
    }
    // Red only when the monitor really runs: a failed open must not look armed.
    if (!m_offShown)
        return;
    m_autoOn = true;
    m_view.SetAutoButtonOn(true);
    resetHold();
}

void LevelMonitor::CB_RL_WAITChange()
{
    // The device closes with its old buffer length (which also ends "Auto"),
    // then opens again with the new one with "Auto" on.
    stopAndClose();
    Btn_RAutoClick();
}

// --- Cut level ---

int LevelMonitor::CutLevel() const
{
    return m_layer.CutLevel();
}

int LevelMonitor::MarkerRange() const
{
    return std::max(m_view.MarkerRange(), 1);
}

static int markerScale(int range)
{
    return int(std::max<qint64>(1, RoundDiv(LevelMonitor::MarkerMax, range)));
}

int LevelMonitor::LevelAtMarkerTop(int top) const
{
    return MarkerMax - top * markerScale(MarkerRange());
}

void LevelMonitor::CutLevelShow(int level)
{
    m_layer.SetCutLevel(level);
    const int cut = m_layer.CutLevel();
    m_view.ShowCutLevel(cut, int(RoundDiv(cut, CutStep)), int(RoundDiv(MarkerMax - cut, markerScale(MarkerRange()))));
    resetHold();
}

} // namespace nuvask
