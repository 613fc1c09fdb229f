// Reading and writing one freedesktop .desktop launcher file.

#include "platform/linux/DesktopEntryFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace nuvask::DesktopEntryFile {

namespace {

bool isReserved(QChar c)
{
    static const QString kReserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    return kReserved.contains(c);
}

// Not reserved by the format, but KDE's parser refuses them outside quotes.
bool quotedForKde(QChar c)
{
    return c == QLatin1Char('{') || c == QLatin1Char('}');
}

bool escapedInQuotes(QChar c)
{
    return c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\');
}

} // namespace

QString EscapeValue(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == QLatin1Char('\\'))
            out += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else if (c == QLatin1Char('\t'))
            out += QStringLiteral("\\t");
        else if (c == QLatin1Char(' ') && i == 0)
            out += QStringLiteral("\\s");
        else
            out += c;
    }
    return out;
}

QString UnescapeValue(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar n = value.at(++i);
        switch (n.unicode()) {
        case 's': out += QLatin1Char(' '); break;
        case 'n': out += QLatin1Char('\n'); break;
        case 'r': out += QLatin1Char('\r'); break;
        case 't': out += QLatin1Char('\t'); break;
        case '\\': out += QLatin1Char('\\'); break;
        default:
            out += c;
            out += n;
        }
    }
    return out;
}

QString QuoteExecArgument(const QString &argument)
{
    QString doubled = argument;
    doubled.replace(QLatin1Char('%'), QStringLiteral("%%"));
    bool needsQuotes = doubled.isEmpty();
    for (QChar c : doubled)
        needsQuotes = needsQuotes || isReserved(c) || quotedForKde(c);
    if (!needsQuotes)
        return doubled;
    QString out = QStringLiteral("\"");
    for (QChar c : doubled) {
        if (escapedInQuotes(c))
            out += QLatin1Char('\\');
        out += c;
    }
    return out + QLatin1Char('"');
}

QString ExecLine(const QStringList &arguments)
{
    QStringList quoted;
    for (const QString &a : arguments)
        quoted << QuoteExecArgument(a);
    return quoted.join(QLatin1Char(' '));
}

std::optional<QStringList> ParseExec(const QString &fileValue)
{
    const QString line = UnescapeValue(fileValue);
    QStringList args;
    QString current;
    bool inArgument = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == QLatin1Char('"')) {
            inArgument = true;
            for (++i;; ++i) {
                if (i >= line.size())
                    return std::nullopt; // unterminated quote
                const QChar q = line.at(i);
                if (q == QLatin1Char('"'))
                    break;
                if (q == QLatin1Char('\\')) {
                    if (i + 1 >= line.size() || !escapedInQuotes(line.at(i + 1)))
                        return std::nullopt;
                    current += line.at(++i);
                } else {
                    current += q;
                }
            }
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            if (inArgument)
                args << current;
            current.clear();
            inArgument = false;
        } else if (isReserved(c)) {
            return std::nullopt; // reserved characters must be quoted
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument)
        args << current;
    for (QString &a : args) {
        // "%%" is a literal percent; a lone field code is not expected here.
        QString plain;
        for (qsizetype i = 0; i < a.size(); ++i) {
            if (a.at(i) == QLatin1Char('%')) {
                if (i + 1 >= a.size() || a.at(i + 1) != QLatin1Char('%'))
                    return std::nullopt;
                ++i;
            }
            plain += a.at(i);
        }
        a = plain;
    }
    return args;
}

QString LauncherExec(const QString &program, const QStringList &arguments)
{
    if (!program.contains(QLatin1Char('%')) && !program.contains(QLatin1Char('=')))
        return ExecLine(QStringList{program} + arguments);
    // "$0" is the program, "$@" its arguments, both passed on untouched.
    return ExecLine(QStringList{QStringLiteral("sh"), QStringLiteral("-c"), QStringLiteral("exec \"$0\" \"$@\""), program}
                    + arguments);
}

Entries LauncherEntries(const QString &name, const QString &program, const QString &icon, const QStringList &arguments)
{
    Entries entries{
        {QStringLiteral("Type"), QStringLiteral("Application")},
        {QStringLiteral("Name"), name},
        {QStringLiteral("Exec"), LauncherExec(program, arguments)},
        {QStringLiteral("Path"), QFileInfo(program).absolutePath()},
    };
    if (!icon.isEmpty()) // an empty Icon key is invalid
        entries.append({QStringLiteral("Icon"), icon});
    return entries;
}

bool Write(const QString &path, const Entries &entries, bool executable)
{
    QByteArray text = "[Desktop Entry]\n";
    for (const auto &[key, value] : entries)
        text += key.toUtf8() + '=' + EscapeValue(value).toUtf8() + '\n';
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(text);
    if (!file.commit())
        return false;
    if (executable) {
        return QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeUser);
    }
    return true;
}

QMap<QString, QString> Read(const QString &path)
{
    QMap<QString, QString> out;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return out;
    bool inGroup = false;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line.trimmed() == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (!inGroup || eq <= 0 || line.startsWith(QLatin1Char('#')))
            continue;
        out.insert(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
    }
    return out;
}

} // namespace nuvask::DesktopEntryFile
