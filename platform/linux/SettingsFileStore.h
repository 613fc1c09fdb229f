#pragma once
// The settings tree realised as one text file per root under the XDG config home
// (nuvask/registry/HKEY_CURRENT_USER.reg, ...). Every change is a locked
// read-modify-write that replaces the file atomically, so two running copies
// of the program never lose each other's values and a crash never leaves half
// a file. A file is parsed once per change on disk: reads are served from the
// parsed document as long as the file's identity, size and times are those
// it was parsed from. A change that leaves a file with nothing but its
// header line removes the file instead.
//
// A file larger than kMaxSettingsFileBytes, or one that cannot be read, is never
// rewritten: what it holds beyond what could be read would be lost. Reads see
// what could be read; every change fails, and problem() says why.

#include "core/settings/SettingsTree.h"

#include <array>
#include <functional>
#include <memory>

namespace nuvask {

class SettingsFileDocument;

class SettingsFileStore : public ISettingsTree
{
public:
    static constexpr qint64 kMaxSettingsFileBytes = 16 * 1024 * 1024; // bytes

    enum class Problem {
        None,
        TooLarge,   // larger than kMaxSettingsFileBytes
        Unreadable, // exists but could not be read completely
    };

    // folder empty: $XDG_CONFIG_HOME/nuvask/registry, looked up on each call
    // so that a test may point XDG_CONFIG_HOME elsewhere.
    explicit SettingsFileStore(QString folder = QString());
    ~SettingsFileStore() override;

    static QString defaultFolder();
    QString fileFor(SettingsRoot root) const;
    // Why changes of the root's file are refused; None when they are not.
    Problem problem(SettingsRoot root) const;
    // How many times a file was read and parsed (each change on disk once).
    int parseCount() const { return m_parses; }

    bool keyExists(SettingsRoot root, const QString &path) const override;
    bool createKey(SettingsRoot root, const QString &path) override;
    bool deleteKeyTree(SettingsRoot root, const QString &path) override;
    QStringList subKeys(SettingsRoot root, const QString &path) const override;
    QStringList valueNames(SettingsRoot root, const QString &path) const override;
    std::optional<QString> readString(SettingsRoot root, const QString &path, const QString &name) const override;
    bool writeString(SettingsRoot root, const QString &path, const QString &name, const QString &value) override;
    // One locked read-modify-write for all: each change costs a lock and a
    // synced file replacement, which a close writing twenty values would feel.
    bool writeStrings(SettingsRoot root, const QString &path, const SettingsValues &values) override;
    bool deleteValue(SettingsRoot root, const QString &path, const QString &name) override;

private:
    struct Snapshot;
    std::shared_ptr<const Snapshot> load(SettingsRoot root) const;
    // Runs change under the root's lock and writes the result when it says so.
    bool mutate(SettingsRoot root, const std::function<bool(SettingsFileDocument &)> &change);

    QString m_folder;
    mutable std::array<std::shared_ptr<const Snapshot>, 3> m_cache;
    mutable int m_parses = 0;
};

} // namespace nuvask
