#pragma once
// The setup and uninstall window. Its class name is what a start looks for
// before opening a second one. In the install mode it asks for the folder and
// the program group and installs; in the uninstall modes it stays hidden and
// only its message boxes show.

#include "core/startup/ProgramEntry.h"
#include "core/setup/SetupNames.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTimer;

namespace nuvask {

class ISettingsTree;
class IMenuGroups;
class IDesktopEntries;
class ISetupPlatform;
class SetupInstaller;
class ColourButton;
class FolderBrowser;
class MessageBox;
class Uninstaller;

struct SetupServices
{
    ISettingsTree &settingsTree;
    IMenuGroups &groups;
    IDesktopEntries &desktop;
    ISetupPlatform &platform;
    QString exePath;        // the running executable
    QStringList parameters; // the command line without the program
};

class SetupWindow : public QWidget, public ISetupView
{
    Q_OBJECT
public:
    SetupWindow(int startMode, const SetupServices &services, const StartValues &start,
                    QWidget *parent = nullptr);
    ~SetupWindow() override;

    int startMode() const { return m_startMode; }
    MessageBox *messageBox() const { return m_messageBox; }
    FolderBrowser *folderBrowser() const { return m_folderBrowser; }
    // Shortens every timer (tests); 1000 is real time.
    static void SetTimeScalePermille(int permille);

    // ISetupView
    int ShowYesNoTimer(const QString &text, int defaultAnswer) override;
    void ShowOK(const QString &text) override;
    void Beep() override;
    QString Caption() const override;
    void SetCaption(const QString &caption) override;
    qint32 WindowColor() const override;
    qint32 FontColor() const override;
    void SetColors(qint32 window, qint32 font) override;
    void ResetColors() override;

signals:
    // The window has finished its work (it may never have been shown).
    void Finished();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void BuildControls();
    void FillGroups();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void CheckBoxBkColorClick();
    void KeldoColorClick();
    void ApplyColours();
    void Timer1Timer();
    void Timer2Timer();
    void Timer3Timer();
    void TimerErOutTimer();
    void TimerEndTimer();
    void Finish();
    QTimer *MakeTimer(const char *name, int ms, void (SetupWindow::*slot)());

    int m_startMode;
    SetupServices m_services;
    StartValues m_start;
    SetupNames m_names;
    QString m_defaultInstallDir;
    QString m_storedGroup;
    QString m_group; // the group of a finished install
    QColor m_windowColor;
    QColor m_fontColor;
    bool m_finished = false;

    QLabel *m_label1 = nullptr;
    QLineEdit *m_edit1 = nullptr;
    ColourButton *m_button1 = nullptr;
    ColourButton *m_button4 = nullptr;
    QLabel *m_label2 = nullptr;
    QComboBox *m_comboBox1 = nullptr;
    QCheckBox *m_checkBoxST = nullptr;
    QCheckBox *m_keldoColor = nullptr;
    QCheckBox *m_checkBoxBkColor = nullptr;
    ColourButton *m_button3 = nullptr;
    ColourButton *m_button5 = nullptr;
    ColourButton *m_button2 = nullptr;
    MessageBox *m_messageBox = nullptr;
    FolderBrowser *m_folderBrowser = nullptr;
    QTimer *m_timer1 = nullptr;
    QTimer *m_timer2 = nullptr;
    QTimer *m_timer3 = nullptr;
    QTimer *m_timerErOut = nullptr;
    QTimer *m_timerEnd = nullptr;
    std::unique_ptr<SetupInstaller> m_installer;
    std::unique_ptr<Uninstaller> m_uninstaller;
};

} // namespace nuvask
