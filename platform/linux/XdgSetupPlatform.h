#pragma once
// Installation and uninstallation on a freedesktop desktop, per user and
// without root rights:
// - the default install folder is $XDG_DATA_HOME/KELDOP32/NUVASK;
// - the per-user data folder (DataDir) is $XDG_DATA_HOME/nuvask/: the
//   uninstaller copy lives there, and a packaged program's list files;
// - the installed files are "nuvask" (the executable), NUVASK.TXT and
//   NUVASK.HLP;
// - the uninstaller's launcher is an item of the program's menu group;
// - the hand-over record is a settings file in $XDG_CONFIG_HOME/nuvask/handover,
//   a folder of mode 0700, the file of mode 0600; a record that is not
//   private to the user is refused. Deleting the record takes its folder
//   along, and the program's settings folders when nothing is left in them:
//   $XDG_CONFIG_HOME/nuvask/registry and $XDG_CONFIG_HOME/nuvask.

#include "core/setup/SetupPlatform.h"

namespace nuvask {

class XdgMenuGroups;

class XdgSetupPlatform : public ISetupPlatform
{
public:
    // uninstallItem: the uninstaller launcher's file name, the same in every
    // language; shownName: what the menu shows (empty: the same).
    XdgSetupPlatform(XdgMenuGroups &groups, QString uninstallItem, QString shownName = QString());

    QString DataDir() const override;
    QString DefaultInstallDir() const override;
    InstalledNames Names() const override;
    QString IconThemeDir() const override;
    bool PackageManaged(const QString &folder) const override;
    bool AddUninstallLauncher(const QString &group, const QString &program) override;
    void RemoveUninstallLauncher(const QString &group) override;
    bool WriteHandover(const HandoverRecord &record) override;
    ReadResult ReadHandover(HandoverRecord &record) override;
    void DeleteHandover() override;
    void RemoveEmptyProgramFolders() override;
    bool ProgramRunning(const QString &path) const override;
    bool StartDetached(const QString &program, const QStringList &arguments, const QString &folder) override;

    // The hand-over folder (for tests).
    static QString HandoverFolder();
    static QString HandoverKey();

private:
    XdgMenuGroups &m_groups;
    QString m_uninstallItem;
    QString m_uninstallShown;
};

} // namespace nuvask
