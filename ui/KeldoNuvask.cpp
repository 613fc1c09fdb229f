#include "ui/KeldoNuvask.h"

#include "core/ProgramEntry.h"
#include "core/Registry.h"
#include "ui/ColorBtn.h"
#include "ui/MKBoxDlg.h"
#include "ui/MainWindowTexts.h"
#include "ui/WorkArea.h"
#include "ui/PanelSplitter.h"
#include "ui/VolumeStrip.h"
#include "core/StripBindingRestore.h"
#include "core/TextHelpers.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCloseEvent>
#include <QEvent>
#include <QSignalBlocker>
#include <QFrame>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace nuvask {

namespace {

// Design geometry of the window (client pixels).
constexpr int kDesignClientWidth = 286;
constexpr int kTopHeight = 17;
constexpr int kPanelHeight = 201;
constexpr std::array<int, 5> kPanelWidth{58, 58, 91, 38, 35}; // PV0..PV4

const QColor kKeldoGreen(0, 128, 0);
const QColor kKeldoText(255, 255, 255);

QCheckBox *checkBox(QWidget *parent, const char *name, const QString &caption, const QString &hint)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setToolTip(hint);
    box->setChecked(true);
    return box;
}

TColorBtn *button(QWidget *parent, const char *name, const QString &caption, const QString &hint, QRect geometry)
{
    auto *b = new TColorBtn(parent);
    b->setObjectName(QLatin1String(name));
    b->SetCaption(caption);
    b->setToolTip(hint);
    b->setGeometry(geometry);
    return b;
}

} // namespace

