#pragma once
// The per-user hierarchical store the settings, the install entry and the
// uninstall hand-over live in. Keys are backslash-separated paths under one of
// three roots; values are named strings. Key paths and value names compare
// without regard to letter case, as the original platform's registry does.

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <utility>

namespace nuvask {

enum class SettingsRoot { CurrentUser, LocalMachine, Users };

// Named string values in the order they are to be written.
using SettingsValues = QList<std::pair<QString, QString>>;

class ISettingsTree;

// An open key. Every call goes to the store at once; nothing is cached, so two
// processes see each other's writes.
class SettingsTreeKey
{
public:
    SettingsTreeKey(ISettingsTree &settingsTree, SettingsRoot root, QString path);

    SettingsRoot root() const { return m_root; }
    const QString &path() const { return m_path; }

    // Missing value, or a value of another type than string, reads as empty.
    QString readString(const QString &name) const;
    // Distinguishes a missing (or non-string) value from an empty one.
    std::optional<QString> readStringIfPresent(const QString &name) const;
    bool writeString(const QString &name, const QString &value);
    // Every value at once: one change of the store instead of one per value.
    bool writeStrings(const SettingsValues &values);
    bool deleteValue(const QString &name);
    QStringList subKeys() const;
    QStringList valueNames() const;

private:
    ISettingsTree &m_settingsTree;
    SettingsRoot m_root;
    QString m_path;
};

class ISettingsTree
{
public:
    virtual ~ISettingsTree() = default;

    // Opens an existing key (create = false) or creates it with its parents.
    // Returns nothing when the key is missing and may not be created, or when
    // the store cannot be written.
    std::unique_ptr<SettingsTreeKey> open(SettingsRoot root, const QString &path, bool create);

    virtual bool keyExists(SettingsRoot root, const QString &path) const = 0;
    virtual bool createKey(SettingsRoot root, const QString &path) = 0;
    // Removes the key with every key below it. A missing key is not an error.
    virtual bool deleteKeyTree(SettingsRoot root, const QString &path) = 0;
    // Immediate sub-key names, in the order they were first written.
    virtual QStringList subKeys(SettingsRoot root, const QString &path) const = 0;
    virtual QStringList valueNames(SettingsRoot root, const QString &path) const = 0;
    // nullopt for a missing value and for one that is not a string.
    virtual std::optional<QString> readString(SettingsRoot root, const QString &path, const QString &name) const = 0;
    virtual bool writeString(SettingsRoot root, const QString &path, const QString &name, const QString &value) = 0;
    // Writes the values in order; a store that can should make it one change.
    // This one writes them one by one and stops at the first failure.
    virtual bool writeStrings(SettingsRoot root, const QString &path, const SettingsValues &values);
    virtual bool deleteValue(SettingsRoot root, const QString &path, const QString &name) = 0;
};

// "Software\\A\\" and "software\\a" name the same key.
QString NormalizeKeyPath(const QString &path);

} // namespace nuvask
