#pragma once
// Points every XDG folder (config, data, runtime, desktop) at a fresh temporary
// folder for the life of the object, so tests never touch the user's files.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <map>

namespace nuvask::test {

class TempXdg
{
public:
    TempXdg();
    ~TempXdg();
    TempXdg(const TempXdg &) = delete;
    TempXdg &operator=(const TempXdg &) = delete;

    QString root() const { return m_dir.path(); }
    QString configHome() const { return m_dir.path() + "/config"; }
    QString dataHome() const { return m_dir.path() + "/data"; }
    QString runtimeDir() const { return m_dir.path() + "/runtime"; }
    QString home() const { return m_dir.path() + "/home"; }

private:
    QTemporaryDir m_dir;
    std::map<QByteArray, QByteArray> m_saved; // variable -> old value ("\0" when unset)
};

} // namespace nuvask::test
