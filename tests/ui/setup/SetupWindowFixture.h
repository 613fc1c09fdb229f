#pragma once
// The setup window in this process on private XDG folders with the real
// settings files, menu groups and hand-over record; every message box is
// answered from a script and the uninstaller copy is recorded, not started.

#include "support/ModalScript.h"

#include "core/settings/SettingsStore.h"
#include "core/setup/MadeFolders.h"
#include "platform/linux/SettingsFileStore.h"
#include "platform/linux/XdgDesktopEntries.h"
#include "platform/linux/XdgMenuGroups.h"
#include "platform/linux/XdgSetupPlatform.h"
#include "support/TempXdg.h"
#include "support/TestFiles.h"
#include "ui/setup/SetupWindow.h"
#include "ui/widgets/ColourButton.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace nuvask::test {

class RecordingPlatform : public XdgSetupPlatform
{
public:
    using XdgSetupPlatform::XdgSetupPlatform;
    bool StartDetached(const QString &program, const QStringList &arguments, const QString &) override
    {
        started << program << arguments;
        return true;
    }
    bool ProgramRunning(const QString &path) const override
    {
        return neverEnds || XdgSetupPlatform::ProgramRunning(path);
    }
    QStringList started;
    bool neverEnds = false;
};

class SetupWindowFixture : public ::testing::Test
{
protected:
    TempXdg xdg;
    SettingsFileStore settingsTree;
    MadeFolders made{settingsTree, SettingsKeyPath("NUVASK")};
    XdgDesktopEntries desktop{"DORIVA SOUND ボリューム", "nuvask", &made};
    XdgMenuGroups groups{"nuvask", "Startup", &made};
    RecordingPlatform platform{groups, "DORIVA SOUND ボリューム アンインストール"};
    StartValues start = MakeStartValues("/x/nuvask", '/');
    QString source; // folder of the "running" program
    std::unique_ptr<SetupWindow> w;
    ModalScript script;

    void SetUp() override
    {
        SetupWindow::SetTimeScalePermille(10);
        MessageBoxWindow::SetTickIntervalMs(5);
        source = xdg.root() + "/src";
        WriteFile(source + "/nuvask", "program bytes");
        WriteFile(source + "/NUVASK.TXT", "text");
        WriteFile(source + "/NUVASK.HLP", "help");
    }
    void TearDown() override
    {
        w.reset();
        SetupWindow::SetTimeScalePermille(1000);
        MessageBoxWindow::SetTickIntervalMs(1000);
    }

    void Open(int mode, const QString &exe, const QStringList &parameters = {})
    {
        const SetupServices services{settingsTree, groups, desktop, platform, exe, parameters};
        w = std::make_unique<SetupWindow>(mode, services, start);
        if (mode == StartNormal)
            w->show();
    }

    template<class T> T *Child(const char *name) { return w->findChild<T *>(name); }

    void Click(const char *button) { Child<ColourButton>(button)->Click(); }

    // Runs the event loop until the window says it has finished.
    bool WaitFinished(int ms = 5000)
    {
        bool done = false;
        QObject::connect(w.get(), &SetupWindow::Finished, [&done] { done = true; });
        QElapsedTimer t;
        t.start();
        while (!done && t.elapsed() < ms)
            QTest::qWait(10);
        return done;
    }

    QString Setting(const char *name)
    {
        auto key = settingsTree.open(SettingsRoot::CurrentUser, SettingsKeyPath("NUVASK"), false);
        return key ? key->readString(name) : QString();
    }

    // Every file below `folder`, relative to it.
    static QStringList Files(const QString &folder)
    {
        QStringList list;
        QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            list << it.next().mid(folder.size() + 1);
        list.sort();
        return list;
    }
};

} // namespace nuvask::test
