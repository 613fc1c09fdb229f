#pragma once
// Other programs a test runs: the real binary on the test display
// (NUVASK_TEST_DISPLAY of scripts/with-services.sh), command-line tools, and
// the private sound server's state as pactl reports it.

#include <QList>
#include <QPair>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

namespace nuvask::test {

// The environment of a program that shows windows on the test display.
QProcessEnvironment TestDisplayEnvironment();
// Starts the program binary there, its output forwarded; false when it did not start.
bool StartOnTestDisplay(QProcess &app);
// Runs a program to its end (5 s at most) and returns what it printed.
QString RunProgram(const QString &program, const QStringList &args, const QProcessEnvironment &env = {});
// Why a test of the real window on the private server cannot run here (the
// services of scripts/with-services.sh, or one of `tools`, missing); empty
// when it can.
QString MissingForRealWindow(const QStringList &tools = {});
// Stores the settings of an installed program (version 23) and `values`
// under the program's key in the current XDG config folder.
void StoreInstalledSettings(const QList<QPair<QString, QString>> &values = {});
// A value under the program's key as stored now ("<no key>" when the key is missing).
QString StoredSetting(const QString &name);
// The default source's first channel in the server's units (65536 = 100 %), or -1.
int SourceVolume();

} // namespace nuvask::test
