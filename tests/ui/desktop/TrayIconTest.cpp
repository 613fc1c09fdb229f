// The window's tray feature: into the tray and back by press, menu and second
// start; the busy flag; a desktop without a tray keeps the window. Against a
// recording notification area, and against QSystemTrayIcon itself.
#include "ui/desktop/TrayIcon.h"
#include "support/ModalScript.h"
#include "core/desktop/TrayComponent.h"
#include "support/RecordingTrayShell.h"
#include "ui/widgets/AppIcon.h"
#include "ui/widgets/ColourButton.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/mainwindow/MainWindowTexts.h"
#include "ui/desktop/QtTrayShell.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace nuvask;
using test::RecordingTrayShell;

namespace {

// A notification area that Qt would draw in, on a platform that has none.
class AlwaysTrayShell : public QtTrayShell
{
public:
    bool TrayAvailable() const override { return true; }
};

struct TrayFeature : ::testing::Test
{
    RecordingTrayShell shell;
    QWidget window;
    QWidget *panel = new QWidget(&window);
    std::unique_ptr<TrayIcon> tray;

    void SetUp() override
    {
        // Hourglasses other tests left behind would hide ours.
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
        window.resize(200, 100);
        window.show();
        tray = std::make_unique<TrayIcon>(&window, panel, nullptr, &shell);
        tray->SetTipAndIcon(QStringLiteral("DORIVA SOUND ボリューム"), ApplicationIcon());
    }
    void TearDown() override
    {
        tray.reset();
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr); // no hourglass left behind
    }
    void press(quint32 message) { ProcessTrayEventRouter()->WM_TRAY_NOTIFY(1, message); }
    void intoTray()
    {
        tray->Btn_TRAY->Click();
        ASSERT_TRUE(window.isHidden());
    }
};

} // namespace

TEST_F(TrayFeature, TrayHidesTheWindowAndALeftPressOrASecondStartBringsItBack)
{
    EXPECT_EQ(tray->TaskTray1->IconID(), 1);
    EXPECT_EQ(tray->Btn_TRAY->Caption(), QString("Tray"));
    EXPECT_EQ(tray->Btn_TRAY->toolTip(), QString("タスクトレイに格納する"));
    EXPECT_EQ(tray->TR_IconOFF->text(), QString("常駐解除（元の画面に戻る）"));
    EXPECT_TRUE(shell.calls.isEmpty()); // nothing shown until "Tray"

    intoTray();
    EXPECT_TRUE(tray->Btn_TRAY->isHidden());
    EXPECT_TRUE(tray->InTray());
    ASSERT_EQ(shell.calls.size(), 1);
    EXPECT_EQ(shell.calls[0].message, NIM_ADD);
    EXPECT_EQ(shell.calls[0].record.uFlags, 7u);
    EXPECT_EQ(shell.calls[0].record.szTip, QString("DORIVA SOUND ボリューム"));
    EXPECT_FALSE(shell.calls[0].record.hIcon.value<QIcon>().isNull());

    press(WM_LBUTTONDOWN);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(tray->Btn_TRAY->isVisible());
    EXPECT_FALSE(tray->InTray());
    EXPECT_EQ(shell.calls.last().message, NIM_DELETE);

    EXPECT_FALSE(tray->RestoreFromTray()); // shown: not the tray's business
    intoTray();
    EXPECT_TRUE(tray->RestoreFromTray());
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(shell.IconShown(1));
}

