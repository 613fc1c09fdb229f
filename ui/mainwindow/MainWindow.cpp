// The main window.

#include "ui/mainwindow/MainWindow.h"

#include "core/monitor/LevelHistoryRecorder.h"
#include "core/monitor/LevelMonitor.h"
#include "core/startup/ProgramEntry.h"
#include "core/settings/SettingsTree.h"
#include "core/mixer/StripBindingRestore.h"
#include "core/mixer/StripMeters.h"
#include "core/mixer/VolumeGuard.h"
#include "core/base/TextHelpers.h"
#include "ui/widgets/ColourButton.h"
#include "ui/monitor/CutLevelPanel.h"
#include "ui/help/HelpMenu.h"
#include "ui/monitor/LevelHistoryWindow.h"
#include "ui/monitor/LevelMonitorPanel.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/mainwindow/MainWindowTexts.h"
#include "ui/presets/RegisteredVolumePanel.h"
#include "ui/desktop/ShortcutMenu.h"
#include "ui/mainwindow/StripPanels.h"
#include "ui/mixer/StripRebinder.h"
#include "ui/mixer/VolumeGuardSwitch.h"
#include "ui/desktop/TrayIcon.h"
#include "ui/mixer/VolumeStrip.h"
#include "ui/mainwindow/WindowColours.h"
#include "ui/mainwindow/WindowPlacer.h"
#include "ui/dialogs/WorkArea.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QTimer>

