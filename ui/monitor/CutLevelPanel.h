#pragma once
// The cut-level editor panel (object name PV4): the level as typed text
// with ">Set", the presets "16", "8" and "L", Max and Min, the level in steps of 128 with two
// up/down controls. Every action ends in the monitor's CutLevelShow, which
// shows the level back here through ShowLevel.

#include <QFrame>

class QLabel;
class QLineEdit;

namespace nuvask {

class LevelMonitor;
class ColourButton;
class UpDown;

class CutLevelPanel : public QFrame {
    Q_OBJECT
public:
    static constexpr int PanelWidth = 35; // pixels
    static constexpr int UpDownMax = 256; // steps of 128 level units

    explicit CutLevelPanel(QWidget *parent = nullptr);

    void attach(LevelMonitor *monitor) { m_monitor = monitor; }
    // Edit_RPK, Label_NOW_RPK and both up/down positions.
    void ShowLevel(int level, int steps);
    // Open: Edit_RPK takes typing. Closed: read-only, showing the cut level.
    void SetEditing(bool editing);

    // Actions, as a click on each control performs them.
    void Btn_RPK_16Click();
    void Btn_RPK_8Click();
    void Btn_RPK_LClick();
    void Btn_MAX_RPKClick();
    void Btn_MIN_RPKClick();
    void Btn_RPK_SETClick();

private:
    void UpDownClick(UpDown *clicked);
    void setLevel(int level);

    LevelMonitor *m_monitor = nullptr;
    QLineEdit *Edit_RPK = nullptr;
    ColourButton *Btn_RPK_SET = nullptr;
    ColourButton *Btn_RPK_16 = nullptr;
    ColourButton *Btn_RPK_8 = nullptr;
    ColourButton *Btn_RPK_L = nullptr;
    ColourButton *Btn_MAX_RPK = nullptr;
    ColourButton *Btn_MIN_RPK = nullptr;
    QLabel *Label_NOW_RPK = nullptr;
    UpDown *UpDown_RPK = nullptr;
    UpDown *UpDown_RPK_L = nullptr;
};

} // namespace nuvask
