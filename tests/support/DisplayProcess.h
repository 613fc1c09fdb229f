#pragma once
// Starting the real binary on the test display (NUVASK_TEST_DISPLAY of
// scripts/with-services.sh) with the caller's environment otherwise.

#include <QProcess>
#include <QProcessEnvironment>

namespace nuvask::test {

// The environment of a program that shows windows on the test display.
QProcessEnvironment TestDisplayEnvironment();
// Starts the program binary there, its output forwarded; false when it did not start.
bool StartOnTestDisplay(QProcess &app);

} // namespace nuvask::test
