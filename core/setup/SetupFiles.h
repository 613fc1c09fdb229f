#pragma once
// The folder and file routines that installation and uninstallation share:
// the ancestor list of a folder, turning a typed folder into a file-system
// path, the copy in blocks that keeps the file's date, and comparing paths
// and files as the file system sees them.

#include <QString>
#include <QStringList>

namespace nuvask {

// Block sizes of CopyFileChunked, the larger tried first (bytes).
inline constexpr qint64 kCopyBlockLarge = 655300;
inline constexpr qint64 kCopyBlockSmall = 32700;

// "/a/b/c" gives "/", "/a", "/a/b", "/a/b/c": every ancestor, shortest first,
// without trailing separators (the root keeps its own).
QStringList SplitAncestors(const QString &folder);

// Turns a folder whose names may be what the desktop shows into the
// file-system path. Here a folder's shown name is its file name, so every
// component must exist as typed (letter case included); symbolic links are
// resolved. Succeeds only for an absolute result, which then replaces path.
bool ResolveShellPath(QString &path);

// Copies source to destination in blocks, giving the copy the source's
// modification time. Empty result = copied; otherwise the error text, and a
// partly written destination is deleted.
QString CopyFileChunked(const QString &source, const QString &destination);
// The same with a given block size (bytes), for the boundaries.
QString CopyFileChunkedWith(const QString &source, const QString &destination, qint64 blockBytes);

// 0 the file was writable, 1 it was made writable for its owner, 255 its
// permissions cannot be read or changed.
int ClearReadOnly(const QString &file);

// Whether two paths name the same file or folder as the file system compares
// them: exactly, after resolving symbolic links ("." and ".." too). A folder
// that differs only in letter case is another folder.
bool SamePath(const QString &a, const QString &b);

// Whether two files hold the same bytes (both readable).
bool SameContent(const QString &a, const QString &b);

// Removes `folder` and then each folder above it while it is left empty,
// deepest first; stops at the first that stays, at `keepDir` (the deepest
// folder that was there before the install, which stays with everything
// above it) and at the root. Returns the folder where the walk stopped.
QString RemoveEmptiedFolders(const QString &folder, const QString &keepDir);

} // namespace nuvask
