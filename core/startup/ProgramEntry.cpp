// Start values and the choice between a running copy, the main window and the setup window.

#include "core/startup/ProgramEntry.h"

#include "core/base/Cp932.h"
#include "core/settings/SettingsStore.h"
#include "core/base/TextHelpers.h"

#include <QCoreApplication>

#include <algorithm>

namespace nuvask {

const char *const kMainWindowClass = "TKELDO_NUVASK";
const char *const kSetupWindowClass = "TNUVASK_SETUPFM";

namespace {
StartValues g_start;

QString fileNamePart(const QString &path)
{
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(cut + 1);
}

QString folderPart(const QString &path)
{
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return cut < 0 ? QString() : path.left(cut + 1);
}
} // namespace

const StartValues &Start()
{
    return g_start;
}

void SetStartValues(const StartValues &values)
{
    g_start = values;
}

QString VersionText(int version)
{
    return QString::number(version / 10) + QLatin1Char('.') + QString::number(version % 10);
}

QString MakeUninstallerFileName(int number)
{
    const QString digits = QStringLiteral("000") + QString::number(number);
    return QStringLiteral("unin_keldo") + digits.right(3) + QStringLiteral(".exe");
}

QString JoinParameters(const QStringList &parameters)
{
    QString joined;
    for (const QString &p : parameters)
        joined += p + QLatin1Char('?');
    joined.chop(1);
    return joined;
}

QString HandOverText(const QString &joined)
{
    // An atom name holds at most 255 (code-page) characters; longer or empty
    // text cannot become an atom, and the receiver then reads nothing.
    qsizetype bytes = Cp932::byteLength(joined);
    if (bytes < 0)
        bytes = joined.toUtf8().size();
    if (bytes == 0 || bytes > kMaxAtomBytes)
        return {};
    return joined;
}

QString ShownTitle(const QString &programTitle)
{
    return QCoreApplication::translate("ProgramEntry", programTitle.toUtf8().constData());
}

StartValues MakeStartValues(const QString &exePath, char separator)
{
    StartValues v;
    v.ProgramTitle = QString::fromUtf8(QT_TRANSLATE_NOOP("ProgramEntry", "DORIVA SOUND ボリューム"));
    v.ProgramVersion = kProgramVersion;
    v.ProgramShortName = QStringLiteral("NUVASK");
    v.ProgramDir = AddTrailingBackslash(folderPart(exePath), separator);
    v.DataDir = v.ProgramDir;
    v.UninstallerFileName = MakeUninstallerFileName(0);
    v.StartMode = StartNormal;
    return v;
}

StartDecision DecideStart(const QStringList &parameters, const QString &exePath, IInstanceProbe &probe,
                          SettingsStore &settings, bool packaged)
{
    StartDecision d;
    const QString first = parameters.value(0);
    if (first == QLatin1String("/uninstall"))
        d.startMode = StartUninstallRequested;
    else if (fileNamePart(exePath).toLower() == MakeUninstallerFileName(0))
        d.startMode = StartAsUninstaller;

    const QString mainClass = QLatin1String(kMainWindowClass);
    const QString setupClass = QLatin1String(kSetupWindowClass);
    switch (d.startMode) {
    case StartNormal: {
        if (probe.windowExists(mainClass)) {
            probe.sendSecondInstance(mainClass, HandOverText(JoinParameters(parameters)));
            d.outcome = StartOutcome::HandedOver;
            return d;
        }
        const auto version = SettingsStore::parseDecimal(settings.readVersion());
        if (version && *version == kProgramVersion) {
            d.outcome = StartOutcome::OpenMain;
        } else if (packaged) {
            // The package manager installed it for every user: nothing to
            // set up. The version is what the about box shows.
            settings.writeVersion(kProgramVersion);
            d.outcome = StartOutcome::OpenMain;
        } else if (probe.windowExists(setupClass)) {
            d.outcome = StartOutcome::ExitSilently;
        } else {
            d.outcome = StartOutcome::OpenSetup;
        }
        return d;
    }
    case StartUninstallRequested:
        if (probe.windowExists(mainClass) || probe.windowExists(setupClass))
            d.startMode = StartUninstallRefused;
        d.outcome = StartOutcome::OpenSetup;
        return d;
    default:
        d.outcome = StartOutcome::OpenSetup;
        return d;
    }
}

} // namespace nuvask
