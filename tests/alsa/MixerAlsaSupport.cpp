#include "MixerAlsaSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

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
