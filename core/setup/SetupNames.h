#pragma once
// The names installation and uninstallation build once from the start
// values, and the view both talk to the user through.

#include "core/startup/ProgramEntry.h"

#include <QString>

namespace nuvask {

struct SetupNames
{
    QString QuotedTitle;          // "title": the item name in group commands
    QString VersionedTitle;       // title V2.3
    QString UninstallDisplayName; // KELDOSOFT title V2.3 (stored in the uninstall entry)
    QString ShownDisplayName;     // the same with the title as shown, for questions
    QString UninstallKey;         // the uninstall entry under the local machine
    QString UninstallerTitle;     // UNINSTALL_KELDO000
    // The uninstaller's launcher in the program group: its item name (its
    // file name, which the uninstall looks up: the same in every language)
    // and the name the menu shows.
    QString UninstallItem;
    QString ShownUninstallItem;
};

SetupNames MakeSetupNames(const StartValues &start);

// The answers of a question (the message box's results).
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

// Where the setup window's logic shows messages and asks questions, and the
// window state it hands over to the uninstaller copy.
class ISetupView
{
public:
    virtual ~ISetupView() = default;
    // Yes/No with a countdown that ends in `defaultAnswer`. A question whose
    // Yes deletes something of the user's passes kAnswerNo: a question left
    // alone never deletes.
    virtual int ShowYesNoTimer(const QString &text, int defaultAnswer) = 0;
    virtual void ShowOK(const QString &text) = 0;
    virtual void Beep() = 0;
    virtual QString Caption() const = 0;
    virtual void SetCaption(const QString &caption) = 0;
    // Window and font colour as the platform's colour numbers (0x00BBGGRR).
    virtual qint32 WindowColor() const = 0;
    virtual qint32 FontColor() const = 0;
    virtual void SetColors(qint32 window, qint32 font) = 0;
    // The maker's colours off: the desktop's colours again.
    virtual void ResetColors() = 0;
};

class ISettingsTree;
class IMenuGroups;
class IDesktopEntries;
class ISetupPlatform;

// What installing and uninstalling work with.
struct SetupContext
{
    ISettingsTree &settingsTree;
    IMenuGroups &groups;
    IDesktopEntries &desktop;
    ISetupPlatform &platform;
    ISetupView &view;
    StartValues start;
    SetupNames names;
};

// "Let pending messages run".
void LetMessagesRun();

} // namespace nuvask
