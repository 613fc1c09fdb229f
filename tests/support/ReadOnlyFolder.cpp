#include "support/ReadOnlyFolder.h"

#include <QFile>
#include <QTemporaryFile>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nuvask::test {

namespace {

bool setImmutable(const QString &path, bool on)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

// Whether a file can still be created in the folder.
bool writable(const QString &path)
{
    QTemporaryFile probe(path + QStringLiteral("/probe.XXXXXX"));
    return probe.open();
}

} // namespace

ReadOnlyFolder::ReadOnlyFolder(const QString &path) : m_path(path)
{
    ::chmod(QFile::encodeName(path).constData(), 0555);
    if (::geteuid() == 0)
        m_immutable = setImmutable(path, true);
    m_active = !writable(path);
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    if (m_immutable)
        setImmutable(m_path, false);
    ::chmod(QFile::encodeName(m_path).constData(), 0755);
}

} // namespace nuvask::test
