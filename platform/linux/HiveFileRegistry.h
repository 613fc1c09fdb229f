#pragma once
// The registry realised as one text file per root under the XDG config home
// (nuvask/registry/HKEY_CURRENT_USER.reg, ...). Every operation reads the file
// afresh; every change is a locked read-modify-write that replaces the file
// atomically, so two running copies of the program never lose each other's
// values and a crash never leaves half a file.

#include "core/Registry.h"

#include <functional>

namespace nuvask {

class HiveDocument;

class HiveFileRegistry : public IRegistry
{
public:
    // folder empty: $XDG_CONFIG_HOME/nuvask/registry, looked up on each call
    // so that a test may point XDG_CONFIG_HOME elsewhere.
    explicit HiveFileRegistry(QString folder = QString());

    static QString defaultFolder();
    QString fileFor(RegRoot root) const;

    bool keyExists(RegRoot root, const QString &path) const override;
    bool createKey(RegRoot root, const QString &path) override;
    bool deleteKeyTree(RegRoot root, const QString &path) override;
    QStringList subKeys(RegRoot root, const QString &path) const override;
    QStringList valueNames(RegRoot root, const QString &path) const override;
    std::optional<QString> readString(RegRoot root, const QString &path, const QString &name) const override;
    bool writeString(RegRoot root, const QString &path, const QString &name, const QString &value) override;
    // One locked read-modify-write for all: each change costs a lock and a
    // synced file replacement, which a close writing twenty values would feel.
    bool writeStrings(RegRoot root, const QString &path, const RegStringValues &values) override;
    bool deleteValue(RegRoot root, const QString &path, const QString &name) override;

private:
    HiveDocument load(RegRoot root) const;
    // Runs change under the root's lock and writes the result when it says so.
    bool mutate(RegRoot root, const std::function<bool(HiveDocument &)> &change);

    QString m_folder;
};

} // namespace nuvask
