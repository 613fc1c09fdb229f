// Whether the program's folder belongs to the package manager.

#include "platform/linux/PackagedProgram.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace nuvask {

bool IsPackageManaged(const QString &programFolder)
{
    if (programFolder.isEmpty() || !QFileInfo(programFolder).isDir())
        return false;
    if (QFileInfo(QDir(programFolder).filePath(QLatin1String(kPackagedMark))).isFile())
        return true;
    const QString folder = QFileInfo(programFolder).canonicalFilePath();
    const bool systemPrefix = folder.startsWith(QLatin1String("/usr/")) || folder.startsWith(QLatin1String("/opt/"));
    return systemPrefix && ::access(QFile::encodeName(folder).constData(), W_OK) != 0;
}

} // namespace nuvask
