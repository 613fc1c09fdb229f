#pragma once
// Path rules of the folder browser on a file system whose only root is "/".
// Paths are absolute and use "/" between folders; the root is the one path
// that keeps its separator at the end.

#include <QString>
#include <QStringList>

namespace nuvask {

inline constexpr QChar kFolderSeparator = u'/';

// "/a/b/" -> "/a/b"; "/" and "" stay as they are.
QString StripTrailingSeparator(const QString &path);
// "/a" -> "/a/"; "/" stays; "" stays empty.
QString WithTrailingSeparator(const QString &path);

// An absolute path without "." or ".." parts and without a trailing
// separator. A relative path is taken relative to `base` (the current folder
// of the browser); an empty path stays empty.
QString NormalisedFolder(const QString &path, const QString &base = QString());

// The parent of "/a/b" is "/a", of "/a" and of "/" it is "/".
QString ParentFolder(const QString &path);

// "/a/b" -> {"/", "a", "b"}; the root is always the first component.
QStringList FolderComponents(const QString &path);
// The path made of the first `count` components.
QString JoinFolderComponents(const QStringList &components, qsizetype count);
// "/a/b" -> {"/", "/a", "/a/b"}.
QStringList CumulativeFolders(const QString &path);

// True when the folder can be shown: it exists, is a folder (after following
// links) and its entries can be read. Unreadable folders, dangling links and
// link loops all answer false, so the browser never tries to list them.
bool CanOpenFolder(const QString &path);

// The deepest folder above `path` (its parent, or higher) that can be opened;
// "/" when none can.
QString NearestOpenableFolder(const QString &path);

// The start folder of a browser run: `directory`, or its nearest openable
// ancestor when it cannot be opened; if `directory` is empty the same with
// `initialDir`; if that is empty too, or the result cannot be opened, the
// program's own folder.
QString StartFolder(const QString &directory, const QString &initialDir, const QString &programFolder);

// The prompt of the new-folder box: the folder with a trailing separator, and
// when that is longer than 38 bytes of code page 932, "..." and its last 36
// bytes, never starting inside a double-byte character; five blanks follow.
QString NewFolderPrompt(const QString &folder);

// A name that creates exactly one folder inside the current one: not empty,
// not "." or "..", no separator and no NUL character.
bool IsPlainFolderName(const QString &name);

// The program's own folder without its trailing separator.
QString ProgramFolder();

} // namespace nuvask
