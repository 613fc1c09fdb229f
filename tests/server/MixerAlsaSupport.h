#pragma once
// Helpers of the ALSA backend tests: a recording window, waiting on the event
// loop, and the ALSA configuration that brings in the fixture card.

#include "core/mixer/MixerLayer.h"
#include "support/TestProcesses.h" // SourceVolume()

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <functional>
#include <memory>

// Tests that need the private PulseAudio of scripts/with-services.sh.
#define SKIP_WITHOUT_PULSE()                                                                                           \
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER"))                                                                   \
    GTEST_SKIP() << "PULSE_SERVER is not set: run under scripts/with-services.sh for the private PulseAudio"

namespace nuvask::test {

// Runs pactl with `args` and returns what it printed.
QString Pactl(const QStringList &args);
// Record streams on the server (meters', captures', and on PipeWire a
// remapped source's own).
int RecordStreams();
// The null sink rec_sink and the default source (its monitor) at full volume
// and unmuted: a tone played into the sink is recorded at its own level.
void OpenCapturePath();

struct RecordingMixerHost : MixerHost
{
    QList<std::pair<MixerHandle, quint32>> changes;
    void SetAutoMarkVisible(int, bool) override {}
    void SetPeakTimerRunning(bool) override {}
    void MixerControlChange(MixerHandle handle, quint32 controlId) override { changes.append({handle, controlId}); }
    bool AutoRecVChecked() const override { return false; }
};

// Runs the event loop until `done` holds or `ms` milliseconds passed.
bool WaitFor(const std::function<bool()> &done, int ms);
// Runs the event loop for `ms` milliseconds.
void Spin(int ms);

// The first control of `type` on a line, or a control with id 0.
MixerControl FindControl(MixerService &service, MixerHandle handle, quint32 lineId, quint32 type);

// Sets an environment variable for the lifetime of the object.
class ScopedEnv
{
public:
    ScopedEnv(const char *name, const QByteArray &value);
    ~ScopedEnv();

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};

// An ALSA configuration of its own in which "default" is the fixture card in
// the given layout ("ac97" or "hda"); ALSA_CONFIG_PATH points at it while the
// object lives, so no system card or sound server is seen.
class FixtureAlsaConfig
{
public:
    explicit FixtureAlsaConfig(const QByteArray &layout = "ac97");
    bool isValid() const { return m_valid; }

private:
    QTemporaryDir m_dir;
    bool m_valid = false;
    std::unique_ptr<ScopedEnv> m_env;
};

// A PulseAudio of the test's own with a null sink "own_sink", stopped by its
// process id; point PULSE_SERVER at server() to use it, or start it with
// startInUse(), which does so until the object goes.
class OwnPulseAudio
{
public:
    OwnPulseAudio();
    ~OwnPulseAudio()
    {
        m_inUse.reset();
        kill();
    }
    bool start();
    bool startInUse()
    {
        if (!start())
            return false;
        m_inUse = std::make_unique<ScopedEnv>("PULSE_SERVER", server());
        return true;
    }
    void kill();
    bool isRunning() const { return m_process.state() == QProcess::Running; }
    QByteArray server() const { return m_server.toUtf8(); }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_server;
    std::unique_ptr<ScopedEnv> m_inUse;
};

// A tone played into a sink with low latency (pacat fed from memory), so that
// the sink is busy and capture from its monitor runs at once. Stopped by its
// process id when the object goes.
class TonePlayer
{
public:
    // A 1 kHz sine at `amplitude` (16-bit scale) on both channels, for
    // `seconds`; with `rightAmplitude` (0 or more) the right channel has that
    // amplitude instead.
    bool start(const QString &sink, int amplitude, int seconds, int rightAmplitude = -1);
    void stop();
    ~TonePlayer() { stop(); }

private:
    QProcess m_process;
    std::unique_ptr<QTemporaryFile> m_file;
};

// CPU time this process has used so far, user and system, in seconds.
double ProcessCpuSeconds();

// How often the main thread went to sleep and was woken while its event loop
// ran for `ms` milliseconds (a timer, a descriptor or a posted event each).
long MainThreadWakeUps(int ms);

} // namespace nuvask::test
