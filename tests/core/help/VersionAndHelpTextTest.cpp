// Texts the version display and the help viewer compose: the stored version,
// the product line's byte rule, and the shipped help file's contents and
// keyword index.
#include "core/base/Cp932.h"
#include "core/help/HelpIndex.h"
#include "core/help/VersionDisplay.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace nuvask;

TEST(StoredVersionText, TensDotUnitsAndQuestionMarksForAnythingElse)
{
    EXPECT_EQ(StoredVersionText("23"), "2.3");
    EXPECT_EQ(StoredVersionText("7"), "0.7");
    EXPECT_EQ(StoredVersionText("123"), "12.3");
    EXPECT_EQ(StoredVersionText("0"), "0.0");
    EXPECT_EQ(StoredVersionText("254"), "25.4");
    for (const char *none : {"", "255", "abc", "2.3", " 23", "0x17", "-5", "99999999999999"})
        EXPECT_EQ(StoredVersionText(none), "?.?") << none;
}

TEST(ProductNameLine, PrefixBelowTwentyOneCodePageBytes)
{
    const QString twenty = QStringLiteral("ボリューム調整ソフト"); // 10 double-byte characters
    ASSERT_EQ(Cp932::byteLength(twenty), 20);
    EXPECT_EQ(ProductNameLine(twenty), "ProductName " + twenty);
    EXPECT_EQ(ProductNameLine(twenty + "!"), twenty + "!");
    // Half-width katakana take one byte each in code page 932 (three in UTF-8).
    const QString halfWidth = QString(20, QChar(0xFF71));
    EXPECT_EQ(ProductNameLine(halfWidth), "ProductName " + halfWidth);
    EXPECT_EQ(ProductNameLine(halfWidth + QChar(0xFF71)), halfWidth + QChar(0xFF71));
    // The program's own title is 23 bytes: shown alone.
    EXPECT_EQ(ProductNameLine(QStringLiteral("DORIVA SOUND ボリューム")), QStringLiteral("DORIVA SOUND ボリューム"));
    EXPECT_EQ(ProductNameLine(QString()), "ProductName ");
}

namespace {
QString shippedHelp()
{
    QFile f(QStringLiteral(NUVASK_SOURCE_DIR) + "/data/NUVASK.HLP");
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}
} // namespace

TEST(HelpIndex, ShippedHelpHasContentsKeywordsAndNoDeadLinks)
{
    const QString html = shippedHelp();
    ASSERT_FALSE(html.isEmpty());
    const HelpIndex index = HelpIndex::Parse(html);
    QStringList ids;
    for (const HelpTopic &t : index.Topics()) {
        EXPECT_FALSE(t.title.isEmpty());
        EXPECT_FALSE(ids.contains(t.id)) << "duplicate id " << t.id.toStdString();
        ids << t.id;
    }
    EXPECT_TRUE(ids.contains("helponhelp"));
    // Every topic can be found by a keyword, and every link inside leads to a topic.
    for (const QString &id : ids) {
        bool found = false;
        for (const QString &k : index.Keywords())
            found = found || index.TopicsFor(k).contains(id);
        EXPECT_TRUE(found) << id.toStdString();
    }
    static const QRegularExpression link(QStringLiteral("href=\"#([^\"]+)\""));
    for (auto it = link.globalMatch(html); it.hasNext();)
        EXPECT_TRUE(ids.contains(it.next().captured(1)));
    // Every control name a user can read on screen that the help promises.
    for (const char *word : {"MostTOP", "Mute", "Tray", "Auto", "HOME PAGE", "ﾊﾞｰｼﾞｮﾝ番号削除", "登録ボリューム"})
        EXPECT_TRUE(html.contains(QString::fromUtf8(word))) << word;
}

TEST(HelpIndex, MatchListsPrefixesFirstThenContainingWordsAndIgnoresCase)
{
    const HelpIndex index = HelpIndex::Parse(QStringLiteral(
        "<h1 id=\"a\">A</h1><!-- keywords: mute; Auto; 自動録音ボリューム -->"
        "<h2 class=\"x\" id=\"b\"><b>B</b> topic</h2><!-- keywords: ボリューム; auto;  ; Mute -->"));
    EXPECT_EQ(index.Topics().size(), 2);
    EXPECT_EQ(index.TitleOf("b"), "B topic");
    EXPECT_EQ(index.Topics()[1].level, 2);
    EXPECT_EQ(index.Match("ボリューム"), QStringList({"ボリューム", "自動録音ボリューム"}));
    EXPECT_EQ(index.TopicsFor("Mute"), QStringList{"b"});
    EXPECT_EQ(index.TopicsFor("mute"), QStringList{"a"});
    EXPECT_TRUE(index.Match("MUTE").contains("Mute"));
    EXPECT_TRUE(index.Match("MUTE").contains("mute"));
    EXPECT_FALSE(index.Keywords().contains(""));
    // Keywords before the first heading belong to nothing.
    EXPECT_TRUE(HelpIndex::Parse("<!-- keywords: x --><h1 id=\"t\">T</h1>").Keywords().isEmpty());
}
