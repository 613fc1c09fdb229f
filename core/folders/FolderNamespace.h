#pragma once
// Folder names as the browser shows them and the paths behind them. Here a
// folder's display name is its file name as a person reads it (FileNames.h:
// bytes that are no UTF-8 show as U+FFFD, a line break as one sign); its
// path keeps the name's bytes. A typed path that does not exist as written is
// looked up name by name, letter case ignored where the exact name is not
// there.

#include <QDateTime>
#include <QList>
#include <QString>

namespace nuvask {

// One entry of a folder as the disk has it, links followed.
struct FolderEntry
{
    QString name; // every byte kept (FileNames.h)
    bool folder = false;
    bool regularFile = false;
    bool writable = false;
    qint64 size = 0; // bytes
    QDateTime modified;
};

// Every entry of `folder` but "." and "..", in the order the disk gives
// them, names not valid UTF-8 included. A link whose target is gone or loops
// is neither a folder nor a regular file. `ok` is false when `folder`
// itself cannot be read.
QList<FolderEntry> ReadFolder(const QString &folder, bool *ok = nullptr);

struct SubFolder
{
    QString name;    // the folder's own name, every byte kept
    QString display; // the name shown
    QString path;    // the folder's full path, every byte kept
};

// The folders directly inside `folder` (links to folders and hidden folders
// included), sorted by display name. Entries that cannot be opened (dangling
// links, link loops) are left out. `ok` is false when `folder` itself cannot
// be read.
QList<SubFolder> SubFolders(const QString &folder, bool *ok = nullptr);

// The path of `path` written in display names, or empty when a component is
// not found or the result is not an absolute path. A path that can be opened
// as written is returned unchanged (without its trailing separator).
QString TranslateDisplayPath(const QString &path);

// Sorting of folder names shared by every view.
bool DisplayNameLess(const QString &a, const QString &b);

} // namespace nuvask
