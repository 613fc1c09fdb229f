// The registered volumes' two list files beside the program.

#include "core/presets/RegisteredVolumeFiles.h"

#include "core/base/Cp932.h"
#include "core/presets/RegisteredVolumeTexts.h"
#include "core/base/TextHelpers.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace nuvask {

namespace {

const QString kPending = QStringLiteral(".new");
const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

// Replaces `to` by `from` in one step (rename(2) replaces an existing file
// atomically); empty text on success.
QString replaceFile(const QString &from, const QString &to)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return {};
    return QString::fromLocal8Bit(std::strerror(errno));
}

QString failure(const QString &path, const QString &reason, bool oldFilesKept)
{
    QString text = presetText::SaveFailed() + QLatin1Char('\n') + path + QLatin1Char('\n') + reason;
    if (oldFilesKept)
        text += QLatin1Char('\n') + presetText::KeptOldFiles();
    return text;
}

} // namespace

RegisteredVolumeFiles::RegisteredVolumeFiles(const QString &dir, const QString &shortName)
    : m_namesPath(dir + shortName + QStringLiteral("VN.LIS")), m_valuesPath(dir + shortName + QStringLiteral("VR.LIS"))
{
}

QList<QByteArray> RegisteredVolumeFiles::SplitLines(const QByteArray &bytes, bool truncated, int *limits)
{
    int past = truncated ? FileBytesLimit : 0;
    const auto kept = [&past](const QByteArray &line) {
        if (line.size() > MaxLineBytes)
            past |= LineBytesLimit;
        return TruncateDbcs(line, MaxLineBytes);
    };
    QList<QByteArray> lines;
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    while (start < n) {
        if (lines.size() == MaxLines) {
            past |= LinesLimit; // another line follows
            break;
        }
        qsizetype end = start;
        while (end < n && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        if (end == n) {
            // A last line without a line break is whole only when the file ended here.
            if (!truncated)
                lines.append(kept(bytes.mid(start)));
            break;
        }
        lines.append(kept(bytes.mid(start, end - start)));
        start = end + ((bytes[end] == '\r' && end + 1 < n && bytes[end + 1] == '\n') ? 2 : 1);
    }
    if (limits)
        *limits = past;
    return lines;
}

QStringList RegisteredVolumeFiles::DecodeLines(const QByteArray &bytes, bool truncated, ForeignBytes &foreign,
                                               int *limits)
{
    QStringList lines;
    for (const QByteArray &line : SplitLines(bytes, truncated, limits)) {
        const QString text = Cp932::decode(line);
        if (Cp932::encode(text) != line)
            foreign.insert(text, line);
        lines.append(text);
    }
    return lines;
}

QStringList RegisteredVolumeFiles::readLines(const QString &path)
{
    // Only a regular file: a pipe or device under that name would block the start.
    if (!QFileInfo(path).isFile())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = file.read(MaxFileBytes);
    int limits = 0;
    const QStringList lines = DecodeLines(head, !file.atEnd(), m_foreignBytes, &limits);
    if (limits != 0)
        m_pastLimits.append({path, limits});
    return lines;
}

QString RegisteredVolumeFiles::settlePending()
{
    const QString namesNew = m_namesPath + kPending;
    const QString valuesNew = m_valuesPath + kPending;
    if (!QFileInfo::exists(namesNew)) {
        // A values file alone is half a save: the old pair still holds.
        QFile::remove(valuesNew);
        return {};
    }
    // The last save wrote both files and stopped before (or while) renaming
    // them: the pending pair is the newer one. Values first, as a save does.
    if (QFileInfo::exists(valuesNew)) {
        if (const QString error = replaceFile(valuesNew, m_valuesPath); !error.isEmpty())
            return error;
    }
    return replaceFile(namesNew, m_namesPath);
}

RegisteredVolumeLists RegisteredVolumeFiles::read()
{
    m_foreignBytes.clear();
    m_pastLimits.clear();
    RegisteredVolumeLists lists;
    if (!settlePending().isEmpty()) {
        // The folder refuses the renames: the pending pair is still the one to show.
        const QString valuesNew = m_valuesPath + kPending;
        lists.names = readLines(m_namesPath + kPending);
        lists.values = readLines(QFileInfo::exists(valuesNew) ? valuesNew : m_valuesPath);
        return lists;
    }
    lists.names = readLines(m_namesPath);
    lists.values = readLines(m_valuesPath);
    return lists;
}

QString RegisteredVolumeFiles::EncodeLines(const QStringList &lines, const ForeignBytes &foreign, QByteArray &out)
{
    out.clear();
    for (const QString &line : lines) {
        if (const auto kept = foreign.constFind(line); kept != foreign.cend()) {
            out += *kept;
        } else {
            const auto bytes = Cp932::encode(line);
            if (!bytes)
                return presetText::Unencodable() + presetText::QuotedLine().arg(line);
            out += *bytes;
        }
        out += kLineEnd;
    }
    return {};
}

QString RegisteredVolumeFiles::writeWhole(const QString &path, const QByteArray &bytes) const
{
    // Unbuffered: a buffered QSaveFile commits a file that a full disk cut
    // short (the flush takes the partial write for done); a direct write
    // reports how much really went out.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

QString RegisteredVolumeFiles::LimitMessage() const
{
    if (m_pastLimits.isEmpty())
        return {};
    QString text = presetText::PastLimits();
    for (const auto &[path, limits] : m_pastLimits) {
        text += QLatin1Char('\n') + path;
        if (limits & FileBytesLimit)
            text += QLatin1Char('\n') + presetText::PastFileBytes().arg(MaxFileBytes);
        if (limits & LinesLimit)
            text += QLatin1Char('\n') + presetText::PastLines().arg(MaxLines);
        if (limits & LineBytesLimit)
            text += QLatin1Char('\n') + presetText::PastLineBytes().arg(MaxLineBytes);
    }
    return text + QLatin1Char('\n') + presetText::NotSaved();
}

QString RegisteredVolumeFiles::write(const QStringList &names, const QStringList &values)
{
    // The files hold more than was read: writing the list back would cut them.
    if (!m_pastLimits.isEmpty())
        return {};
    QByteArray namesBytes;
    QByteArray valuesBytes;
    if (const QString error = EncodeLines(names, m_foreignBytes, namesBytes); !error.isEmpty())
        return failure(m_namesPath, error, true);
    if (const QString error = EncodeLines(values, m_foreignBytes, valuesBytes); !error.isEmpty())
        return failure(m_valuesPath, error, true);

    // A pending pair left by an earlier save must be in place first, or this
    // save's values would be taken as belonging to its names.
    if (const QString error = settlePending(); !error.isEmpty())
        return failure(m_namesPath, error, false);
    const QString namesNew = m_namesPath + kPending;
    const QString valuesNew = m_valuesPath + kPending;
    // Values first: a names file under its pending name means both are complete.
    if (const QString error = writeWhole(valuesNew, valuesBytes); !error.isEmpty())
        return failure(m_valuesPath, error, true);
    if (stopHere(1))
        return {};
    if (const QString error = writeWhole(namesNew, namesBytes); !error.isEmpty()) {
        QFile::remove(valuesNew);
        return failure(m_namesPath, error, true);
    }
    if (stopHere(2))
        return {};
    // Committed: from here a failure is finished by the next read.
    if (const QString error = replaceFile(valuesNew, m_valuesPath); !error.isEmpty())
        return failure(m_valuesPath, error, false);
    if (stopHere(3))
        return {};
    if (const QString error = replaceFile(namesNew, m_namesPath); !error.isEmpty())
        return failure(m_namesPath, error, false);
    return {};
}

} // namespace nuvask
