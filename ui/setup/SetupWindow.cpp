// The setup (install) and uninstall window.

#include "ui/setup/SetupWindow.h"

#include "core/desktop/MenuGroups.h"
#include "core/settings/SettingsTree.h"
#include "core/settings/SettingsStore.h"
#include "core/setup/SetupInstaller.h"
#include "core/setup/SetupPlatform.h"
#include "core/setup/SetupTexts.h"
#include "core/setup/Uninstaller.h"
#include "ui/widgets/ColourButton.h"
#include "ui/widgets/FieldColours.h"
#include "ui/folders/FolderBrowser.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/dialogs/WorkArea.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>

namespace nuvask {

namespace {
int g_timeScale = 1000; // permille of real time

const QColor kKeldoGreen(0, 128, 0);
const QColor kKeldoText(255, 255, 255);

qint32 toColorRef(const QColor &c)
{
    return qint32((c.blue() << 16) | (c.green() << 8) | c.red());
}

QColor fromColorRef(qint32 ref)
{
    const auto v = quint32(ref);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

// Hourglass for the length of a colour change or an install.
struct BusyCursor
{
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
};
} // namespace

void SetupWindow::SetTimeScalePermille(int permille)
{
    g_timeScale = std::max(1, permille);
}

SetupWindow::SetupWindow(int startMode, const SetupServices &services, const StartValues &start,
                                 QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), m_startMode(startMode), m_services(services),
      m_start(start), m_names(MakeSetupNames(start))
{
    setObjectName(QLatin1String(kSetupWindowClass));
    setWindowTitle(setupText::Caption());
    // Client pixels: the design's 456 and room for the colour boxes' English
    // captions ("Standard colours").
    setFixedSize(490, 171);
    QFont font(QStringLiteral("System"));
    font.setPixelSize(13);
    setFont(font);
    setAutoFillBackground(true);
    BuildControls();
    // In setup and uninstall modes this is the program's window: message
    // boxes and the folder browser take its colours, as they take the main
    // window's otherwise (the uninstaller copy's come from the record).
    SetMainWindow(this);
    const SetupContext context{services.settingsTree, services.groups, services.desktop, services.platform, *this,
                               start, m_names};
    m_installer = std::make_unique<SetupInstaller>(context);
    m_uninstaller = std::make_unique<Uninstaller>(context);

    // Colours from the settings; each check runs its click action.
    QString back, keldo;
    if (auto key = services.settingsTree.open(SettingsRoot::CurrentUser, SettingsKeyPath(start.ProgramShortName), false)) {
        back = key->readString(QLatin1String(setting::BackColor.name));
        keldo = key->readString(QLatin1String(setting::KeldoColor.name));
    }
    ApplyColours();
    if (SettingsStore::parseSwitch(back, setting::BackColor.defaultText)) {
        m_checkBoxBkColor->setChecked(true);
        CheckBoxBkColorClick();
    }
    if (SettingsStore::parseSwitch(keldo, setting::KeldoColor.defaultText)) {
        m_keldoColor->setChecked(true);
        KeldoColorClick();
    }

    setWindowIcon(QApplication::windowIcon());
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
    }

    const QString programName = services.platform.Names().program;
    if (startMode == StartNormal) {
        SetCaption(m_names.VersionedTitle + setupText::InstallSuffix());
        m_label1->setText(programName + setupText::Label1());
        m_label2->setText(programName + setupText::Label2());
        QCoreApplication::processEvents();
        m_defaultInstallDir = services.platform.DefaultInstallDir();
        QString stored;
        if (auto key = services.settingsTree.open(SettingsRoot::CurrentUser, SettingsKeyPath(start.ProgramShortName), false)) {
            stored = key->readString(QLatin1String(setting::ExePath.name));
            m_storedGroup = key->readString(QLatin1String(setting::Group.name));
        }
        if (!stored.isEmpty())
            m_defaultInstallDir = stored;
        m_edit1->setText(m_defaultInstallDir);
        m_edit1->setCursorPosition(0); // the start of a long path is what tells it apart
        // The group list once the window is up: a failure shows a box.
        QTimer::singleShot(0, this, &SetupWindow::FillGroups);
    } else {
        SetCaption(m_names.VersionedTitle + setupText::UninstallSuffix());
        switch (startMode) {
        case StartUninstallRequested:
            m_timer1->start();
            break;
        case StartAsUninstaller:
            m_timer2->start();
            break;
        default:
            m_timerErOut->start();
            break;
        }
    }
}

SetupWindow::~SetupWindow() = default;

QTimer *SetupWindow::MakeTimer(const char *name, int ms, void (SetupWindow::*slot)())
{
    auto *timer = new QTimer(this);
    timer->setObjectName(QLatin1String(name));
    timer->setInterval(std::max(1, ms * g_timeScale / 1000));
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, slot);
    return timer;
}

