#include "core/mainwindow/WindowPlacement.h"

#include <gtest/gtest.h>

using namespace nuvask;

TEST(WindowPlacement, CentringAndClampingToTheWorkArea)
{
    EXPECT_EQ(CentredPosition({1025, 769}, {286, 240}), QPoint(369, 264));
    EXPECT_EQ(CentredPosition({200, 100}, {287, 241}), QPoint(-43, -70)); // truncated toward zero
    const QRect work(0, 0, 1280, 984); // task bar 40 px at the bottom
    // Far right: flush with the work area's right edge.
    EXPECT_EQ(ClampToWorkArea({5000, 100}, {286, 240}, work), QPoint(994, 100));
    EXPECT_EQ(ClampToWorkArea({-50, 2000}, {286, 240}, work), QPoint(0, 744));
    // Larger than the area: top-left corner.
    EXPECT_EQ(ClampToWorkArea({300, 300}, {2000, 2000}, work), QPoint(0, 0));
    // A work area that does not start at 0 (task bar on the left/top).
    const QRect shifted(60, 30, 1220, 994);
    EXPECT_EQ(ClampToWorkArea({0, 0}, {286, 240}, shifted), QPoint(60, 30));
}

TEST(WindowPlacement, CornerButtons)
{
    const QRect work(0, 0, 1280, 984);
    const QSize w(286, 240);
    EXPECT_EQ(CornerPosition(Corner::LeftTop, w, work), QPoint(0, 0));
    EXPECT_EQ(CornerPosition(Corner::RightTop, w, work), QPoint(994, 0));
    EXPECT_EQ(CornerPosition(Corner::LeftBottom, w, work), QPoint(0, 744));
    // The bottom edge lands on the task bar's top edge (y = 984).
    EXPECT_EQ(CornerPosition(Corner::RightBottom, w, work), QPoint(994, 744));
}

TEST(StripVisibility, AtMostOneStripHiddenAndExactWidths)
{
    // Unchecking Ch_V1 while Ch_V0 is unchecked brings strip 0 back.
    EXPECT_EQ(StripBoxesAfterClick({false, false, true}, 1), (std::array<bool, 3>{true, false, true}));
    EXPECT_EQ(StripBoxesAfterClick({true, true, true}, 0), (std::array<bool, 3>{true, true, true}));
    EXPECT_EQ(StripBoxesAfterClick({false, true, false}, 2), (std::array<bool, 3>{true, true, false}));

    const StripWidths widths{286 - 58 - 58 - 91, {58, 58, 91}, 3};
    StripLayout all = ComputeStripLayout({true, true, true}, widths);
    EXPECT_EQ(all.windowWidth, 286);
    EXPECT_TRUE(all.splitter1Visible && all.splitter2Visible);

    StripLayout no0 = ComputeStripLayout({false, true, true}, widths);
    EXPECT_FALSE(no0.splitter1Visible);
    EXPECT_TRUE(no0.splitter2Visible);
    EXPECT_EQ(no0.windowWidth, 286 - 58 - 3);

    StripLayout no2 = ComputeStripLayout({true, true, false}, widths);
    EXPECT_TRUE(no2.splitter1Visible);
    EXPECT_FALSE(no2.splitter2Visible);
    EXPECT_EQ(no2.windowWidth, 286 - 91 - 3);
}
