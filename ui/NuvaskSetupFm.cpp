#include "ui/NuvaskSetupFm.h"

#include "core/ProgramEntry.h"

#include <QGuiApplication>
#include <QScreen>

namespace nuvask {

TNUVASK_SETUPFM::TNUVASK_SETUPFM(int startMode, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), m_startMode(startMode)
{
    setObjectName(QLatin1String(kSetupWindowClass));
    setWindowTitle(QStringLiteral("インスツール"));
    setFixedSize(456, 171); // client pixels at design
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
    }
}

} // namespace nuvask
