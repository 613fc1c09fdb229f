// Any bytes in a settings file must parse without crashing, come back byte for
// byte when nothing was changed, and, when the program writes or deletes one
// value, come back with no byte changed outside that value's lines (and the
// key header and line ending that a new value may need).
//
// The check classifies the input's lines on its own, so that a fault in the
// document's parser cannot hide the same fault here.
#include "core/base/Cp932.h"
#include "core/settings/SettingsFileDocument.h"
#include "core/settings/SettingsTree.h"

#include <QStringDecoder>
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

using nuvask::SettingsFileDocument;

namespace {

[[noreturn]] void Fail(const char *what)
{
    std::fprintf(stderr, "settings fuzz: %s\n", what);
    std::abort();
}

std::vector<QByteArray> Lines(const QByteArray &bytes)
{
    std::vector<QByteArray> lines;
    for (qsizetype pos = 0; pos < bytes.size();) {
        const qsizetype nl = bytes.indexOf('\n', pos);
        const qsizetype end = nl < 0 ? bytes.size() : nl + 1;
        lines.push_back(bytes.mid(pos, end - pos));
        pos = end;
    }
    return lines;
}

QString Text(QByteArray line, bool first)
{
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(line);
    if (utf8.hasError()) {
        const QString cp932 = nuvask::Cp932::decode(line);
        if (!cp932.contains(QChar::ReplacementCharacter))
            text = cp932;
    }
    if (first && text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text.trimmed();
}

// The name of a value line ("name"=... or @=...), or nothing.
std::optional<QString> ValueName(const QString &t)
{
    if (t.startsWith(QLatin1String("@=")))
        return QString();
    if (!t.startsWith(QLatin1Char('"')))
        return std::nullopt;
    QString name;
    for (qsizetype i = 1; i < t.size(); ++i) {
        if (t[i] == QLatin1Char('"'))
            return i + 1 < t.size() && t[i + 1] == QLatin1Char('=') ? std::optional<QString>(name) : std::nullopt;
        if (t[i] == QLatin1Char('\\')) {
            if (++i >= t.size())
                return std::nullopt;
            const char16_t c = t[i].unicode();
            name += c == 'n' ? QChar('\n') : c == 'r' ? QChar('\r') : c == 't' ? QChar('\t') : t[i];
            continue;
        }
        name += t[i];
    }
    return std::nullopt;
}

// Which input lines belong to the value (path, name): those the program may
// replace or remove.
std::vector<bool> LinesOfValue(const std::vector<QByteArray> &lines, const QString &path, const QString &name)
{
    std::vector<bool> mine(lines.size(), false);
    bool inKey = false, sawKey = false, continues = false, continuesMine = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const QString t = Text(lines[i], i == 0);
        if (continues) {
            mine[i] = continuesMine;
            continues = t.endsWith(QLatin1Char('\\'));
            continue;
        }
        if (t.size() >= 2 && t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) {
            sawKey = true;
            inKey = nuvask::NormalizeKeyPath(t.mid(1, t.size() - 2)).compare(path, Qt::CaseInsensitive) == 0;
            continue;
        }
        const std::optional<QString> n = sawKey ? ValueName(t) : std::nullopt;
        if (!n)
            continue;
        mine[i] = inKey && n->compare(name, Qt::CaseInsensitive) == 0;
        continues = t.endsWith(QLatin1Char('\\')); // hex:...,\ goes on; a string ends in a quote
        continuesMine = mine[i];
    }
    return mine;
}

bool WithEnding(const QByteArray &line, const QByteArray &body)
{
    return line == body || line == body + "\n" || line == body + "\r\n";
}

// Every output line is an input line in order, or one the change may add;
// every input line left out belongs to the changed value. Equal lines can be
// paired in more than one way, so every pairing is tried (each state once).
void CheckOnlyValueChanged(const QByteArray &in, const QByteArray &out, const QString &path, const QString &name,
                           const std::optional<QString> &written)
{
    const std::vector<QByteArray> a = Lines(in), b = Lines(out);
    const std::vector<bool> mine = LinesOfValue(a, path, name);
    const QByteArray header = '[' + path.toUtf8() + ']';
    std::vector<bool> added(b.size(), false);
    for (size_t j = 0; j < b.size(); ++j) {
        added[j] = written
            && (WithEnding(b[j], SettingsFileDocument::valueLine(name, *written)) || WithEnding(b[j], header)
                || WithEnding(b[j], "") || WithEnding(b[j], "Windows Registry Editor Version 5.00"));
    }
    auto same = [&](size_t i, size_t j) {
        const bool lastUnterminated = i + 1 == a.size() && !a[i].endsWith('\n');
        return a[i] == b[j] || (lastUnterminated && WithEnding(b[j], a[i]));
    };
    const size_t width = b.size() + 1;
    std::vector<char> seen((a.size() + 1) * width, 0);
    std::vector<std::pair<size_t, size_t>> todo{{0, 0}};
    while (!todo.empty()) {
        const auto [i, j] = todo.back();
        todo.pop_back();
        if (seen[i * width + j])
            continue;
        seen[i * width + j] = 1;
        if (i == a.size() && j == b.size())
            return;
        if (j < b.size() && added[j])
            todo.emplace_back(i, j + 1);
        if (i < a.size() && mine[i])
            todo.emplace_back(i + 1, j);
        if (i < a.size() && j < b.size() && same(i, j))
            todo.emplace_back(i + 1, j + 1); // tried first
    }
    Fail("a byte the program did not write has changed, or a line it did not touch has gone");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider fdp(data, size);
    const int op = fdp.ConsumeIntegralInRange(0, 2);
    const bool ownKey = fdp.ConsumeBool();
    const std::string rawName = fdp.ConsumeRandomLengthString(12);
    const std::string rawValue = fdp.ConsumeRandomLengthString(24);
    const std::string rest = fdp.ConsumeRemainingBytesAsString();
    const QByteArray bytes(rest.data(), qsizetype(rest.size()));

    // Nothing changed: every byte comes back.
    SettingsFileDocument doc = SettingsFileDocument::parse(bytes);
    if (doc.serialize() != bytes)
        Fail("the file changed although nothing was written");

    // A key of the file itself (its first) or the program's own.
    QString path = QStringLiteral("Software\\KELDO SOFT32\\NUVASK");
    if (!ownKey) {
        const std::vector<QByteArray> lines = Lines(bytes);
        for (size_t i = 0; i < lines.size(); ++i) {
            const QString t = Text(lines[i], i == 0);
            if (t.size() >= 2 && t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) {
                path = nuvask::NormalizeKeyPath(t.mid(1, t.size() - 2));
                break;
            }
        }
    }
    if (path.isEmpty())
        return 0;
    const QString name = QString::fromUtf8(rawName.data(), qsizetype(rawName.size()));
    const QString value = QString::fromUtf8(rawValue.data(), qsizetype(rawValue.size()));

    std::optional<QString> written;
    if (op == 0) {
        doc.writeString(path, name, value);
        written = value;
    } else if (op == 1) {
        doc.deleteValue(path, name);
    }
    const QByteArray out = doc.serialize();
    CheckOnlyValueChanged(bytes, out, nuvask::NormalizeKeyPath(path), name, written);

    const SettingsFileDocument back = SettingsFileDocument::parse(out);
    if (back.serialize() != out)
        Fail("a second round changed the file");
    if (back.readString(path, name) != doc.readString(path, name))
        Fail("the value reads differently after a round");
    if (written && back.readString(path, name) != written)
        Fail("the written value does not read back");
    if (op == 1 && back.valueNames(path).contains(name, Qt::CaseInsensitive))
        Fail("a deleted value is still there");
    return 0;
}
