// Byte-level text rules (code page 932) and the one rounding rule.

#include "core/base/TextHelpers.h"

#include "core/base/Cp932.h"

#include <cmath>
#include <limits>

namespace nuvask {

bool IsSjisLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool IsSjisTrailByte(const QByteArray &bytes, qsizetype index)
{
    if (index <= 0 || index >= bytes.size())
        return false;
    qsizetype run = 0;
    for (qsizetype i = index - 1; i >= 0 && IsSjisLeadByte(static_cast<unsigned char>(bytes[i])); --i)
        ++run;
    return run % 2 == 1;
}

QByteArray AddTrailingBackslash(const QByteArray &text, char separator)
{
    if (text.isEmpty())
        return text;
    const qsizetype last = text.size() - 1;
    if (text[last] != separator)
        return text + separator;
    // A separator byte that is really the second half of a double-byte
    // character does not end a folder name.
    if (text.size() > 3 && IsSjisTrailByte(text, last))
        return text + separator;
    return text;
}

QByteArray RemoveTrailingBackslash(const QByteArray &text, char separator)
{
    if (text.size() <= 3)
        return text; // keeps a drive root such as C:\ intact
    const qsizetype last = text.size() - 1;
    if (text[last] == separator && !IsSjisTrailByte(text, last))
        return text.left(last);
    return text;
}

QByteArray TruncateDbcs(const QByteArray &text, qsizetype n)
{
    if (n <= 0)
        return {};
    if (n >= text.size())
        return text;
    // Byte n-1 is a lead byte whose partner was cut off only when it is itself
    // in lead range and not the second byte of the character before it.
    const qsizetype last = n - 1;
    if (IsSjisLeadByte(static_cast<unsigned char>(text[last])) && !IsSjisTrailByte(text, last))
        return text.left(last);
    return text.left(n);
}

namespace {

template <typename ByteRule>
QString applyOnCp932(const QString &text, ByteRule rule)
{
    if (auto bytes = Cp932::encode(text))
        return Cp932::decode(rule(*bytes));
    return QString::fromUtf8(rule(text.toUtf8()));
}

} // namespace

QString AddTrailingBackslash(const QString &text, char separator)
{
    return applyOnCp932(text, [separator](const QByteArray &b) { return AddTrailingBackslash(b, separator); });
}

QString RemoveTrailingBackslash(const QString &text, char separator)
{
    return applyOnCp932(text, [separator](const QByteArray &b) { return RemoveTrailingBackslash(b, separator); });
}

QString TruncateDbcs(const QString &text, qsizetype n)
{
    if (auto bytes = Cp932::encode(text))
        return Cp932::decode(TruncateDbcs(*bytes, n));
    // Not representable in code page 932: cut on whole characters by UTF-8 size.
    QString out;
    qsizetype used = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = (text[i].isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const qsizetype bytes = text.mid(i, len).toUtf8().size();
        if (used + bytes > n)
            break;
        out += text.mid(i, len);
        used += bytes;
        i += len;
    }
    return out;
}

std::int64_t RoundDiv(std::int64_t num, std::int64_t den)
{
    if (den == 0)
        return 0;
    if (den < 0) {
        num = -num;
        den = -den;
    }
    std::int64_t q = num / den;
    std::int64_t r = num % den; // same sign as num
    if (r < 0) {
        q -= 1;
        r += den;
    }
    // Now num = q * den + r with 0 <= r < den.
    const std::int64_t twice = 2 * r;
    if (twice > den || (twice == den && (q % 2 != 0)))
        ++q;
    return q;
}

std::int64_t RoundHalfEven(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(std::numeric_limits<std::int64_t>::max()))
        return std::numeric_limits<std::int64_t>::max();
    if (value <= static_cast<double>(std::numeric_limits<std::int64_t>::min()))
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(std::nearbyint(value)); // default mode: to nearest, ties to even
}

} // namespace nuvask
