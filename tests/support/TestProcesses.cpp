#include "support/TestProcesses.h"

#include <QRegularExpression>

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

int SourceVolume()
{
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral(":\\s*(\\d+)\\s*/"))
                                          .match(RunProgram("pactl", {"get-source-volume", "@DEFAULT_SOURCE@"}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

} // namespace nuvask::test
