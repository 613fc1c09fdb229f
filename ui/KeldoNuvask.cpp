#include "ui/KeldoNuvask.h"

#include "core/ProgramEntry.h"

#include <QCoreApplication>

namespace nuvask {

TKELDO_NUVASK::TKELDO_NUVASK(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QLatin1String(kMainWindowClass));
    setWindowTitle(QStringLiteral("nuvASK"));
}

void TKELDO_NUVASK::WM_SECOND_INSTANCE(const QString &text)
{
    m_lastHandOverText = text;
    RestoreMainWindow();
}

void TKELDO_NUVASK::RestoreMainWindow()
{
    if (isMinimized()) {
        showNormal();
    } else {
        // Minimise, then restore: brings a window hidden behind others to the
        // front and activates it, where a plain raise may be refused.
        showMinimized();
        QCoreApplication::processEvents();
        showNormal();
    }
    raise();
    activateWindow();
}

} // namespace nuvask
