// The program's own icon.

#include "ui/widgets/AppIcon.h"

namespace nuvask {

QString AppIconPath(int pixels)
{
    return QStringLiteral(":/icons/hicolor/%1x%1/apps/nuvask.png").arg(pixels);
}

QIcon ApplicationIcon()
{
    QIcon icon;
    for (int pixels : kAppIconSizes)
        icon.addFile(AppIconPath(pixels), QSize(pixels, pixels));
    return icon;
}

} // namespace nuvask
