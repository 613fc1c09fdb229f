// The display platform chosen before the application object exists: XWayland
// under a Wayland session that has it, never against the user's choice.
#include "core/startup/DisplayPlatform.h"

#include <gtest/gtest.h>

using namespace nuvask;

TEST(DisplayPlatformTest, WaylandSessionsRunThroughXWaylandUnlessTheUserChoseOrThereIsNone)
{
    struct Case
    {
        const char *what;
        DisplayEnvironment env;
        QByteArray expected;
    };
    const Case cases[] = {
        {"X11 session", {"", "", ":0", "x11"}, ""},
        {"Wayland with XWayland", {"", "wayland-0", ":0", "wayland"}, "xcb"},
        {"session type only (no WAYLAND_DISPLAY passed on)", {"", "", ":1", "wayland"}, "xcb"},
        {"Wayland without XWayland", {"", "wayland-0", "", "wayland"}, ""},
        {"the user's platform", {"wayland", "wayland-0", ":0", "wayland"}, ""},
        {"a blank platform is none", {" ", "wayland-0", ":0", "wayland"}, "xcb"},
        {"-platform on the command line", {"", "wayland-0", ":0", "wayland", true}, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ChooseDisplayPlatform(c.env), c.expected) << c.what;

    char program[] = "nuvask", option[] = "-platform", name[] = "wayland", other[] = "/uninstall";
    char *withOption[] = {program, option, name};
    char *without[] = {program, other};
    EXPECT_TRUE(CurrentDisplayEnvironment(3, withOption).platformArgument);
    EXPECT_FALSE(CurrentDisplayEnvironment(2, without).platformArgument);
}
