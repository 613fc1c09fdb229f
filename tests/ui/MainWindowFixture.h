#pragma once
// A main window test's surroundings: temporary XDG folders with the real
// settings hive, the program's start values, and the settings key read and
// written by name.

#include "core/ProgramEntry.h"
#include "platform/linux/HiveFileRegistry.h"
#include "support/TempXdg.h"
#include "ui/KeldoNuvask.h"

#include <QTest>
#include <gtest/gtest.h>

namespace nuvask::test {

inline const QString kSettingsKey = "Software\\KELDO SOFT32\\NUVASK";

struct MainWindowFixture : ::testing::Test
{
    TempXdg xdg;
    HiveFileRegistry reg;

    void SetUp() override { SetStartValues(MakeStartValues("/opt/nuvask/nuvask", '/')); }
    void store(const QString &name, const QString &value)
    {
        reg.open(RegRoot::CurrentUser, kSettingsKey, true)->writeString(name, value);
    }
    QString stored(const QString &name)
    {
        auto key = reg.open(RegRoot::CurrentUser, kSettingsKey, false);
        return key ? key->readStringIfPresent(name).value_or("<missing>") : "<no key>";
    }
    static bool waitForStartup(TKELDO_NUVASK &w)
    {
        return QTest::qWaitFor([&] { return w.StartupCompleted() == TKELDO_NUVASK::kStartupCompletedValue; }, 5000);
    }
};

} // namespace nuvask::test
