// The tray component against a recording notification area: identifiers,
// property writes and their errors, what reaches the shell, and the dispatch
// of mouse messages.
#include "core/desktop/TrayComponent.h"
#include "core/base/Cp932.h"
#include "support/RecordingTrayShell.h"

#include <QObject>
#include <gtest/gtest.h>
#include <memory>

using namespace nuvask;
using test::RecordingTrayShell;

namespace {

struct TrayComponentTest : ::testing::Test
{
    RecordingTrayShell shell;
    QObject form;

    void TearDown() override
    {
        // Every component is gone with its test: the process-wide list is empty.
        EXPECT_TRUE(TrayIconList().isEmpty());
    }
    static void giveImage(TrayComponent &tray) { tray.Icon()->SetHandle(QStringLiteral("image")); }
    QList<quint32> messages() const
    {
        QList<quint32> out;
        for (const auto &c : shell.calls)
            out << c.message;
        return out;
    }
};

} // namespace

TEST_F(TrayComponentTest, IdentifiersFollowTheLastEntryAndNeverRepeat)
{
    auto a = std::make_unique<TrayComponent>(shell, &form);
    auto b = std::make_unique<TrayComponent>(shell, &form);
    auto c = std::make_unique<TrayComponent>(shell, &form);
    EXPECT_EQ(a->IconID(), 1);
    EXPECT_EQ(b->IconID(), 2);
    EXPECT_EQ(c->IconID(), 3);
    b.reset();
    auto d = std::make_unique<TrayComponent>(shell, &form); // last entry 3, plus 1
    EXPECT_EQ(d->IconID(), 4);
    ASSERT_EQ(TrayIconList().size(), 3);
    EXPECT_EQ(TrayIconList()[0].first, QString("1"));
    EXPECT_EQ(TrayIconList()[2].first, QString("4"));

    // The first takes the number the next one would get: the next one skips it
    // rather than share an identifier (both would take each other's clicks).
    EXPECT_EQ(a->SetIconID(5), QString());
    auto e = std::make_unique<TrayComponent>(shell, &form);
    EXPECT_EQ(e->IconID(), 6);
    EXPECT_EQ(TrayIconList()[0].first, QString("5")); // the entry keeps its place
}

TEST_F(TrayComponentTest, IconIdWritesRefuseBadValuesAndMoveAShownIcon)
{
    TrayComponent a(shell, &form);
    TrayComponent b(shell, &form);
    EXPECT_EQ(a.SetIconID(0), trayText::IdNotPositive());
    EXPECT_EQ(a.SetIconID(-5), trayText::IdNotPositive());
    EXPECT_EQ(a.SetIconID(2), trayText::IdDuplicate());
    EXPECT_EQ(a.IconID(), 1);
    EXPECT_EQ(a.SetIconID(1), QString());
    EXPECT_TRUE(shell.calls.isEmpty());

    giveImage(a);
    ASSERT_EQ(a.SetRegistered(true), QString());
    shell.calls.clear();
    EXPECT_EQ(a.SetIconID(7), QString());
    ASSERT_EQ(messages(), (QList<quint32>{NIM_DELETE, NIM_ADD}));
    EXPECT_EQ(shell.calls[0].record.uID, 1u);
    EXPECT_EQ(shell.calls[1].record.uID, 7u);
    EXPECT_TRUE(a.Registered());
    EXPECT_TRUE(shell.IconShown(7));
    EXPECT_FALSE(shell.IconShown(1));

    // Callbacks now reach it under the new identifier only.
    int presses = 0;
    QObject::connect(&a, &TrayComponent::OnMouseDown, [&] { ++presses; });
    a.Record().hWnd->WM_TRAY_NOTIFY(1, WM_LBUTTONDOWN);
    EXPECT_EQ(presses, 0);
    a.Record().hWnd->WM_TRAY_NOTIFY(7, WM_LBUTTONDOWN);
    EXPECT_EQ(presses, 1);
}

