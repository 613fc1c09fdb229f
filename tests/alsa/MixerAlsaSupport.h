#pragma once
// Helpers of the ALSA backend tests: a recording window, waiting on the event
// loop, and the ALSA configuration that brings in the fixture card.

#include "core/MixerLayer.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>

class QProcess;

#include <functional>
#include <memory>

namespace nuvask::test {

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

// What `pactl args` prints on its standard output (the server of PULSE_SERVER).
QString Pactl(const QStringList &args);

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
// process id. start() may be called again after kill(): the server comes back
// on the same socket.
class OwnPulseAudio
{
public:
    OwnPulseAudio();
    ~OwnPulseAudio();
    bool start();
    void kill();
    bool isRunning() const;
    QByteArray server() const { return m_server.toUtf8(); }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_process;
    QString m_server;
};

} // namespace nuvask::test
