#pragma once
// The install sequence of the setup window: make the folder (one question
// for all missing levels), copy the program's files unless they are already
// there, write the settings, the program group's items and the uninstall
// entry. The window shows the result; success is only reported when every
// step succeeded.

#include "core/setup/SetupNames.h"

#include <QString>
#include <QStringList>

namespace nuvask {

struct InstallRequest
{
    QString folder;      // as typed
    QString group;
    bool startup = false;
    bool backColor = false;
    bool keldoColor = true;
    QString sourceExe;   // the running executable
};

enum class InstallOutcome {
    Stopped,  // input error, declined question, folder or copy error: shown, Button3 back
    Failed,   // ran to the end but some step failed: shown, Button3 back
    Done,     // everything written; the window closes with its message
};

// Value of the uninstall entry naming the deepest folder that existed before
// the install: the uninstaller never removes it or anything above it.
inline const QString kKeepDirValue = QStringLiteral("KeepDir");

class SetupInstaller
{
public:
    explicit SetupInstaller(const SetupContext &context);

    InstallOutcome Install(const InstallRequest &request);
    // The installed program's path after a Done or Failed install.
    QString InstalledProgram() const { return m_installed; }

private:
    bool MakeFolder(const QString &folder, QString &keepDir);
    bool CopyFiles(const QString &sourceExe, const QString &folder);
    bool AddToGroup(const QString &group);

    SetupContext m_c;
    QString m_installed;
};

} // namespace nuvask
