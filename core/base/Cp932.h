#pragma once
// The one code-page-932 (Shift-JIS as Windows writes it) codec of the program,
// for every file that must stay readable by the original platform's tools.

#include <QByteArray>
#include <QString>
#include <optional>

namespace nuvask {

class Cp932
{
public:
    // The encoded bytes, or nothing when the text holds a character code page
    // 932 cannot represent: such text is refused rather than written with a
    // silent substitute that would read back as a different text.
    static std::optional<QByteArray> encode(const QString &text);
    // Decoding never fails; a malformed byte becomes U+FFFD.
    static QString decode(const QByteArray &bytes);
    // Encoded length in bytes, or -1 when not representable.
    static qsizetype byteLength(const QString &text);
    // The first character the codec cannot hold, as text (empty when all fit).
    static QString firstUnencodable(const QString &text);
};

} // namespace nuvask