TEST_F(TrayComponentTest, RegisteringNeedsAnImageAndSendsAddThenModify)
{
    TrayComponent tray(shell, &form);
    EXPECT_EQ(tray.SetRegistered(true), trayText::NoIcon());
    EXPECT_FALSE(tray.Registered());
    EXPECT_TRUE(shell.calls.isEmpty());

    giveImage(tray);
    EXPECT_TRUE(shell.calls.isEmpty()); // not registered: nothing to show yet
    shell.answer = false;               // a refused add is not noticed...
    ASSERT_EQ(tray.SetRegistered(true), QString());
    ASSERT_EQ(shell.calls.size(), 1);
    const NotifyIconRecord &added = shell.calls[0].record;
    EXPECT_EQ(shell.calls[0].message, NIM_ADD);
    EXPECT_EQ(added.cbSize, 88u);
    EXPECT_EQ(added.uCallbackMessage, WM_TRAY_NOTIFY);
    EXPECT_EQ(added.uFlags, NIF_MESSAGE | NIF_ICON); // 3: no tip
    EXPECT_NE(added.hWnd, nullptr);
    EXPECT_EQ(added.hWnd, ProcessTrayEventRouter());
    EXPECT_EQ(added.hWnd->parent(), &form);
    EXPECT_TRUE(tray.IconAdded());

    tray.SetTipString(QStringLiteral("tip")); // ...so the next change is a modify
    ASSERT_EQ(messages(), (QList<quint32>{NIM_ADD, NIM_MODIFY}));
    EXPECT_EQ(shell.calls[1].record.uFlags, NIF_MESSAGE | NIF_ICON | NIF_TIP); // 7
    EXPECT_EQ(shell.calls[1].record.szTip, QString("tip"));
    tray.SetTipString(QStringLiteral("tip"));
    EXPECT_EQ(shell.calls.size(), 2); // same text: nothing sent

    EXPECT_EQ(tray.SetRegistered(false), QString());
    EXPECT_EQ(shell.calls.last().message, NIM_DELETE);
    EXPECT_FALSE(tray.IconAdded());
}

TEST_F(TrayComponentTest, TipIsCutTo63CodePageBytesWithoutSplittingACharacter)
{
    TrayComponent tray(shell, &form);
    giveImage(tray);
    tray.SetRegistered(true);
    // 62 single bytes and a double-byte character: 64 bytes; byte 63 would be
    // the lead byte alone.
    const QString title = QString(62, QLatin1Char('a')) + QStringLiteral("ボ");
    ASSERT_EQ(Cp932::byteLength(title), 64);
    tray.SetTipString(title);
    EXPECT_EQ(shell.calls.last().record.szTip, QString(62, QLatin1Char('a')));
    tray.SetTipString(QString(70, QLatin1Char('b')));
    EXPECT_EQ(shell.calls.last().record.szTip, QString(63, QLatin1Char('b')));
    // The component keeps the whole text; only the record is cut.
    EXPECT_EQ(tray.TipString().size(), 70);
}

TEST_F(TrayComponentTest, IconChangesReachTheShellAndClearingTakesTheIconAway)
{
    TrayComponent tray(shell, &form);
    TrayImage other;
    other.SetHandle(QStringLiteral("first"));
    tray.SetIcon(&other);
    EXPECT_EQ(tray.Icon()->Handle().toString(), QString("first"));
    tray.SetRegistered(true);
    tray.Icon()->SetHandle(QStringLiteral("changed from outside"));
    ASSERT_EQ(messages(), (QList<quint32>{NIM_ADD, NIM_MODIFY}));
    EXPECT_EQ(shell.calls.last().record.hIcon.toString(), QString("changed from outside"));

    tray.SetIcon(tray.Icon()); // its own icon: nothing
    EXPECT_EQ(shell.calls.size(), 2);

    tray.SetIcon(nullptr);
    // Deleted straight away: an empty image is never sent as a modify.
    ASSERT_EQ(messages(), (QList<quint32>{NIM_ADD, NIM_MODIFY, NIM_DELETE}));
    EXPECT_FALSE(tray.Registered());
    EXPECT_TRUE(tray.Icon()->Empty());
    EXPECT_EQ(tray.SetRegistered(true), trayText::NoIcon());
}

TEST_F(TrayComponentTest, DestroyingAShownComponentDeletesItsIcon)
{
    auto tray = std::make_unique<TrayComponent>(shell, &form);
    giveImage(*tray);
    tray->SetRegistered(true);
    tray.reset();
    EXPECT_EQ(messages(), (QList<quint32>{NIM_ADD, NIM_DELETE}));
    EXPECT_FALSE(shell.IconShown(1));
    // The form never registered anything else, the next component starts at 1.
    TrayComponent next(shell, &form);
    EXPECT_EQ(next.IconID(), 1);
}

