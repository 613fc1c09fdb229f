#pragma once
// The main window: a top row, three volume strips, the recording level
// monitor and the cut-level editor side by side. Its class name is what a
// second start looks for.

#include "core/MixerHost.h"
#include "core/MixerLayer.h"
#include "core/SettingsStore.h"
#include "core/WindowPlacement.h"
#include "ui/MainMenu.h"

#include <QFrame>
#include <QMainWindow>
#include <QPointer>
#include <array>

class QCheckBox;
class QComboBox;
class QTimer;

namespace nuvask {

class IRegistry;
class PanelSplitter;
class TColorBtn;
class TMKBoxDlg;

class VolumeStrip;

class TKELDO_NUVASK : public QMainWindow, public MixerHost
{
    Q_OBJECT
    // Read by the message box: it shows hints exactly when its window does.
    Q_PROPERTY(bool ShowHint READ hintsShown WRITE setHintsShown)
public:
    static constexpr int kStartupCompletedValue = 99;
    static constexpr int kCreateDelayMs = 300;

    // mixer: the sound system the strips are bound to; it must outlive the window.
    TKELDO_NUVASK(IRegistry &registry, MixerService &mixer, QWidget *parent = nullptr);
    ~TKELDO_NUVASK() override;

    // Handler of WM_SECOND_INSTANCE: the forwarded text has no use beyond
    // bringing the window back.
    void WM_SECOND_INSTANCE(const QString &text);
    void RestoreMainWindow();
    QString lastHandOverText() const { return m_lastHandOverText; }

    // Layout.
    void StripVisibilityLayout(int clickedBox);
    void ApplyTopMost();
    void MoveToCorner(Corner corner);
    QRect WorkArea() const;
    int fixedWidth() const { return m_fixedWidth; }
    int clientWidth() const;
    int clientHeight() const;

    // Colour switches and tool-tips (Options and Help menus). A Click
    // performs a click on the item: its mark toggles, then its action runs.
    void BackColorClick();
    void KELDO_COLORClick();
    void HELP3Click();
    void setHintsShown(bool on);
    void ApplyListColours();
    bool hintsShown() const { return m_showHints; }

    // Cut-level editor panel open/close with the width bookkeeping.
    void Btn_RPK_EditClick();
    void Btn_RPK_CancelClick();

    // Deferred initialisation (Timer_Create) and the close sequence.
    void Timer_CreateTimer();
    int StartupCompleted() const { return m_startupCompleted; }
    bool closeGuardSet() const { return m_closing; }
    // Everything that is written at close, as the widgets hold it now.
    SavedSettings currentSettings() const;
    QString trayTip() const { return m_trayTip; }

    // The mixer layer's window side.
    void SetAutoMarkVisible(int strip, bool visible) override;
    void SetPeakTimerRunning(bool running) override;
    void MixerControlChange(MixerHandle handle, quint32 controlId) override;
    bool AutoRecVChecked() const override;
    MixerLayer &layer() { return m_layer; }
    VolumeStrip *strip(int n) const { return m_strips[n]; }
    TMKBoxDlg *messageBox() const { return MKBoxDlg1; }
    const MainMenu &menu() const { return m_menu; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildWidgets();
    void relayoutPanels();
    void setClientWidth(int width);
    void applyWindowColours(bool keldo);
    void backColorToggled();
    void keldoColorToggled();
    void help3Toggled();
    void applyStartupSettings(const StartupSettings &s);
    void updatePeakTimer();
    void Timer_PKTimer();
    void restoreBusyCursor();
    QWidget *stripPanel(int strip) const { return m_pv[strip]; }

    IRegistry &m_registry;
    SettingsStore m_settings;
    MixerLayer m_layer;
    std::array<VolumeStrip *, 3> m_strips{};
    std::array<int, 3> m_meterFullHeight{}; // pixels: each strip meter's full height
    MainMenu m_menu;
    QString m_lastHandOverText;

    QWidget *m_client = nullptr;
    QFrame *Panel_TOP = nullptr;
    std::array<QCheckBox *, 3> Ch_V{};
    QCheckBox *Ch_Top = nullptr;
    QComboBox *CB_RL_WAIT = nullptr;
    std::array<QFrame *, 5> m_pv{};          // PV0..PV4
    PanelSplitter *Splitter1 = nullptr;
    PanelSplitter *Splitter2 = nullptr;
    TColorBtn *Btn_LT = nullptr;
    TColorBtn *Btn_WT = nullptr;
    TColorBtn *Btn_LB = nullptr;
    TColorBtn *Btn_WB = nullptr;
    TColorBtn *Btn_RPK_Edit = nullptr;
    TColorBtn *Btn_RPK_Cancel = nullptr;
    TMKBoxDlg *MKBoxDlg1 = nullptr;
    QTimer *Timer_Create = nullptr;
    QTimer *Timer_PK = nullptr;

    // Layout values recorded once at creation (pixels).
    int m_fixedWidth = 0;
    std::array<int, 3> m_designWidth{};
    int m_panelHeight = 0;
    int m_topHeight = 0;

    int m_startupCompleted = 0;
    bool m_busyCursor = false;    // the creation's hourglass, until start-up ends
    StartupSettings m_startup;    // as read by the deferred initialisation
    QString m_trayTip;
    int m_peakInterval = 0;       // milliseconds; 0 = the strip meters are off
    bool m_peakWanted = false;    // a strip has a peak meter to read
    bool m_closing = false;      // close guard
    bool m_showHints = true;
};

} // namespace nuvask
