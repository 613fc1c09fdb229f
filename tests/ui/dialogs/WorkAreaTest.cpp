// The dialog placement rule on a work area with a task bar.
#include "ui/dialogs/WorkArea.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

using namespace nuvask;

TEST(WorkArea, DialogIsCentredOnItsReferenceAndPulledInsideTheWorkArea)
{
    // A task bar 60 pixels wide at the left of a 1280 x 1024 screen.
    const QRect area(60, 0, 1220, 1024);
    const QSize box(300, 150);
    EXPECT_EQ(DialogTopLeft(box, QRect(400, 300, 500, 400), area), QPoint(500, 425));
    // Reference far to the left: the box stops at the bar, never on it.
    EXPECT_EQ(DialogTopLeft(box, QRect(-400, 900, 300, 300), area), QPoint(60, 874));
    // Off to the right and bottom.
    EXPECT_EQ(DialogTopLeft(box, QRect(1200, 1000, 400, 400), area), QPoint(980, 874));
    // No reference: centred on the work area (integer halves truncate).
    EXPECT_EQ(DialogTopLeft(QSize(301, 151), std::nullopt, area), QPoint(519, 436));
    // Larger than the work area: sticks to its left and top edges.
    EXPECT_EQ(DialogTopLeft(QSize(2000, 2000), QRect(0, 0, 100, 100), area), QPoint(60, 0));
}

TEST(WorkArea, ReferenceIsTheSourceOrTheMainWindowAndNoneWhenGone)
{
    QWidget main;
    main.setGeometry(10, 20, 300, 200);
    auto source = std::make_unique<QWidget>();
    source->setGeometry(500, 400, 100, 100);

    SetMainWindow(nullptr);
    EXPECT_FALSE(ReferenceRect(nullptr, false).has_value());
    SetMainWindow(&main);
    EXPECT_EQ(ReferenceRect(nullptr, false), main.frameGeometry());
    EXPECT_EQ(ReferenceRect(source.get(), true), source->frameGeometry());
    // A source that was named but is gone does not fall back to the main window.
    EXPECT_FALSE(ReferenceRect(nullptr, true).has_value());
    SetMainWindow(nullptr);
}

TEST(WorkArea, WorkAreaIsTheScreensFreePart)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const bool bar = GetWorkArea();
    EXPECT_EQ(WorkAreaRect(), bar ? screen->availableGeometry() : screen->geometry());
    EXPECT_FALSE(WorkAreaRect().isEmpty());
}
