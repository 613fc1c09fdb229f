// The language chosen at start from the environment, the compiled-in English
// catalogue, the byte rules on the text as shown in each language, and the
// English help file's index.
#include "core/base/Cp932.h"
#include "core/base/TextHelpers.h"
#include "core/help/HelpIndex.h"
#include "core/help/VersionDisplay.h"
#include "core/setup/SetupTexts.h"
#include "core/startup/LanguageChoice.h"
#include "core/startup/ProgramEntry.h"
#include "support/EnglishTexts.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace nuvask;

namespace {

UiLanguage choose(QByteArray nuvask, QByteArray language, QByteArray lcAll, QByteArray lcMessages, QByteArray lang)
{
    return ChooseLanguage({nuvask, language, lcAll, lcMessages, lang});
}

QString readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

constexpr auto ja = UiLanguage::Japanese;
constexpr auto en = UiLanguage::English;

} // namespace

TEST(LanguageChoice, OverrideThenTheFirstSetLocaleVariableStartingWithJa)
{
    // NUVASK_LANG decides; a value other than ja/en is ignored.
    EXPECT_EQ(choose("en", "ja", "ja_JP.UTF-8", "ja_JP.UTF-8", "ja_JP.UTF-8"), en);
    EXPECT_EQ(choose("ja", "", "C", "", "en_US.UTF-8"), ja);
    EXPECT_EQ(choose("de", "", "", "", "ja_JP.UTF-8"), ja);
    EXPECT_EQ(choose("", "", "", "", "ja_JP.UTF-8"), ja);
    EXPECT_EQ(choose("", "", "", "", "ja_JP.eucJP"), ja);
    EXPECT_EQ(choose("", "", "", "", "en_GB.UTF-8"), en);
    // LANGUAGE's first entry, then LC_ALL, then LC_MESSAGES, then LANG.
    EXPECT_EQ(choose("", "ja:en", "C", "C", "C"), ja);
    EXPECT_EQ(choose("", "en:ja", "ja_JP.UTF-8", "", "ja_JP.UTF-8"), en);
    EXPECT_EQ(choose("", "", "C", "ja_JP.UTF-8", "ja_JP.UTF-8"), en);
    EXPECT_EQ(choose("", "", "ja_JP.UTF-8", "C", "en_US.UTF-8"), ja);
    EXPECT_EQ(choose("", "", "", "en_US.UTF-8", "ja_JP.UTF-8"), en);
    EXPECT_EQ(choose("", "", "", "ja_JP.UTF-8", "en_US.UTF-8"), ja);
    // The C and POSIX locales and nothing at all: English.
    EXPECT_EQ(choose("", "", "", "", "C"), en);
    EXPECT_EQ(choose("", "", "", "", "POSIX"), en);
    EXPECT_EQ(choose("", "", "", "", "C.UTF-8"), en);
    EXPECT_EQ(choose("", "", "", "", ""), en);

    EXPECT_EQ(HelpFileName("NUVASK", ja), "NUVASK.HLP");
    EXPECT_EQ(HelpFileName("NUVASK", en), "NUVASK_EN.HLP");
}

TEST(LanguageChoice, EnglishCatalogueAnswersAndGoesAgainWithTheSourceTextsUnchanged)
{
    const QString japaneseTitle = ShownTitle(MakeStartValues("/x/nuvask", '/').ProgramTitle);
    ASSERT_EQ(japaneseTitle, QStringLiteral("DORIVA SOUND ボリューム"));
    {
        test::EnglishTexts english;
        ASSERT_TRUE(english.loaded());
        EXPECT_EQ(CurrentLanguage(), en);
        EXPECT_EQ(ShownTitle(japaneseTitle), "DORIVA SOUND Volume");
        EXPECT_EQ(setupText::Done().arg("G"), "Installation complete.\n\n[ G ]\nThe icon is in this menu group.\nThank you!");
        // A title the catalogue does not know is shown as it is.
        EXPECT_EQ(ShownTitle("Other"), "Other");
    }
    EXPECT_EQ(CurrentLanguage(), ja);
    EXPECT_EQ(ShownTitle(japaneseTitle), japaneseTitle);
    EXPECT_EQ(setupText::Cancelled().toUtf8(), QByteArray("登録を中止します。"));
}

// The about box's 21-byte rule and the tray tip's 63 bytes count the title as
// shown: the Japanese title takes 23 code-page bytes (no prefix), the English
// one 19 (prefix). Neither cut ever leaves half a character.
TEST(LanguageChoice, ByteRulesCountTheShownTextInEitherLanguage)
{
    const QString title = MakeStartValues("/x/nuvask", '/').ProgramTitle;
    EXPECT_EQ(Cp932::byteLength(title), 23);
    EXPECT_EQ(ProductNameLine(ShownTitle(title)), title);
    EXPECT_EQ(TruncateDbcs(ShownTitle(title), 63), title);
    // 22 bytes: the last one would be the first half of ム.
    EXPECT_EQ(TruncateDbcs(ShownTitle(title), 22), QStringLiteral("DORIVA SOUND ボリュー"));

    test::EnglishTexts english;
    ASSERT_TRUE(english.loaded());
    EXPECT_EQ(ProductNameLine(ShownTitle(title)), "ProductName DORIVA SOUND Volume");
    EXPECT_EQ(TruncateDbcs(ShownTitle(title), 63), "DORIVA SOUND Volume");
    EXPECT_EQ(TruncateDbcs(ShownTitle(title), 16), "DORIVA SOUND Vol");
}

// The help window finds its contents and keywords in the English file the same
// way: every topic of the Japanese file, each with a title, and keywords that
// lead to topics that exist.
TEST(LanguageChoice, EnglishHelpFileHasEveryTopicAndWorkingKeywords)
{
    const HelpIndex japanese = HelpIndex::Parse(readFile(QStringLiteral(NUVASK_SOURCE_DIR) + "/data/NUVASK.HLP"));
    const HelpIndex english = HelpIndex::Parse(readFile(QStringLiteral(NUVASK_SOURCE_DIR) + "/data/NUVASK_EN.HLP"));
    QStringList japaneseIds, englishIds;
    for (const HelpTopic &t : japanese.Topics())
        japaneseIds << t.id;
    for (const HelpTopic &t : english.Topics()) {
        englishIds << t.id;
        EXPECT_FALSE(english.TitleOf(t.id).isEmpty()) << t.id.toStdString();
    }
    ASSERT_FALSE(japaneseIds.isEmpty());
    japaneseIds.sort();
    englishIds.sort();
    EXPECT_EQ(englishIds, japaneseIds);
    ASSERT_FALSE(english.Keywords().isEmpty());
    for (const QString &keyword : english.Keywords()) {
        for (const QString &id : english.TopicsFor(keyword))
            EXPECT_TRUE(englishIds.contains(id)) << keyword.toStdString() << " -> " << id.toStdString();
    }
    EXPECT_FALSE(english.Match("guard").isEmpty());
}
