#include "support/TestProcesses.h"

#include "core/settings/SettingsStore.h"
#include "platform/linux/SettingsFileStore.h"

#include <QRegularExpression>
#include <QStandardPaths>

namespace nuvask::test {

QProcessEnvironment TestDisplayEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("DISPLAY", qEnvironmentVariable("NUVASK_TEST_DISPLAY"));
    return env;
}

bool StartOnTestDisplay(QProcess &app)
{
    app.setProcessEnvironment(TestDisplayEnvironment());
    app.setProgram(QStringLiteral(NUVASK_BINARY));
    app.setProcessChannelMode(QProcess::ForwardedChannels);
    app.start();
    return app.waitForStarted(5000);
}

QString RunProgram(const QString &program, const QStringList &args, const QProcessEnvironment &env)
{
    QProcess process;
    if (!env.isEmpty())
        process.setProcessEnvironment(env);
    process.start(program, args);
    process.waitForFinished(5000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString MissingForRealWindow(const QStringList &tools)
{
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER") || qEnvironmentVariableIsEmpty("NUVASK_TEST_DISPLAY"))
        return QStringLiteral("needs the private PulseAudio and Xvfb of scripts/with-services.sh");
    for (const QString &tool : tools) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            return QStringLiteral("needs %1 (scripts/deps.sh installs it)").arg(tool);
    }
    return {};
}

void StoreInstalledSettings(const QList<QPair<QString, QString>> &values)
{
    SettingsFileStore reg;
    auto settings = reg.open(SettingsRoot::CurrentUser, SettingsKeyPath(QStringLiteral("NUVASK")), true);
    settings->writeString(QStringLiteral("Version"), QStringLiteral("23"));
    for (const auto &[name, value] : values)
        settings->writeString(name, value);
}

QString StoredSetting(const QString &name)
{
    SettingsFileStore reg;
    auto settings = reg.open(SettingsRoot::CurrentUser, SettingsKeyPath(QStringLiteral("NUVASK")), false);
    return settings ? settings->readString(name) : QStringLiteral("<no key>");
}

int SourceVolume()
{
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral(":\\s*(\\d+)\\s*/"))
                                          .match(RunProgram("pactl", {"get-source-volume", "@DEFAULT_SOURCE@"}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

} // namespace nuvask::test
