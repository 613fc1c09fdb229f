#pragma once
// The recording level monitor: captures the first wave-input device through
// five circulating buffers, measures the peak of every filled buffer against
// the cut level, shows it on the level meter panel with a hold number, and, while
// automatic recording volume ("Auto") is on, lowers strip 2 by 8 steps
// whenever a buffer reaches the cut level. Also owns the cut level itself.
// What it shows goes through LevelMonitorView (ui/LevelMonitorPanel, or a
// recording fake in tests); the device is a WaveInService (platform/alsa,
// platform/sim).

#include "core/monitor/PeakScan.h"
#include "core/monitor/WaveInService.h"

#include <QObject>
#include <QCoreApplication>
#include <QString>

#include <array>
#include <cstddef>
#include <functional>
#include <memory>

namespace nuvask {

class LevelHistory;
class MixerLayer;

// Error texts of WaveMeterOpen, byte for byte.
namespace WaveMeterText {
inline QString NoMemory() { return QCoreApplication::translate("LevelMonitor", "ピークメーターメモリー確保に失敗しました・・・"); }
inline QString OpenFailed() { return QCoreApplication::translate("LevelMonitor", "ピークメーターオープンに失敗しました・・・"); }
inline QString PrepareFirstFailed() { return QCoreApplication::translate("LevelMonitor", "ピークメーターヘッダー設定に失敗しました・・・"); }
inline QString PrepareLaterFailed() { return QCoreApplication::translate("LevelMonitor", "ピークメーターヘッダー設定に失敗しました・・・2"); }
inline QString AddFailed() { return QCoreApplication::translate("LevelMonitor", "ピークメーターバッファー設定に失敗しました・・・"); }
inline QString StartFailed() { return QCoreApplication::translate("LevelMonitor", "ピークメーター開始に失敗しました・・・"); }
} // namespace WaveMeterText

// What the monitor and the cut level do to the widgets of the level meter panel and the cut-level panel.
class LevelMonitorView {
public:
    virtual ~LevelMonitorView() = default;

    // Label_RPK1: pixels of the meter hidden from the top.
    virtual void SetLevelCover(int height) = 0;
    // Btn_RPK: the hold number.
    virtual void SetHoldCaption(const QString &caption) = 0;
    // Btn_RPK_OFF shown over Btn_RPK_ON (the monitor runs), or hidden.
    virtual void SetOffButtonShown(bool shown) = 0;
    // Btn_RAuto: red with a white font (on) or its parent's colours (off).
    virtual void SetAutoButtonOn(bool on) = 0;
    // Edit_RPK (level), Label_NOW_RPK and both up/downs (steps of 128), and
    // the marker Label_RPK_VC (pixels below the meter's top).
    virtual void ShowCutLevel(int level, int steps, int markerTop) = 0;
    // Full heights in pixels remembered at creation: the meter (Label_RPK0's
    // tag) and the marker's range (Label_RPK_VC's tag).
    virtual int MeterHeight() const = 0;
    virtual int MarkerRange() const = 0;
    // CB_RL_WAIT's item index; the quiet setter runs no change action.
    virtual int IntervalIndex() const = 0;
    virtual void SetIntervalIndexQuietly(int index) = 0;
    // A message box with OK; returns when it is closed.
    virtual void ShowMessage(const QString &text) = 0;
    // Lets pending events run.
    virtual void LetMessagesRun() = 0;
};

class LevelMonitor : public QObject {
    Q_OBJECT
public:
    static constexpr int BufferCount = 5;
    static constexpr quint32 AnalysisBytes = 79380; // the largest buffer ("9")
    static constexpr int MeterMax = 32768;          // 16-bit sample scale
    static constexpr int MarkerMax = 32767;         // top of the cut-level scale
    static constexpr int CutStep = 128;             // level units per up/down step
    static constexpr int FullScanThreshold = 40000; // above any 16-bit sample
    static constexpr int RequeueAfterLowering = 6;  // buffers a lowering's reset may hand back, and one more
    static constexpr int Preset8Bit = 0x7F00;
    static constexpr int PresetSpecialBoard = 0x6C00;

    // layer: where the cut level is kept and strip 2 is lowered.
    LevelMonitor(WaveInService &wave, MixerLayer &layer, LevelMonitorView &view, QObject *parent = nullptr);
    ~LevelMonitor() override;
    LevelMonitor(const LevelMonitor &) = delete;
    LevelMonitor &operator=(const LevelMonitor &) = delete;

