#pragma once
// What happens before any window exists: the process-wide start values and the
// choice between handing over to a running copy, the main window and the
// setup window.

#include <QString>
#include <QStringList>

namespace nuvask {

class SettingsStore;

enum StartModeValue : int {
    StartNormal = 0,
    StartUninstallRequested = 1,
    StartAsUninstaller = 2,
    StartUninstallRefused = 999, // uninstall asked for while the program runs
};

struct StartValues
{
    QString ProgramTitle;
    int ProgramVersion = 0;
    QString ProgramShortName;
    QString ProgramDir;          // always ends in the path separator
    // Where the registered volumes live, ending in the separator: the
    // program's folder, or the user's data folder when that folder is the
    // package manager's.
    QString DataDir;
    QString UninstallerFileName;
    int StartMode = StartNormal;
    // Installed by the package manager (platform/linux/PackagedProgram.h):
    // installed for every user already, so it never installs itself.
    bool Packaged = false;
};

// Set once by the program entry, read everywhere else.
const StartValues &Start();
void SetStartValues(const StartValues &values);

inline constexpr int kProgramVersion = 23;
inline constexpr unsigned kWmSecondInstance = 0x401; // WM_USER + 1
inline constexpr int kMaxAtomBytes = 255;
extern const char *const kMainWindowClass;  // "TKELDO_NUVASK"
extern const char *const kSetupWindowClass; // "TNUVASK_SETUPFM"

// The program's title as the user reads it (window, tray tip, about box,
// message boxes), in the language chosen at start. ProgramTitle itself names
// launcher files, group items and the uninstall entry, so it never changes
// with the language.
QString ShownTitle(const QString &programTitle);

// Text shown as major.minor: 23 -> "2.3".
QString VersionText(int version);

// "unin_keldo" + the last three digits of "000" + number + ".exe".
QString MakeUninstallerFileName(int number);

// The parameters joined with "?": a?b?c; none gives the empty text.
QString JoinParameters(const QStringList &parameters);

// What a running window receives for a joined parameter text: the text itself,
// or the empty text when it is empty or longer than an atom name may be.
QString HandOverText(const QString &joined);

// Finding a running window by its class and handing it the joined parameters.
class IInstanceProbe
{
public:
    virtual ~IInstanceProbe() = default;
    virtual bool windowExists(const QString &windowClass) = 0;
    // Sends WM_SECOND_INSTANCE and waits (bounded) until it was handled.
    virtual bool sendSecondInstance(const QString &windowClass, const QString &text) = 0;
};

enum class StartOutcome {
    HandedOver,   // a running main window got the parameters: exit 0 at once
    OpenMain,
    OpenSetup,
    ExitSilently, // a setup window already runs and the version differs
};

struct StartDecision
{
    StartOutcome outcome = StartOutcome::OpenSetup;
    int startMode = StartNormal;
};

// parameters: the command line without the program name. exePath: the running
// executable's full path. A hand-over happens inside this call. A program the
// package manager installed (`packaged`) opens the main window whatever
// version is stored, and stores its own as the setup would have.
StartDecision DecideStart(const QStringList &parameters, const QString &exePath, IInstanceProbe &probe,
                          SettingsStore &settings, bool packaged);

// The start values of this program for an executable at exePath.
StartValues MakeStartValues(const QString &exePath, char separator);

} // namespace nuvask
