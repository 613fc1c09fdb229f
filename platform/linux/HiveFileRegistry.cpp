#include "platform/linux/HiveFileRegistry.h"

#include "core/HiveDocument.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace nuvask {

namespace {

const char *rootFileName(RegRoot root)
{
    switch (root) {
    case RegRoot::CurrentUser: return "HKEY_CURRENT_USER.reg";
    case RegRoot::LocalMachine: return "HKEY_LOCAL_MACHINE.reg";
    case RegRoot::Users: return "HKEY_USERS.reg";
    }
    return "HKEY_CURRENT_USER.reg";
}

constexpr int kLockTimeoutMs = 5000; // another copy of the program writing
constexpr qint64 kMaxHiveBytes = 16 * 1024 * 1024;

} // namespace

HiveFileRegistry::HiveFileRegistry(QString folder) : m_folder(std::move(folder)) {}

QString HiveFileRegistry::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/nuvask/registry");
}

QString HiveFileRegistry::fileFor(RegRoot root) const
{
    const QString folder = m_folder.isEmpty() ? defaultFolder() : m_folder;
    return folder + QLatin1Char('/') + QLatin1String(rootFileName(root));
}

HiveDocument HiveFileRegistry::load(RegRoot root) const
{
    QFile file(fileFor(root));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return HiveDocument::parse(file.read(kMaxHiveBytes));
}

bool HiveFileRegistry::mutate(RegRoot root, const std::function<bool(HiveDocument &)> &change)
{
    const QString path = fileFor(root);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QLockFile lock(path + QStringLiteral(".lock"));
    lock.setStaleLockTime(30000);
    if (!lock.tryLock(kLockTimeoutMs))
        return false;
    HiveDocument doc = load(root);
    if (!change(doc))
        return true; // nothing to write
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = doc.serialize();
    if (out.write(bytes) != bytes.size()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

bool HiveFileRegistry::keyExists(RegRoot root, const QString &path) const
{
    return load(root).hasKey(path);
}

bool HiveFileRegistry::createKey(RegRoot root, const QString &path)
{
    return mutate(root, [&](HiveDocument &doc) {
        if (doc.hasKey(path))
            return false;
        doc.createKey(path);
        return true;
    });
}

bool HiveFileRegistry::deleteKeyTree(RegRoot root, const QString &path)
{
    return mutate(root, [&](HiveDocument &doc) {
        if (!doc.hasKey(path))
            return false;
        doc.deleteKeyTree(path);
        return true;
    });
}

QStringList HiveFileRegistry::subKeys(RegRoot root, const QString &path) const
{
    return load(root).subKeys(path);
}

QStringList HiveFileRegistry::valueNames(RegRoot root, const QString &path) const
{
    return load(root).valueNames(path);
}

std::optional<QString> HiveFileRegistry::readString(RegRoot root, const QString &path, const QString &name) const
{
    return load(root).readString(path, name);
}

bool HiveFileRegistry::writeString(RegRoot root, const QString &path, const QString &name, const QString &value)
{
    return mutate(root, [&](HiveDocument &doc) {
        doc.writeString(path, name, value);
        return true;
    });
}

bool HiveFileRegistry::writeStrings(RegRoot root, const QString &path, const RegStringValues &values)
{
    return mutate(root, [&](HiveDocument &doc) {
        for (const auto &[name, value] : values)
            doc.writeString(path, name, value);
        return true;
    });
}

bool HiveFileRegistry::deleteValue(RegRoot root, const QString &path, const QString &name)
{
    bool found = false;
    const bool ok = mutate(root, [&](HiveDocument &doc) {
        found = doc.deleteValue(path, name);
        return found;
    });
    return ok && found;
}

} // namespace nuvask
