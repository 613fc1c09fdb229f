// The about box: its lines, the two home-page questions (a question left
// alone answers Yes), and a browser or mail program that does not start.
#include "support/ModalScript.h"
#include "ui/help/AboutBox.h"
#include "ui/help/AboutTexts.h"
#include "ui/widgets/ColourButton.h"
#include "ui/dialogs/WorkArea.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

using namespace nuvask;

namespace {

struct AboutBoxTest : ::testing::Test
{
    QList<QUrl> opened;
    bool openWorks = true;
    test::ModalScript script;
    AboutBox dlg;

    void SetUp() override
    {
        AboutBox::SetUrlOpener([this](const QUrl &url) {
            opened << url;
            return openWorks;
        });
        SetApplicationTitle(QStringLiteral("DORIVA SOUND ボリューム"));
    }
    void TearDown() override
    {
        AboutBox::SetUrlOpener({});
        MessageBoxWindow::SetTickIntervalMs(1000);
    }
    static QString label(AboutBoxWindow *box, const char *name) { return box->findChild<QLabel *>(name)->text(); }
    static void press(AboutBoxWindow *box, const char *button) { box->findChild<ColourButton *>(button)->Click(); }
    // The key goes where the keyboard sends it: the focused control.
    static QWidget *focused(AboutBoxWindow *box)
    {
        QWidget *w = QApplication::focusWidget();
        return w ? w : box;
    }
    static void key(AboutBoxWindow *box, Qt::Key k) { QTest::keyClick(focused(box), k); }
};

} // namespace

TEST_F(AboutBoxTest, LinesAndCaptionAndTheTwentyOneByteRule)
{
    QStringList seen;
    script.onAbout = [&](AboutBoxWindow *box) {
        seen << label(box, "ProductName") << label(box, "Version") << label(box, "Copyright") << label(box, "Comment0")
             << label(box, "Comment2") << box->windowTitle();
        press(box, "ColorBtn1");
    };
    dlg.SetProductName(QStringLiteral("ボリューム調整ソフト")); // 20 bytes
    dlg.SetVersion("0.7");
    dlg.SetCopyright("2026.10-2026.12");
    dlg.SetComment0("c0");
    dlg.SetTitle("T");
    EXPECT_TRUE(dlg.Execute());
    EXPECT_EQ(seen, QStringList({"ProductName ボリューム調整ソフト", "Version 0.7", "Copyright 2026.10-2026.12", "c0", "",
                                 "T バージョン情報"}));

    seen.clear();
    dlg.SetProductName(QStringLiteral("ボリューム調整ソフトA")); // 21 bytes
    dlg.SetTitle(QString());
    EXPECT_TRUE(dlg.Execute());
    EXPECT_EQ(seen.value(0), QStringLiteral("ボリューム調整ソフトA"));
    EXPECT_EQ(seen.value(5), QStringLiteral("DORIVA SOUND ボリューム バージョン情報"));
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(AboutBoxTest, FirstHomePageQuestionLeftAloneOpensTheFirstAddressAndCloses)
{
    MessageBoxWindow::SetTickIntervalMs(5); // the ten-second countdown in 50 ms
    script.answers = {-1};
    script.onAbout = [&](AboutBoxWindow *box) { press(box, "ColorBtn2"); };
    EXPECT_TRUE(dlg.Execute());
    EXPECT_EQ(opened, QList<QUrl>{QUrl(maker::HomePage1)});
    EXPECT_EQ(script.texts, QStringList{"ホームページ\n" + maker::HomePage1 + "\nへアクセスしますか？"});
}

TEST_F(AboutBoxTest, NoToTheFirstAddressAsksForTheSecondAndNoTwiceOpensNothing)
{
    script.answers = {7, 6, 7, 2};
    int presses = 0;
    script.onAbout = [&](AboutBoxWindow *box) {
        press(box, "ColorBtn2"); // No, Yes: the second address
        ++presses;
    };
    EXPECT_TRUE(dlg.Execute());
    EXPECT_EQ(opened, QList<QUrl>{QUrl(maker::HomePage2)});

    opened.clear();
    script.onAbout = [&](AboutBoxWindow *box) {
        press(box, "ColorBtn2"); // No, then closed through the title bar: nothing
        EXPECT_TRUE(box->isVisible());
        box->close();
    };
    EXPECT_FALSE(dlg.Execute());
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(presses, 1);
}

TEST_F(AboutBoxTest, AMailProgramThatDoesNotStartLeavesTheBoxOpenWithTheMessage)
{
    openWorks = false;
    script.answers = {1, 6, 1};
    script.onAbout = [&](AboutBoxWindow *box) {
        press(box, "ColorBtn3");
        EXPECT_TRUE(box->isVisible());
        press(box, "ColorBtn2"); // Yes to the first address, which fails as well
        EXPECT_TRUE(box->isVisible());
        press(box, "ColorBtn1");
    };
    EXPECT_TRUE(dlg.Execute());
    EXPECT_EQ(opened, QList<QUrl>({QUrl("mailto:" + maker::Mail), QUrl(maker::HomePage1)}));
    ASSERT_EQ(script.texts.size(), 3);
    EXPECT_EQ(script.texts[0], aboutText::NoMailer());
    EXPECT_EQ(script.texts[2], aboutText::NoBrowser());
}

TEST_F(AboutBoxTest, EscDoesNothingAndEnterInAFreshBoxClosesItWithoutTheHomePageQuestion)
{
    QString firstFocus;
    bool stayedAfterEsc = false;
    script.onAbout = [&](AboutBoxWindow *box) {
        firstFocus = focused(box)->objectName();
        key(box, Qt::Key_Escape);
        QTest::qWait(20);
        stayedAfterEsc = box->isVisible();
        key(box, Qt::Key_Return);
    };
    EXPECT_TRUE(dlg.Execute());
    EXPECT_EQ(firstFocus, QStringLiteral("ColorBtn1"));
    EXPECT_TRUE(stayedAfterEsc);
    EXPECT_TRUE(script.texts.isEmpty()); // no question was asked
    EXPECT_TRUE(opened.isEmpty());

    // Tabbed to "HOME PAGE", Enter presses it.
    script.answers = {7, 7};
    bool stayedAfterNo = false;
    script.onAbout = [&](AboutBoxWindow *box) {
        for (int i = 0; i < 3 && focused(box)->objectName() != QLatin1String("ColorBtn2"); ++i)
            key(box, Qt::Key_Tab);
        key(box, Qt::Key_Return);
        stayedAfterNo = box->isVisible();
        box->close();
    };
    EXPECT_FALSE(dlg.Execute());
    EXPECT_TRUE(stayedAfterNo);
    EXPECT_EQ(script.texts.size(), 2);
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(AboutBoxTest, MakerAddressesAreFictitious)
{
    for (const QString &address : {maker::HomePage1, maker::HomePage2, maker::HomePage3})
        EXPECT_TRUE(QUrl(address).host().endsWith("example.com")) << address.toStdString();
    EXPECT_TRUE(maker::Mail.endsWith("@example.com"));
}
