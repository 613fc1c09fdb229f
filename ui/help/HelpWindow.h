#pragma once
// The program's help viewer: one window for one help file, with a table of
// contents, a keyword search and the help text itself. The main window opens
// it on the help menu's commands and closes it when it closes itself.

#include "core/help/HelpIndex.h"

#include <QWidget>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;

namespace nuvask {

class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // The three commands of the help menu, and closing the window again. Each
    // command (re)reads the file when it is another file or has changed.
    void ShowContents(const QString &helpFile);
    void ShowKeywordSearch(const QString &helpFile, const QString &typed = {});
    void ShowHelpOnHelp(const QString &helpFile);
    void Quit();

    // What the window shows (for the help-on-help page and tests).
    QString CurrentTopic() const { return m_currentTopic; }
    const HelpIndex &Index() const { return m_index; }
    bool FileLoaded() const { return m_loaded; }

    void ShowTopic(const QString &id);

private:
    void load(const QString &helpFile);
    void present();
    void keywordTyped(const QString &text);
    void keywordChosen();

    QTabWidget *m_tabs = nullptr;
    QTreeWidget *m_contents = nullptr;
    QLineEdit *m_keywordEdit = nullptr;
    QListWidget *m_keywordList = nullptr;
    QTextBrowser *m_browser = nullptr;
    HelpIndex m_index;
    QString m_file;
    qint64 m_fileStamp = -1; // milliseconds since the epoch of the loaded file
    bool m_loaded = false;
    QString m_currentTopic;
};

} // namespace nuvask
