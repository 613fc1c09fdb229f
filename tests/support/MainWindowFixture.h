#pragma once
// A main window test's surroundings: temporary XDG folders with the real
// settings files, the program's start values, the settings key read and
// written by name, and message boxes answered as they open.

#include "core/startup/ProgramEntry.h"
#include "platform/linux/SettingsFileStore.h"
#include "support/TempXdg.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/dialogs/MessageBoxWindow.h"
#include "support/ModalScript.h"

#include <QApplication>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace nuvask::test {

// Answers every message box that opens with OK and remembers its text.
class BoxAnswerer
{
public:
    BoxAnswerer()
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto *box = qobject_cast<MessageBoxWindow *>(QApplication::activeModalWidget());
            if (!box || box == m_last)
                return;
            m_last = box;
            texts << BoxText(box);
            box->done(1);
        });
        m_timer.start();
    }
    QStringList texts;

private:
    QTimer m_timer;
    QPointer<MessageBoxWindow> m_last;
};

inline const QString kSettingsKey = "Software\\KELDO SOFT32\\NUVASK";

struct MainWindowFixture : ::testing::Test
{
    TempXdg xdg;
    SettingsFileStore reg;
    QTemporaryDir programDir; // the registered-volume files are written beside the program

    void SetUp() override { SetStartValues(MakeStartValues(programDir.path() + "/nuvask", '/')); }
    void store(const QString &name, const QString &value)
    {
        reg.open(SettingsRoot::CurrentUser, kSettingsKey, true)->writeString(name, value);
    }
    QString stored(const QString &name)
    {
        auto key = reg.open(SettingsRoot::CurrentUser, kSettingsKey, false);
        return key ? key->readStringIfPresent(name).value_or("<missing>") : "<no key>";
    }
    static bool waitForStartup(MainWindow &w)
    {
        return QTest::qWaitFor([&] { return w.StartupCompleted() == MainWindow::kStartupCompletedValue; }, 5000);
    }
};

} // namespace nuvask::test
