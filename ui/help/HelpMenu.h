#pragma once
// The Help menu's commands that belong to no other feature: the help window
// (contents, keyword search, help on help, closed with the main window), the
// deletion of the stored version number, the contact text and the version
// display through the about box. HELP3 (the tool-tip switch) stays with the
// window's colours and hints.

#include <QObject>
#include <QPointer>
#include <QCoreApplication>
#include <QString>

class QWidget;

namespace nuvask {

class ISettingsTree;
class HelpWindow;
class AboutBox;
class MessageBox;
struct MainMenu;

namespace helpMenuText {
inline QString AskVersionCut()
{
    return QCoreApplication::translate("HelpMenu", "バージョン番号削除：\n"
                                                   "インストールソフトを再起動させたい時に使います。\n"
                                                   "なお、バージョンが違う時は、インストールソフトが自動起動するので、\n"
                                                   "バージョン番号を削除する必要無しです。\n"
                                                   "バージョン番号を削除してもよろしいですか？？？");
}
inline QString VersionCutStopped() { return QCoreApplication::translate("HelpMenu", "バージョン番号削除を中止しました・・・"); }
inline QString ContactHead() { return QCoreApplication::translate("HelpMenu", "お問い合わせは、下記へどうぞ☆☆☆"); }
inline QString ContactHome() { return QCoreApplication::translate("HelpMenu", "ホームページ："); }
inline QString ContactMail() { return QCoreApplication::translate("HelpMenu", "電子メール宛先："); }
inline QString Comment0() { return QCoreApplication::translate("HelpMenu", "自動録音ボリューム調整ソフト☆☆☆"); }
inline QString Comment1() { return QCoreApplication::translate("HelpMenu", "ピークホールド／メーター対応☆☆☆"); }
// When the program was made: year.month-year.month.
inline const QString Copyright = QStringLiteral("2026.10-2026.12");
} // namespace helpMenuText

class HelpMenu : public QObject
{
    Q_OBJECT
public:
    // window: the main window (parent, redrawn after the commands); helpFile:
    // the help file the commands open (HelpFilePath()).
    HelpMenu(QWidget *window, const MainMenu &menu, MessageBox *messageBox, ISettingsTree &settingsTree,
             QString settingsKeyPath, QString helpFile);
    ~HelpMenu() override;

    // The program's help file beside the program: NUVASK.HLP, or NUVASK_EN.HLP in English.
    static QString HelpFilePath();

    void HELP_MOKUJIClick();
    void HELP_KEYWORDClick();
    void HELP_HELPClick();
    // Close step of the main window: the help window goes with it.
    void QuitHelp();
    void MHELP_VERCUTClick();
    void MQ_AClick();
    void HELP2Click();

    // The contact text MQ_A shows.
    static QString ContactText();
    HelpWindow *helpWindow() const;
    AboutBox *aboutBox() const { return m_aboutBox; }

private:
    HelpWindow &help();
    void redraw();

    QPointer<QWidget> m_window;
    MessageBox *m_messageBox;
    ISettingsTree &m_settingsTree;
    QString m_settingsKeyPath;
    QString m_helpFile;
    QPointer<HelpWindow> m_help;
    AboutBox *m_aboutBox = nullptr;
};

} // namespace nuvask
