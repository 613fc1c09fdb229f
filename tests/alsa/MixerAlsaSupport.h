#pragma once
// Helpers of the ALSA backend tests: a recording window, waiting on the event
// loop, and the ALSA configuration that brings in the fixture card.

#include "core/MixerLayer.h"

#include <QByteArray>
#include <QList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace nuvask::test {

struct RecordingMixerHost : MixerHost {
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
class ScopedEnv {
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
class FixtureAlsaConfig {
public:
    explicit FixtureAlsaConfig(const QByteArray &layout = "ac97");
    bool isValid() const { return m_valid; }

private:
    QTemporaryDir m_dir;
    bool m_valid = false;
    std::unique_ptr<ScopedEnv> m_env;
};

} // namespace nuvask::test
