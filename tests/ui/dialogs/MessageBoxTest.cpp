// The message box: layout, keys, countdown, nesting, colours and placement.
#include "ui/widgets/ColourButton.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/dialogs/MessageBoxWindow.h"
#include "ui/dialogs/WorkArea.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "support/ModalSteps.h"

#include <functional>
#include <memory>

using namespace nuvask;

namespace {

using test::Child;

void WhenOpen(std::function<void(MessageBoxWindow *)> step)
{
    test::WhenOpen<MessageBoxWindow>(std::move(step));
}

void Click(QWidget *box, const char *name)
{
    test::ClickChild(box, name, QPoint(20, 10));
}

void Key(MessageBoxWindow *box, Qt::Key key)
{
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : box;
    QTest::keyClick(target, key);
}

QRect Geometry(QWidget *box, const char *name)
{
    return Child(box, name)->geometry();
}

QFont BoxFont()
{
    QFont font(QStringLiteral("System"));
    font.setPixelSize(13);
    return font;
}

// Short countdown ticks for the whole suite; restored afterwards.
class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override { MessageBoxWindow::SetTickIntervalMs(5); }
    void TearDown() override
    {
        MessageBoxWindow::SetTickIntervalMs(1000);
        SetMainWindow(nullptr);
    }
};

} // namespace

TEST_F(MessageBoxTest, TextAreaFitsTheLinesAndTheIconStaysCentredBelow16)
{
    const QFontMetrics metrics(BoxFont());
    struct Case {
        QString text;
        int lines;
        int widest;
    };
    const QString longLine = QStringLiteral("ボリュームの設定を変更しました。よろしいですか？");
    const Case cases[] = {
        {QString(), 1, metrics.horizontalAdvance(u' ')},
        {QStringLiteral("短い"), 1, metrics.horizontalAdvance(QStringLiteral("短い"))},
        {QStringLiteral("一行目\n") + longLine + QStringLiteral("\n\n四"), 4, metrics.horizontalAdvance(longLine)},
    };
    for (const Case &c : cases) {
        MessageBoxWindow box(MessageBoxWindow::YesNoBox);
        box.Prepare(c.text, QStringLiteral("10"), true, mkresult::kYes);
        const QRect memo = Geometry(&box, "MemoMsg");
        EXPECT_EQ(memo.topLeft(), QPoint(64, 16)) << c.text.toStdString();
        EXPECT_EQ(memo.height(), c.lines * metrics.height() + 26) << c.text.toStdString();
        // The countdown row may widen the text area, never narrow it.
        EXPECT_GE(memo.width(), c.widest + 10);
        const QRect icon = Geometry(&box, "Image_Box");
        EXPECT_GE(icon.top(), 16);
        if (memo.height() > 40) {
            EXPECT_EQ(icon.top(), (memo.height() - 32) / 2 + 12);
        }
        // Buttons below both; nothing outside the client area.
        const QRect yes = Geometry(&box, "Btn_Yes");
        EXPECT_GT(yes.top(), std::max(memo.bottom(), icon.bottom()));
        EXPECT_LE(Geometry(&box, "Btn_TM_STOP").right(), box.width() - 1);
        EXPECT_TRUE(box.rect().contains(Geometry(&box, "Label_TM")));
    }
    // Without a countdown the text area is exactly the widest line + 10.
    MessageBoxWindow box(MessageBoxWindow::OkBox);
    box.Prepare(longLine + QStringLiteral("\n二行"), QStringLiteral("0"), false, 0);
    EXPECT_EQ(Geometry(&box, "MemoMsg").width(), metrics.horizontalAdvance(longLine) + 10);
    EXPECT_EQ(Geometry(&box, "Btn_OK").center().x(), box.width() / 2);
}

TEST_F(MessageBoxTest, ShortOkBoxNarrowsToTheButtonsRightEdge)
{
    MessageBoxWindow box(MessageBoxWindow::OkBox);
    box.Prepare(QStringLiteral("OK"), QStringLiteral("0"), false, 0);
    const QRect ok = Geometry(&box, "Btn_OK");
    const int okRight = ok.x() + ok.width();
    EXPECT_EQ(box.OuterSize().width(), okRight + 16);
    EXPECT_EQ(box.width(), okRight + 16 - MessageBoxWindow::kFrameWidth);
    // The text area keeps its width unless it ended left of three quarters of the button.
    const int measured = MessageBoxWindow::MeasureText(BoxFont(), QStringLiteral("OK")).width() + 10;
    const QRect memo = Geometry(&box, "MemoMsg");
    EXPECT_EQ(memo.width(), std::max(measured, ok.x() + 66 - 64));
    EXPECT_FALSE(Child(&box, "Btn_Yes")->isVisibleTo(&box));
    EXPECT_FALSE(Child(&box, "Label_Select")->isVisibleTo(&box));
}