namespace nuvask {

namespace {

// A machine without a capture device: every call fails, so "ON" reports
// that the meter cannot open.
class NoCapture final : public WaveInService {
public:
    quint32 deviceCount() override { return 0; }
    quint32 open(quint32, const WaveFormat &, const WaveInNotify &, WaveInHandle &) override
    {
        return WaveRc::BadDeviceId;
    }
    quint32 prepareHeader(WaveInHandle, WaveHeader *) override { return WaveRc::InvalidHandle; }
    quint32 unprepareHeader(WaveInHandle, WaveHeader *) override { return WaveRc::InvalidHandle; }
    quint32 addBuffer(WaveInHandle, WaveHeader *) override { return WaveRc::InvalidHandle; }
    quint32 start(WaveInHandle) override { return WaveRc::InvalidHandle; }
    quint32 reset(WaveInHandle) override { return WaveRc::InvalidHandle; }
    quint32 close(WaveInHandle) override { return WaveRc::InvalidHandle; }
};

// The short name the settings key and the list files are named after.
QString shortName()
{
    return Start().ProgramShortName.isEmpty() ? QStringLiteral("NUVASK") : Start().ProgramShortName;
}

} // namespace

MainWindow::MainWindow(ISettingsTree &settingsTree, MixerService &mixer, WaveInService *capture, QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                              | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_settingsTree(settingsTree), m_settings(settingsTree, shortName()),
      m_layer(mixer, *this), m_guard(std::make_unique<VolumeGuard>(m_layer)), m_noCapture(capture ? nullptr : std::make_unique<NoCapture>())
{
    WaveInService &wave = capture ? *capture : *m_noCapture;
    // 1. Busy until the deferred initialisation has bound the strips.
    m_startupCompleted = 0;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_busyCursor = true;
    QCoreApplication::processEvents();

    // 2. Identity.
    setObjectName(QLatin1String(kMainWindowClass));
    setWindowTitle(mainText::Caption);
    // The task bar's text is the application title, not the caption.
    setWindowIconText(ShownTitle(Start().ProgramTitle));
    setWindowIcon(QApplication::windowIcon());
    QFont font(mainText::FontFamily);
    font.setPixelSize(mainText::FontPixels);
    setFont(font);

    // 3./4. Widgets and per-strip tables.
    buildWidgets();
    m_monitor = new LevelMonitor(wave, m_layer, *m_panels->monitorPanel(), this);
    // While the monitor captures, the meters' ticks ride its wake-ups, in
    // the same pass of the event loop (a queued call would cost another).
    connect(m_monitor, &LevelMonitor::levelMeasured, m_meters, &StripMeters::TickAlong);
    m_monitor->SetHistory(&m_history);
    m_historyRecorder = new LevelHistoryRecorder(m_history, m_layer, this);
    m_messageBox = new MessageBox(this);
    m_messageBox->setObjectName(QStringLiteral("MKBoxDlg1"));
    m_historyWindow = new LevelHistoryWindow(m_history, this);
    m_historyWindow->SetMessageBox(m_messageBox);
    connect(m_menu.MO_History, &QAction::triggered, m_historyWindow, &LevelHistoryWindow::Open);
    connect(m_tray->TR_History, &QAction::triggered, m_historyWindow, &LevelHistoryWindow::Open);
    m_tray->SetMessageBox(m_messageBox);
    SetMainWindow(this); // message boxes take this window's colours and hints
    // The rooms of the Options menu's icon items and of the Help menu speak
    // through the message box, so they come after it.
    m_shortcutMenu = new ShortcutMenu(this, m_menu, m_messageBox, m_settingsTree, m_settings.keyPath());
    // Tray presses wait while an icon action lets pending events run.
    m_shortcutMenu->SetTrayBusyHook([this](bool on) { SetTrayMenuBusy(on); });
    m_helpMenu = new HelpMenu(this, m_menu, m_messageBox, m_settingsTree, m_settings.keyPath(), HelpMenu::HelpFilePath());
    m_presets = new RegisteredVolumePanel(*strip(2), m_layer, *m_messageBox, Start().DataDir, shortName(), this);
    for (int n = 0; n < 3; ++n)
        strip(n)->attach(&m_layer);
    m_rebinder = new StripRebinder(m_layer, {strip(0), strip(1), strip(2)}, this);
    m_guardSwitch = new VolumeGuardSwitch(*m_guard, *m_menu.MO_Guard_RecV, *strip(VolumeGuard::GuardedStrip),
                                          *m_messageBox, this);
    connect(m_guard.get(), &VolumeGuard::restored, m_historyRecorder, &LevelHistoryRecorder::GuardRestored);
    mixer.setDevicesChanged([rebinder = QPointer<StripRebinder>(m_rebinder)] {
        if (rebinder)
            rebinder->devicesChanged();
    });

    // 4. Each strip meter is as tall as its volume bar.
    for (int n = 0; n < 3; ++n)
        m_meterFullHeight[n] = strip(n)->volumeBarHeight();

    // 5. Every strip shown; layout values recorded once.
    m_panels->recordLayoutValues();
    m_panels->cutPanel()->attach(m_monitor);
    Btn_RPK_CancelClick(); // the cut-level editor starts closed

    // 6. The level monitor starts off; its analysis buffer is its own.
    LevelMonitorPanel *monitorPanel = m_panels->monitorPanel();
    monitorPanel->attach(m_monitor);
    monitorPanel->setIntervalList(m_panels->CB_RL_WAIT);
    monitorPanel->setMessageBox(m_messageBox);

    // 7. Hidden strip and position from the settings.
    const CreationSettings saved = m_settings.readCreation();
    if (saved.hiddenStrip >= 0 && saved.hiddenStrip < 3) {
        m_panels->Ch_V[saved.hiddenStrip]->setChecked(false);
        StripVisibilityLayout(saved.hiddenStrip);
    }
    // 8./9. Centred or stored, kept on the usable screen area.
    m_placer->placeAtStart(saved.position);

    // 10. The rest waits until the window exists.
    Timer_Create->start();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildWidgets()
{
    m_menu.build(menuBar());
    m_colours = new WindowColours(*this, m_menu);
    // A click on a checkable item has toggled its mark before these run.
    connect(m_menu.BackColor, &QAction::triggered, m_colours, &WindowColours::backColorToggled);
    connect(m_menu.KELDO_COLOR, &QAction::triggered, m_colours, &WindowColours::keldoColorToggled);
    connect(m_menu.HELP3, &QAction::triggered, m_colours, &WindowColours::help3Toggled);

    m_panels = new StripPanels(*this);
    m_placer = new WindowPlacer(*this);
    connect(m_panels->Ch_Top, &QCheckBox::clicked, this, &MainWindow::ApplyTopMost);
    connect(m_panels->Btn_LT, &ColourButton::OnClick, this, [this] { MoveToCorner(Corner::LeftTop); });
    connect(m_panels->Btn_WT, &ColourButton::OnClick, this, [this] { MoveToCorner(Corner::RightTop); });
    connect(m_panels->Btn_LB, &ColourButton::OnClick, this, [this] { MoveToCorner(Corner::LeftBottom); });
    connect(m_panels->Btn_WB, &ColourButton::OnClick, this, [this] { MoveToCorner(Corner::RightBottom); });

    // Hooks: the features' own members (level monitor and cut level on their
    // panels, registered volumes on strip 2, tray, shortcuts, help) are created here
    // and their menu items connected.
    m_meters = new StripMeters(m_layer, *m_panels, this);
    connect(m_menu.MO_Meter_ON, &QAction::triggered, m_meters, &StripMeters::MO_Meter_ONClick);
    connect(m_menu.MO_Auto_RecV, &QAction::triggered, m_meters, &StripMeters::MO_Auto_RecVClick);
    m_tray = new TrayIcon(this, m_panels->panel(2)); // Btn_TRAY sits on PV2

    Timer_Create = new QTimer(this);
    Timer_Create->setObjectName(QStringLiteral("Timer_Create"));
    Timer_Create->setSingleShot(true);
    Timer_Create->setInterval(kCreateDelayMs);
    connect(Timer_Create, &QTimer::timeout, this, &MainWindow::Timer_CreateTimer);

    m_panels->setClientWidth(StripPanels::DesignClientWidth);
    // Until the stored switches are applied: the maker's colours, hints on.
    m_menu.KELDO_COLOR->setChecked(true);
    m_menu.HELP3->setChecked(true);
    m_colours->applyWindowColours(true);
}

void MainWindow::SetDesktop(IDesktopEntries *entries, IMenuGroups *groups)
{
    m_shortcutMenu->SetDesktop(entries, groups);
}

VolumeStrip *MainWindow::strip(int n) const
{
    return m_panels->strip(n);
}

int MainWindow::clientWidth() const
{
    return m_panels->clientWidth();
}

int MainWindow::clientHeight() const
{
    return m_panels->clientHeight();
}

int MainWindow::fixedWidth() const
{
    return m_panels->fixedWidth();
}

void MainWindow::StripVisibilityLayout(int clickedBox)
{
    m_panels->StripVisibilityLayout(clickedBox);
}

void MainWindow::Btn_RPK_EditClick()
{
    m_panels->openCutEditor();
}

void MainWindow::Btn_RPK_CancelClick()
{
    m_panels->closeCutEditor();
}

void MainWindow::ApplyTopMost()
{
    m_placer->ApplyTopMost(m_panels->Ch_Top->isChecked());
}

QRect MainWindow::WorkArea() const
{
    return m_placer->WorkArea();
}

void MainWindow::MoveToCorner(Corner corner)
{
    m_placer->MoveToCorner(corner);
}

void MainWindow::ApplyListColours()
{
    m_colours->ApplyListColours();
}

void MainWindow::BackColorClick()
{
    m_menu.BackColor->trigger();
}

void MainWindow::KELDO_COLORClick()
{
    m_menu.KELDO_COLOR->trigger();
}

void MainWindow::HELP3Click()
{
    m_menu.HELP3->trigger();
}

void MainWindow::setHintsShown(bool on)
{
    m_colours->setHintsShown(on);
}

bool MainWindow::hintsShown() const
{
    return m_colours->hintsShown();
}

void MainWindow::WM_SECOND_INSTANCE(const QString &text)
{
    m_lastHandOverText = text;
    RestoreMainWindow();
}

void MainWindow::RestoreMainWindow()
{
    // Put away in the tray: the tray's own way back (TR_IconOFF).
    if (m_tray->RestoreFromTray())
        return;
    if (isMinimized()) {
        showNormal();
    } else {
        // Minimise, then restore: brings a window hidden behind others to the
        // front and activates it, where a plain raise may be refused.
        showMinimized();
        QCoreApplication::processEvents();
        showNormal();
    }
    raise();
    activateWindow();
}

bool MainWindow::TrayMenuBusy() const
{
    return m_tray->TrayMenuBusy();
}

void MainWindow::SetTrayMenuBusy(bool on)
{
    m_tray->SetTrayMenuBusy(on);
}

void MainWindow::Timer_CreateTimer()
{
    // 1. Runs once.
    Timer_Create->stop();
    m_layer.MixerReset();

    // 2. Settings, read in their fixed order.
    m_startup = m_settings.readStartup();
    applyStartupSettings(m_startup);

    // 3. Registered volumes: both files, the entry named by "V_Name" picked.
    m_presets->Load(m_startup.vName);
    // 4. The launcher paths of the desktop and of the Startup group.
    m_shortcutMenu->BuildLinkPaths();

    // 5. Tray tip: the title cut to 63 code-page bytes, never half a character.
    m_trayTip = TruncateDbcs(ShownTitle(Start().ProgramTitle), 63);
    m_tray->SetTipAndIcon(m_trayTip, windowIcon());

    // 6. Every mixer device; without them the program cannot work.
    QString error;
    m_layer.MixerOpenAll(error);
    if (!error.isEmpty()) {
        m_messageBox->ShowOK(error + QLatin1Char('\n') + mainText::FatalMixer());
        close();
        return;
    }

    // 7. Each strip back on its saved line.
    for (int n = 0; n < 3; ++n) {
        VolumeStrip *strip = this->strip(n);
        strip->fillDevices(m_layer.DeviceNameList());
        const StripSelection sel = ResolveStripBinding(m_layer, m_startup.strips[n]);
        strip->selectBinding(sel.device, sel.destination, sel.source);
        QString bindError;
        m_layer.StripBindLine(n, sel.device, sel.destination, bindError, strip->selectedLineId());
        if (!bindError.isEmpty()) {
            // The stored line would fail the same way at every start and the
            // user could never reach the lists to pick another: it is dropped,
            // so the next start binds this strip's default line.
            m_settings.forgetStripBinding(n);
            m_messageBox->ShowOK(bindError + QLatin1Char('\n') + mainText::FatalStrip() + QString::number(n));
            close(); // handled at once: nothing is saved; the other strips are still bound
        }
    }

    // 8. Running; from now on the strips follow changes of the devices.
    m_startupCompleted = kStartupCompletedValue;
    m_rebinder->start();
    restoreBusyCursor();
}

void MainWindow::applyStartupSettings(const StartupSettings &s)
{
    setHintsShown(s.miniHelp);
    m_menu.BackColor->setChecked(s.backColor);
    ApplyListColours();
    m_menu.KELDO_COLOR->setChecked(s.keldoColor);
    if (s.keldoColor) {
        if (m_menu.BackColor->isChecked())
            BackColorClick(); // unchecks it and gives the lists their panel colour back
        m_colours->applyWindowColours(true);
    } else {
        m_colours->applyWindowColours(false);
    }
    m_panels->Ch_Top->setChecked(s.mostTop);
    ApplyTopMost();
    m_menu.MO_Auto_RecV->setChecked(s.autoRecV);
    m_menu.MO_Meter_ON->setChecked(s.meterOn);
    m_meters->ApplySettings(s.meterOn, s.autoRecV);
    m_guardSwitch->ApplySetting(s.guardRecV);
    m_monitor->CutLevelShow(s.cutLevel);
    m_historyWindow->ApplySettings(s.history);
    {
        // The program sets the interval list; its change action must not run.
        QComboBox *list = m_panels->CB_RL_WAIT;
        const QSignalBlocker quiet(list);
        list->setCurrentIndex(s.rlWait >= 0 && s.rlWait < list->count() ? s.rlWait : -1);
    }
}

// The strip meters rest while nobody can see them (in the tray, minimised).
void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    tellMetersSeen();
}

void MainWindow::hideEvent(QHideEvent *event)
{
    QMainWindow::hideEvent(event);
    tellMetersSeen();
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        tellMetersSeen();
}

void MainWindow::tellMetersSeen()
{
    if (m_meters)
        m_meters->SetSeen(isVisible() && !isMinimized());
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Closing is never refused; only the first request does the work.
    if (m_closing) {
        event->accept();
        return;
    }
    m_closing = true;
    // 1. The recording level monitor gets its closing mark and stops.
    m_monitor->BeginClosing();
    m_rebinder->stop();

    if (m_startupCompleted != kStartupCompletedValue) {
        restoreBusyCursor();
        event->accept();
        return;
    }
    // 2.1 The level monitor closes its capture.
    m_monitor->WaveMeterClose();
    // 2.2 Bindings are taken while the devices are still open.
    SavedSettings saved = currentSettings();
    // 2.3 The mixer goes, the strip meters stop.
    m_layer.MixerCloseAll();
    m_meters->Shutdown();
    QCoreApplication::processEvents();
    // 2.4 The help window goes with the program.
    m_helpMenu->QuitHelp();
    // 2.5 The registered volumes; a failure is shown, the old files stay.
    m_presets->Save();
    // 2.6 The settings, last.
    m_settings.write(saved);
    event->accept();
}

SavedSettings MainWindow::currentSettings() const
{
    SavedSettings v;
    v.position = pos();
    v.backColor = m_menu.BackColor->isChecked();
    v.miniHelp = hintsShown();
    v.keldoColor = m_menu.KELDO_COLOR->isChecked();
    v.vName = m_presets->PickedName();
    v.mostTop = m_panels->Ch_Top->isChecked();
    v.hiddenStrip = m_panels->hiddenStrip();
    for (int n = 0; n < 3; ++n) {
        const VolumeStrip *strip = this->strip(n);
        v.strips[n] = m_rebinder->bindingToSave(
            n, TakeStripBinding(m_layer, {strip->deviceIndex(), strip->destinationIndex(), strip->sourceIndex()}));
    }
    v.autoRecV = m_menu.MO_Auto_RecV->isChecked();
    v.meterOn = m_menu.MO_Meter_ON->isChecked();
    v.cutLevel = m_layer.CutLevel();
    v.rlWait = m_panels->CB_RL_WAIT->currentIndex();
    v.guardRecV = m_guardSwitch->Checked();
    v.history = m_historyWindow->Settings();
    return v;
}

void MainWindow::restoreBusyCursor()
{
    if (m_busyCursor) {
        m_busyCursor = false;
        QGuiApplication::restoreOverrideCursor();
    }
}

void MainWindow::SetAutoMarkVisible(int strip, bool visible)
{
    m_meters->SetAutoMarkVisible(strip, visible);
}

void MainWindow::SetPeakTimerRunning(bool running)
{
    m_meters->SetPeakTimerRunning(running);
}

bool MainWindow::AutoRecVChecked() const
{
    return m_meters->AutoRecV();
}

void MainWindow::MixerControlChange(MixerHandle, quint32 controlId)
{
    // The strips follow the change; the history keeps it when it came from outside.
    m_historyRecorder->MixerControlChanged(controlId);
}

void MainWindow::StripAutoLowered(const AutoLowering &lowering)
{
    m_historyRecorder->AutoLowered(lowering);
}

} // namespace nuvask
