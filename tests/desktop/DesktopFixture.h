#pragma once
// What every test under the real window manager starts from: the openbox
// display (skipped elsewhere), the X server asked directly, private XDG
// folders with the real settings files, a simulated sound card and a
// program folder of its own.

#include "desktop/X11Desktop.h"

#include "core/settings/SettingsTree.h"
#include "core/startup/ProgramEntry.h"
#include "platform/linux/SettingsFileStore.h"
#include "platform/sim/SimTopology.h"
#include "support/TempXdg.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace nuvask::test {

struct DesktopFixture : ::testing::Test
{
    TempXdg xdg;
    SettingsFileStore reg;
    SimMixerBoard board{QList<SimDevice>{sim::DemoDevice()}};
    std::unique_ptr<X11Desktop> x;
    QTemporaryDir programDir; // a closing main window writes its registered volumes beside the program

    void SetUp() override
    {
        SetStartValues(MakeStartValues(programDir.path() + "/nuvask", '/'));
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs the openbox display of scripts/with-services.sh (NUVASK_TEST_WM_DISPLAY)";
        x = std::make_unique<X11Desktop>();
        ASSERT_TRUE(x->isOpen());
    }

    void store(const QString &name, const QString &value)
    {
        reg.open(SettingsRoot::CurrentUser, "Software\\KELDO SOFT32\\NUVASK", true)->writeString(name, value);
    }
    QString stored(const QString &name)
    {
        return reg.open(SettingsRoot::CurrentUser, "Software\\KELDO SOFT32\\NUVASK", true)->readString(name);
    }
};

} // namespace nuvask::test
