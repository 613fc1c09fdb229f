#pragma once
// A temporary folder tree for tests of the folder browser, and a way to make
// permission bits count when the tests run as root.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

namespace nuvask::test {

class TempFolderTree
{
public:
    TempFolderTree()
    {
        // Readable by everyone, so that an unprivileged user can walk it.
        ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755);
    }

    QString Root() const { return m_dir.path(); }
    QString Path(const QString &relative) const { return m_dir.path() + u'/' + relative; }

    QString Folder(const QString &relative) const
    {
        const QString path = Path(relative);
        QDir().mkpath(path);
        return path;
    }

    QString File(const QString &relative, qint64 bytes = 0) const
    {
        const QString path = Path(relative);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(QByteArray(bytes, 'x'));
        return path;
    }

    QString Link(const QString &relative, const QString &target) const
    {
        const QString path = Path(relative);
        QFile::link(target, path);
        return path;
    }

    static void Mode(const QString &path, mode_t mode) { ::chmod(QFile::encodeName(path).constData(), mode); }

private:
    QTemporaryDir m_dir;
};

// While alive, the process acts as an unprivileged user when it runs as root
// (root opens any folder whatever its mode).
class AsUnprivileged
{
public:
    AsUnprivileged() : m_wasRoot(::geteuid() == 0)
    {
        if (m_wasRoot)
            m_switched = ::seteuid(65534) == 0;
    }
    ~AsUnprivileged()
    {
        if (m_switched)
            (void)::seteuid(0);
    }
    AsUnprivileged(const AsUnprivileged &) = delete;
    AsUnprivileged &operator=(const AsUnprivileged &) = delete;

    // False when root could not give up its rights (the test cannot run).
    bool Effective() const { return !m_wasRoot || m_switched; }

private:
    bool m_wasRoot;
    bool m_switched = false;
};

} // namespace nuvask::test
