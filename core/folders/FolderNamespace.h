#pragma once
// Folder names as the browser shows them and the paths behind them. Here a
// folder's display name is its file name; a typed path that does not exist
// as written is looked up name by name, letter case ignored where the exact
// name is not there.

#include <QList>
#include <QString>

namespace nuvask {

struct SubFolder
{
    QString display; // the name shown
    QString path;    // the folder's full path
};

// The folders directly inside `folder` (links to folders included), sorted by
// display name. Dot-folders only with `showHidden`. Entries that cannot be
// opened (dangling links, link loops) are left out. `ok` is false when
// `folder` itself cannot be read.
QList<SubFolder> SubFolders(const QString &folder, bool showHidden, bool *ok = nullptr);

// The path of `path` written in display names, or empty when a component is
// not found or the result is not an absolute path. A path that can be opened
// as written is returned unchanged (without its trailing separator).
QString TranslateDisplayPath(const QString &path);

// Sorting of folder names shared by every view.
bool DisplayNameLess(const QString &a, const QString &b);

} // namespace nuvask
