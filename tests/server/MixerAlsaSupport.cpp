#include "MixerAlsaSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QThread>
#include <QTimer>

#include <sys/resource.h>

#include <cmath>
#include <csignal>
#include <numbers>

namespace nuvask::test {

bool WaitFor(const std::function<bool()> &done, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() >= ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}

void Spin(int ms)
{
    WaitFor([] { return false; }, ms);
}

MixerControl FindControl(MixerService &service, MixerHandle handle, quint32 lineId, quint32 type)
{
    QList<MixerControl> controls;
    if (service.lineControls(handle, lineId, controls) == MixerRc::NoError) {
        for (const MixerControl &control : std::as_const(controls)) {
            if (control.controlType == type)
                return control;
        }
    }
    return MixerControl{};
}

ScopedEnv::ScopedEnv(const char *name, const QByteArray &value)
    : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
{
    qputenv(name, value);
}

ScopedEnv::~ScopedEnv()
{
    if (m_had)
        qputenv(m_name, m_old);
    else
        qunsetenv(m_name);
}

FixtureAlsaConfig::FixtureAlsaConfig(const QByteArray &layout)
{
    if (!m_dir.isValid())
        return;
    const QString conf = m_dir.filePath(QStringLiteral("asound.conf"));
    QFile file(conf);
    if (!file.open(QIODevice::WriteOnly))
        return;
    const QByteArray dir = QFile::encodeName(m_dir.path());
    file.write("ctl_type.nuvask_fixture { lib \"" NUVASK_FIXTURE_PLUGIN "\" open \"_snd_ctl_nuvask_fixture_open\" }\n");
    file.write("ctl.default { type nuvask_fixture state \"" + dir + "/state\" layout \"" + layout + "\" }\n");
    file.close();
    m_env = std::make_unique<ScopedEnv>("ALSA_CONFIG_PATH", QFile::encodeName(conf));
    m_valid = true;
}

} // namespace nuvask::test

namespace nuvask::test {

OwnPulseAudio::OwnPulseAudio() : m_server("unix:" + m_dir.filePath("runtime") + "/pulse/native") {}

bool OwnPulseAudio::start()
{
    if (!m_dir.isValid())
        return false;
    const QString runtime = m_dir.filePath("runtime");
    QDir().mkpath(runtime + "/pulse");
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime);
    env.insert("PULSE_RUNTIME_PATH", runtime + "/pulse");
    env.insert("PULSE_STATE_PATH", m_dir.filePath("state"));
    env.insert("HOME", m_dir.path());
    env.remove("PULSE_SERVER");
    env.remove("DISPLAY");
    env.remove("DBUS_SESSION_BUS_ADDRESS");
    m_process.setProcessEnvironment(env);
    m_process.setProgram("pulseaudio");
    m_process.setArguments({"-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
                            "--log-target=file:" + m_dir.filePath("pulse.log"), "-L", "module-native-protocol-unix",
                            "-L", "module-null-sink sink_name=own_sink", "-L", "module-always-sink"});
    m_process.start();
    if (!m_process.waitForStarted(5000))
        return false;
    return WaitFor(
        [this] {
            QProcess probe;
            QProcessEnvironment probeEnv = QProcessEnvironment::systemEnvironment();
            probeEnv.insert("PULSE_SERVER", m_server);
            probe.setProcessEnvironment(probeEnv);
            probe.start("pactl", {"info"});
            probe.waitForFinished(2000);
            return probe.exitCode() == 0 && probe.exitStatus() == QProcess::NormalExit;
        },
        10000);
}

void OwnPulseAudio::kill()
{
    if (m_process.processId() > 0)
        ::kill(pid_t(m_process.processId()), SIGKILL);
    m_process.waitForFinished(5000);
}

bool TonePlayer::start(const QString &sink, int amplitude, int seconds, int rightAmplitude)
{
    constexpr int Rate = 44100;
    QByteArray pcm;
    pcm.reserve(qsizetype(Rate) * 4 * seconds);
    const int amplitudes[2] = {amplitude, rightAmplitude < 0 ? amplitude : rightAmplitude};
    for (int i = 0; i < Rate * seconds; ++i) {
        const double wave = std::sin(2 * std::numbers::pi * 1000.0 * i / Rate);
        for (int channel = 0; channel < 2; ++channel) {
            const auto v = qint16(std::lround(amplitudes[channel] * wave));
            pcm.append(char(v & 0xFF));
            pcm.append(char((v >> 8) & 0xFF));
        }
    }
    // Played from a file: written through a pipe, the sound would wake the
    // test's own event loop every time the player took another part of it.
    m_file = std::make_unique<QTemporaryFile>();
    if (!m_file->open() || m_file->write(pcm) != pcm.size() || !m_file->flush())
        return false;
    m_process.start("pacat", {"--playback", "--raw", "--latency-msec=20", "--format=s16le", "--rate=44100",
                              "--channels=2", "--device=" + sink, m_file->fileName()});
    if (!m_process.waitForStarted(5000))
        return false;
    return true;
}

void TonePlayer::stop()
{
    if (m_process.state() != QProcess::NotRunning && m_process.processId() > 0)
        ::kill(pid_t(m_process.processId()), SIGKILL);
    m_process.waitForFinished(5000);
}

QString Pactl(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral("pactl"), args);
    process.waitForFinished(5000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

int RecordStreams()
{
    return int(Pactl({"list", "short", "source-outputs"}).split('\n', Qt::SkipEmptyParts).size());
}

void OpenCapturePath()
{
    Pactl({"set-sink-volume", "rec_sink", "100%"});
    Pactl({"set-source-volume", "@DEFAULT_SOURCE@", "100%"});
    Pactl({"set-source-mute", "@DEFAULT_SOURCE@", "0"});
}

double ProcessCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace nuvask::test

namespace nuvask::test {

long MainThreadWakeUps(int ms)
{
    // /proc/self/status counts the main thread's own switches.
    const auto count = [] {
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QIODevice::ReadOnly))
            return -1L;
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("voluntary_ctxt_switches:"))
                return line.mid(24).trimmed().toLong();
        }
        return -1L;
    };
    const long before = count();
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return count() - before;
}

} // namespace nuvask::test
