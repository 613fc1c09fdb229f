// What one run of the folder browser remembers.

#include "core/folders/FolderBrowserState.h"

namespace nuvask {

void FolderBrowserState::Enter(const QString &folder, const QString &driveRoot)
{
    m_current = folder;
    m_lastPerDrive.insert(driveRoot, folder);
}

void FolderBrowserState::Listed(const QString &folder)
{
    m_listed = folder;
    m_history.append(folder);
}

QString FolderBrowserState::TakePrevious()
{
    if (!CanGoBack())
        return {};
    m_history.removeLast();
    return m_history.takeLast();
}

} // namespace nuvask
