#pragma once
// Reading and writing the [Desktop Entry] group of freedesktop .desktop and
// .directory files, with the two layers of escaping an Exec line needs: the
// argument quoting of the Exec key inside the string escaping of the file.

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>

namespace nuvask::DesktopEntryFile {

using Entries = QList<QPair<QString, QString>>; // key, value as the program means it

// String escaping of a key-file value: backslash, line ends, tab, and a
// leading blank. Unescape is its inverse (unknown escapes are kept).
QString EscapeValue(const QString &value);
QString UnescapeValue(const QString &value);

// One Exec argument: quoted when it holds a reserved character (or a brace,
// which KDE refuses bare), with the four characters that need it escaped
// inside the quotes; '%' doubled so that it is never read as a field code.
QString QuoteExecArgument(const QString &argument);
// The arguments of an Exec line, before the file's string escaping.
QString ExecLine(const QStringList &arguments);
// The inverse: an Exec value as the file holds it (string escaping still
// on) split into arguments; nothing when the quoting is broken.
std::optional<QStringList> ParseExec(const QString &fileValue);

// The Exec value (before the file's string escaping) of a launcher that
// starts `program` with `arguments`. GLib (gio launch, GNOME, Xfce and the
// XDG autostart of most desktops) and KDE look for the program as written,
// with a "%%" still doubled, and refuse the launcher when it is not found;
// KDE also takes a program path holding '=' for an environment setting. Such
// a program is therefore started through "sh -c", whose own name needs
// neither, and its path becomes an argument, where every reader turns "%%"
// back into '%'.
QString LauncherExec(const QString &program, const QStringList &arguments = {});

// The entries of a launcher named `name` that starts `program` with
// `arguments` in the program's own folder; Icon only when `icon` is given.
Entries LauncherEntries(const QString &name, const QString &program, const QString &icon,
                        const QStringList &arguments = {});

// Writes "[Desktop Entry]" and the entries (escaped) atomically. executable
// sets the owner's execute bit, which desktops ask of launchers on the desktop.
bool Write(const QString &path, const Entries &entries, bool executable = false);
// The [Desktop Entry] group of a file, values as the file holds them.
QMap<QString, QString> Read(const QString &path);

} // namespace nuvask::DesktopEntryFile
