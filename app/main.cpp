#include "ui/AppFonts.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    nuvask::InstallFontSubstitutions();
    return 0;
}