TEST_F(TrayComponentTest, MouseMessagesAreDispatchedByTheTable)
{
    TrayComponent tray(shell, &form);
    giveImage(tray);
    tray.SetRegistered(true);
    TrayEventRouter *window = tray.Record().hWnd;
    shell.cursor = QPoint(1200, 12);
    QStringList seen;
    QObject::connect(&tray, &TrayComponent::OnMouseDown, [&](TrayComponent *s, TrayMouseButton b, TrayModifiers sh, int x, int y) {
        EXPECT_EQ(s, &tray);
        EXPECT_TRUE(InTrayCallback());
        seen << QString("down %1 %2 %3,%4").arg(int(b)).arg(int(sh)).arg(x).arg(y);
    });
    QObject::connect(&tray, &TrayComponent::OnMouseUp, [&](TrayComponent *, TrayMouseButton b, TrayModifiers sh, int, int) {
        seen << QString("up %1 %2").arg(int(b)).arg(int(sh));
    });
    QObject::connect(&tray, &TrayComponent::OnDblClick,
                     [&](TrayComponent *, TrayMouseButton b) { seen << QString("dbl %1").arg(int(b)); });
    QObject::connect(&tray, &TrayComponent::OnMouseMove, [&](TrayComponent *, TrayModifiers sh, int x, int y) {
        seen << QString("move %1 %2,%3").arg(int(sh)).arg(x).arg(y);
    });
    for (quint32 m = WM_MOUSEMOVE; m <= WM_MBUTTONDBLCLK; ++m)
        window->WM_TRAY_NOTIFY(1, m);
    window->WM_TRAY_NOTIFY(1, 0x20A);          // wheel: nothing
    window->WM_TRAY_NOTIFY(2, WM_LBUTTONDOWN); // not in the list: dropped
    EXPECT_FALSE(InTrayCallback());
    EXPECT_EQ(seen, QStringList({"move 0 1200,12", "down 0 8 1200,12", "up 0 8", "dbl 0", "down 1 16 1200,12",
                                 "up 1 16", "dbl 1", "down 2 32 1200,12", "up 2 32"}));
    EXPECT_EQ(shell.foregroundCalls, 3); // once per press, the owner being no window here
}

TEST_F(TrayComponentTest, CallbacksArrivingDuringADispatchAreDropped)
{
    TrayComponent tray(shell, &form);
    giveImage(tray);
    tray.SetRegistered(true);
    int presses = 0;
    QObject::connect(&tray, &TrayComponent::OnMouseDown, [&] {
        ++presses;
        // As when a press's own handler lets messages run and another arrives.
        tray.Record().hWnd->WM_TRAY_NOTIFY(1, WM_RBUTTONDOWN);
    });
    tray.Record().hWnd->WM_TRAY_NOTIFY(1, WM_LBUTTONDOWN);
    EXPECT_EQ(presses, 1);
    EXPECT_FALSE(InTrayCallback());
    tray.Record().hWnd->WM_TRAY_NOTIFY(1, WM_LBUTTONDOWN);
    EXPECT_EQ(presses, 2); // the mark was cleared: the next one gets through
}

TEST_F(TrayComponentTest, PressesOpenTheirMenuAtTheCursorAndAGoneMenuIsForgotten)
{
    TrayComponent tray(shell, &form);
    giveImage(tray);
    tray.SetRegistered(true);
    auto left = std::make_unique<QObject>();
    auto right = std::make_unique<QObject>();
    tray.SetPopupMenuL(left.get());
    tray.SetPopupMenuR(right.get());
    shell.cursor = QPoint(300, 5);
    tray.Record().hWnd->WM_TRAY_NOTIFY(1, WM_LBUTTONDOWN);
    tray.Record().hWnd->WM_TRAY_NOTIFY(1, WM_RBUTTONDOWN);
    tray.Record().hWnd->WM_TRAY_NOTIFY(1, WM_MBUTTONDOWN);
    tray.Record().hWnd->WM_TRAY_NOTIFY(1, WM_LBUTTONUP);
    ASSERT_EQ(shell.popups.size(), 2);
    EXPECT_EQ(shell.popups[0].menu, left.get());
    EXPECT_EQ(shell.popups[1].menu, right.get());
    EXPECT_EQ(shell.popups[1].at, QPoint(300, 5));

    // One menu for both buttons, then destroyed: neither reference may dangle.
    tray.SetPopupMenuR(left.get());
    left.reset();
    EXPECT_EQ(tray.PopupMenuL(), nullptr);
    EXPECT_EQ(tray.PopupMenuR(), nullptr);
    tray.Record().hWnd->WM_TRAY_NOTIFY(1, WM_RBUTTONDOWN);
    EXPECT_EQ(shell.popups.size(), 2);
}

TEST_F(TrayComponentTest, AComponentDestroyedByItsOwnPressHandlerIsNotTouchedAgain)
{
    auto *tray = new TrayComponent(shell, &form);
    giveImage(*tray);
    tray->SetRegistered(true);
    QObject menu;
    tray->SetPopupMenuL(&menu);
    TrayEventRouter *window = tray->Record().hWnd;
    QObject::connect(tray, &TrayComponent::OnMouseDown, [&] { delete tray; });
    window->WM_TRAY_NOTIFY(1, WM_LBUTTONDOWN);
    EXPECT_TRUE(shell.popups.isEmpty());
    EXPECT_FALSE(InTrayCallback());
    EXPECT_EQ(shell.calls.last().message, NIM_DELETE);
}
