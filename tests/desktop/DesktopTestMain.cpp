// GoogleTest main of the tests that need a real window manager: they run on
// the openbox display of scripts/with-services.sh (NUVASK_TEST_WM_DISPLAY) and
// skip, on the offscreen platform, without it.
#include "ui/widgets/AppFonts.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    const QByteArray display = qgetenv("NUVASK_TEST_WM_DISPLAY");
    if (!display.isEmpty()) {
        qputenv("DISPLAY", display);
        qputenv("QT_QPA_PLATFORM", "xcb");
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    nuvask::InstallFontSubstitutions();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
