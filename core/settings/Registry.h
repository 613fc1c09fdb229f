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

enum class RegRoot { CurrentUser, LocalMachine, Users };

// Named string values in the order they are to be written.
using RegStringValues = QList<std::pair<QString, QString>>;

class IRegistry;

// An open key. Every call goes to the store at once; nothing is cached, so two
// processes see each other's writes.
class RegKey
{
public:
    RegKey(IRegistry &registry, RegRoot root, QString path);

    RegRoot root() const { return m_root; }
    const QString &path() const { return m_path; }

    // Missing value, or a value of another type than string, reads as empty.
    QString readString(const QString &name) const;
    // Distinguishes a missing (or non-string) value from an empty one.
    std::optional<QString> readStringIfPresent(const QString &name) const;
    bool writeString(const QString &name, const QString &value);
    // Every value at once: one change of the store instead of one per value.
    bool writeStrings(const RegStringValues &values);
    bool deleteValue(const QString &name);
    QStringList subKeys() const;
    QStringList valueNames() const;

private:
    IRegistry &m_registry;
    RegRoot m_root;
    QString m_path;
};

class IRegistry
{
public:
    virtual ~IRegistry() = default;

    // Opens an existing key (create = false) or creates it with its parents.
    // Returns nothing when the key is missing and may not be created, or when
    // the store cannot be written.
    std::unique_ptr<RegKey> open(RegRoot root, const QString &path, bool create);

    virtual bool keyExists(RegRoot root, const QString &path) const = 0;
    virtual bool createKey(RegRoot root, const QString &path) = 0;
    // Removes the key with every key below it. A missing key is not an error.
    virtual bool deleteKeyTree(RegRoot root, const QString &path) = 0;
    // Immediate sub-key names, in the order they were first written.
    virtual QStringList subKeys(RegRoot root, const QString &path) const = 0;
    virtual QStringList valueNames(RegRoot root, const QString &path) const = 0;
    // nullopt for a missing value and for one that is not a string.
    virtual std::optional<QString> readString(RegRoot root, const QString &path, const QString &name) const = 0;
    virtual bool writeString(RegRoot root, const QString &path, const QString &name, const QString &value) = 0;
    // Writes the values in order; a store that can should make it one change.
    // This one writes them one by one and stops at the first failure.
    virtual bool writeStrings(RegRoot root, const QString &path, const RegStringValues &values);
    virtual bool deleteValue(RegRoot root, const QString &path, const QString &name) = 0;
};

// "Software\\A\\" and "software\\a" name the same key.
QString NormalizeKeyPath(const QString &path);

} // namespace nuvask
