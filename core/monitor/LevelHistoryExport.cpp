// The level history's export files, written through the bytes of their names.

#include "core/monitor/LevelHistoryExport.h"

#include "core/folders/FileNames.h"

#include <QtGlobal>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace nuvask {

namespace {

// Closes the descriptor and takes the half-written file away unless kept.
struct PartFile
{
    int fd = -1;
    QByteArray name;
    bool keep = false;
    ~PartFile()
    {
        if (fd >= 0)
            ::close(fd);
        if (!keep && !name.isEmpty())
            ::unlink(name.constData());
    }
};

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, std::size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

} // namespace

QString NewExportPath(const QString &folder, const QString &stem, const QString &extension)
{
    const QString base = folder.endsWith(QLatin1Char('/')) ? folder + stem : folder + QLatin1Char('/') + stem;
    QString path = base + QLatin1Char('.') + extension;
    // Two exports in one second: the later one gets a number.
    for (int n = 2; FileNameExists(path); ++n)
        path = base + QLatin1Char('_') + QString::number(n) + QLatin1Char('.') + extension;
    return path;
}

QString WriteExportFile(const QString &path, const QByteArray &bytes)
{
    const QByteArray name = EncodeFileName(path);
    PartFile part;
    // A name of its own beside the file; one left by a crash is not reused.
    for (int n = 1; part.fd < 0; ++n) {
        const QByteArray candidate = name + ".part" + (n > 1 ? QByteArray::number(n) : QByteArray());
        part.fd = ::open(candidate.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (part.fd >= 0)
            part.name = candidate;
        else if (errno != EEXIST || n >= 100)
            return qt_error_string(errno);
    }
    if (!writeAll(part.fd, bytes))
        return qt_error_string(errno);
    // A file system that cannot sync (EINVAL) has still taken the bytes.
    if (::fdatasync(part.fd) != 0 && errno != EINVAL)
        return qt_error_string(errno);
    const int fd = part.fd;
    part.fd = -1;
    if (::close(fd) != 0 || ::rename(part.name.constData(), name.constData()) != 0)
        return qt_error_string(errno);
    part.keep = true;
    return QString();
}

} // namespace nuvask