TEST_F(MessageBoxTest, TextAreaShowsEachLineBreakOnce)
{
    MessageBoxWindow box(MessageBoxWindow::OkBox);
    box.Prepare(QStringLiteral("a\nb\r\nc"), QStringLiteral("0"), false, 0);
    auto *memo = Child<QPlainTextEdit>(&box, "MemoMsg");
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("a\nb\nc"));
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(MessageBoxWindow::MemoText(QStringLiteral("a\nb\r\n")), QStringLiteral("a\r\nb\r\n"));
}

TEST_F(MessageBoxTest, EnterAndEscInYesNoAndOkBoxes)
{
    MessageBox dlg;
    WhenOpen([](MessageBoxWindow *box) { Key(box, Qt::Key_Escape); });
    EXPECT_EQ(dlg.ShowYesNoTimer(QStringLiteral("消去しますか？"), mkresult::kYes), mkresult::kNo);

    WhenOpen([](MessageBoxWindow *box) { Key(box, Qt::Key_Return); });
    EXPECT_EQ(dlg.ShowYesNoTimer(QStringLiteral("消去しますか？"), mkresult::kNo), mkresult::kYes);

    // The OK box's only cancel button is hidden: Esc does nothing, Enter is OK.
    WhenOpen([](MessageBoxWindow *box) {
        Key(box, Qt::Key_Escape);
        QTest::qWait(20);
        EXPECT_TRUE(box->isVisible());
        Key(box, Qt::Key_Enter);
    });
    EXPECT_EQ(dlg.ShowOK(QStringLiteral("完了しました")), mkresult::kOk);

    // Tab to "いいえ" moves Enter there.
    WhenOpen([](MessageBoxWindow *box) {
        EXPECT_TRUE(Child(box, "Btn_Yes")->hasFocus());
        Key(box, Qt::Key_Tab);
        EXPECT_EQ(Child<ColourButton>(box, "Btn_No")->BevelWidth(), 2);
        EXPECT_EQ(Child<ColourButton>(box, "Btn_Yes")->BevelWidth(), 1);
        Key(box, Qt::Key_Return);
    });
    EXPECT_EQ(dlg.ShowYesNoTimer(QStringLiteral("?"), mkresult::kYes), mkresult::kNo);

    WhenOpen([](MessageBoxWindow *box) { box->close(); });
    EXPECT_EQ(dlg.ShowOK(QStringLiteral("x")), mkresult::kClosed);
}

