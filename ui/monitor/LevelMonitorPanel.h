#pragma once
// The recording level monitor's panel (object name PV3): the meter
// (Panel_RPK with its red, yellow and lime zones under the black cover
// Label_RPK1), the white cut-level marker Label_RPK_VC, the hold number
// Btn_RPK, "ON" / "OFF" and "Auto". It is the monitor's view, and hands the
// cut level's numbers on to the cut-level editor panel. The marker can be
// dragged while the editor is open.

#include "core/monitor/LevelMonitor.h"

#include <QFrame>
#include <QPoint>

class QComboBox;

namespace nuvask {

class ColourLabel;
class CutLevelPanel;
class ColourButton;
class MessageBox;

class LevelMonitorPanel : public QFrame, public LevelMonitorView {
    Q_OBJECT
public:
    static constexpr int PanelWidth = 38; // pixels

    // meterHeight: the full height of the meter in pixels (strip 0's volume bar).
    explicit LevelMonitorPanel(int meterHeight, QWidget *parent = nullptr);

    void attach(LevelMonitor *monitor) { m_monitor = monitor; }
    // The cut-level editor panel; the marker is dragged only while it is shown.
    void setEditor(CutLevelPanel *editor) { m_editor = editor; }
    // CB_RL_WAIT on the top row; its change restarts the monitor.
    void setIntervalList(QComboBox *list);
    void setMessageBox(MessageBox *box) { m_messageBox = box; }

    // LevelMonitorView
    void SetLevelCover(int height) override;
    void SetHoldCaption(const QString &caption) override;
    void SetOffButtonShown(bool shown) override;
    void SetAutoButtonOn(bool on) override;
    void ShowCutLevel(int level, int steps, int markerTop) override;
    int MeterHeight() const override { return m_meterHeight; }
    int MarkerRange() const override { return m_meterHeight; }
    int IntervalIndex() const override;
    void SetIntervalIndexQuietly(int index) override;
    void ShowMessage(const QString &text) override;
    void LetMessagesRun() override;

private:
    void dragStart();
    void dragMove(QWidget *source, QPoint pos);
    void dragEnd();

    const int m_meterHeight; // pixels
    LevelMonitor *m_monitor = nullptr;
    CutLevelPanel *m_editor = nullptr;
    QComboBox *m_intervalList = nullptr;
    MessageBox *m_messageBox = nullptr;
    bool m_dragging = false;

    ColourLabel *Panel_RPK = nullptr;
    ColourLabel *Label_RPK0 = nullptr;
    ColourLabel *Label_RPK1 = nullptr;
    ColourLabel *Label_RPK_VC = nullptr;
    ColourButton *Btn_RPK = nullptr;
    ColourButton *Btn_RPK_ON = nullptr;
    ColourButton *Btn_RPK_OFF = nullptr;
    ColourButton *Btn_RAuto = nullptr;
};

} // namespace nuvask