void SetupWindow::BuildControls()
{
    auto button = [this](const char *name, const QString &caption, QRect geometry, const QString &hint) {
        auto *b = new ColourButton(this);
        b->setObjectName(QLatin1String(name));
        b->SetCaption(caption);
        b->setGeometry(geometry);
        b->setToolTip(hint);
        return b;
    };
    m_label1 = new QLabel(setupText::Label1(), this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setGeometry(8, 8, 280, 20);
    m_edit1 = new QLineEdit(this);
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_edit1->setGeometry(8, 32, 287, 24); // ends left of the Browse button
    m_edit1->setToolTip(setupText::Edit1Hint());
    m_button1 = button("Button1", setupText::Browse(), {296, 32, 57, 24}, setupText::BrowseHint());
    m_button4 = button("Button4", setupText::Default(), {296, 8, 57, 24}, setupText::DefaultHint());
    m_label2 = new QLabel(setupText::Label2(), this);
    m_label2->setObjectName(QStringLiteral("Label2"));
    m_label2->setGeometry(8, 80, 313, 20);
    m_comboBox1 = new QComboBox(this);
    m_comboBox1->setObjectName(QStringLiteral("ComboBox1"));
    m_comboBox1->setGeometry(8, 104, 313, 24);
    m_comboBox1->setEditable(true);
    m_comboBox1->setInsertPolicy(QComboBox::NoInsert);
    m_comboBox1->setToolTip(setupText::GroupHint());
    m_checkBoxST = new QCheckBox(setupText::StartupBox(), this);
    m_checkBoxST->setObjectName(QStringLiteral("CheckBoxST"));
    m_checkBoxST->setGeometry(8, 144, 340, 20);
    m_keldoColor = new QCheckBox(setupText::KeldoColor(), this);
    m_keldoColor->setObjectName(QStringLiteral("KELDO_COLOR"));
    m_keldoColor->setGeometry(360, 8, 124, 20);
    m_checkBoxBkColor = new QCheckBox(setupText::BackColor(), this);
    m_checkBoxBkColor->setObjectName(QStringLiteral("CheckBoxBkColor"));
    m_checkBoxBkColor->setGeometry(360, 32, 124, 20);
    // Button5 lies beneath Button3 and shows through while it is hidden.
    m_button5 = button("Button5", setupText::Installing(), {384, 64, 81, 33}, QString());
    m_button3 = button("Button3", setupText::Install(), {384, 64, 81, 33}, setupText::InstallHint());
    m_button3->SetBevelWidth(2);
    m_button3->SetDefault(true);
    m_button2 = button("Button2", setupText::Cancel(), {384, 104, 81, 33}, setupText::CancelHint());
    m_button2->SetCancel(true);
    m_button3->raise();

    setTabOrder(m_button3, m_button2);
    setTabOrder(m_button2, m_button5);
    setTabOrder(m_button5, m_button4);
    setTabOrder(m_button4, m_button1);
    setTabOrder(m_button1, m_edit1);
    setTabOrder(m_edit1, m_comboBox1);
    setTabOrder(m_comboBox1, m_checkBoxST);
    setTabOrder(m_checkBoxST, m_keldoColor);
    setTabOrder(m_keldoColor, m_checkBoxBkColor);

    m_messageBox = new MessageBox(this);
    m_messageBox->setObjectName(QStringLiteral("MKBoxDlg1"));
    m_messageBox->SetSourceHandle(this);
    m_folderBrowser = new FolderBrowser(this);
    m_folderBrowser->setObjectName(QStringLiteral("DIR2OPENDLG1"));
    m_folderBrowser->SetFilter(setupText::BrowseFilter);
    m_folderBrowser->SetSourceHandle(this);

    m_timer1 = MakeTimer("Timer1", 500, &SetupWindow::Timer1Timer);       // milliseconds
    m_timer2 = MakeTimer("Timer2", 500, &SetupWindow::Timer2Timer);       // milliseconds
    m_timer3 = MakeTimer("Timer3", 1000, &SetupWindow::Timer3Timer);      // milliseconds
    m_timerErOut = MakeTimer("TimerErOut", 1000, &SetupWindow::TimerErOutTimer); // milliseconds
    m_timerEnd = MakeTimer("Timer_END", 1000, &SetupWindow::TimerEndTimer); // milliseconds

    connect(m_button1, &ColourButton::OnClick, this, &SetupWindow::Button1Click);
    connect(m_button2, &ColourButton::OnClick, this, &SetupWindow::Button2Click);
    connect(m_button3, &ColourButton::OnClick, this, &SetupWindow::Button3Click);
    connect(m_button4, &ColourButton::OnClick, this, &SetupWindow::Button4Click);
    connect(m_checkBoxBkColor, &QCheckBox::clicked, this, &SetupWindow::CheckBoxBkColorClick);
    connect(m_keldoColor, &QCheckBox::clicked, this, &SetupWindow::KeldoColorClick);
}

void SetupWindow::FillGroups()
{
    const std::optional<QString> reply = m_services.groups.RequestGroupsReply();
    if (!reply) {
        ShowOK(setupText::GroupsFailed());
        return;
    }
    QStringList names = SplitGroupsReply(*reply);
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    const QString keldo = QStringLiteral("KELDO SOFT");
    const QString keldo32 = QStringLiteral("KELDO SOFT32");
    if (names.removeAll(keldo) > 0)
        names << keldo;
    names.removeAll(keldo32);
    names << keldo32;
    m_comboBox1->clear();
    m_comboBox1->addItems(names);
    const qsizetype stored = m_storedGroup.isEmpty() ? -1 : names.indexOf(m_storedGroup);
    m_comboBox1->setCurrentIndex(int(stored >= 0 ? stored : names.size() - 1));
}

void SetupWindow::Button1Click()
{
    m_folderBrowser->SetStandardColor(m_checkBoxBkColor->isChecked());
    m_folderBrowser->SetTitle(setupText::BrowseTitle());
    m_folderBrowser->SetDirectory(m_edit1->text());
    if (m_folderBrowser->Execute(QString()) == 1 && !m_folderBrowser->Directory().isEmpty())
        m_edit1->setText(m_folderBrowser->Directory());
    m_edit1->setFocus();
}

void SetupWindow::Button4Click()
{
    m_edit1->setText(m_defaultInstallDir);
    m_edit1->setFocus();
}

void SetupWindow::Button2Click()
{
    ShowOK(setupText::Cancelled());
    update();
    Finish();
}

void SetupWindow::Button3Click()
{
    m_button3->hide();
    InstallOutcome outcome;
    {
        BusyCursor busy;
        QCoreApplication::processEvents();
        InstallRequest request;
        request.folder = m_edit1->text();
        request.group = m_comboBox1->currentText();
        request.startup = m_checkBoxST->isChecked();
        request.backColor = m_checkBoxBkColor->isChecked();
        request.keldoColor = m_keldoColor->isChecked();
        request.sourceExe = m_services.exePath;
        outcome = m_installer->Install(request);
        m_group = request.group;
    }
    update();
    if (outcome != InstallOutcome::Done) {
        m_button3->show();
        return;
    }
    raise();
    m_timerEnd->start();
}

void SetupWindow::TimerEndTimer()
{
    m_timerEnd->stop();
    show();
    raise();
    QCoreApplication::processEvents();
    ShowOK(setupText::Done().arg(m_group));
    update();
    QCoreApplication::processEvents();
    Finish();
}

void SetupWindow::CheckBoxBkColorClick()
{
    BusyCursor busy;
    if (m_checkBoxBkColor->isChecked() && m_keldoColor->isChecked()) {
        m_keldoColor->setChecked(false);
        KeldoColorClick();
    }
    ApplyColours();
}

void SetupWindow::KeldoColorClick()
{
    BusyCursor busy;
    if (m_keldoColor->isChecked() && m_checkBoxBkColor->isChecked()) {
        m_checkBoxBkColor->setChecked(false);
        CheckBoxBkColorClick();
    }
    if (m_keldoColor->isChecked()) {
        m_windowColor = kKeldoGreen;
        m_fontColor = kKeldoText;
    } else {
        // A desktop with light text on dark windows gets its window colour,
        // else the button face.
        const QPalette system = QApplication::palette();
        const bool lightText = (system.color(QPalette::WindowText).rgb() & 0xFFFFFF) != 0;
        m_windowColor = lightText ? system.color(QPalette::Base) : system.color(QPalette::Button);
        m_fontColor = system.color(QPalette::WindowText);
    }
    ApplyColours();
}

void SetupWindow::ApplyColours()
{
    if (!m_windowColor.isValid())
        KeldoColorClick(); // first call: the desktop's colours
    QPalette p = palette();
    p.setColor(QPalette::Window, m_windowColor);
    p.setColor(QPalette::WindowText, m_fontColor);
    p.setColor(QPalette::ButtonText, m_fontColor);
    setPalette(p);
    const QColor field = m_checkBoxBkColor->isChecked() ? QApplication::palette().color(QPalette::Base) : m_windowColor;
    const QColor fieldText =
        m_checkBoxBkColor->isChecked() ? QApplication::palette().color(QPalette::Text) : m_fontColor;
    for (QWidget *w : {static_cast<QWidget *>(m_edit1), static_cast<QWidget *>(m_comboBox1)})
        SetFieldColours(w, field, fieldText);
    update();
}

int SetupWindow::ShowYesNoTimer(const QString &text, int defaultAnswer)
{
    return m_messageBox->ShowYesNoTimer(text, defaultAnswer);
}

void SetupWindow::ShowOK(const QString &text)
{
    m_messageBox->ShowOK(text);
}

void SetupWindow::Beep()
{
    QApplication::beep();
}

QString SetupWindow::Caption() const
{
    return windowTitle();
}

void SetupWindow::SetCaption(const QString &caption)
{
    setWindowTitle(caption);
    SetApplicationTitle(caption);
}

qint32 SetupWindow::WindowColor() const
{
    return toColorRef(m_windowColor);
}

qint32 SetupWindow::FontColor() const
{
    return toColorRef(m_fontColor);
}

void SetupWindow::SetColors(qint32 window, qint32 font)
{
    m_windowColor = fromColorRef(window);
    m_fontColor = fromColorRef(font);
    ApplyColours();
}

void SetupWindow::ResetColors()
{
    m_keldoColor->setChecked(false);
    m_windowColor = QApplication::palette().color(QPalette::Button);
    m_fontColor = QApplication::palette().color(QPalette::WindowText);
    ApplyColours();
}

void SetupWindow::Timer1Timer()
{
    m_timer1->stop();
    m_uninstaller->RunInstalledCopy(m_services.exePath);
    update();
    Finish();
}

void SetupWindow::Timer2Timer()
{
    m_timer2->stop();
    if (m_uninstaller->StartCopy(m_services.parameters, m_services.exePath))
        m_timer3->start();
    else
        Finish();
}

void SetupWindow::Timer3Timer()
{
    m_timer3->stop();
    if (m_uninstaller->Tick())
        Finish();
    else
        m_timer3->start();
}

void SetupWindow::TimerErOutTimer()
{
    m_timerErOut->stop();
    m_uninstaller->Refuse();
    update();
    Finish();
}

void SetupWindow::Finish()
{
    if (m_finished)
        return;
    m_finished = true;
    close();
    emit Finished();
}

void SetupWindow::closeEvent(QCloseEvent *event)
{
    QGuiApplication::restoreOverrideCursor();
    QWidget::closeEvent(event);
    if (!m_finished) {
        m_finished = true;
        emit Finished();
    }
}

} // namespace nuvask