TEST_F(TrayFeature, RightPressOpensTheMenuUnlessBusyAndMiddlePressDoesNothing)
{
    intoTray();
    shell.cursor = QPoint(1250, 14);
    tray->SetTrayMenuBusy(true); // a desktop action of the window runs
    press(WM_RBUTTONDOWN);
    press(WM_LBUTTONDOWN);
    EXPECT_TRUE(shell.popups.isEmpty());
    EXPECT_TRUE(window.isHidden());

    tray->SetTrayMenuBusy(false);
    press(WM_MBUTTONDOWN);
    press(WM_MBUTTONDBLCLK);
    EXPECT_TRUE(shell.popups.isEmpty());
    EXPECT_TRUE(window.isHidden());

    press(WM_RBUTTONDOWN);
    ASSERT_EQ(shell.popups.size(), 1);
    EXPECT_EQ(shell.popups[0].menu, tray->PopupMenu_TR);
    EXPECT_EQ(shell.popups[0].at, QPoint(1250, 14));
    EXPECT_TRUE(tray->PopupMenu_TR->isVisible());
    // The menu's showing ends the busy time and the hourglass.
    EXPECT_FALSE(tray->TrayMenuBusy());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    // The desktop may open the same menu by itself on the press: the showing
    // without a preceding hourglass must not take away another one's cursor.
    tray->PopupMenu_TR->close();
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    tray->PopupMenu_TR->popup(QPoint(1250, 14));
    press(WM_RBUTTONDOWN);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BusyCursor);
    QGuiApplication::restoreOverrideCursor();
    EXPECT_FALSE(tray->TrayMenuBusy());

    tray->TR_IconOFF->trigger();
    tray->PopupMenu_TR->close();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(tray->InTray());
}

TEST_F(TrayFeature, WithoutATrayOrAnIconTheWindowStaysAndTheUserIsTold)
{
    MessageBox box;
    tray = std::make_unique<TrayIcon>(&window, panel, &box, &shell);
    test::ModalScript boxes;
    // Before the deferred initialisation has given the icon its image.
    tray->Btn_TRAY->Click();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(tray->Btn_TRAY->isVisible());
    EXPECT_FALSE(tray->InTray());

    tray->SetTipAndIcon(QStringLiteral("t"), ApplicationIcon());
    shell.trayPresent = false;
    tray->Btn_TRAY->Click();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(tray->Btn_TRAY->isVisible());
    EXPECT_FALSE(tray->InTray());
    EXPECT_FALSE(shell.IconShown(1));
    EXPECT_EQ(shell.calls.last().message, NIM_DELETE); // the icon did not stay behind
    EXPECT_EQ(boxes.texts, QStringList({trayText::NoIcon(), mainText::NoTray()}));
}

TEST(QtTrayShell, ALeftClickBringsTheWindowBackAndItsIconGoesSafely)
{
    AlwaysTrayShell shell;
    QWidget window;
    window.show();
    TrayIcon tray(&window, &window, nullptr, &shell);
    shell.SetContextMenu(tray.PopupMenu_TR);
    tray.SetTipAndIcon(QStringLiteral("DORIVA SOUND ボリューム"), ApplicationIcon());
    tray.Btn_TRAY->Click();
    ASSERT_TRUE(window.isHidden());
    QPointer<QSystemTrayIcon> icon = shell.TrayIconFor(1);
    ASSERT_NE(icon, nullptr);
    EXPECT_TRUE(icon->isVisible());
    EXPECT_EQ(icon->toolTip(), QString("DORIVA SOUND ボリューム"));
    EXPECT_EQ(icon->contextMenu(), tray.PopupMenu_TR); // desktops hide icons without one
    EXPECT_FALSE(icon->icon().isNull());

    // The activation arrives from the icon itself; the window's answer deletes
    // that very icon.
    emit icon->activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(window.isHidden()); // handed on through the event loop
    QTRY_VERIFY_WITH_TIMEOUT(window.isVisible(), 2000);
    EXPECT_EQ(shell.TrayIconFor(1), nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(icon.isNull(), 2000);
}

TEST(AppIcon, EveryRenderingIsCompiledInAtItsOwnSize)
{
    for (int pixels : kAppIconSizes) {
        const QImage image(AppIconPath(pixels));
        ASSERT_FALSE(image.isNull()) << pixels;
        EXPECT_EQ(image.size(), QSize(pixels, pixels));
        EXPECT_TRUE(image.hasAlphaChannel()); // rounded corners stay see-through
    }
    const QIcon icon = ApplicationIcon();
    EXPECT_EQ(icon.availableSizes().size(), kAppIconSizes.size());
    // 16 pixels come from the 16-pixel drawing, not a scaled 256.
    EXPECT_EQ(icon.pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
              QImage(AppIconPath(16)).convertToFormat(QImage::Format_ARGB32_Premultiplied));
    // The SVG source is carried along for installing.
    EXPECT_TRUE(QFile::exists(QStringLiteral(":/icons/hicolor/scalable/apps/nuvask.svg")));
}
