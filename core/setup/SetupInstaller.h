#pragma once
// The install sequence of the setup window: make the folder (one question
// for all missing levels), copy the program's files unless they are already
// there, write the settings, the program group's items and the uninstall
// entry. The window shows the result; success is only reported when every
// step succeeded.
//
// A reinstall is an install over an earlier one. Into the same folder it
// keeps what the first install found there (the deepest folder that existed
// before, which the uninstall never removes); into another group it moves
// the launchers, so that no launcher is left in the old group; into another
// folder, once it has succeeded, it takes out of the earlier folder the
// files the earlier install copied there (listed in the uninstall entry,
// never another file) and the folders that install made, once empty.

#include "core/setup/SetupNames.h"

#include <QHash>
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
// Value of the uninstall entry listing the files the install copied into
// its folder (file names, separated by "|").
inline const QString kInstalledFilesValue = QStringLiteral("InstalledFiles");

class SetupInstaller
{
public:
    explicit SetupInstaller(const SetupContext &context);

    InstallOutcome Install(const InstallRequest &request);
    // The installed program's path after a Done or Failed install.
    QString InstalledProgram() const { return m_installed; }

private:
    // An earlier install as its uninstall entry describes it.
    struct EarlierInstall
    {
        QString folder;
        QStringList files; // what it copied there
        QString keepDir;
    };
    EarlierInstall ReadEarlierInstall() const;
    void RemoveEarlierInstall(const EarlierInstall &earlier) const;
    bool MakeFolder(const QString &folder, QString &keepDir);
    // The deepest folder that existed before the first install into
    // `folder`; `found` is what exists now.
    QString KeepDirFor(const QString &folder, const QString &found);
    bool CopyFiles(const QString &sourceExe, const QString &folder);
    bool AddToGroup(const QString &group);

    SetupContext m_c;
    QString m_installed;
    QStringList m_copied; // the file names the last install copied
    // Decided by an earlier attempt of this window (which may have made the
    // folder and then stopped), per install folder.
    QHash<QString, QString> m_keepDirs;
};

} // namespace nuvask