TKELDO_NUVASK::TKELDO_NUVASK(IRegistry &registry, MixerService &mixer, QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                              | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_registry(registry), m_settings(registry, Start().ProgramShortName.isEmpty() ? QStringLiteral("NUVASK")
                                                                                   : Start().ProgramShortName),
      m_layer(mixer, *this)
{
    // 1. Busy until the deferred initialisation has bound the strips.
    m_startupCompleted = 0;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_busyCursor = true;
    QCoreApplication::processEvents();

    // 2. Identity.
    setObjectName(QLatin1String(kMainWindowClass));
    setWindowTitle(mainText::Caption);
    // The task bar's text is the application title, not the caption.
    setWindowIconText(Start().ProgramTitle);
    setWindowIcon(QApplication::windowIcon());
    QFont font(mainText::FontFamily);
    font.setPixelSize(mainText::FontPixels);
    setFont(font);

    // 3./4. Widgets and per-strip tables.
    buildWidgets();
    MKBoxDlg1 = new TMKBoxDlg(this);
    MKBoxDlg1->setObjectName(QStringLiteral("MKBoxDlg1"));
    SetMainWindow(this); // message boxes take this window's colours and hints
    for (int n = 0; n < 3; ++n)
        m_strips[n]->attach(&m_layer);

    // 4. Each strip meter is as tall as its volume bar.
    for (int n = 0; n < 3; ++n)
        m_meterFullHeight[n] = m_strips[n]->volumeBarHeight();

    // 5. Every strip shown; layout values recorded once.
    for (QCheckBox *box : Ch_V)
        box->setChecked(true);
    m_fixedWidth = clientWidth() - m_pv[0]->width() - m_pv[1]->width() - m_pv[2]->width();
    for (int n = 0; n < 3; ++n)
        m_designWidth[n] = m_pv[n]->width();
    m_panelHeight = m_pv[0]->height();
    m_topHeight = Panel_TOP->height();
    Btn_RPK_CancelClick(); // the cut-level editor starts closed

    // 7. Hidden strip and position from the settings.
    const CreationSettings saved = m_settings.readCreation();
    if (saved.hiddenStrip >= 0 && saved.hiddenStrip < 3) {
        Ch_V[saved.hiddenStrip]->setChecked(false);
        StripVisibilityLayout(saved.hiddenStrip);
    }
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize(1024, 768);
    QPoint position = CentredPosition(screenSize, size());
    if (saved.position)
        position = *saved.position;
    // 9. Kept on the usable screen area.
    move(ClampToWorkArea(position, size(), WorkArea()));

    // 10. The rest waits until the window exists.
    Timer_Create->start();
}

TKELDO_NUVASK::~TKELDO_NUVASK()
{
    qApp->removeEventFilter(this);
}

void TKELDO_NUVASK::buildWidgets()
{
    m_menu.build(menuBar());
    // A click on a checkable item has toggled its mark before these run.
    connect(m_menu.BackColor, &QAction::triggered, this, &TKELDO_NUVASK::backColorToggled);
    connect(m_menu.KELDO_COLOR, &QAction::triggered, this, &TKELDO_NUVASK::keldoColorToggled);
    connect(m_menu.HELP3, &QAction::triggered, this, &TKELDO_NUVASK::help3Toggled);

    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(m_client);

    Panel_TOP = new QFrame(m_client);
    Panel_TOP->setObjectName(QStringLiteral("Panel_TOP"));
    Panel_TOP->setGeometry(0, 0, kDesignClientWidth, kTopHeight);
    for (int n = 0; n < 3; ++n) {
        const QByteArray name = "Ch_V" + QByteArray::number(n);
        Ch_V[n] = checkBox(Panel_TOP, name.constData(), QString(), mainText::HintStripBox);
        Ch_V[n]->setGeometry(2 + n * 17, 1, 15, 15);
        connect(Ch_V[n], &QCheckBox::clicked, this, [this, n] { StripVisibilityLayout(n); });
    }
    Ch_Top = checkBox(Panel_TOP, "Ch_Top", mainText::TopCaption, mainText::HintTop);
    Ch_Top->setGeometry(56, 1, 74, 15);
    connect(Ch_Top, &QCheckBox::clicked, this, &TKELDO_NUVASK::ApplyTopMost);
    CB_RL_WAIT = new QComboBox(Panel_TOP);
    CB_RL_WAIT->setObjectName(QStringLiteral("CB_RL_WAIT"));
    CB_RL_WAIT->setToolTip(mainText::HintRlWait);
    for (int i = 1; i <= 9; ++i)
        CB_RL_WAIT->addItem(QString::number(i));
    CB_RL_WAIT->setGeometry(132, 0, 36, kTopHeight);

    static const char *const kPanelNames[] = {"PV0", "PV1", "PV2", "PV3", "PV4"};
    for (int i = 0; i < 5; ++i) {
        if (i < 3) {
            m_strips[i] = new VolumeStrip(i, m_client);
            m_pv[i] = m_strips[i];
        } else {
            m_pv[i] = new QFrame(m_client);
            m_pv[i]->setObjectName(QLatin1String(kPanelNames[i]));
        }
        m_pv[i]->setAutoFillBackground(true);
        m_pv[i]->setFrameShape(QFrame::StyledPanel);
        m_pv[i]->resize(kPanelWidth[i], kPanelHeight);
    }
    Splitter1 = new PanelSplitter(m_client);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter2 = new PanelSplitter(m_client);
    Splitter2->setObjectName(QStringLiteral("Splitter2"));
    // A splitter drags the nearest shown strip on its left; PV2 keeps at least
    // the splitter's minimum too.
    auto maxFor = [this](int strip) {
        return [this, strip] { return m_pv[strip]->width() + m_pv[2]->width() - PanelSplitter::kMinPanel; };
    };
    Splitter1->setTarget(m_pv[0], maxFor(0));
    Splitter1->onMoved = [this] { relayoutPanels(); };
    Splitter2->setTarget(m_pv[1], maxFor(1));
    Splitter2->onMoved = [this] { relayoutPanels(); };

    QWidget *pv2 = m_pv[2];
    Btn_LT = button(pv2, "Btn_LT", mainText::CornerCaption, mainText::HintLT, QRect(62, 66, 12, 12));
    Btn_WT = button(pv2, "Btn_WT", mainText::CornerCaption, mainText::HintWT, QRect(76, 66, 12, 12));
    Btn_LB = button(pv2, "Btn_LB", mainText::CornerCaption, mainText::HintLB, QRect(62, 80, 12, 12));
    Btn_WB = button(pv2, "Btn_WB", mainText::CornerCaption, mainText::HintWB, QRect(76, 80, 12, 12));
    connect(Btn_LT, &TColorBtn::OnClick, this, [this] { MoveToCorner(Corner::LeftTop); });
    connect(Btn_WT, &TColorBtn::OnClick, this, [this] { MoveToCorner(Corner::RightTop); });
    connect(Btn_LB, &TColorBtn::OnClick, this, [this] { MoveToCorner(Corner::LeftBottom); });
    connect(Btn_WB, &TColorBtn::OnClick, this, [this] { MoveToCorner(Corner::RightBottom); });

    Btn_RPK_Edit = button(m_pv[3], "Btn_RPK_Edit", mainText::EditCaption, mainText::HintEdit, QRect(2, 180, 34, 17));
    Btn_RPK_Cancel = button(m_pv[4], "Btn_RPK_Cancel", mainText::CancelCaption, mainText::HintCancel,
                            QRect(1, 180, 33, 17));
    connect(Btn_RPK_Edit, &TColorBtn::OnClick, this, &TKELDO_NUVASK::Btn_RPK_EditClick);
    connect(Btn_RPK_Cancel, &TColorBtn::OnClick, this, &TKELDO_NUVASK::Btn_RPK_CancelClick);

    Timer_Create = new QTimer(this);
    Timer_Create->setObjectName(QStringLiteral("Timer_Create"));
    Timer_Create->setSingleShot(true);
    Timer_Create->setInterval(kCreateDelayMs);
    connect(Timer_Create, &QTimer::timeout, this, &TKELDO_NUVASK::Timer_CreateTimer);
    Timer_PK = new QTimer(this);
    Timer_PK->setObjectName(QStringLiteral("Timer_PK"));
    connect(Timer_PK, &QTimer::timeout, this, &TKELDO_NUVASK::Timer_PKTimer);

    qApp->installEventFilter(this); // tool-tips follow the window's hint switch
    setClientWidth(kDesignClientWidth);
    // Until the stored switches are applied: the maker's colours, hints on.
    m_menu.KELDO_COLOR->setChecked(true);
    m_menu.HELP3->setChecked(true);
    applyWindowColours(true);
}

int TKELDO_NUVASK::clientWidth() const
{
    return m_client->width();
}

int TKELDO_NUVASK::clientHeight() const
{
    return m_client->height();
}

void TKELDO_NUVASK::setClientWidth(int width)
{
    const int height = (m_panelHeight ? m_panelHeight : kPanelHeight) + (m_topHeight ? m_topHeight : kTopHeight);
    m_client->setFixedSize(width, height);
    Panel_TOP->resize(width, Panel_TOP->height());
    relayoutPanels();
    // Not resizable by the user; a narrower window may wrap the menu bar, so
    // the height is worked out again from the client height.
    const int menuHeight = menuBar()->heightForWidth(width) > 0 ? menuBar()->heightForWidth(width)
                                                                 : menuBar()->sizeHint().height();
    setFixedSize(width, height + menuHeight);
}

void TKELDO_NUVASK::relayoutPanels()
{
    const int top = Panel_TOP->height();
    const int height = m_client->height() - top;
    int x = 0;
    auto place = [&](QWidget *w, int width) {
        w->setGeometry(x, top, width, height);
        x += width;
    };
    if (!m_pv[0]->isHidden())
        place(m_pv[0], m_pv[0]->width());
    if (!Splitter1->isHidden())
        place(Splitter1, PanelSplitter::kWidth); // directly left of PV1
    if (!m_pv[1]->isHidden())
        place(m_pv[1], m_pv[1]->width());
    if (!Splitter2->isHidden())
        place(Splitter2, PanelSplitter::kWidth);
    int right = m_client->width();
    if (!m_pv[4]->isHidden()) {
        right -= m_pv[4]->width();
        m_pv[4]->setGeometry(right, top, m_pv[4]->width(), height);
    }
    right -= m_pv[3]->width();
    m_pv[3]->setGeometry(right, top, m_pv[3]->width(), height);
    if (!m_pv[2]->isHidden())
        m_pv[2]->setGeometry(x, top, std::max(0, right - x), height);
    // Splitter2 drags the nearest shown strip on its left.
    Splitter2->setTarget(!m_pv[1]->isHidden() ? m_pv[1] : m_pv[0], [this] {
        QWidget *left = !m_pv[1]->isHidden() ? m_pv[1] : m_pv[0];
        return left->width() + m_pv[2]->width() - PanelSplitter::kMinPanel;
    });
}

void TKELDO_NUVASK::StripVisibilityLayout(int clickedBox)
{
    std::array<bool, 3> checked{};
    for (int n = 0; n < 3; ++n)
        checked[n] = Ch_V[n]->isChecked();
    checked = StripBoxesAfterClick(checked, clickedBox);
    for (int n = 0; n < 3; ++n)
        Ch_V[n]->setChecked(checked[n]);

    const StripLayout layout = ComputeStripLayout(checked, {m_fixedWidth, m_designWidth, PanelSplitter::kWidth});
    m_pv[0]->setHidden(!layout.visible[0]);
    m_pv[1]->setHidden(!layout.visible[1]);
    QCoreApplication::processEvents();
    Splitter1->setHidden(!layout.splitter1Visible);
    m_pv[2]->setHidden(!layout.visible[2]);
    QCoreApplication::processEvents();
    Splitter2->setHidden(!layout.splitter2Visible);
    // Widths dragged with the splitters are given up.
    for (int n = 0; n < 3; ++n)
        m_pv[n]->resize(m_designWidth[n], m_pv[n]->height());
    setClientWidth(layout.windowWidth);
    QCoreApplication::processEvents();
}

void TKELDO_NUVASK::ApplyTopMost()
{
    const bool on = Ch_Top->isChecked();
    if (QWindow *handle = windowHandle()) {
        // On the native window the flag changes in place: no re-creation,
        // no move, no activation.
        handle->setFlag(Qt::WindowStaysOnTopHint, on);
    } else {
        setWindowFlag(Qt::WindowStaysOnTopHint, on);
    }
    if (isVisible() || windowHandle())
        show();
    raise();
}

QRect TKELDO_NUVASK::WorkArea() const
{
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

void TKELDO_NUVASK::MoveToCorner(Corner corner)
{
    move(CornerPosition(corner, frameGeometry().size(), WorkArea()));
}

void TKELDO_NUVASK::applyWindowColours(bool keldo)
{
    QPalette pal = palette();
    const QPalette system = QApplication::palette();
    const QColor back = keldo ? kKeldoGreen : system.color(QPalette::Button);
    const QColor text = keldo ? kKeldoText : system.color(QPalette::WindowText);
    pal.setColor(QPalette::Window, back);
    pal.setColor(QPalette::WindowText, text);
    pal.setColor(QPalette::ButtonText, text);
    pal.setColor(QPalette::Button, back);
    setPalette(pal);
    // The menu bar keeps the desktop's own colours, as menus do everywhere.
    // (Each role is set explicitly; an unset role would be inherited.)
    QPalette menuPalette = menuBar()->palette();
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::WindowText, QPalette::Button, QPalette::ButtonText})
        menuPalette.setColor(role, system.color(role));
    menuBar()->setPalette(menuPalette);
    menuBar()->setAutoFillBackground(true);
    ApplyListColours();
}