TEST_F(MessageBoxTest, CountdownRunsOutWithTheDefaultAndPauseKeepsTheSeconds)
{
    // Ticks long enough that a loaded machine still sees the first second
    // before the countdown moves on.
    MessageBoxWindow::SetTickIntervalMs(40);
    MessageBox dlg;
    QString lastLabel;
    WhenOpen([&](MessageBoxWindow *box) {
        EXPECT_EQ(Child<QLabel>(box, "Label_TM")->text(), QStringLiteral("10秒"));
        // The bar marks "いいえ", directly above the button row.
        const QRect bar = Geometry(box, "Label_Select");
        const QRect no = Geometry(box, "Btn_No");
        EXPECT_TRUE(Child(box, "Label_Select")->isVisible());
        EXPECT_EQ(bar.x(), no.x());
        EXPECT_EQ(bar.y() + bar.height(), no.y());
        QObject::connect(box, &QDialog::finished, [&lastLabel, box] {
            lastLabel = Child<QLabel>(box, "Label_TM")->text();
        });
    });
    EXPECT_EQ(dlg.ShowYesNoTimer(QStringLiteral("上書きしますか？"), mkresult::kNo), mkresult::kNo);
    EXPECT_EQ(lastLabel, QStringLiteral("0秒"));

    // Default "closed": the bar sits at the top, one bar's width right of the
    // resume button, and the countdown ends with the closed result.
    WhenOpen([](MessageBoxWindow *box) {
        const QRect bar = Geometry(box, "Label_Select");
        EXPECT_TRUE(Child(box, "Label_Select")->isVisible());
        EXPECT_EQ(bar.x(), Geometry(box, "Btn_TM_OPEN").x() + bar.width());
        EXPECT_EQ(bar.y(), 3);
    });
    EXPECT_EQ(dlg.ShowYesNoTimer(QStringLiteral("?"), mkresult::kClosed), mkresult::kClosed);

    int pausedAt = -1;
    bool stillOpen = false;
    WhenOpen([&](MessageBoxWindow *box) {
        QTest::qWait(3 * MessageBoxWindow::TickIntervalMs());
        Click(box, "Btn_TM_STOP");
        pausedAt = box->RemainingSeconds();
        QTest::qWait(30 * MessageBoxWindow::TickIntervalMs());
        stillOpen = box->isVisible();
        EXPECT_EQ(box->RemainingSeconds(), pausedAt);
        EXPECT_FALSE(Child(box, "Btn_TM_STOP")->isVisible());
        Click(box, "Btn_TM_OPEN");
        EXPECT_TRUE(Child(box, "Btn_TM_STOP")->isVisible());
    });
    EXPECT_EQ(dlg.ShowOKTimer(QStringLiteral("保存しました"), mkresult::kOk), mkresult::kOk);
    EXPECT_TRUE(stillOpen);
    EXPECT_GT(pausedAt, 0);
    EXPECT_LT(pausedAt, 10);

    // Countdown off: the default is never returned; the box waits for an answer.
    dlg.SetTimer(false);
    WhenOpen([](MessageBoxWindow *box) {
        EXPECT_FALSE(box->CountdownRunning());
        EXPECT_FALSE(Child(box, "Btn_TM_STOP")->isVisible());
        QTest::qWait(20 * MessageBoxWindow::TickIntervalMs());
        EXPECT_TRUE(box->isVisible());
        Click(box, "Btn_No");
    });
    EXPECT_EQ(dlg.ShowYesNoTimer(QStringLiteral("?"), mkresult::kYes), mkresult::kNo);

    // The short countdown of ShowOKSKTimer starts at its own count.
    WhenOpen([](MessageBoxWindow *box) {
        EXPECT_EQ(Child<QLabel>(box, "Label_TM")->text(), QStringLiteral("5秒"));
    });
    EXPECT_EQ(dlg.ShowOKSKTimer(QStringLiteral("x"), mkresult::kOk), mkresult::kOk);
}

TEST_F(MessageBoxTest, EleventhNestedCallReturnsZeroAndSlotsAreFreedAfterwards)
{
    MessageBox dlg;
    std::vector<int> results;
    int eleventh = -1;
    std::function<void(int)> open = [&](int depth) {
        QTimer::singleShot(0, [&, depth] {
            if (depth == MessageBox::kSlots) {
                eleventh = dlg.ShowOK(QStringLiteral("11"));
            } else {
                open(depth + 1);
                results.push_back(dlg.ShowOK(QString::number(depth)));
            }
            // Answer the box this call was opened inside of.
            if (auto *outer = qobject_cast<MessageBoxWindow *>(QApplication::activeModalWidget()))
                QTimer::singleShot(0, outer, [outer] { Click(outer, "Btn_OK"); });
        });
    };
    open(1);
    results.push_back(dlg.ShowOK(QStringLiteral("0")));
    EXPECT_EQ(eleventh, mkresult::kNone);
    EXPECT_EQ(results, std::vector<int>(MessageBox::kSlots, mkresult::kOk));
    for (int slot = 0; slot < MessageBox::kSlots; ++slot)
        EXPECT_FALSE(dlg.B(slot)) << slot;
}

