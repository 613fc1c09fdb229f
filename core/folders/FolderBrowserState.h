#pragma once
// What one run of the folder browser remembers: the folder shown, the folder
// whose files are listed, the folders listed so far (for going back) and the
// last folder of each drive. All of it lives for one run.

#include <QHash>
#include <QString>
#include <QStringList>

namespace nuvask {

class FolderBrowserState
{
public:
    QString CurrentFolder() const { return m_current; }
    // Makes `folder` current and the last folder of its drive `driveRoot`.
    void Enter(const QString &folder, const QString &driveRoot);

    QString ListedFolder() const { return m_listed; }
    // A file listing of `folder` began: it is the listed folder and joins the
    // history.
    void Listed(const QString &folder);

    const QStringList &History() const { return m_history; }
    void ClearHistory() { m_history.clear(); }
    // Going back is possible with more than one folder in the history.
    bool CanGoBack() const { return m_history.size() > 1; }
    // The folder to go back to: the last one is dropped, and the one before
    // it as well (listing it again adds it back). Empty when not possible.
    QString TakePrevious();

    // The last folder visited on the drive, or empty.
    QString LastFolderOf(const QString &driveRoot) const { return m_lastPerDrive.value(driveRoot); }

private:
    QString m_current;
    QString m_listed;
    QStringList m_history;
    QHash<QString, QString> m_lastPerDrive; // mount root -> folder
};

} // namespace nuvask