void TKELDO_NUVASK::ApplyListColours()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool standard = m_menu.BackColor->isChecked();
    const QPalette system = QApplication::palette();
    const QList<QComboBox *> lists = findChildren<QComboBox *>();
    for (QComboBox *list : lists) {
        QPalette pal = list->palette();
        const QColor panel = list->parentWidget() ? list->parentWidget()->palette().color(QPalette::Window)
                                                  : palette().color(QPalette::Window);
        pal.setColor(QPalette::Base, standard ? system.color(QPalette::Base) : panel);
        pal.setColor(QPalette::Button, standard ? system.color(QPalette::Base) : panel);
        pal.setColor(QPalette::Text, standard ? system.color(QPalette::Text) : palette().color(QPalette::WindowText));
        pal.setColor(QPalette::ButtonText, pal.color(QPalette::Text));
        list->setPalette(pal);
    }
    QGuiApplication::restoreOverrideCursor();
}

void TKELDO_NUVASK::BackColorClick()
{
    m_menu.BackColor->trigger();
}

void TKELDO_NUVASK::KELDO_COLORClick()
{
    m_menu.KELDO_COLOR->trigger();
}

void TKELDO_NUVASK::HELP3Click()
{
    m_menu.HELP3->trigger();
}

void TKELDO_NUVASK::backColorToggled()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QCoreApplication::processEvents();
    // At most one of the two colour switches is on.
    if (m_menu.BackColor->isChecked() && m_menu.KELDO_COLOR->isChecked())
        KELDO_COLORClick();
    ApplyListColours();
    QGuiApplication::restoreOverrideCursor();
}

