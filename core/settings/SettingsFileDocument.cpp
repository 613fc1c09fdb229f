// The text of one settings file (a registry-export layout), kept byte for byte.

#include "core/settings/SettingsFileDocument.h"

#include "core/base/Cp932.h"
#include "core/settings/SettingsTree.h"

#include <QSet>
#include <QStringDecoder>
#include <algorithm>

namespace nuvask {

namespace {

const char kHeader[] = "Windows Registry Editor Version 5.00";

bool samePath(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool isBelow(const QString &path, const QString &ancestor)
{
    if (ancestor.isEmpty())
        return !path.isEmpty();
    return path.size() > ancestor.size() && path.at(ancestor.size()) == QLatin1Char('\\')
        && samePath(path.left(ancestor.size()), ancestor);
}

// UTF-8 as the program writes it; else code page 932 as the original
// platform's tools wrote it; else UTF-8 with replacement characters. Only the
// text that is read depends on this; the bytes are kept as they are.
QString decodeLine(const QByteArray &bytes)
{
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
    if (ascii)
        return QString::fromLatin1(bytes);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QString cp932 = Cp932::decode(bytes);
    if (!cp932.contains(QChar::ReplacementCharacter))
        return cp932;
    return text;
}

QByteArray withoutLineEnding(const QByteArray &raw)
{
    qsizetype end = raw.size();
    while (end > 0 && (raw.at(end - 1) == '\n' || raw.at(end - 1) == '\r'))
        --end;
    return raw.left(end);
}

bool isBlank(const QByteArray &raw)
{
    return std::all_of(raw.begin(), raw.end(), [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

QString quote(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\\': out += QLatin1String("\\\\"); break;
        case '"': out += QLatin1String("\\\""); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        case '\t': out += QLatin1String("\\t"); break;
        default: out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

// Reads a quoted string starting at line[pos] == '"'. On success pos is left
// just after the closing quote.
std::optional<QString> unquote(const QString &line, qsizetype &pos)
{
    if (pos >= line.size() || line.at(pos) != QLatin1Char('"'))
        return std::nullopt;
    QString out;
    for (qsizetype i = pos + 1; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == QLatin1Char('"')) {
            pos = i + 1;
            return out;
        }
        if (c == QLatin1Char('\\')) {
            if (++i >= line.size())
                return std::nullopt;
            switch (line.at(i).unicode()) {
            case 'n': out += QLatin1Char('\n'); break;
            case 'r': out += QLatin1Char('\r'); break;
            case 't': out += QLatin1Char('\t'); break;
            default: out += line.at(i); // \\ and \" and anything else literally
            }
            continue;
        }
        out += c;
    }
    return std::nullopt;
}

// "name"=... or @=... ; false for any other line.
bool parseValue(const QString &trimmed, QString &name, bool &isString, QString &data)
{
    qsizetype pos = 0;
    std::optional<QString> parsedName;
    if (trimmed.startsWith(QLatin1Char('@'))) {
        parsedName = QString();
        pos = 1;
    } else {
        parsedName = unquote(trimmed, pos);
    }
    if (!parsedName || pos >= trimmed.size() || trimmed.at(pos) != QLatin1Char('='))
        return false;
    ++pos;
    name = *parsedName;
    qsizetype strPos = pos;
    const std::optional<QString> str = unquote(trimmed, strPos);
    isString = str && strPos == trimmed.size();
    data = isString ? *str : trimmed.mid(pos);
    return true;
}

} // namespace

SettingsFileDocument SettingsFileDocument::parse(const QByteArray &bytes)
{
    SettingsFileDocument doc;
    bool eolKnown = false;
    int current = -1;
    bool continues = false; // the last value's text goes on (hex:...,\ lines)
    for (qsizetype pos = 0; pos < bytes.size();) {
        const qsizetype newline = bytes.indexOf('\n', pos);
        const qsizetype end = newline < 0 ? bytes.size() : newline + 1;
        Entry e;
        e.key = current;
        e.bytes = bytes.mid(pos, end - pos);
        pos = end;
        if (!eolKnown && newline >= 0) {
            doc.m_eol = e.bytes.endsWith("\r\n") ? QByteArray("\r\n") : QByteArray("\n");
            eolKnown = true;
        }
        QString line = decodeLine(withoutLineEnding(e.bytes));
        if (doc.m_entries.empty() && line.startsWith(QChar(0xFEFF)))
            line.remove(0, 1); // byte order mark
        const QString trimmed = line.trimmed();
        if (continues) {
            doc.m_entries.back().bytes += e.bytes;
            continues = trimmed.endsWith(QLatin1Char('\\'));
            doc.m_entries.back().continued = continues;
            continue;
        }
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']')) && trimmed.size() >= 2) {
            const QString path = NormalizeKeyPath(trimmed.mid(1, trimmed.size() - 2));
            current = doc.keyId(path);
            if (current < 0)
                current = doc.addKeyId(path);
            ++doc.m_headers[current];
            e.kind = Kind::KeyHeader;
            e.key = current;
        } else if (current >= 0 && parseValue(trimmed, e.name, e.isString, e.data)) {
            e.kind = Kind::Value;
            continues = !e.isString && trimmed.endsWith(QLatin1Char('\\'));
            e.continued = continues;
        }
        doc.m_entries.push_back(std::move(e));
    }
    return doc;
}

QByteArray SettingsFileDocument::serialize() const
{
    qsizetype total = 0;
    for (const Entry &e : m_entries)
        total += e.bytes.size();
    QByteArray out;
    out.reserve(total);
    for (const Entry &e : m_entries)
        out += e.bytes;
    return out;
}

bool SettingsFileDocument::holdsNothing() const
{
    return std::all_of(m_entries.begin(), m_entries.end(), [](const Entry &e) {
        if (e.kind != Kind::Raw)
            return false;
        QByteArray line = withoutLineEnding(e.bytes).trimmed();
        if (line.startsWith("\xEF\xBB\xBF"))
            line.remove(0, 3); // byte order mark
        return line.isEmpty() || line == kHeader;
    });
}

QByteArray SettingsFileDocument::valueLine(const QString &name, const QString &value)
{
    const QString nameText = name.isEmpty() ? QStringLiteral("@") : quote(name);
    return (nameText + QLatin1Char('=') + quote(value)).toUtf8();
}

int SettingsFileDocument::keyId(const QString &path) const
{
    return m_keyIndex.value(NormalizeKeyPath(path).toCaseFolded(), -1);
}

int SettingsFileDocument::addKeyId(const QString &normalisedPath)
{
    const int id = int(m_keys.size());
    m_keys << normalisedPath;
    m_headers.push_back(0);
    m_keyIndex.insert(normalisedPath.toCaseFolded(), id);
    return id;
}

bool SettingsFileDocument::isNameOf(const Entry &e, int key, const QString &name) const
{
    return e.kind == Kind::Value && e.key == key && e.name.compare(name, Qt::CaseInsensitive) == 0;
}

qsizetype SettingsFileDocument::lastValue(int key, const QString &name) const
{
    if (key < 0 || !keyLives(key))
        return -1;
    for (qsizetype i = qsizetype(m_entries.size()) - 1; i >= 0; --i) {
        if (isNameOf(m_entries[i], key, name))
            return i;
    }
    return -1;
}

QByteArray SettingsFileDocument::lineEnding(const QByteArray &bytes) const
{
    if (bytes.endsWith("\r\n"))
        return "\r\n";
    if (bytes.endsWith('\n'))
        return "\n";
    return {};
}

void SettingsFileDocument::terminateLastLine()
{
    if (!m_entries.empty() && !m_entries.back().bytes.endsWith('\n'))
        m_entries.back().bytes += m_eol;
}

void SettingsFileDocument::addEntry(Entry entry)
{
    terminateLastLine();
    m_entries.push_back(std::move(entry));
}

// After the last line of the key's last section that is not blank, so that
// the blank line before the next section stays where it is.
qsizetype SettingsFileDocument::insertionPoint(int key) const
{
    qsizetype header = -1;
    for (qsizetype i = qsizetype(m_entries.size()) - 1; i >= 0 && header < 0; --i) {
        if (m_entries[i].kind == Kind::KeyHeader && m_entries[i].key == key)
            header = i;
    }
    qsizetype last = header;
    for (qsizetype i = header + 1; i < qsizetype(m_entries.size()) && m_entries[i].kind != Kind::KeyHeader; ++i) {
        if (!isBlank(m_entries[i].bytes))
            last = i;
    }
    return last + 1;
}

bool SettingsFileDocument::hasKey(const QString &path) const
{
    const QString p = NormalizeKeyPath(path);
    if (p.isEmpty())
        return true; // the root always exists
    const int id = keyId(p);
    if (id >= 0 && keyLives(id))
        return true;
    for (int k = 0; k < int(m_keys.size()); ++k) {
        if (keyLives(k) && isBelow(m_keys[k], p))
            return true;
    }
    return false;
}

bool SettingsFileDocument::createKey(const QString &path)
{
    const QString p = NormalizeKeyPath(path);
    if (p.isEmpty())
        return false;
    int id = keyId(p);
    if (id >= 0 && keyLives(id))
        return false;
    if (id < 0)
        id = addKeyId(p);
    if (m_entries.empty())
        addEntry(Entry{Kind::Raw, -1, QByteArray(kHeader) + m_eol, {}, false, {}});
    if (m_entries.back().continued) {
        // The blank line ends a value that promises another line (see writeString).
        terminateLastLine();
        m_entries.back().bytes += m_eol;
        m_entries.back().continued = false;
    } else if (!isBlank(m_entries.back().bytes)) {
        addEntry(Entry{Kind::Raw, m_entries.back().key, m_eol, {}, false, {}});
    }
    addEntry(Entry{Kind::KeyHeader, id, '[' + p.toUtf8() + ']' + m_eol, {}, false, {}});
    ++m_headers[id];
    return true;
}

bool SettingsFileDocument::deleteKeyTree(const QString &path)
{
    const QString p = NormalizeKeyPath(path);
    std::vector<bool> doomed(m_keys.size(), false);
    bool any = false;
    for (int k = 0; k < int(m_keys.size()); ++k) {
        doomed[k] = keyLives(k) && (p.isEmpty() || samePath(m_keys[k], p) || isBelow(m_keys[k], p));
        any = any || doomed[k];
    }
    if (!any)
        return false;
    std::erase_if(m_entries, [&](const Entry &e) { return e.key >= 0 && doomed[e.key]; });
    for (int k = 0; k < int(m_keys.size()); ++k) {
        if (doomed[k])
            m_headers[k] = 0;
    }
    return true;
}

QStringList SettingsFileDocument::subKeys(const QString &path) const
{
    const QString p = NormalizeKeyPath(path);
    QStringList names;
    QSet<QString> seen;
    for (int k = 0; k < int(m_keys.size()); ++k) {
        if (!keyLives(k) || !isBelow(m_keys[k], p))
            continue;
        const QString rest = p.isEmpty() ? m_keys[k] : m_keys[k].mid(p.size() + 1);
        const QString child = rest.section(QLatin1Char('\\'), 0, 0);
        if (!seen.contains(child.toCaseFolded())) {
            seen.insert(child.toCaseFolded());
            names << child;
        }
    }
    return names;
}

QStringList SettingsFileDocument::valueNames(const QString &path) const
{
    QStringList names;
    const int id = keyId(path);
    if (id < 0 || !keyLives(id))
        return names;
    QSet<QString> seen;
    for (const Entry &e : m_entries) {
        if (e.kind == Kind::Value && e.key == id && !seen.contains(e.name.toCaseFolded())) {
            seen.insert(e.name.toCaseFolded());
            names << e.name;
        }
    }
    return names;
}

std::optional<QString> SettingsFileDocument::readString(const QString &path, const QString &name) const
{
    const qsizetype i = lastValue(keyId(path), name);
    if (i < 0 || !m_entries[i].isString)
        return std::nullopt;
    return m_entries[i].data;
}

bool SettingsFileDocument::writeString(const QString &path, const QString &name, const QString &value)
{
    const qsizetype existing = lastValue(keyId(path), name);
    if (existing >= 0) {
        Entry &e = m_entries[existing];
        if (e.isString && e.data == value)
            return false;
        e.bytes = valueLine(name, value) + lineEnding(e.bytes);
        e.name = name;
        e.isString = true;
        e.continued = false;
        e.data = value;
        return true;
    }
    createKey(path);
    const int id = keyId(path);
    if (id < 0 || !keyLives(id))
        return false; // no value lives directly under the root
    const qsizetype at = insertionPoint(id);
    Entry &before = m_entries[at - 1];
    if (!before.bytes.endsWith('\n'))
        before.bytes += m_eol;
    if (before.continued) {
        // Only at the end of a file: a value whose text promises another line.
        // A blank line ends it (as its own last line, as a reader sees it), or
        // it would take the new line as its own.
        before.bytes += m_eol;
        before.continued = false;
    }
    m_entries.insert(m_entries.begin() + at, Entry{Kind::Value, id, valueLine(name, value) + m_eol, name, true, value});
    return true;
}

bool SettingsFileDocument::deleteValue(const QString &path, const QString &name)
{
    const int id = keyId(path);
    if (id < 0 || !keyLives(id))
        return false;
    return std::erase_if(m_entries, [&](const Entry &e) { return isNameOf(e, id, name); }) > 0;
}

} // namespace nuvask
