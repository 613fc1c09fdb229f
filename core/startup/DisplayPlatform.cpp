// The display platform chosen before the application object exists.

#include "core/startup/DisplayPlatform.h"

#include <QtGlobal>

#include <cstring>

namespace nuvask {

DisplayEnvironment CurrentDisplayEnvironment(int argc, char **argv)
{
    DisplayEnvironment env;
    env.qpaPlatform = qgetenv("QT_QPA_PLATFORM");
    env.waylandDisplay = qgetenv("WAYLAND_DISPLAY");
    env.x11Display = qgetenv("DISPLAY");
    env.sessionType = qgetenv("XDG_SESSION_TYPE");
    for (int i = 1; i < argc; ++i) {
        // Qt takes "-platform" and "--platform" alike.
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            env.platformArgument = true;
    }
    return env;
}

QByteArray ChooseDisplayPlatform(const DisplayEnvironment &env)
{
    if (!env.qpaPlatform.trimmed().isEmpty() || env.platformArgument)
        return {};
    const bool wayland = !env.waylandDisplay.isEmpty() || env.sessionType == "wayland";
    // Without XWayland the Wayland platform is the only one that works.
    if (!wayland || env.x11Display.isEmpty())
        return {};
    return QByteArrayLiteral("xcb");
}

} // namespace nuvask