void TKELDO_NUVASK::keldoColorToggled()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QCoreApplication::processEvents();
    if (m_menu.KELDO_COLOR->isChecked() && m_menu.BackColor->isChecked())
        BackColorClick();
    applyWindowColours(m_menu.KELDO_COLOR->isChecked());
    QGuiApplication::restoreOverrideCursor();
}

void TKELDO_NUVASK::help3Toggled()
{
    m_showHints = m_menu.HELP3->isChecked();
}

void TKELDO_NUVASK::setHintsShown(bool on)
{
    m_showHints = on;
    m_menu.HELP3->setChecked(on);
}

bool TKELDO_NUVASK::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ToolTip && !m_showHints) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->window() == this)
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TKELDO_NUVASK::Btn_RPK_EditClick()
{
    Btn_RPK_Edit->hide();
    m_fixedWidth += m_pv[4]->width();
    m_pv[4]->show();
    setClientWidth(clientWidth() + m_pv[4]->width());
}

void TKELDO_NUVASK::Btn_RPK_CancelClick()
{
    m_fixedWidth -= m_pv[4]->width();
    m_pv[4]->hide();
    setClientWidth(clientWidth() - m_pv[4]->width());
    Btn_RPK_Edit->show();
}

void TKELDO_NUVASK::WM_SECOND_INSTANCE(const QString &text)
{
    m_lastHandOverText = text;
    RestoreMainWindow();
}

