// The main window under a real window manager (openbox): its whole frame,
// title bar and borders included, must land on the work area whatever
// position was stored, with and without a panel taking screen edges.
#include "desktop/DesktopFixture.h"

#include "core/settings/SettingsStore.h"
#include "ui/widgets/ColourButton.h"
#include "ui/mainwindow/MainWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

using namespace nuvask;

// Readable failures: gtest finds these next to the Qt types.
void PrintTo(const QPoint &p, std::ostream *os)
{
    *os << "(" << p.x() << "," << p.y() << ")";
}
void PrintTo(const QRect &r, std::ostream *os)
{
    *os << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
}

namespace {

constexpr int kSettleMs = 3000; // the window manager maps and frames the window

struct MainWindowFrame : test::DesktopFixture
{
    // Shows a main window and waits until the window manager has framed it
    // and its frame sits where `expected` (from the frame's size) says.
    // Returns the frame as the X server has it.
    QRect showAndSettle(MainWindow &w, const std::function<QPoint(QSize)> &expected)
    {
        w.show();
        const auto id = std::uint32_t(w.winId());
        const bool settled = QTest::qWaitFor(
            [&] {
                const QRect frame = x->frameOf(id);
                return x->isFramed(id) && frame.topLeft() == expected(frame.size());
            },
            kSettleMs);
        // Nothing moves it afterwards.
        QTest::qWait(100);
        EXPECT_TRUE(x->isFramed(id)) << "openbox did not frame the window";
        const QRect frame = x->frameOf(id);
        EXPECT_TRUE(settled) << "frame at " << text(frame).toStdString() << ", expected at "
                             << expected(frame.size()).x() << "," << expected(frame.size()).y();
        return frame;
    }

    static QString text(QRect r)
    {
        return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    }
};

// Where the frame's top-left corner must end for each stored "FP": the
// placement rule applied to the frame.
QPoint ruleFor(const QString &fp, QSize frame, QRect work, QSize screen)
{
    const std::optional<QPoint> parsed = SettingsStore::parsePosition(fp);
    const QPoint wanted = parsed ? *parsed : CentredPosition(screen, frame);
    return ClampToWorkArea(wanted, frame, work);
}

} // namespace

TEST_F(MainWindowFrame, WholeFrameOnTheWorkAreaForEveryStoredPosition)
{
    const QRect work = x->workArea();
    ASSERT_FALSE(work.isEmpty()) << "openbox publishes no work area";
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    const QStringList positions{
        "5000,5000",             // far beyond the bottom-right corner
        "1200,990",              // partly below the bottom and past the right edge
        "-5000,-5000",           // far beyond the top-left corner
        "-2147483648,-2147483648", "2147483647,2147483647", "-2147483648,2147483647",
        "2147483648,10",         // does not fit an int: centred
        "garbage",  "12,abc",   ",", "", // not numbers: centred
        "100,200",               // on screen: exactly there
    };
    for (const QString &fp : positions) {
        SCOPED_TRACE(("FP=\"" + fp + "\"").toStdString());
        store("FP", fp);
        MainWindow w(reg, board);
        const QRect frame = showAndSettle(w, [&](QSize f) { return ruleFor(fp, f, work, screen); });
        EXPECT_TRUE(work.contains(frame)) << text(frame).toStdString() << " outside " << text(work).toStdString();
        EXPECT_EQ(frame.topLeft(), ruleFor(fp, frame.size(), work, screen));
        // The frame is larger than the client: the title bar and borders count.
        EXPECT_GT(frame.height(), w.height());
    }
}

TEST_F(MainWindowFrame, PositionSavedAtCloseIsTheFrameOnScreen)
{
    store("FP", "5000,5000");
    const QRect work = x->workArea();
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    QRect frame;
    {
        MainWindow w(reg, board);
        frame = showAndSettle(w, [&](QSize f) { return ruleFor("5000,5000", f, work, screen); });
        ASSERT_TRUE(QTest::qWaitFor([&] { return w.StartupCompleted() == MainWindow::kStartupCompletedValue; },
                                    3000));
        w.close();
    }
    const std::optional<QPoint> saved = SettingsStore::parsePosition(stored("FP"));
    ASSERT_TRUE(saved.has_value()) << stored("FP").toStdString();
    EXPECT_EQ(*saved, frame.topLeft());
    // The next start puts it back exactly there.
    MainWindow again(reg, board);
    const QRect next = showAndSettle(again, [&](QSize) { return *saved; });
    EXPECT_EQ(next, frame);
}

TEST_F(MainWindowFrame, PanelAtTheBottomAndLeftEdgesIsLeftFree)
{
    constexpr int kLeft = 60;   // pixels
    constexpr int kBottom = 40; // pixels
    const QRect screenRect = QGuiApplication::primaryScreen()->geometry();
    x->addPanel(kLeft, kBottom);
    const QRect expectedWork(kLeft, 0, screenRect.width() - kLeft, screenRect.height() - kBottom);
    ASSERT_TRUE(QTest::qWaitFor([&] { return x->workArea() == expectedWork; }, kSettleMs))
        << "work area " << text(x->workArea()).toStdString();
    // Qt learns the new work area from the same property.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return QGuiApplication::primaryScreen()->availableGeometry() == expectedWork; }, kSettleMs));

    for (const QString &fp : {QString("5000,5000"), QString("-5000,-5000"), QString("0,1000")}) {
        SCOPED_TRACE(("FP=\"" + fp + "\"").toStdString());
        store("FP", fp);
        MainWindow w(reg, board);
        const QRect frame =
            showAndSettle(w, [&](QSize f) { return ruleFor(fp, f, expectedWork, screenRect.size()); });
        EXPECT_TRUE(expectedWork.contains(frame)) << text(frame).toStdString();
    }

    // The corner buttons put the frame on the panel's edges too.
    store("FP", "300,300");
    MainWindow w(reg, board);
    showAndSettle(w, [](QSize) { return QPoint(300, 300); });
    const auto id = std::uint32_t(w.winId());
    w.findChild<ColourButton *>("Btn_WB")->Click();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const QRect f = x->frameOf(id);
            return f.bottom() == expectedWork.bottom() && f.right() == expectedWork.right();
        },
        kSettleMs))
        << text(x->frameOf(id)).toStdString();
    w.findChild<ColourButton *>("Btn_LT")->Click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return x->frameOf(id).topLeft() == expectedWork.topLeft(); }, kSettleMs))
        << text(x->frameOf(id)).toStdString();
}
