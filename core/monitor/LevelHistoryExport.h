#pragma once
// The level history's exports on the disk. The folder comes from the folder
// browser, which carries the bytes of a name that is not UTF-8 in its text
// (core/folders/FileNames.h); Qt's file classes would turn each such byte
// into U+FFFD and miss the folder, so every name here is tested, opened and
// renamed through its own bytes.

#include <QByteArray>
#include <QString>

namespace nuvask {

// `folder`/`stem`.`extension`, or with "_2", "_3" … after the stem when that
// name is taken: an export never replaces a file.
QString NewExportPath(const QString &folder, const QString &stem, const QString &extension);

// Writes `bytes` as the whole file `path`: into a new file beside it, synced,
// then renamed to its name, so that the file is there whole or not at all.
// Empty = success, else the reason in the system's words. Every export's
// bytes reach the disk through here.
QString WriteExportFile(const QString &path, const QByteArray &bytes);

} // namespace nuvask
