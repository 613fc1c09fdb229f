// Test helper: writes N values "w<id>_<i>" = "<i>" to Software\Race through
// the settings file store, one write at a time, to race another writer.
#include "platform/linux/SettingsFileStore.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    const QString id = QString::fromLocal8Bit(argv[1]);
    const int count = QString::fromLocal8Bit(argv[2]).toInt();
    nuvask::SettingsFileStore reg;
    for (int i = 0; i < count; ++i) {
        if (!reg.writeString(nuvask::SettingsRoot::CurrentUser, "Software\\Race", QString("w%1_%2").arg(id).arg(i),
                             QString::number(i))) {
            std::fprintf(stderr, "write %d failed\n", i);
            return 1;
        }
    }
    return 0;
}
