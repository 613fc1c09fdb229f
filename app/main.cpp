// The program entry: start values, then exactly one of: hand the parameters to
// a running main window, open the main window, open the setup window.

#include "core/ProgramEntry.h"
#include "core/SettingsStore.h"
#include "platform/alsa/AlsaMixerService.h"
#include "platform/alsa/AlsaWaveIn.h"
#include "platform/linux/HiveFileRegistry.h"
#include "platform/linux/LocalInstance.h"
#include "platform/linux/TerminationSignals.h"
#include "platform/linux/XdgDesktopEntries.h"
#include "platform/linux/XdgProgramGroups.h"
#include "ui/AppFonts.h"
#include "ui/AppIcon.h"
#include "ui/KeldoNuvask.h"
#include "ui/NuvaskSetupFm.h"
#include "ui/WorkArea.h"

#include <QApplication>
#include <memory>

using namespace nuvask;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("nuvask"));
    // Every window and the tray icon show the program's own icon; desktops
    // that look the icon up by the desktop entry find it under the same name.
    QApplication::setWindowIcon(ApplicationIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("nuvask"));
    InstallFontSubstitutions();

    StartValues start = MakeStartValues(QCoreApplication::applicationFilePath(), '/');
    HiveFileRegistry registry;
    SettingsStore settings(registry, start.ProgramShortName);
    LocalInstanceProbe probe;

    const StartDecision decision = DecideStart(app.arguments().mid(1), QCoreApplication::applicationFilePath(), probe, settings);
    start.StartMode = decision.startMode;
    SetStartValues(start);
    // The application title goes to message boxes without a caption of their
    // own; it is not the display name, which Qt would append to every caption.
    SetApplicationTitle(start.ProgramTitle);

    InstanceServer server;
    AlsaMixerService mixer; // outlives the window, which closes its devices
    AlsaWaveIn capture;     // the level monitor's input, likewise
    // The desktop's folders, launchers and program groups, for the window's
    // icon items (and the setup window's group).
    const QString icon = XdgDesktopEntries::ProgramIconValue(start.ProgramDir);
    XdgDesktopEntries desktopEntries(start.ProgramTitle, icon);
    XdgProgramGroups programGroups(icon, desktopEntries.StartupGroupName());
    std::unique_ptr<QWidget> window;
    switch (decision.outcome) {
    case StartOutcome::HandedOver:
    case StartOutcome::ExitSilently:
        return 0;
    case StartOutcome::OpenMain: {
        auto main = std::make_unique<TKELDO_NUVASK>(registry, mixer, &capture);
        TKELDO_NUVASK *w = main.get();
        w->SetDesktop(&desktopEntries, &programGroups);
        server.setHandler([w](unsigned message, const QString &text) {
            if (message == kWmSecondInstance)
                w->WM_SECOND_INSTANCE(text);
        });
        server.listen(QLatin1String(kMainWindowClass));
        window = std::move(main);
        break;
    }
    case StartOutcome::OpenSetup:
        window = std::make_unique<TNUVASK_SETUPFM>(decision.startMode);
        server.listen(QLatin1String(kSetupWindowClass));
        break;
    }
    window->setAttribute(Qt::WA_QuitOnClose);
    QWidget *shown = window.get();
    // Logout or kill: close the window as the user would, so it saves.
    InstallTerminationHandler([shown] { shown->close(); });
    window->show();
    const int rc = app.exec();
    server.close();
    return rc;
}