    // Opens device 0 and starts capturing; empty error = success.
    void WaveMeterOpen(QString &error);
    // Hands every queued buffer back; the first empty one closes the device.
    void WaveMeterStop();
    // Releases the device and the buffers and shows the monitor off.
    void WaveMeterClose();
    // A buffer came back from the device (filled, partly filled or empty).
    void WaveMeterOnData(WaveInHandle handle, WaveHeader *header);
    // Measures the analysis buffer as the header copy describes it.
    void WaveMeterOnLevel(const WaveHeader &copy);

    // User actions on the level meter panel and the top row.
    void Btn_RPK_ONClick();
    void Btn_RPK_OFFClick();
    void Btn_RPKClick();
    void Btn_RAutoClick();
    void CB_RL_WAITChange();

    // Clamps the level to 0..32763, keeps it and shows it; every way of
    // setting the cut level ends here. Clears the hold.
    void CutLevelShow(int level);
    int CutLevel() const;
    // The level a marker at `top` pixels below the meter's top stands for
    // (not clamped).
    int LevelAtMarkerTop(int top) const;
    int MarkerRange() const;

    // The window's close query: no buffer is queued again and no level is
    // analysed from here on; the device is being reset.
    void BeginClosing();

    // State, as the widgets show it.
    bool IsOpen() const { return m_handle != NoWaveInHandle; }
    bool Running() const { return m_offShown; } // Btn_RPK_OFF shown
    bool AutoOn() const { return m_autoOn; }
    qint32 WaveHold() const { return m_waveHold; }
    quint32 BufferBytes() const { return m_bufferBytes; }
    int RequeueCount() const { return m_requeue; }
    bool Closing() const { return m_closing; }

    // Bytes of one capture buffer for CB_RL_WAIT's item `index` (negative = 0).
    static quint32 BufferLengthFor(int index, const WaveFormat &format);
    // The format the monitor always opens: 44.1 kHz, 16-bit, stereo PCM.
    static WaveFormat CaptureFormat();

    // Test seam: how the capture buffers are allocated (nullptr = no memory).
    using Allocator = std::function<std::unique_ptr<char[]>(std::size_t)>;
    void setAllocator(Allocator allocate) { m_allocate = std::move(allocate); }

    // Where every analysed buffer's peak and the monitor's switching on and
    // off are kept (nullptr: nowhere). It must outlive the monitor.
    void SetHistory(LevelHistory *history) { m_history = history; }

signals:
    // After each analysed buffer: its peak on the 16-bit scale.
    void levelMeasured(int peak);

private:
    // Takes a returned buffer and queues it again; true when its copy is
    // to be measured.
    bool takeBuffer(WaveInHandle handle, WaveHeader *header);
    void resetHold();
    void showStopped();
    bool buffersAllocated() const { return m_buffers[0] != nullptr; }
    bool ownsHeader(const WaveHeader *header) const;
    // Stops and, if the device did not close as its buffers came back, closes it.
    void stopAndClose();
    void failOpen(QString &error, const QString &text);
    // Resets, unprepares and closes the device, if one is open.
    void releaseDevice();
    void lowerRecordingVolume();

    WaveInService &m_wave;
    MixerLayer &m_layer;
    LevelMonitorView &m_view;
    Allocator m_allocate;
    LevelHistory *m_history = nullptr;

    WaveInHandle m_handle = NoWaveInHandle;
    WaveFormat m_format = CaptureFormat();
    PeakScanLayout m_layout;
    int m_meterScale = 1; // level units per meter pixel
    quint32 m_bufferBytes = 0;
    std::array<std::unique_ptr<char[]>, BufferCount> m_buffers;
    std::array<WaveHeader, BufferCount> m_headers;
    std::unique_ptr<char[]> m_analysis; // AnalysisBytes, for the window's whole life
    WaveHeader m_headerCopy;            // of the last filled buffer

    // A 16-bit integer cannot hold the peak of a -32768 sample, so the hold is
    // kept wider.
    qint32 m_waveHold = 0;
    bool m_stopMark = false;
    bool m_closing = false;
    int m_requeue = 0;
    bool m_dataBusy = false;
    bool m_levelBusy = false;
    bool m_onBusy = false;
    bool m_offShown = false;
    bool m_autoOn = false;
};

} // namespace nuvask
