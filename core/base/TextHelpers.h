#pragma once
// Byte-level text rules of the Shift-JIS (code page 932) world the program's
// paths and stored texts come from, plus the one rounding rule every division
// that yields pixels, steps or scales uses.

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace nuvask {

// A byte in 0x81..0x9F or 0xE0..0xFC starts a double-byte character.
bool IsSjisLeadByte(unsigned char byte);

// True when bytes[index] is the second byte of a double-byte character: the run
// of consecutive lead-range bytes just before it (scanning back at most to the
// start) has odd length. 0x5C (a backslash) can be such a byte, e.g. ソ = 83 5C.
bool IsSjisTrailByte(const QByteArray &bytes, qsizetype index);

// Path rules on encoded bytes; `separator` is the byte that ends a folder
// (a backslash on the original platform, '/' here).
QByteArray AddTrailingBackslash(const QByteArray &text, char separator = '\\');
QByteArray RemoveTrailingBackslash(const QByteArray &text, char separator = '\\');

// The first n bytes, never ending in a lead byte whose second byte was cut off.
QByteArray TruncateDbcs(const QByteArray &text, qsizetype n);

// The same rules on Unicode text, applied to its code-page-932 bytes so that a
// byte limit means the bytes the user's text takes in a stored file. Text that
// code page 932 cannot hold is measured in UTF-8 bytes instead (it cannot reach
// a stored file anyway, see Cp932).
QString AddTrailingBackslash(const QString &text, char separator = '\\');
QString RemoveTrailingBackslash(const QString &text, char separator = '\\');
QString TruncateDbcs(const QString &text, qsizetype n);

// num / den rounded to the nearest integer, an exact half to the even
// neighbour. den must not be 0 (returns 0 then, rather than trapping).
std::int64_t RoundDiv(std::int64_t num, std::int64_t den);
// The same rule for a value already computed as a double.
std::int64_t RoundHalfEven(double value);

} // namespace nuvask
