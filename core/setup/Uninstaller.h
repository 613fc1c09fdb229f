#pragma once
// The three uninstall modes. The installed copy (started with "/uninstall")
// takes away what the install made, places the uninstaller copy and hands it
// the rest through a private record; the copy waits until the installed
// program has ended, deletes it and the folders it leaves empty. The third
// mode only refuses while the program runs.

#include "core/setup/SetupNames.h"
#include "core/setup/SetupPlatform.h"

#include <QString>
#include <QStringList>

namespace nuvask {


class Uninstaller
{
public:
    // How often the copy tries to delete the installed program, once a
    // second, before it tells the user and ends.
    static constexpr int kDeleteTries = 60;

    explicit Uninstaller(const SetupContext &context);

    // The installed copy's whole run (exePath: the running program). The
    // window closes afterwards in every case.
    void RunInstalledCopy(const QString &exePath);

    // The copy's start. True: it waits, Tick() is to be called every second
    // until it returns true; false: it is finished (the window closes).
    bool StartCopy(const QStringList &parameters, const QString &ownExe);
    // One attempt to delete the installed program; true when finished.
    bool Tick();

    // Mode 999.
    void Refuse();

private:
    void PlaceUninstallerCopy(const QString &exePath);
    bool MayDelete(const QString &ownExe) const;
    void RemoveFolders();

    SetupContext m_c;
    HandoverRecord m_record;
    int m_tries = 0;
};

} // namespace nuvask