TEST_F(MessageBoxTest, RedMainWindowTurnsTheBarBlueAndGivesItsColoursAndHints)
{
    QWidget main;
    main.setGeometry(100, 100, 400, 300);
    QPalette p = main.palette();
    p.setColor(QPalette::Window, QColor(255, 0, 0));
    p.setColor(QPalette::WindowText, QColor(255, 255, 0));
    main.setPalette(p);
    main.setProperty("ShowHint", false);
    SetMainWindow(&main);

    MessageBox dlg;
    WhenOpen([](MessageBoxWindow *box) {
        box->grab(); // a paint takes the main window's colours
        EXPECT_EQ(box->palette().color(QPalette::Window), QColor(255, 0, 0));
        EXPECT_EQ(box->palette().color(QPalette::WindowText), QColor(255, 255, 0));
        EXPECT_EQ(Child(box, "Label_Select")->palette().color(QPalette::Window), QColor(0, 0, 255));
        EXPECT_TRUE(Child(box, "MemoMsg")->toolTip().isEmpty());
        // The icon's corners take the background; the disc stays red.
        const QImage icon = Child<QLabel>(box, "Image_Box")->pixmap().toImage();
        EXPECT_EQ(icon.pixelColor(0, 0), QColor(255, 0, 0));
        EXPECT_EQ(icon.pixelColor(31, 31), QColor(255, 0, 0));
        EXPECT_GT(icon.pixelColor(8, 16).red(), 150);
        Key(box, Qt::Key_Return);
    });
    EXPECT_EQ(dlg.ShowYesNoTimer(QStringLiteral("?"), mkresult::kYes), mkresult::kYes);

    p.setColor(QPalette::Window, QColor(254, 0, 0));
    main.setPalette(p);
    main.setProperty("ShowHint", true);
    WhenOpen([](MessageBoxWindow *box) {
        box->grab();
        EXPECT_EQ(Child(box, "Label_Select")->palette().color(QPalette::Window), QColor(255, 0, 0));
        EXPECT_FALSE(Child(box, "MemoMsg")->toolTip().isEmpty());
        Key(box, Qt::Key_Return);
    });
    dlg.ShowYesNoTimer(QStringLiteral("?"), mkresult::kYes);
}

TEST_F(MessageBoxTest, CaptionIsExactlyTheTitleOrTheApplicationTitle)
{
    SetApplicationTitle(QStringLiteral("DORIVA SOUND ボリューム"));
    MessageBox dlg;
    QString caption;
    WhenOpen([&](MessageBoxWindow *box) { caption = box->windowTitle(); box->close(); });
    dlg.ShowOK(QStringLiteral("x"));
    EXPECT_EQ(caption, QStringLiteral("DORIVA SOUND ボリューム"));
    dlg.SetTitle(QStringLiteral("確認"));
    WhenOpen([&](MessageBoxWindow *box) { caption = box->windowTitle(); box->close(); });
    dlg.ShowOK(QStringLiteral("x"));
    EXPECT_EQ(caption, QStringLiteral("確認"));
    SetApplicationTitle(QString());
}

TEST_F(MessageBoxTest, BoxOverAWindowPartlyOffScreenStaysInsideTheWorkArea)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget source;
    source.setGeometry(area.left() - 300, area.bottom() - 50, 400, 300);
    MessageBox dlg;
    dlg.SetSourceHandle(&source);
    QRect placed;
    WhenOpen([&](MessageBoxWindow *box) {
        placed = QRect(box->pos(), box->OuterSize());
        box->close();
    });
    dlg.ShowYesNoTimer(QStringLiteral("外に出ていますか？"), mkresult::kYes);
    EXPECT_TRUE(area.contains(placed)) << placed.x() << "," << placed.y();
    EXPECT_EQ(placed.left(), area.left());
    EXPECT_EQ(placed.bottom(), area.bottom());

    // A source window gone by the time of the call: centred on the work area.
    auto gone = std::make_unique<QWidget>();
    dlg.SetSourceHandle(gone.get());
    gone.reset();
    WhenOpen([&](MessageBoxWindow *box) {
        placed = QRect(box->pos(), box->OuterSize());
        box->close();
    });
    dlg.ShowOK(QStringLiteral("x"));
    EXPECT_EQ(placed.center().x() / 2, area.center().x() / 2);
}

// Not a test: run by scripts/shot-messagebox.sh to look at a Yes/No box with its
// countdown on a real X display.
TEST_F(MessageBoxTest, DISABLED_Screenshot)
{
    const QString path = qEnvironmentVariable("NUVASK_SHOT_PNG", QStringLiteral("messagebox.png"));
    MessageBoxWindow::SetTickIntervalMs(1000);
    MessageBox dlg;
    WhenOpen([&](MessageBoxWindow *box) {
        QTest::qWait(1500); // one tick, and the icon drawn by its timer
        box->grab().save(path);
        Key(box, Qt::Key_Return);
    });
    dlg.ShowYesNoTimer(QStringLiteral("登録ボリューム「ナレーション」を削除しますか？\n"
                                      "削除すると元に戻せません。"),
                       mkresult::kYes);
}
