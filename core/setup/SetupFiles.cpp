// Folder and file routines shared by install and uninstall.

#include "core/setup/SetupFiles.h"

#include "core/setup/SetupTexts.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <memory>
#include <new>

namespace nuvask {

QStringList SplitAncestors(const QString &folder)
{
    QStringList list;
    if (folder.isEmpty())
        return list;
    const QString path = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (path[i] != QLatin1Char('/'))
            continue;
        QString piece = path.left(i + 1);
        if (piece.size() > 1)
            piece.chop(1); // the root keeps its separator
        if (list.isEmpty() || list.last() != piece)
            list << piece;
    }
    return list;
}

bool ResolveShellPath(QString &path)
{
    if (!QDir::isAbsolutePath(path))
        return false;
    const QFileInfo info(path);
    if (!info.isDir())
        return false;
    const QString resolved = info.canonicalFilePath();
    if (resolved.isEmpty() || !QDir::isAbsolutePath(resolved))
        return false;
    path = resolved;
    return true;
}

QString CopyFileChunked(const QString &source, const QString &destination)
{
    // The large block when memory allows, else the small one.
    for (qint64 block : {kCopyBlockLarge, kCopyBlockSmall}) {
        std::unique_ptr<char[]> probe(new (std::nothrow) char[std::size_t(block)]);
        if (probe)
            return CopyFileChunkedWith(source, destination, block);
    }
    return setupText::BufferError();
}

QString CopyFileChunkedWith(const QString &source, const QString &destination, qint64 blockBytes)
{
    QString error = setupText::CopyError();
    std::unique_ptr<char[]> block(new (std::nothrow) char[std::size_t(blockBytes)]);
    if (!block)
        return error;
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return error;
    const QDateTime modified = QFileInfo(in).lastModified();
    QFile out(destination);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return error;
    for (;;) {
        const qint64 got = in.read(block.get(), blockBytes);
        if (got < 0)
            break;
        if (got > 0 && out.write(block.get(), got) != got)
            break;
        if (got < blockBytes) {
            error.clear(); // a short block (none at all included) is the end
            break;
        }
    }
    if (error.isEmpty() && !out.flush())
        error = setupText::CopyError();
    // The program copied keeps its execute bits, as the source has them.
    if (error.isEmpty())
        out.setPermissions(in.permissions() | QFileDevice::WriteOwner);
    out.setFileTime(modified, QFileDevice::FileModificationTime);
    out.close();
    if (out.error() != QFileDevice::NoError && error.isEmpty())
        error = setupText::CopyError();
    if (!error.isEmpty())
        out.remove();
    return error;
}

int ClearReadOnly(const QString &file)
{
    QCoreApplication::processEvents();
    const QFileInfo info(file);
    if (!info.exists())
        return 255;
    const QFileDevice::Permissions p = info.permissions();
    if (p & QFileDevice::WriteOwner)
        return 0;
    return QFile::setPermissions(file, p | QFileDevice::WriteOwner) ? 1 : 255;
}

bool SamePath(const QString &a, const QString &b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    const QString cb = QFileInfo(b).canonicalFilePath();
    if (!ca.isEmpty() && !cb.isEmpty())
        return ca == cb;
    // One of them does not exist: compare the cleaned absolute paths.
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) == QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

bool SameContent(const QString &a, const QString &b)
{
    QFile fa(a), fb(b);
    if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly) || fa.size() != fb.size())
        return false;
    constexpr qint64 kChunk = 1 << 16; // bytes
    while (!fa.atEnd()) {
        const QByteArray x = fa.read(kChunk);
        if (x.isEmpty() || x != fb.read(kChunk))
            return false;
    }
    return fb.atEnd();
}

QString RemoveEmptiedFolders(const QString &folder, const QString &keepDir)
{
    const QStringList list = SplitAncestors(folder);
    if (list.isEmpty())
        return QString();
    const QString keep = QDir::cleanPath(keepDir);
    qsizetype i = list.size() - 1;
    for (; i > 0; --i) {
        const QString dir = list[i];
        if (!keepDir.isEmpty() && (dir == keep || keep.startsWith(dir + QLatin1Char('/'))))
            break;
        if (!QDir().rmdir(dir) || QFileInfo::exists(dir))
            break;
    }
    return list[i];
}

} // namespace nuvask
