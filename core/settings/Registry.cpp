// The registry-like settings store the program talks to.

#include "core/settings/Registry.h"

namespace nuvask {

QString NormalizeKeyPath(const QString &path)
{
    QStringList parts = path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    return parts.join(QLatin1Char('\\'));
}

RegKey::RegKey(IRegistry &registry, RegRoot root, QString path)
    : m_registry(registry), m_root(root), m_path(NormalizeKeyPath(path))
{
}

QString RegKey::readString(const QString &name) const
{
    return m_registry.readString(m_root, m_path, name).value_or(QString());
}

std::optional<QString> RegKey::readStringIfPresent(const QString &name) const
{
    return m_registry.readString(m_root, m_path, name);
}

bool RegKey::writeString(const QString &name, const QString &value)
{
    return m_registry.writeString(m_root, m_path, name, value);
}

bool RegKey::writeStrings(const RegStringValues &values)
{
    return m_registry.writeStrings(m_root, m_path, values);
}

bool RegKey::deleteValue(const QString &name)
{
    return m_registry.deleteValue(m_root, m_path, name);
}

QStringList RegKey::subKeys() const
{
    return m_registry.subKeys(m_root, m_path);
}

QStringList RegKey::valueNames() const
{
    return m_registry.valueNames(m_root, m_path);
}

bool IRegistry::writeStrings(RegRoot root, const QString &path, const RegStringValues &values)
{
    for (const auto &[name, value] : values) {
        if (!writeString(root, path, name, value))
            return false;
    }
    return true;
}

std::unique_ptr<RegKey> IRegistry::open(RegRoot root, const QString &path, bool create)
{
    if (!keyExists(root, path)) {
        if (!create || !createKey(root, path))
            return nullptr;
    }
    return std::make_unique<RegKey>(*this, root, path);
}

} // namespace nuvask
