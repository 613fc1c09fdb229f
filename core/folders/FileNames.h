#pragma once
// File names as bytes and as text. A Linux file name is any string of bytes
// but "/" and NUL; most are UTF-8, some (copied from old media, unpacked from
// old archives) are not. Qt's own file APIs decode a name and skip it when it
// is not valid UTF-8, so a folder named with such bytes could neither be seen
// nor chosen.
//
// Here every byte that is not part of a valid UTF-8 sequence is carried in
// the text as one lone low surrogate U+DC80..U+DCFF (byte 0x80..0xFF), the
// way Python's "surrogateescape" does it: decoding and encoding are exact
// inverses, so a path read from the disk reaches the disk again byte for
// byte. What is shown to the user is DisplayName(): the mark U+FFFD for such
// a byte and for a control character, so that a name holding a line feed
// stays on one row (a line break shows as the return sign U+23CE, which the
// Japanese Gothic fonts carry).

#include <QByteArray>
#include <QString>

namespace nuvask {

// Bytes -> text, lossless (see above).
QString DecodeFileName(const QByteArray &bytes);
// Text -> bytes; the inverse of DecodeFileName. Text that DecodeFileName
// never produces (an unpaired high surrogate) is written as U+FFFD.
QByteArray EncodeFileName(const QString &name);

// The name (or path) as a person reads it, on one line: an undecodable byte
// and a control or line-separating character show as U+FFFD, except a line
// feed or carriage return, which shows as U+23CE.
QString DisplayName(const QString &name);

// Whether anything (a file, a folder, a link pointing nowhere) has this name.
bool FileNameExists(const QString &name);

// A name as a settings value, which a settings file holds as UTF-8 text: a
// name that is valid UTF-8 stays as it is; one with bytes that are not
// becomes a file URL with every byte outside the unreserved ASCII letters
// percent-encoded ("file:///home/caf%E9"), which no absolute path is taken for.
QString StoredFileName(const QString &name);
// The inverse: such a URL back to the name, byte for byte; any other value is
// a name as it stands.
QString FileNameFromStored(const QString &stored);

} // namespace nuvask
