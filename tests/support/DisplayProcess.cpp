#include "support/DisplayProcess.h"

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

} // namespace nuvask::test
