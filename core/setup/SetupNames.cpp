// Names that install and uninstall build from the start values.

#include "core/setup/SetupNames.h"

#include "core/setup/SetupTexts.h"

#include <QCoreApplication>

namespace nuvask {

SetupNames MakeSetupNames(const StartValues &start)
{
    SetupNames n;
    const QString version = QStringLiteral(" V") + VersionText(start.ProgramVersion);
    n.QuotedTitle = QLatin1Char('"') + start.ProgramTitle + QLatin1Char('"');
    n.VersionedTitle = ShownTitle(start.ProgramTitle) + version; // window captions only
    n.UninstallDisplayName = QStringLiteral("KELDOSOFT ") + start.ProgramTitle + version;
    n.ShownDisplayName = QStringLiteral("KELDOSOFT ") + n.VersionedTitle;
    n.UninstallKey = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + start.ProgramShortName;
    n.UninstallerTitle = QStringLiteral("UNINSTALL_KELDO") + MakeUninstallerFileName(0).mid(10, 3);
    n.UninstallItem = start.ProgramTitle + QStringLiteral(" アンインストール");
    n.ShownUninstallItem = setupText::UninstallItem().arg(ShownTitle(start.ProgramTitle));
    return n;
}

void LetMessagesRun()
{
    QCoreApplication::processEvents();
}

} // namespace nuvask
