// The registry-like settings store the program talks to.

#include "core/settings/SettingsTree.h"

namespace nuvask {

QString NormalizeKeyPath(const QString &path)
{
    QStringList parts = path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    return parts.join(QLatin1Char('\\'));
}

SettingsTreeKey::SettingsTreeKey(ISettingsTree &settingsTree, SettingsRoot root, QString path)
    : m_settingsTree(settingsTree), m_root(root), m_path(NormalizeKeyPath(path))
{
}

QString SettingsTreeKey::readString(const QString &name) const
{
    return m_settingsTree.readString(m_root, m_path, name).value_or(QString());
}

std::optional<QString> SettingsTreeKey::readStringIfPresent(const QString &name) const
{
    return m_settingsTree.readString(m_root, m_path, name);
}

bool SettingsTreeKey::writeString(const QString &name, const QString &value)
{
    return m_settingsTree.writeString(m_root, m_path, name, value);
}

bool SettingsTreeKey::writeStrings(const SettingsValues &values)
{
    return m_settingsTree.writeStrings(m_root, m_path, values);
}

bool SettingsTreeKey::deleteValue(const QString &name)
{
    return m_settingsTree.deleteValue(m_root, m_path, name);
}

QStringList SettingsTreeKey::subKeys() const
{
    return m_settingsTree.subKeys(m_root, m_path);
}

QStringList SettingsTreeKey::valueNames() const
{
    return m_settingsTree.valueNames(m_root, m_path);
}

bool ISettingsTree::writeStrings(SettingsRoot root, const QString &path, const SettingsValues &values)
{
    for (const auto &[name, value] : values) {
        if (!writeString(root, path, name, value))
            return false;
    }
    return true;
}

std::unique_ptr<SettingsTreeKey> ISettingsTree::open(SettingsRoot root, const QString &path, bool create)
{
    if (!keyExists(root, path)) {
        if (!create || !createKey(root, path))
            return nullptr;
    }
    return std::make_unique<SettingsTreeKey>(*this, root, path);
}

} // namespace nuvask
