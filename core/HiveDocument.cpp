#include "core/HiveDocument.h"

#include "core/Registry.h"

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

} // namespace

HiveDocument HiveDocument::parse(const QByteArray &utf8)
{
    HiveDocument doc;
    Key *current = nullptr;
    const QStringList lines = QString::fromUtf8(utf8).split(QLatin1Char('\n'));
    for (QString line : lines) {
        while (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed == QLatin1String(kHeader))
            continue;
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'))) {
            const QString path = NormalizeKeyPath(trimmed.mid(1, trimmed.size() - 2));
            current = doc.findKey(path);
            if (!current) {
                doc.m_keys.push_back(Key{path, {}});
                current = &doc.m_keys.back();
            }
            continue;
        }
        if (!current) {
            doc.m_preamble << line;
            continue;
        }
        Value value;
        qsizetype pos = 0;
        std::optional<QString> name;
        if (trimmed.startsWith(QLatin1Char('@'))) {
            name = QString();
            pos = 1;
        } else {
            name = unquote(trimmed, pos);
        }
        if (name && pos < trimmed.size() && trimmed.at(pos) == QLatin1Char('=')) {
            ++pos;
            value.name = *name;
            qsizetype strPos = pos;
            std::optional<QString> str = unquote(trimmed, strPos);
            if (str && strPos == trimmed.size()) {
                value.isString = true;
                value.data = *str;
            } else {
                value.data = trimmed.mid(pos);
            }
            // A later line for the same name replaces the earlier one.
            auto &vals = current->values;
            auto it = std::find_if(vals.begin(), vals.end(), [&](const Value &v) {
                return !v.isRawLine && v.name.compare(value.name, Qt::CaseInsensitive) == 0;
            });
            if (it != vals.end())
                *it = value;
            else
                vals.push_back(value);
        } else {
            value.isRawLine = true;
            value.data = line;
            current->values.push_back(value);
        }
    }
    return doc;
}

QByteArray HiveDocument::serialize() const
{
    QString out = QLatin1String(kHeader) + QLatin1String("\n");
    for (const QString &line : m_preamble)
        out += line + QLatin1Char('\n');
    for (const Key &key : m_keys) {
        out += QLatin1String("\n[") + key.path + QLatin1String("]\n");
        for (const Value &v : key.values) {
            if (v.isRawLine)
                out += v.data;
            else if (v.name.isEmpty())
                out += QStringLiteral("@=") + (v.isString ? quote(v.data) : v.data);
            else
                out += quote(v.name) + QLatin1Char('=') + (v.isString ? quote(v.data) : v.data);
            out += QLatin1Char('\n');
        }
    }
    return out.toUtf8();
}

HiveDocument::Key *HiveDocument::findKey(const QString &path)
{
    const QString p = NormalizeKeyPath(path);
    auto it = std::find_if(m_keys.begin(), m_keys.end(), [&](const Key &k) { return samePath(k.path, p); });
    return it == m_keys.end() ? nullptr : &*it;
}

const HiveDocument::Key *HiveDocument::findKey(const QString &path) const
{
    return const_cast<HiveDocument *>(this)->findKey(path);
}

bool HiveDocument::hasKey(const QString &path) const
{
    const QString p = NormalizeKeyPath(path);
    if (p.isEmpty())
        return true; // the root always exists
    return std::any_of(m_keys.begin(), m_keys.end(),
                       [&](const Key &k) { return samePath(k.path, p) || isBelow(k.path, p); });
}

void HiveDocument::createKey(const QString &path)
{
    const QString p = NormalizeKeyPath(path);
    if (p.isEmpty() || findKey(p))
        return;
    m_keys.push_back(Key{p, {}});
}

void HiveDocument::deleteKeyTree(const QString &path)
{
    const QString p = NormalizeKeyPath(path);
    if (p.isEmpty()) {
        m_keys.clear();
        return;
    }
    m_keys.erase(std::remove_if(m_keys.begin(), m_keys.end(),
                                [&](const Key &k) { return samePath(k.path, p) || isBelow(k.path, p); }),
                 m_keys.end());
}

QStringList HiveDocument::subKeys(const QString &path) const
{
    const QString p = NormalizeKeyPath(path);
    QStringList names;
    for (const Key &k : m_keys) {
        if (!isBelow(k.path, p))
            continue;
        const QString rest = p.isEmpty() ? k.path : k.path.mid(p.size() + 1);
        const QString child = rest.section(QLatin1Char('\\'), 0, 0);
        const bool known = std::any_of(names.begin(), names.end(),
                                       [&](const QString &n) { return samePath(n, child); });
        if (!known)
            names << child;
    }
    return names;
}

QStringList HiveDocument::valueNames(const QString &path) const
{
    QStringList names;
    if (const Key *key = findKey(path)) {
        for (const Value &v : key->values)
            if (!v.isRawLine)
                names << v.name;
    }
    return names;
}

std::optional<QString> HiveDocument::readString(const QString &path, const QString &name) const
{
    const Key *key = findKey(path);
    if (!key)
        return std::nullopt;
    for (const Value &v : key->values) {
        if (!v.isRawLine && v.name.compare(name, Qt::CaseInsensitive) == 0)
            return v.isString ? std::optional<QString>(v.data) : std::nullopt;
    }
    return std::nullopt;
}

void HiveDocument::writeString(const QString &path, const QString &name, const QString &value)
{
    createKey(path);
    Key *key = findKey(path);
    for (Value &v : key->values) {
        if (!v.isRawLine && v.name.compare(name, Qt::CaseInsensitive) == 0) {
            v.isString = true;
            v.data = value;
            return;
        }
    }
    key->values.push_back(Value{name, true, value, false});
}

bool HiveDocument::deleteValue(const QString &path, const QString &name)
{
    Key *key = findKey(path);
    if (!key)
        return false;
    auto &vals = key->values;
    auto it = std::find_if(vals.begin(), vals.end(), [&](const Value &v) {
        return !v.isRawLine && v.name.compare(name, Qt::CaseInsensitive) == 0;
    });
    if (it == vals.end())
        return false;
    vals.erase(it);
    return true;
}

} // namespace nuvask
