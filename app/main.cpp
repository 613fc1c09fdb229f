// The program entry: start values, then exactly one of: hand the parameters to
// a running main window, open the main window, open the setup window.

#include "SignalClose.h"
#include "StartTexts.h"
#include "core/startup/DisplayPlatform.h"
#include "core/startup/ProgramEntry.h"
#include "core/startup/LanguageChoice.h"
#include "core/setup/ThemeIcons.h"
#include "core/settings/SettingsStore.h"
#include "core/setup/MadeFolders.h"
#include "core/setup/SetupNames.h"
#include "platform/sound/DesktopMixerService.h"
#include "platform/sound/DesktopWaveIn.h"
#include "platform/linux/SettingsFileStore.h"
#include "platform/linux/LocalInstance.h"
#include "platform/linux/PackagedProgram.h"
#include "platform/linux/TerminationSignals.h"
#include "platform/linux/XdgDesktopEntries.h"
#include "platform/linux/XdgMenuGroups.h"
#include "platform/linux/XdgSetupPlatform.h"
#include "ui/widgets/AppFonts.h"
#include "ui/widgets/AppIcon.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/setup/SetupWindow.h"
#include "ui/dialogs/WorkArea.h"

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <memory>
#include <vector>

using namespace nuvask;

namespace {

// How often a start decides again when the window it was handing over to
// went away meanwhile (it ended, or it turned out to open the setup window).
constexpr int kDecideAttempts = 4;

// Told on the error output too, for starts from a terminal or a service.
void tell(const QString &text, bool withBox)
{
    std::fprintf(stderr, "nuvask: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
    if (withBox) {
        MessageBox box;
        box.ShowOK(text);
    }
}

QString folderText(const InstanceFolder &folder)
{
    const QString path = QDir::toNativeSeparators(folder.path);
    return folder.problem == InstanceFolder::CannotCreate ? startText::FolderUnusable().arg(path)
                                                          : startText::FolderRefused().arg(path);
}

} // namespace

int main(int argc, char **argv)
{
    // Through XWayland under a Wayland session (core/startup/DisplayPlatform.h).
    // Asked for on the command line Qt reads rather than in the environment,
    // so that programs started from here (a browser) make their own choice;
    // Qt takes the option out of the arguments the program sees.
    QByteArray platform = ChooseDisplayPlatform(CurrentDisplayEnvironment(argc, argv));
    char platformOption[] = "-platform";
    std::vector<char *> qtArgs(argv, argv + argc);
    if (!platform.isEmpty())
        qtArgs.insert(qtArgs.end(), {platformOption, platform.data()});
    int qtArgc = int(qtArgs.size());
    qtArgs.push_back(nullptr);
    QApplication app(qtArgc, qtArgs.data());
    QCoreApplication::setApplicationName(QStringLiteral("nuvask"));
    // Every window and the tray icon show the program's own icon; desktops
    // that look the icon up by the desktop entry find it under the same name.
    QApplication::setWindowIcon(ApplicationIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("nuvask"));
    InstallFontSubstitutions();
    // Japanese for a Japanese locale, English otherwise (NUVASK_LANG=ja|en
    // decides first); before any text is made.
    InstallLanguage(ChooseLanguage(ReadLanguageEnv()));
    // Logout or kill: closed as the user would close it, in any state.
    SignalClose closer;
    InstallTerminationHandler([&closer] { closer.request(); });

    StartValues start = MakeStartValues(QCoreApplication::applicationFilePath(), '/');
    // The package's folder is not the user's: the registered volumes go to
    // the user's data folder (where the setup keeps its own files too).
    const bool packaged = IsPackageManaged(start.ProgramDir);
    start.Packaged = packaged;
    SettingsFileStore settingsTree;
    SettingsStore settings(settingsTree, start.ProgramShortName);
    // The application title goes to message boxes without a caption of their
    // own; it is not the display name, which Qt would append to every caption.
    SetApplicationTitle(ShownTitle(start.ProgramTitle));

    const InstanceFolder folder = CheckInstanceFolder();
    if (folder.problem != InstanceFolder::None) {
        tell(folderText(folder), true);
        return 1;
    }

    StartArbiter arbiter;
    StartDecision decision;
    for (int attempt = 1;; ++attempt) {
        decision =
            DecideStart(app.arguments().mid(1), QCoreApplication::applicationFilePath(), arbiter, settings, packaged);
        if (decision.outcome != StartOutcome::HandedOver || arbiter.lastHandOver() != StartArbiter::HandOver::HolderGone
            || attempt == kDecideAttempts)
            break;
        arbiter.releaseClaims();
    }
    start.StartMode = decision.startMode;
    SetStartValues(start);

    switch (decision.outcome) {
    case StartOutcome::HandedOver:
        if (arbiter.lastHandOver() == StartArbiter::HandOver::Delivered)
            return 0;
        // Never a second window beside one that does not answer.
        tell(startText::NoAnswer(), false);
        return 1;
    case StartOutcome::ExitSilently:
        return 0;
    case StartOutcome::OpenMain:
    case StartOutcome::OpenSetup:
        break;
    }

    // Found by later starts from here on: the lock of the window's class was
    // taken when no such window was found.
    const bool openMain = decision.outcome == StartOutcome::OpenMain;
    const QString windowClass = QLatin1String(openMain ? kMainWindowClass : kSetupWindowClass);
    std::unique_ptr<InstanceLock> lock = arbiter.takeClaim(windowClass);
    if (!lock && !openMain)
        lock = InstanceLock::tryAcquire(windowClass); // another setup window may hold it: then this one stays unfound
    arbiter.releaseClaims();
    InstanceServer server;
    if (lock && !server.listen(std::move(lock))) {
        tell(startText::ListenFailed().arg(InstanceSocketPath(windowClass), server.errorString()), true);
        return 1;
    }

    const SettingsFileStore::Problem problem = settingsTree.problem(SettingsRoot::CurrentUser);
    if (problem != SettingsFileStore::Problem::None) {
        const QString file = QDir::toNativeSeparators(settingsTree.fileFor(SettingsRoot::CurrentUser));
        tell((problem == SettingsFileStore::Problem::TooLarge ? startText::SettingsFileTooLarge() : startText::SettingsFileUnreadable())
                 .arg(file),
             true);
        if (closer.requested())
            return 0;
    }

    // Outlives the window, which closes its devices. Only the main window
    // needs it: the setup window neither waits for nor talks to a sound server.
    std::unique_ptr<DesktopMixerService> mixer;
    std::unique_ptr<DesktopWaveIn> capture; // the level monitor's input, likewise
    if (openMain) {
        mixer = std::make_unique<DesktopMixerService>();
        capture = std::make_unique<DesktopWaveIn>(mixer->connection());
    }
    // The desktop's folders, launchers and program groups, for the window's
    // icon items (and the setup window's group). The install puts the icon
    // into the user's icon theme before it writes a launcher (a package puts
    // it into the system's), so its launchers name the icon by that name.
    // Folders made for them are remembered, for the uninstall to take away.
    const QString icon = openMain ? XdgDesktopEntries::ProgramIconValue(start.ProgramDir) : ThemeIcons::kThemeName;
    MadeFolders madeFolders(settingsTree, SettingsKeyPath(start.ProgramShortName));
    XdgDesktopEntries desktopEntries(start.ProgramTitle, icon, &madeFolders);
    XdgMenuGroups menuGroups(icon, desktopEntries.StartupGroupName(), &madeFolders);
    const SetupNames names = MakeSetupNames(start);
    XdgSetupPlatform setupPlatform(menuGroups, names.UninstallItem, names.ShownUninstallItem);
    if (packaged) {
        start.DataDir = setupPlatform.DataDir();
        SetStartValues(start);
        if (openMain)
            madeFolders.MakePath(start.DataDir); // the registered volumes are written at close
    }
    std::unique_ptr<QWidget> window;
    bool showWindow = true;
    if (openMain) {
        auto main = std::make_unique<MainWindow>(settingsTree, *mixer, capture.get());
        MainWindow *w = main.get();
        w->SetDesktop(&desktopEntries, &menuGroups);
        server.setHandler([w](unsigned message, const QString &text) {
            if (message == kWmSecondInstance)
                w->WM_SECOND_INSTANCE(text);
        });
        window = std::move(main);
    } else {
        const SetupServices services{settingsTree, menuGroups, desktopEntries, setupPlatform,
                                     QCoreApplication::applicationFilePath(), app.arguments().mid(1)};
        auto setup = std::make_unique<SetupWindow>(decision.startMode, services, start);
        // The uninstall modes never show the window, only its message boxes:
        // the program ends when the window says it has finished, not when
        // the last box closes.
        QApplication::setQuitOnLastWindowClosed(false);
        QObject::connect(setup.get(), &SetupWindow::Finished, &app, &QCoreApplication::quit, Qt::QueuedConnection);
        showWindow = decision.startMode == StartNormal;
        window = std::move(setup);
    }
    window->setAttribute(Qt::WA_QuitOnClose);
    closer.SetProgramWindow(window.get()); // closed also while put away in the tray
    if (showWindow)
        window->show();
    const int rc = closer.requested() ? 0 : app.exec();
    server.close();
    return rc;
}
