// The code-page-932 (Shift-JIS) text codec.

#include "core/base/Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace nuvask {

// Qt 6.4 exposes ICU's converter only through the name constructor:
// QStringConverter::encodingForName("Shift_JIS") finds nothing, while
// QStringEncoder("Shift_JIS") gives the Windows table (～ = 81 60, ① = 87 40).
static constexpr const char *kCodecName = "Shift_JIS";

std::optional<QByteArray> Cp932::encode(const QString &text)
{
    QStringEncoder encoder(kCodecName, QStringEncoder::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    if (!encoder.isValid() || encoder.hasError())
        return std::nullopt;
    return bytes;
}

QString Cp932::decode(const QByteArray &bytes)
{
    QStringDecoder decoder(kCodecName, QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

qsizetype Cp932::byteLength(const QString &text)
{
    auto bytes = encode(text);
    return bytes ? bytes->size() : -1;
}

QString Cp932::firstUnencodable(const QString &text)
{
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = (text[i].isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QString ch = text.mid(i, len);
        if (!encode(ch))
            return ch;
        i += len;
    }
    return {};
}

} // namespace nuvask
