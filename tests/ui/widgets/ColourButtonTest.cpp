// The colour button under real mouse and key events.
#include "ui/widgets/ColourButton.h"

#include <QApplication>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

using nuvask::ColourButton;

namespace {

// A window of the given colours with two colour buttons, A (Default) and B.
struct Window {
    std::unique_ptr<QWidget> form = std::make_unique<QWidget>();
    ColourButton *a = new ColourButton(form.get());
    ColourButton *b = new ColourButton(form.get());
    QSignalSpy clicksA{a, &ColourButton::OnClick};
    QSignalSpy clicksB{b, &ColourButton::OnClick};

    explicit Window(QColor face = QColor(20, 100, 200), QColor text = Qt::black)
    {
        Recolour(face, text);
        form->resize(300, 100);
        a->setObjectName(QStringLiteral("Btn_A"));
        b->setObjectName(QStringLiteral("Btn_B"));
        a->move(10, 10);
        b->move(100, 10);
        a->SetCaption(QStringLiteral("&Apply"));
        b->SetCaption(QStringLiteral("Be&nd"));
        a->SetDefault(true);
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void Recolour(QColor face, QColor text)
    {
        QPalette p = form->palette();
        p.setColor(QPalette::Window, face);
        p.setColor(QPalette::WindowText, text);
        form->setPalette(p);
    }
};

void Move(QWidget *w, QPoint pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, w->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

} // namespace

TEST(ColourButton, DesignDefaults)
{
    ColourButton button;
    EXPECT_EQ(button.width(), 75);
    EXPECT_EQ(button.height(), 25);
    EXPECT_TRUE(button.TabStop());
    EXPECT_TRUE(button.ParentColor());
    EXPECT_FALSE(button.Cancel());
    EXPECT_FALSE(button.Default());
    EXPECT_EQ(button.BevelWidth(), 1);
}

TEST(ColourButton, PressedLookIsDarkerAndReleaseFollowsTheWindowAgain)
{
    Window w;
    const QPoint home = w.a->pos();
    QTest::mousePress(w.a, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(w.a->Color(), QColor(0, 68, 168));      // 20-32 stops at 0
    EXPECT_EQ(w.a->FontColor(), QColor(0x33, 0x33, 0x33)); // black text turns dark grey
    EXPECT_TRUE(w.a->BevelLowered());
    EXPECT_EQ(w.a->pos(), home + QPoint(1, 1));
    EXPECT_TRUE(w.a->hasFocus());

    QTest::mouseRelease(w.a, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(w.clicksA.count(), 1);
    EXPECT_FALSE(w.a->BevelLowered());
    EXPECT_EQ(w.a->pos(), home);
    EXPECT_TRUE(w.a->ParentColor());
    EXPECT_TRUE(w.a->ParentFont());

    // Recoloured while up: the button follows, and the next press starts from the new colour.
    w.Recolour(QColor(250, 10, 40), QColor(0, 0, 128));
    EXPECT_EQ(w.a->Color(), QColor(250, 10, 40));
    QTest::mousePress(w.a, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(w.a->Color(), QColor(218, 0, 8));
    EXPECT_EQ(w.a->FontColor(), QColor(0xDD, 0xDD, 0xDD)); // non-black text turns light grey
    QTest::mouseRelease(w.a, Qt::LeftButton, {}, QPoint(20, 10));
}

TEST(ColourButton, ReleaseRestoresColoursSetOnTheButtonItself)
{
    Window w;
    w.b->SetColor(QColor(100, 100, 100));
    QTest::mousePress(w.b, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(w.b->Color(), QColor(68, 68, 68));
    QTest::mouseRelease(w.b, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(w.b->Color(), QColor(100, 100, 100));
    EXPECT_FALSE(w.b->ParentColor());
    w.Recolour(Qt::green, Qt::black);
    EXPECT_EQ(w.b->Color(), QColor(100, 100, 100));
}

TEST(ColourButton, LeavingPopsUpAndComingBackGivesExactlyOneClick)
{
    Window w;
    const QPoint home = w.a->pos();
    QTest::mousePress(w.a, Qt::LeftButton, {}, QPoint(20, 10));
    // Column 1 lies on the button but counts as outside.
    Move(w.a, QPoint(1, 10));
    EXPECT_FALSE(w.a->IsDown());
    EXPECT_EQ(w.a->pos(), home);
    EXPECT_EQ(w.clicksA.count(), 0);
    Move(w.a, QPoint(20, 10));
    EXPECT_TRUE(w.a->IsDown());
    Move(w.a, QPoint(200, 10));
    Move(w.a, QPoint(30, 12));
    QTest::mouseRelease(w.a, Qt::LeftButton, {}, QPoint(30, 12));
    EXPECT_EQ(w.clicksA.count(), 1);
    EXPECT_EQ(w.a->pos(), home);

    // Released outside: no click, and the button is up where it started. The
    // top row, the row just below the bottom edge and the column just past the
    // right edge are all outside.
    const QPoint outside[] = {{20, 0}, {20, w.a->height()}, {w.a->width(), 10}};
    for (const QPoint p : outside) {
        QTest::mousePress(w.a, Qt::LeftButton, {}, QPoint(20, 10));
        Move(w.a, p);
        EXPECT_FALSE(w.a->IsDown()) << p.x() << "," << p.y();
        QTest::mouseRelease(w.a, Qt::LeftButton, {}, p);
        EXPECT_EQ(w.clicksA.count(), 1) << p.x() << "," << p.y();
        EXPECT_FALSE(w.a->IsDown());
        EXPECT_EQ(w.a->pos(), home);
    }
    // One row above the bottom edge is still on the button.
    QTest::mousePress(w.a, Qt::LeftButton, {}, QPoint(20, 10));
    Move(w.a, QPoint(20, w.a->height() - 1));
    QTest::mouseRelease(w.a, Qt::LeftButton, {}, QPoint(20, w.a->height() - 1));
    EXPECT_EQ(w.clicksA.count(), 2);
}

TEST(ColourButton, RightButtonOnlyReportsTheMouseDown)
{
    Window w;
    QSignalSpy downs(w.a, &ColourButton::OnMouseDown);
    QTest::mousePress(w.a, Qt::RightButton, {}, QPoint(20, 10));
    QTest::mouseRelease(w.a, Qt::RightButton, {}, QPoint(20, 10));
    EXPECT_EQ(downs.count(), 1);
    EXPECT_FALSE(w.a->IsDown());
    EXPECT_EQ(w.clicksA.count(), 0);
}

TEST(ColourButton, SpaceClicksOnReleaseButNotWhileTheMouseHoldsTheButton)
{
    Window w;
    w.b->setFocus();
    QTest::keyPress(w.b, Qt::Key_Space);
    EXPECT_TRUE(w.b->IsDown());
    // A held key repeats press and release; only the real release clicks.
    QKeyEvent repeatUp(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QApplication::sendEvent(w.b, &repeatUp);
    QKeyEvent repeatDown(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QApplication::sendEvent(w.b, &repeatDown);
    EXPECT_EQ(w.clicksB.count(), 0);
    QTest::keyRelease(w.b, Qt::Key_Space);
    EXPECT_EQ(w.clicksB.count(), 1);
    EXPECT_FALSE(w.b->IsDown());

    QTest::mousePress(w.b, Qt::LeftButton, {}, QPoint(20, 10));
    QTest::keyPress(w.b, Qt::Key_Space);
    QTest::keyRelease(w.b, Qt::Key_Space);
    EXPECT_EQ(w.clicksB.count(), 1);
    EXPECT_TRUE(w.b->IsDown());
    QTest::mouseRelease(w.b, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(w.clicksB.count(), 2);
}

TEST(ColourButton, TabMovesTheThickBevelAndEnterPressesTheFocusedButton)
{
    Window w;
    w.a->setFocus();
    EXPECT_EQ(w.a->BevelWidth(), 2);
    EXPECT_EQ(w.b->BevelWidth(), 1);
    QTest::keyClick(w.a, Qt::Key_Tab);
    ASSERT_TRUE(w.b->hasFocus());
    EXPECT_EQ(w.a->BevelWidth(), 1);
    EXPECT_EQ(w.b->BevelWidth(), 2);
    QTest::keyClick(w.b, Qt::Key_Return);
    EXPECT_EQ(w.clicksB.count(), 1);
    EXPECT_EQ(w.clicksA.count(), 0);

    // Focus on something that is not a colour button: Enter is the default's again.
    auto *other = new QWidget(w.form.get());
    other->setFocusPolicy(Qt::StrongFocus);
    other->show();
    other->setFocus();
    EXPECT_EQ(w.a->BevelWidth(), 2);
    QTest::keyClick(other, Qt::Key_Enter);
    EXPECT_EQ(w.clicksA.count(), 1);
    // Only plain Enter: with Shift, Ctrl or Alt no button takes it.
    QTest::keyClick(other, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(other, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(w.clicksA.count(), 1);
}

TEST(ColourButton, EscPressesOnlyAVisibleEnabledCancelButton)
{
    Window w;
    w.b->SetCancel(true);
    w.a->setFocus();
    QTest::keyClick(w.a, Qt::Key_Escape);
    EXPECT_EQ(w.clicksB.count(), 1);
    w.b->hide();
    QTest::keyClick(w.a, Qt::Key_Escape);
    w.b->show();
    w.b->setEnabled(false);
    QTest::keyClick(w.a, Qt::Key_Escape);
    EXPECT_EQ(w.clicksB.count(), 1);
    // A disabled default button does not take Enter either.
    w.a->setEnabled(false);
    QTest::keyClick(w.form.get(), Qt::Key_Return);
    EXPECT_EQ(w.clicksA.count(), 0);
}

TEST(ColourButton, AcceleratorCharacterPressesTheButton)
{
    Window w;
    w.a->setFocus();
    QTest::keyClick(w.a, Qt::Key_N);
    EXPECT_EQ(w.clicksB.count(), 1);
    QTest::keyClick(w.a, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(w.clicksB.count(), 2);
    QTest::keyClick(w.a, Qt::Key_Z);
    EXPECT_EQ(w.clicksA.count() + w.clicksB.count(), 2);
    EXPECT_EQ(w.a->Accelerator(), QChar(u'A'));
    ColourButton literal;
    literal.SetCaption(QStringLiteral("R&&B"));
    EXPECT_TRUE(literal.Accelerator().isNull());
}

TEST(ColourButton, SetDefaultMovesEnterAtOnce)
{
    Window w;
    w.a->setFocus();
    auto *other = new QWidget(w.form.get());
    other->setFocusPolicy(Qt::StrongFocus);
    other->show();
    other->setFocus();
    w.a->SetDefault(false);
    w.b->SetDefault(true);
    EXPECT_EQ(w.a->BevelWidth(), 1);
    EXPECT_EQ(w.b->BevelWidth(), 2);
    QTest::keyClick(other, Qt::Key_Return);
    EXPECT_EQ(w.clicksB.count(), 1);
    EXPECT_EQ(w.clicksA.count(), 0);
}
