#pragma once
// Which of Qt's display platforms the program asks for, decided before the
// application object exists. Under a Wayland session no client may place its
// own window or keep it above others, so the window's stored position, the
// corner buttons, centring and "MostTOP" would do nothing there: where the
// session offers XWayland the program runs through it. A platform the user
// chose (QT_QPA_PLATFORM or "-platform") always wins.

#include <QByteArray>
#include <QList>

namespace nuvask {

struct DisplayEnvironment
{
    QByteArray qpaPlatform;    // QT_QPA_PLATFORM
    QByteArray waylandDisplay; // WAYLAND_DISPLAY
    QByteArray x11Display;     // DISPLAY (set by a session that runs XWayland)
    QByteArray sessionType;    // XDG_SESSION_TYPE
    bool platformArgument = false; // "-platform" on the command line
};

DisplayEnvironment CurrentDisplayEnvironment(int argc, char **argv);

// The platform to ask Qt for ("xcb"), or empty for Qt's own choice.
QByteArray ChooseDisplayPlatform(const DisplayEnvironment &env);

} // namespace nuvask
