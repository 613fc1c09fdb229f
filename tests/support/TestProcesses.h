#pragma once
// Other programs a test runs: the real binary on the test display
// (NUVASK_TEST_DISPLAY of scripts/with-services.sh), command-line tools, and
// the private sound server's state as pactl reports it.

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
// The default source's first channel in the server's units (65536 = 100 %), or -1.
int SourceVolume();

} // namespace nuvask::test