void TKELDO_NUVASK::RestoreMainWindow()
{
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

} // namespace nuvask

namespace nuvask {

void TKELDO_NUVASK::Timer_CreateTimer()
{
    // 1. Runs once.
    Timer_Create->stop();
    m_layer.MixerReset();

    // 2. Settings, read in their fixed order.
    m_startup = m_settings.readStartup();
    applyStartupSettings(m_startup);

    // 3. Registered volumes: their list is filled here, selecting the entry
    //    named by "V_Name", once that feature is present.
    // 4. Shortcut paths of the desktop and Startup links are built here once
    //    the shortcut feature is present.

    // 5. Tray tip: the title cut to 63 code-page bytes, never half a character.
    m_trayTip = TruncateDbcs(Start().ProgramTitle, 63);

    // 6. Every mixer device; without them the program cannot work.
    QString error;
    m_layer.MixerOpenAll(error);
    if (!error.isEmpty()) {
        MKBoxDlg1->ShowOK(error + QLatin1Char('\n') + mainText::FatalMixer);
        close();
        return;
    }

    // 7. Each strip back on its saved line.
    for (int n = 0; n < 3; ++n) {
        VolumeStrip *strip = m_strips[n];
        strip->fillDevices(m_layer.DeviceNameList());
        const StripSelection sel = ResolveStripBinding(m_layer, m_startup.strips[n]);
        strip->selectBinding(sel.device, sel.destination, sel.source);
        QString bindError;
        m_layer.StripBindLine(n, sel.device, sel.destination, bindError, strip->selectedLineId());
        if (!bindError.isEmpty()) {
            MKBoxDlg1->ShowOK(bindError + QLatin1Char('\n') + mainText::FatalStrip + QString::number(n));
            close(); // handled at once: nothing is saved; the other strips are still bound
        }
    }

    // 8. Running.
    m_startupCompleted = kStartupCompletedValue;
    restoreBusyCursor();
}

void TKELDO_NUVASK::applyStartupSettings(const StartupSettings &s)
{
    setHintsShown(s.miniHelp);
    m_menu.BackColor->setChecked(s.backColor);
    ApplyListColours();
    m_menu.KELDO_COLOR->setChecked(s.keldoColor);
    if (s.keldoColor) {
        if (m_menu.BackColor->isChecked())
            BackColorClick(); // unchecks it and gives the lists their panel colour back
        applyWindowColours(true);
    } else {
        applyWindowColours(false);
    }
    Ch_Top->setChecked(s.mostTop);
    ApplyTopMost();
    m_menu.MO_Auto_RecV->setChecked(s.autoRecV);
    m_menu.MO_Meter_ON->setChecked(s.meterOn);
    m_peakInterval = s.meterOn ? 100 : 0; // milliseconds
    updatePeakTimer();
    m_layer.SetCutLevel(s.cutLevel);
    {
        // The program sets the interval list; its change action must not run.
        const QSignalBlocker quiet(CB_RL_WAIT);
        CB_RL_WAIT->setCurrentIndex(s.rlWait >= 0 && s.rlWait < CB_RL_WAIT->count() ? s.rlWait : -1);
    }
}

void TKELDO_NUVASK::closeEvent(QCloseEvent *event)
{
    // Closing is never refused; only the first request does the work.
    if (m_closing) {
        event->accept();
        return;
    }
    m_closing = true;
    // The recording level monitor is told to stop here once it exists.

    if (m_startupCompleted != kStartupCompletedValue) {
        restoreBusyCursor();
        event->accept();
        return;
    }
    // Bindings are taken while the devices are still open.
    SavedSettings saved = currentSettings();
    m_layer.MixerCloseAll();
    m_peakInterval = 0;
    updatePeakTimer();
    QCoreApplication::processEvents();
    // The help window and the registered volumes are closed and saved here
    // once those features exist.
    m_settings.write(saved);
    event->accept();
}

SavedSettings TKELDO_NUVASK::currentSettings() const
{
    SavedSettings v;
    v.position = pos();
    v.backColor = m_menu.BackColor->isChecked();
    v.miniHelp = m_showHints;
    v.keldoColor = m_menu.KELDO_COLOR->isChecked();
    // Kept as read until the registered-volume list can change it, so a
    // round trip never loses the user's selection.
    v.vName = m_startup.vName;
    v.mostTop = Ch_Top->isChecked();
    v.hiddenStrip = -1;
    for (int n = 0; n < 3; ++n) {
        if (!Ch_V[n]->isChecked()) {
            v.hiddenStrip = n;
            break;
        }
    }
    for (int n = 0; n < 3; ++n) {
        const VolumeStrip *strip = m_strips[n];
        v.strips[n] = TakeStripBinding(m_layer, {strip->deviceIndex(), strip->destinationIndex(), strip->sourceIndex()});
    }
    v.autoRecV = m_menu.MO_Auto_RecV->isChecked();
    v.meterOn = m_menu.MO_Meter_ON->isChecked();
    v.cutLevel = m_layer.CutLevel();
    v.rlWait = CB_RL_WAIT->currentIndex();
    return v;
}

void TKELDO_NUVASK::restoreBusyCursor()
{
    if (m_busyCursor) {
        m_busyCursor = false;
        QGuiApplication::restoreOverrideCursor();
    }
}

void TKELDO_NUVASK::SetAutoMarkVisible(int strip, bool visible)
{
    if (strip >= 0 && strip < 3)
        m_strips[strip]->setAutoMarkVisible(visible);
}

void TKELDO_NUVASK::SetPeakTimerRunning(bool running)
{
    m_peakWanted = running;
    updatePeakTimer();
}

void TKELDO_NUVASK::updatePeakTimer()
{
    // An interval of 0 means the meters are switched off: the timer stops.
    if (m_peakWanted && m_peakInterval > 0)
        Timer_PK->start(m_peakInterval);
    else
        Timer_PK->stop();
}

void TKELDO_NUVASK::Timer_PKTimer()
{
    for (int n = 0; n < 3; ++n) {
        const int cover = m_layer.StripReadPeak(n); // pixels, or -1 when nothing was read
        if (cover >= 0)
            m_strips[n]->SetPeakCover(cover);
    }
}

bool TKELDO_NUVASK::AutoRecVChecked() const
{
    return m_menu.MO_Auto_RecV->isChecked();
}

void TKELDO_NUVASK::MixerControlChange(MixerHandle, quint32 controlId)
{
    m_layer.MixerControlChanged(controlId);
}

} // namespace nuvask
