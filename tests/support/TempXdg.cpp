#include "support/TempXdg.h"

#include <QDir>
#include <QFile>

namespace nuvask::test {

static const char *const kVars[] = {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR", "HOME"};

TempXdg::TempXdg()
{
    for (const char *var : kVars)
        m_saved[var] = qEnvironmentVariableIsSet(var) ? qgetenv(var) : QByteArray("\0", 1);
    QDir().mkpath(configHome());
    QDir().mkpath(dataHome());
    QDir().mkpath(runtimeDir());
    QDir().mkpath(home() + "/Desktop");
    QFile::setPermissions(runtimeDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_CONFIG_HOME", configHome().toLocal8Bit());
    qputenv("XDG_DATA_HOME", dataHome().toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", runtimeDir().toLocal8Bit());
    qputenv("HOME", home().toLocal8Bit());
}

TempXdg::~TempXdg()
{
    for (const auto &[var, value] : m_saved) {
        if (value == QByteArray("\0", 1))
            qunsetenv(var.constData());
        else
            qputenv(var.constData(), value);
    }
}

} // namespace nuvask::test
