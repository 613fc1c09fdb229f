#include "core/folders/FileNames.h"

#include <sys/stat.h>

#include <algorithm>

namespace nuvask {

namespace {

constexpr char16_t kEscapeBase = 0xDC00; // + byte 0x80..0xFF
constexpr char16_t kReplacement = 0xFFFD;
constexpr char16_t kReturnSign = 0x23CE;
constexpr QLatin1StringView kStoredScheme("file://");

bool IsContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// Length of the valid UTF-8 sequence starting at bytes[at] and its code
// point; 0 when the bytes there are no valid sequence (overlong forms,
// surrogates and values past U+10FFFF included).
int ValidSequence(const QByteArray &bytes, qsizetype at, char32_t *code)
{
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[at + i]); };
    const unsigned char lead = byte(0);
    int length = 0;
    unsigned char low = 0x80; // allowed range of the second byte
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > bytes.size() || byte(1) < low || byte(1) > high)
        return 0;
    char32_t value = lead & (0xFF >> (length + 1));
    for (int i = 1; i < length; ++i) {
        if (!IsContinuation(byte(i)))
            return 0;
        value = (value << 6) | (byte(i) & 0x3F);
    }
    *code = value;
    return length;
}

void AppendUtf8(QByteArray &out, char32_t code)
{
    if (code < 0x80) {
        out.append(static_cast<char>(code));
    } else if (code < 0x800) {
        out.append(static_cast<char>(0xC0 | (code >> 6)));
        out.append(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.append(static_cast<char>(0xE0 | (code >> 12)));
        out.append(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.append(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.append(static_cast<char>(0xF0 | (code >> 18)));
        out.append(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.append(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.append(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// True when name[i] and name[i + 1] are one character beyond U+FFFF.
bool PairAt(const QString &name, qsizetype i)
{
    return name[i].isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate();
}

bool IsEscape(QChar c)
{
    return c.unicode() >= kEscapeBase + 0x80 && c.unicode() <= kEscapeBase + 0xFF;
}

// What a UTF-16 unit outside a surrogate pair shows as; itself when it
// shows as is.
char16_t Shown(char16_t c)
{
    if (c == u'\n' || c == u'\r')
        return kReturnSign;
    const bool control = c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
    return control || QChar::isSurrogate(c) ? kReplacement : c;
}

} // namespace

QString DecodeFileName(const QByteArray &bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out.append(QChar(b));
            ++i;
            continue;
        }
        char32_t code = 0;
        if (const int length = ValidSequence(bytes, i, &code)) {
            out.append(QChar::fromUcs4(code));
            i += length;
        } else {
            out.append(QChar(static_cast<char16_t>(kEscapeBase + b)));
            ++i;
        }
    }
    return out;
}

QByteArray EncodeFileName(const QString &name)
{
    QByteArray out;
    out.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (PairAt(name, i)) {
            AppendUtf8(out, QChar::surrogateToUcs4(c, name[++i]));
        } else if (IsEscape(c)) {
            out.append(static_cast<char>(c.unicode() - kEscapeBase));
        } else if (c.isSurrogate()) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, c.unicode());
        }
    }
    return out;
}

QString DisplayName(const QString &name)
{
    QString out;
    out.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (PairAt(name, i)) {
            out.append(name[i]);
            out.append(name[++i]);
        } else {
            out.append(QChar(Shown(name[i].unicode())));
        }
    }
    return out;
}

bool FileNameExists(const QString &name)
{
    struct stat info{};
    return ::lstat(EncodeFileName(name).constData(), &info) == 0;
}

QString StoredFileName(const QString &name)
{
    // (A name that itself looks like such a URL is written as one too.)
    if (!name.startsWith(kStoredScheme) && std::none_of(name.cbegin(), name.cend(), IsEscape))
        return name;
    return kStoredScheme + QString::fromLatin1(EncodeFileName(name).toPercentEncoding("/"));
}

QString FileNameFromStored(const QString &stored)
{
    if (!stored.startsWith(kStoredScheme))
        return stored;
    return DecodeFileName(QByteArray::fromPercentEncoding(stored.mid(kStoredScheme.size()).toUtf8()));
}

} // namespace nuvask
