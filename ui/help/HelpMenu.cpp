// The Help menu's commands.

#include "ui/help/HelpMenu.h"

#include "core/startup/ProgramEntry.h"
#include "core/startup/LanguageChoice.h"
#include "core/settings/SettingsTree.h"
#include "core/settings/SettingsStore.h"
#include "core/help/VersionDisplay.h"
#include "ui/help/AboutBox.h"
#include "ui/help/AboutTexts.h"
#include "ui/help/HelpWindow.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/mainwindow/MainMenu.h"
#include "ui/dialogs/MessageBoxWindow.h"
#include "ui/dialogs/WorkArea.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QWidget>

namespace nuvask {

HelpMenu::HelpMenu(QWidget *window, const MainMenu &menu, MessageBox *messageBox, ISettingsTree &settingsTree,
                   QString settingsKeyPath, QString helpFile)
    : QObject(window), m_window(window), m_messageBox(messageBox), m_settingsTree(settingsTree),
      m_settingsKeyPath(std::move(settingsKeyPath)), m_helpFile(std::move(helpFile))
{
    m_aboutBox = new AboutBox(this);
    connect(menu.HELP_MOKUJI, &QAction::triggered, this, &HelpMenu::HELP_MOKUJIClick);
    connect(menu.HELP_KEYWORD, &QAction::triggered, this, &HelpMenu::HELP_KEYWORDClick);
    connect(menu.HELP_HELP, &QAction::triggered, this, &HelpMenu::HELP_HELPClick);
    connect(menu.MHELP_VERCUT, &QAction::triggered, this, &HelpMenu::MHELP_VERCUTClick);
    // Only a program that installs itself has a setup to start again.
    menu.MHELP_VERCUT->setVisible(!Start().Packaged);
    connect(menu.MQ_A, &QAction::triggered, this, &HelpMenu::MQ_AClick);
    connect(menu.HELP2, &QAction::triggered, this, &HelpMenu::HELP2Click);
}

HelpMenu::~HelpMenu()
{
    // The help window is a top-level window of its own, not a child.
    delete m_help.data();
}

QString HelpMenu::HelpFilePath()
{
    // The help in the language the program speaks; the Japanese file when a
    // copy lacks the English one.
    const QString chosen = Start().ProgramDir + HelpFileName(Start().ProgramShortName, CurrentLanguage());
    if (QFileInfo::exists(chosen))
        return chosen;
    return Start().ProgramDir + HelpFileName(Start().ProgramShortName, UiLanguage::Japanese);
}

HelpWindow *HelpMenu::helpWindow() const
{
    return m_help.data();
}

HelpWindow &HelpMenu::help()
{
    if (!m_help)
        m_help = new HelpWindow();
    return *m_help;
}

void HelpMenu::redraw()
{
    if (m_window)
        m_window->update();
}

void HelpMenu::HELP_MOKUJIClick()
{
    help().ShowContents(m_helpFile);
}

void HelpMenu::HELP_KEYWORDClick()
{
    help().ShowKeywordSearch(m_helpFile);
}

void HelpMenu::HELP_HELPClick()
{
    help().ShowHelpOnHelp(m_helpFile);
}

void HelpMenu::QuitHelp()
{
    if (m_help)
        m_help->Quit();
}

void HelpMenu::MHELP_VERCUTClick()
{
    if (m_messageBox->ShowYesNoTimer(helpMenuText::AskVersionCut(), mkresult::kYes) != mkresult::kYes) {
        m_messageBox->ShowOKTimer(helpMenuText::VersionCutStopped(), mkresult::kOk);
        redraw();
        return;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QCoreApplication::processEvents();
    // The value is emptied, not deleted: an empty "Version" reads as "not
    // installed" at the next start, which then opens the setup window.
    if (auto key = m_settingsTree.open(SettingsRoot::CurrentUser, m_settingsKeyPath, true))
        key->writeString(QLatin1String(setting::Version.name), QString());
    redraw();
    QGuiApplication::restoreOverrideCursor();
}

QString HelpMenu::ContactText()
{
    const QStringList lines{helpMenuText::ContactHead(), helpMenuText::ContactHome(),
                            maker::HomePage1,          maker::HomePage2,
                            maker::HomePage3,          QString(),
                            helpMenuText::ContactMail(), maker::Mail};
    return lines.join(QLatin1Char('\n'));
}

void HelpMenu::MQ_AClick()
{
    m_messageBox->ShowOK(ContactText());
    redraw();
}

void HelpMenu::HELP2Click()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QCoreApplication::processEvents();
    QString stored;
    if (auto key = m_settingsTree.open(SettingsRoot::CurrentUser, m_settingsKeyPath, false))
        stored = key->readString(QLatin1String(setting::Version.name));
    const QString title = ShownTitle(Start().ProgramTitle);
    m_aboutBox->SetProductName(title);
    m_aboutBox->SetVersion(StoredVersionText(stored));
    m_aboutBox->SetCopyright(helpMenuText::Copyright);
    m_aboutBox->SetTitle(title);
    m_aboutBox->SetComment0(helpMenuText::Comment0());
    m_aboutBox->SetComment1(helpMenuText::Comment1());
    m_aboutBox->SetComment2(QString());
    // The busy cursor is for the reading, not for the time the box is open.
    QGuiApplication::restoreOverrideCursor();
    m_aboutBox->Execute();
}

} // namespace nuvask
