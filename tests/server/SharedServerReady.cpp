// Before each test on the test script's private sound server: the server takes
// connections again and is as the script left it. A test that killed and
// restarted it (the PipeWire run) or moved a default, muted or turned down the
// sink cannot decide how the next test starts. The script names its defaults
// in NUVASK_TEST_DEFAULT_SINK and NUVASK_TEST_DEFAULT_SOURCE.
#include "tests/server/MixerAlsaSupport.h"

#include <QDeadlineTimer>
#include <QThread>
#include <gtest/gtest.h>

#include <cstdio>

namespace nuvask::test {
namespace {

// True once the server answers with these defaults; puts them back meanwhile.
bool DefaultsInPlace(const QString &sink, const QString &source)
{
    const QString info = Pactl({"info"});
    if (!info.contains("Default Sink:"))
        return false; // not answering (yet)
    const bool sinkOk = info.contains("Default Sink: " + sink + '\n');
    const bool sourceOk = info.contains("Default Source: " + source + '\n');
    if (!sinkOk)
        Pactl({"set-default-sink", sink});
    if (!sourceOk)
        Pactl({"set-default-source", source});
    return sinkOk && sourceOk;
}

void PrepareSharedServer()
{
    const QString sink = qEnvironmentVariable("NUVASK_TEST_DEFAULT_SINK");
    const QString source = qEnvironmentVariable("NUVASK_TEST_DEFAULT_SOURCE");
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER") || sink.isEmpty() || source.isEmpty())
        return;
    const QDeadlineTimer bound(10000);
    while (!DefaultsInPlace(sink, source)) {
        if (bound.hasExpired()) {
            std::fprintf(stderr, "the private sound server is not back as the script started it\n");
            return; // the test says what it misses
        }
        QThread::msleep(50);
    }
    for (const QString &what : {QStringLiteral("sink"), QStringLiteral("source")}) {
        const QString &name = what == QLatin1String("sink") ? sink : source;
        Pactl({"set-" + what + "-volume", name, "100%"});
        Pactl({"set-" + what + "-mute", name, "0"});
    }
}

class SharedServerReady : public ::testing::EmptyTestEventListener
{
    void OnTestStart(const ::testing::TestInfo &) override { PrepareSharedServer(); }
};

// Registered with this binary's tests before main() runs them.
const bool registered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new SharedServerReady);
    return true;
}();

} // namespace
} // namespace nuvask::test
