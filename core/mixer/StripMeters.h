#pragma once
// The strips' peak meters as a whole: Timer_PK polls every strip's meter
// through the mixer layer 10 times a second while the menu switch
// MO_Meter_ON is on and some strip has a meter; the switch MO_Auto_RecV
// decides which strips show their "A" (and so take part in the mixer-meter
// form of automatic recording volume). Holds the window's side of the mixer
// layer's meter calls (MixerHost); the widgets are reached through
// StripMetersView, implemented by the main window or a recording fake.

#include <QObject>
#include <QTimer>

#include <array>

namespace nuvask {

class MixerLayer;

class StripMetersView {
public:
    virtual ~StripMetersView() = default;
    // Label_AUTO_<strip>.
    virtual void SetAutoMark(int strip, bool visible) = 0;
    // Label_PM1_<strip>: pixels of the column hidden from the top.
    virtual void SetPeakCover(int strip, int height) = 0;
    // The column's full height M in pixels (the strip's volume bar).
    virtual int MeterFullHeight(int strip) const = 0;
};

class StripMeters : public QObject {
    Q_OBJECT
public:
    static constexpr int PollIntervalMs = 100;
    static constexpr int StripCount = 3;

    StripMeters(MixerLayer &layer, StripMetersView &view, QObject *parent = nullptr);

    // The stored switches, applied at start-up without the clicks' side effects.
    void ApplySettings(bool meterOn, bool autoRecV);
    bool MeterOn() const { return m_meterOn; }
    bool AutoRecV() const { return m_autoRecV; }

    // Menu clicks, after the item's check mark flipped to `checked`.
    void MO_Meter_ONClick(bool checked);
    void MO_Auto_RecVClick(bool checked);

    // The mixer layer's calls (MixerHost). A mark is shown only while the
    // meters are polled: without polling the lowering cannot act.
    void SetAutoMarkVisible(int strip, bool visible);
    void SetPeakTimerRunning(bool running);

    // Whether the columns can be seen (the window shown and not minimised).
    // Unseen meters rest unless a strip's "A" needs their readings: reading a
    // sound server's meter keeps its input open, and polling what nobody
    // sees only costs wake-ups.
    void SetSeen(bool seen);

    // Another wake-up of the program (a capture buffer) has come: when the
    // next tick is due within RideEarlyMs, tick now and restart the timer
    // RideLateMs late, so that the next tick can ride the next such wake-up
    // too instead of waking the program on its own. Once in step, ticks
    // follow those wake-ups about every 100 ms (the first may come up to
    // 50 ms early); without them the timer ticks every 100 ms as always.
    static constexpr int RideEarlyMs = PollIntervalMs / 2;
    static constexpr int RideLateMs = 10;
    void TickAlong();

    // Stops polling for good (the window closes).
    void Shutdown();

    void Timer_PKTimer();
    const QTimer &Timer_PK() const { return m_timer; }

private:
    void updateTimer();
    void updateMarks();

    MixerLayer &m_layer;
    StripMetersView &m_view;
    QTimer m_timer;
    bool m_meterOn = false;
    bool m_autoRecV = false;
    bool m_meterPresent = false; // some strip has a meter to read
    bool m_seen = true;
    std::array<bool, StripCount> m_marks{}; // "A" shown
    bool m_shutDown = false;
    bool m_tickBusy = false;
};

} // namespace nuvask
