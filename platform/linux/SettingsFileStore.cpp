// The settings store as text files under the XDG config folder.

#include "platform/linux/SettingsFileStore.h"

#include "core/settings/SettingsFileDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nuvask {

namespace {

const char *rootFileName(SettingsRoot root)
{
    switch (root) {
    case SettingsRoot::CurrentUser: return "HKEY_CURRENT_USER.reg";
    case SettingsRoot::LocalMachine: return "HKEY_LOCAL_MACHINE.reg";
    case SettingsRoot::Users: return "HKEY_USERS.reg";
    }
    return "HKEY_CURRENT_USER.reg";
}

constexpr int kLockTimeoutMs = 5000; // another copy of the program writing

// What identifies one version of a file on disk. A replaced file has a new
// inode; an edit in place changes the modification time.
struct FileStamp
{
    QString path;
    bool exists = false;
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    timespec mtime{};
    timespec ctime{};

    bool operator==(const FileStamp &o) const
    {
        return path == o.path && exists == o.exists && dev == o.dev && ino == o.ino && size == o.size
            && mtime.tv_sec == o.mtime.tv_sec && mtime.tv_nsec == o.mtime.tv_nsec && ctime.tv_sec == o.ctime.tv_sec
            && ctime.tv_nsec == o.ctime.tv_nsec;
    }
};

FileStamp stampOf(const QString &path, const struct stat &st)
{
    FileStamp s;
    s.path = path;
    s.exists = true;
    s.dev = st.st_dev;
    s.ino = st.st_ino;
    s.size = st.st_size;
    s.mtime = st.st_mtim;
    s.ctime = st.st_ctim;
    return s;
}

FileStamp stampOf(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        FileStamp s;
        s.path = path;
        s.exists = errno == ENOENT ? false : true; // present but not statable: read it to find out
        return s;
    }
    return stampOf(path, st);
}

} // namespace

struct SettingsFileStore::Snapshot
{
    FileStamp stamp;
    SettingsFileDocument doc;
    Problem problem = Problem::None;
};

SettingsFileStore::SettingsFileStore(QString folder) : m_folder(std::move(folder)) {}

SettingsFileStore::~SettingsFileStore() = default;

QString SettingsFileStore::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/nuvask/registry");
}

QString SettingsFileStore::fileFor(SettingsRoot root) const
{
    const QString folder = m_folder.isEmpty() ? defaultFolder() : m_folder;
    return folder + QLatin1Char('/') + QLatin1String(rootFileName(root));
}

std::shared_ptr<const SettingsFileStore::Snapshot> SettingsFileStore::load(SettingsRoot root) const
{
    const QString path = fileFor(root);
    std::shared_ptr<const Snapshot> &cached = m_cache[int(root)];
    const FileStamp now = stampOf(path);
    if (cached && cached->stamp == now)
        return cached;

    auto snap = std::make_shared<Snapshot>();
    snap->stamp = now;
    if (now.exists) {
        ++m_parses;
        QFile file(path);
        struct stat st {};
        if (!file.open(QIODevice::ReadOnly) || ::fstat(file.handle(), &st) != 0 || !S_ISREG(st.st_mode)) {
            snap->problem = Problem::Unreadable;
        } else {
            // The stamp of what was actually read, should the file be
            // replaced between the look and the read.
            snap->stamp = stampOf(path, st);
            const bool tooLarge = st.st_size > kMaxSettingsFileBytes;
            QByteArray bytes = file.read(tooLarge ? kMaxSettingsFileBytes : st.st_size);
            if (tooLarge) {
                snap->problem = Problem::TooLarge;
                bytes.truncate(bytes.lastIndexOf('\n') + 1); // complete lines only
            } else if (bytes.size() != st.st_size || file.error() != QFileDevice::NoError) {
                snap->problem = Problem::Unreadable;
            }
            snap->doc = SettingsFileDocument::parse(bytes);
        }
    }
    cached = snap;
    return cached;
}

SettingsFileStore::Problem SettingsFileStore::problem(SettingsRoot root) const
{
    return load(root)->problem;
}

bool SettingsFileStore::mutate(SettingsRoot root, const std::function<bool(SettingsFileDocument &)> &change)
{
    const QString path = fileFor(root);
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir()) {
        // Deleting from a file that is not there changes nothing, and must
        // not leave a settings folder behind either.
        SettingsFileDocument none;
        if (!change(none))
            return true;
    }
    if (!QDir().mkpath(folder))
        return false;
    QLockFile lock(path + QStringLiteral(".lock"));
    lock.setStaleLockTime(30000);
    if (!lock.tryLock(kLockTimeoutMs))
        return false;
    const std::shared_ptr<const Snapshot> current = load(root);
    if (current->problem != Problem::None)
        return false; // what could not be read would be lost
    SettingsFileDocument doc = current->doc;
    if (!change(doc))
        return true; // nothing to write
    auto snap = std::make_shared<Snapshot>();
    if (doc.holdsNothing()) {
        // The last key went: a file with nothing but its header is no
        // settings file worth keeping (an uninstall leaves nothing behind).
        if (QFile::exists(path) && !QFile::remove(path))
            return false;
        snap->stamp = stampOf(path);
        m_cache[int(root)] = snap;
        return true;
    }
    // Unbuffered: a buffered QSaveFile commits a file that a full disk cut
    // short, as its flush takes the partial write for done.
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray bytes = doc.serialize();
    if (out.write(bytes) != bytes.size()) {
        out.cancelWriting();
        return false;
    }
    if (!out.commit())
        return false;
    // What was just written needs no second parse.
    snap->stamp = stampOf(path);
    snap->doc = std::move(doc);
    m_cache[int(root)] = snap;
    return true;
}

bool SettingsFileStore::keyExists(SettingsRoot root, const QString &path) const
{
    return load(root)->doc.hasKey(path);
}

bool SettingsFileStore::createKey(SettingsRoot root, const QString &path)
{
    // A key implied by a key below it exists already.
    return mutate(root, [&](SettingsFileDocument &doc) { return !doc.hasKey(path) && doc.createKey(path); });
}

bool SettingsFileStore::deleteKeyTree(SettingsRoot root, const QString &path)
{
    return mutate(root, [&](SettingsFileDocument &doc) { return doc.deleteKeyTree(path); });
}

QStringList SettingsFileStore::subKeys(SettingsRoot root, const QString &path) const
{
    return load(root)->doc.subKeys(path);
}

QStringList SettingsFileStore::valueNames(SettingsRoot root, const QString &path) const
{
    return load(root)->doc.valueNames(path);
}

std::optional<QString> SettingsFileStore::readString(SettingsRoot root, const QString &path, const QString &name) const
{
    return load(root)->doc.readString(path, name);
}

bool SettingsFileStore::writeString(SettingsRoot root, const QString &path, const QString &name, const QString &value)
{
    return mutate(root, [&](SettingsFileDocument &doc) { return doc.writeString(path, name, value); });
}

bool SettingsFileStore::writeStrings(SettingsRoot root, const QString &path, const SettingsValues &values)
{
    return mutate(root, [&](SettingsFileDocument &doc) {
        for (const auto &[name, value] : values)
            doc.writeString(path, name, value);
        return true;
    });
}

bool SettingsFileStore::deleteValue(SettingsRoot root, const QString &path, const QString &name)
{
    bool found = false;
    const bool ok = mutate(root, [&](SettingsFileDocument &doc) {
        found = doc.deleteValue(path, name);
        return found;
    });
    return ok && found;
}

} // namespace nuvask
