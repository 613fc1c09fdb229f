#pragma once
// The main window's client area: the top row (strip boxes, MostTOP, the
// level meter interval), the three strip panels PV0..PV2 with their two
// splitters, the level meter panel and the cut-level editor, and
// the widths that keep them side by side. The window wires the controls to
// its handlers; this class only builds and lays them out.

#include "core/mixer/StripMeters.h"

#include <QObject>
#include <array>

class QCheckBox;
class QComboBox;
class QFrame;
class QMainWindow;
class QWidget;

namespace nuvask {

class CutLevelPanel;
class LevelMonitorPanel;
class PanelSplitter;
class ColourButton;
class VolumeStrip;

// Also the strip meters' view: the "A" marks and meter columns are the strips'.
class StripPanels : public QObject, public StripMetersView
{
    Q_OBJECT
public:
    static constexpr int DesignClientWidth = 286; // pixels, the cut-level editor open

    // Builds the client area as the window's central widget.
    explicit StripPanels(QMainWindow &window);

    // Records the layout values once every panel has its design size: the
    // fixed width, the design widths of PV0..PV2, the panel and top heights.
    void recordLayoutValues();

    // With the box that was clicked: at most one strip hidden, the window as
    // wide as the fixed width plus the visible strips' design widths.
    void StripVisibilityLayout(int clickedBox);
    // Cut-level editor opened/closed, the fixed width following it.
    void openCutEditor();
    void closeCutEditor();

    int fixedWidth() const { return m_fixedWidth; }
    int clientWidth() const;
    int clientHeight() const;
    // Sets the client width and fits the window around it (menu bar included).
    void setClientWidth(int width);
    // Index of the unchecked strip box, -1 when every strip shows.
    int hiddenStrip() const;

    VolumeStrip *strip(int n) const { return m_strips[n]; }
    QWidget *panel(int n) const;
    LevelMonitorPanel *monitorPanel() const { return m_monitorPanel; }
    CutLevelPanel *cutPanel() const { return m_cutPanel; }

    // StripMetersView
    void SetAutoMark(int strip, bool visible) override;
    void SetPeakCover(int strip, int height) override;
    int MeterFullHeight(int strip) const override;

    // The controls, named as the window knows them.
    QWidget *client = nullptr;
    QFrame *Panel_TOP = nullptr;
    std::array<QCheckBox *, 3> Ch_V{};
    QCheckBox *Ch_Top = nullptr;
    QComboBox *CB_RL_WAIT = nullptr;
    PanelSplitter *Splitter1 = nullptr;
    PanelSplitter *Splitter2 = nullptr;
    ColourButton *Btn_LT = nullptr;
    ColourButton *Btn_WT = nullptr;
    ColourButton *Btn_LB = nullptr;
    ColourButton *Btn_WB = nullptr;
    ColourButton *Btn_RPK_Edit = nullptr;
    ColourButton *Btn_RPK_Cancel = nullptr;

private:
    void buildTopRow();
    void buildPanels();
    void relayoutPanels();

    QMainWindow &m_window;
    std::array<VolumeStrip *, 3> m_strips{};
    std::array<QFrame *, 5> m_pv{}; // the panels PV0..PV4 (their object names)
    LevelMonitorPanel *m_monitorPanel = nullptr; // object name PV3
    CutLevelPanel *m_cutPanel = nullptr;         // object name PV4

    // Layout values recorded once at creation (pixels).
    int m_fixedWidth = 0;
    std::array<int, 3> m_designWidth{};
    int m_panelHeight = 0;
    int m_topHeight = 0;
};

} // namespace nuvask
