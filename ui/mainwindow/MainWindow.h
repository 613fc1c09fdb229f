#pragma once
// The main window: a top row, three volume strips, the recording level
// monitor and the cut-level editor side by side. Its class name is what a
// second start looks for.

#include "core/mixer/MixerHost.h"
#include "core/mixer/MixerLayer.h"
#include "core/monitor/LevelHistory.h"
#include "core/settings/SettingsStore.h"
#include "core/mainwindow/WindowPlacement.h"
#include "ui/mainwindow/MainMenu.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

class QTimer;

namespace nuvask {

class HelpMenu;
class IDesktopEntries;
class IMenuGroups;
class ISettingsTree;
class LevelHistoryRecorder;
class LevelHistoryWindow;
class LevelMonitor;
class StripMeters;
class RegisteredVolumePanel;
class ShortcutMenu;
class StripPanels;
class StripRebinder;
class WaveInService;
class MessageBox;
class TrayIcon;
class VolumeGuard;
class VolumeGuardSwitch;
class VolumeStrip;
class WindowColours;
class WindowPlacer;

class MainWindow : public QMainWindow, public MixerHost
{
    Q_OBJECT
    // Read by the message box: it shows hints exactly when its window does.
    Q_PROPERTY(bool ShowHint READ hintsShown WRITE setHintsShown)
public:
    static constexpr int kStartupCompletedValue = 99;
    static constexpr int kCreateDelayMs = 300;

    // mixer: the sound system the strips are bound to; capture: the level
    // monitor's input (none: the monitor cannot open). Both must outlive the window.
    MainWindow(ISettingsTree &settingsTree, MixerService &mixer, WaveInService *capture = nullptr,
                  QWidget *parent = nullptr);
    ~MainWindow() override;

    // Handler of WM_SECOND_INSTANCE: the forwarded text has no use beyond
    // bringing the window back.
    void WM_SECOND_INSTANCE(const QString &text);
    void RestoreMainWindow();
    QString lastHandOverText() const { return m_lastHandOverText; }

    // Layout (the client area's panels) and placement on the desktop.
    void StripVisibilityLayout(int clickedBox);
    void ApplyTopMost();
    void MoveToCorner(Corner corner);
    QRect WorkArea() const;
    int fixedWidth() const;
    int clientWidth() const;
    int clientHeight() const;

    // Colour switches and tool-tips (Options and Help menus). A Click
    // performs a click on the item: its mark toggles, then its action runs.
    void BackColorClick();
    void KELDO_COLORClick();
    void HELP3Click();
    void setHintsShown(bool on);
    void ApplyListColours();
    bool hintsShown() const;

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

    // The tray: Btn_TRAY, TaskTray1 and PopupMenu_TR. While TrayMenuBusy is
    // set, presses on the tray icon are ignored (set it around desktop
    // actions that must not be interrupted by one).
    TrayIcon &tray() const { return *m_tray; }
    bool TrayMenuBusy() const;
    void SetTrayMenuBusy(bool on);

    // The mixer layer's window side.
    void SetAutoMarkVisible(int strip, bool visible) override;
    void SetPeakTimerRunning(bool running) override;
    void MixerControlChange(MixerHandle handle, quint32 controlId) override;
    bool AutoRecVChecked() const override;
    void StripAutoLowered(const AutoLowering &lowering) override;
    MixerLayer &layer() { return m_layer; }
    VolumeStrip *strip(int n) const;
    StripPanels &panels() const { return *m_panels; }
    LevelMonitor &monitor() const { return *m_monitor; }
    StripMeters &meters() const { return *m_meters; }
    // The level history: the ring, what feeds it from the mixer side (the
    // volume guard's restores included) and its window.
    LevelHistory &history() { return m_history; }
    LevelHistoryRecorder &historyRecorder() const { return *m_historyRecorder; }
    LevelHistoryWindow &historyWindow() const { return *m_historyWindow; }
    RegisteredVolumePanel &presets() const { return *m_presets; }
    MessageBox *messageBox() const { return m_messageBox; }
    const MainMenu &menu() const { return m_menu; }
    StripRebinder &rebinder() const { return *m_rebinder; }
    VolumeGuard &guard() const { return *m_guard; }
    VolumeGuardSwitch &guardSwitch() const { return *m_guardSwitch; }

    // The desktop's folders and program groups behind the Options menu's icon
    // items; they must outlive the window. Without them the items act as on a
    // desktop that has neither.
    void SetDesktop(IDesktopEntries *entries, IMenuGroups *groups);
    ShortcutMenu &shortcutMenu() const { return *m_shortcutMenu; }
    HelpMenu &helpMenu() const { return *m_helpMenu; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildWidgets();
    void tellMetersSeen();
    void applyStartupSettings(const StartupSettings &s);
    void restoreBusyCursor();

    ISettingsTree &m_settingsTree;
    SettingsStore m_settings;
    MixerLayer m_layer;
    // Watches the layer, so it goes before it.
    std::unique_ptr<VolumeGuard> m_guard;
    LevelHistory m_history; // from the start, whether its window is open or not
    MainMenu m_menu;
    QString m_lastHandOverText;

    // The window's rooms: each feature is one member, built in buildWidgets()
    // and called from the start-up and close sequences in their fixed order.
    StripPanels *m_panels = nullptr;     // top row, the five panels, splitters
    WindowPlacer *m_placer = nullptr;    // position, corners, top-most layer
    WindowColours *m_colours = nullptr;  // colour switches and tool-tips
    LevelMonitor *m_monitor = nullptr;   // level meter and cut-level panels, "Auto"
    StripMeters *m_meters = nullptr;     // Timer_PK and the "A" marks
    LevelHistoryRecorder *m_historyRecorder = nullptr; // lowerings and outside changes into the history
    LevelHistoryWindow *m_historyWindow = nullptr;     // "録音レベルの履歴"
    std::unique_ptr<WaveInService> m_noCapture; // stands in when no capture service is given
    ShortcutMenu *m_shortcutMenu = nullptr; // Startup item and desktop launcher
    HelpMenu *m_helpMenu = nullptr;      // help window, version number, contact, about box
    RegisteredVolumePanel *m_presets = nullptr; // registered volumes on PV2
    StripRebinder *m_rebinder = nullptr; // strips kept on their lines while the devices change
    VolumeGuardSwitch *m_guardSwitch = nullptr; // MO_Guard_RecV, strip 2's "G", the fight notice
    TrayIcon *m_tray = nullptr;          // into the notification area and back
    std::array<int, 3> m_meterFullHeight{}; // pixels: each strip meter's full height

    MessageBox *m_messageBox = nullptr;
    QTimer *Timer_Create = nullptr;

    int m_startupCompleted = 0;
    bool m_busyCursor = false;    // the creation's hourglass, until start-up ends
    StartupSettings m_startup;    // as read by the deferred initialisation
    QString m_trayTip;
    bool m_closing = false;      // close guard
};

} // namespace nuvask
