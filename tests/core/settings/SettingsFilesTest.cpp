#include "core/settings/SettingsFileDocument.h"
#include "platform/linux/SettingsFileStore.h"
#include "support/FileSizeLimit.h"
#include "support/TempXdg.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

using namespace nuvask;

namespace {

using test::ReadFile;
using test::WriteFile;

} // namespace

TEST(SettingsFileDocument, StringsSurviveCommasQuotesBackslashesAndLineBreaks)
{
    SettingsFileDocument doc;
    const QString tricky = QString::fromUtf8(" 10,20 \"q\" C:\\ソ\\\nnext\ttab ");
    doc.writeString("Software\\KELDO SOFT32\\NUVASK", "FP", "10,20");
    doc.writeString("Software\\KELDO SOFT32\\NUVASK", "odd", tricky);
    const SettingsFileDocument back = SettingsFileDocument::parse(doc.serialize());
    EXPECT_EQ(back.readString("software\\keldo soft32\\nuvask", "fp"), QString("10,20"));
    EXPECT_EQ(back.readString("Software\\KELDO SOFT32\\NUVASK", "odd"), tricky);
}

TEST(SettingsFileDocument, HandWrittenFileKeepsWhatItDoesNotUnderstand)
{
    const QByteArray text =
        "Windows Registry Editor Version 5.00\r\n"
        "; a comment of the user\r\n"
        "\r\n"
        "[Software\\KELDO SOFT32\\NUVASK]\r\n"
        "\"FP\"=\"10,20\"\r\n"
        "\"V_Panel\"=dword:00000001\r\n"
        "garbage line\r\n"
        "@=\"default\"\r\n";
    SettingsFileDocument doc = SettingsFileDocument::parse(text);
    EXPECT_EQ(doc.readString("Software\\KELDO SOFT32\\NUVASK", "FP"), QString("10,20"));
    EXPECT_FALSE(doc.readString("Software\\KELDO SOFT32\\NUVASK", "V_Panel").has_value()); // not a string
    EXPECT_EQ(doc.readString("Software\\KELDO SOFT32\\NUVASK", ""), QString("default"));
    doc.writeString("Software\\KELDO SOFT32\\NUVASK", "MostTOP", "0");
    const QByteArray out = doc.serialize();
    EXPECT_TRUE(out.contains("; a comment of the user"));
    EXPECT_TRUE(out.contains("\"V_Panel\"=dword:00000001"));
    EXPECT_TRUE(out.contains("garbage line"));
    EXPECT_TRUE(out.contains("\"MostTOP\"=\"0\""));
}

TEST(SettingsFileDocument, CrLfFileComesBackWithOneLineEndingThroughout)
{
    const QByteArray text =
        "Windows Registry Editor Version 5.00\r\n"
        "; before any key\r\n"
        "\r\n"
        "[Software\\KELDO SOFT32\\NUVASK]\r\n"
        "; a comment of the user\r\n"
        "\"FP\"=\"10,20\"\r\n"
        "garbage line\r\n";
    SettingsFileDocument doc = SettingsFileDocument::parse(text);
    doc.writeString("Software\\KELDO SOFT32\\NUVASK", "MostTOP", "0");
    const QByteArray out = doc.serialize();
    ASSERT_TRUE(out.contains("garbage line"));
    // Either every line ends in CR LF or none does: no CR is left behind on a
    // kept line while the program's own lines end in LF alone.
    const qsizetype lf = out.count('\n');
    const qsizetype crlf = out.count("\r\n");
    EXPECT_TRUE(crlf == 0 || crlf == lf) << out.toStdString();
    EXPECT_EQ(out.count('\r'), crlf) << "a CR that does not end a line";
    EXPECT_EQ(SettingsFileDocument::parse(out).serialize(), out); // stable on the next round
}

TEST(SettingsFileDocument, ValueNamesDifferingOnlyInCaseAreOneValue)
{
    const SettingsFileDocument doc = SettingsFileDocument::parse("[K]\n\"a\"=\"1\"\n\"A\"=\"2\"\n");
    EXPECT_EQ(doc.readString("K", "a"), QString("2"));
    EXPECT_EQ(doc.valueNames("K").size(), 1);
    EXPECT_EQ(SettingsFileDocument::parse(doc.serialize()).readString("K", "A"), QString("2"));
}

TEST(SettingsFileDocument, KeyTreeOperations)
{
    SettingsFileDocument doc;
    doc.writeString("A\\B\\C", "x", "1");
    doc.writeString("A\\B2", "y", "2");
    doc.createKey("A\\B\\D");
    EXPECT_TRUE(doc.hasKey("A"));          // implied by its sub-keys
    EXPECT_TRUE(doc.hasKey("a\\b\\"));
    EXPECT_FALSE(doc.hasKey("A\\B\\C\\E"));
    EXPECT_FALSE(doc.hasKey("A\\B2x"));
    EXPECT_EQ(doc.subKeys("A"), QStringList({"B", "B2"}));
    EXPECT_EQ(doc.subKeys("A\\B"), QStringList({"C", "D"}));
    EXPECT_EQ(doc.valueNames("A\\B\\C"), QStringList({"x"}));
    doc.deleteKeyTree("A\\B");
    EXPECT_FALSE(doc.hasKey("A\\B\\C"));
    EXPECT_TRUE(doc.hasKey("A\\B2"));      // a sibling with a common prefix stays
    EXPECT_TRUE(doc.deleteValue("A\\B2", "Y"));
    EXPECT_FALSE(doc.deleteValue("A\\B2", "Y"));
}

TEST(SettingsFileStore, OpenWithAndWithoutCreation)
{
    test::TempXdg xdg;
    SettingsFileStore reg;
    EXPECT_EQ(reg.open(SettingsRoot::CurrentUser, "Software\\X", false), nullptr);
    auto key = reg.open(SettingsRoot::CurrentUser, "Software\\X", true);
    ASSERT_NE(key, nullptr);
    EXPECT_TRUE(key->writeString("a", "b"));
    EXPECT_EQ(key->readString("missing"), QString());
    EXPECT_FALSE(key->readStringIfPresent("missing").has_value());
    EXPECT_EQ(reg.open(SettingsRoot::CurrentUser, "software\\x", false)->readString("A"), QString("b"));
    // Roots are separate files.
    EXPECT_EQ(reg.open(SettingsRoot::LocalMachine, "Software\\X", false), nullptr);
    EXPECT_TRUE(QFile::exists(xdg.configHome() + "/nuvask/registry/HKEY_CURRENT_USER.reg"));
    EXPECT_TRUE(reg.deleteKeyTree(SettingsRoot::CurrentUser, "Software"));
    EXPECT_FALSE(reg.keyExists(SettingsRoot::CurrentUser, "Software\\X"));
}

TEST(SettingsFileStore, ManyValuesWrittenAsOneChange)
{
    test::TempXdg xdg;
    SettingsFileStore reg;
    const QString file = reg.fileFor(SettingsRoot::CurrentUser);
    // A hand-edited file: a value of another type, an existing value in
    // another letter case, and another key.
    WriteFile(file, "Windows Registry Editor Version 5.00\n\n[Software\\A]\n\"Keep\"=dword:00000001\n"
                    "\"fp\"=\"1,1\"\n\n[Software\\B]\n\"x\"=\"y\"\n");
    ASSERT_TRUE(reg.writeStrings(SettingsRoot::CurrentUser, "software\\a",
                                 {{"FP", "10,20"}, {"New", "a\"b,c"}, {"Last", ""}}));
    auto a = reg.open(SettingsRoot::CurrentUser, "Software\\A", false);
    ASSERT_NE(a, nullptr);
    // The rewritten value keeps its place; its name is spelt as written now.
    EXPECT_EQ(a->valueNames().join(',').toLower(), QString("keep,fp,new,last"));
    EXPECT_EQ(a->readString("FP"), QString("10,20"));
    EXPECT_EQ(a->readString("New"), QString("a\"b,c"));
    EXPECT_TRUE(a->readStringIfPresent("Last").has_value());
    EXPECT_TRUE(ReadFile(file).contains("\"Keep\"=dword:00000001"));
    EXPECT_EQ(reg.open(SettingsRoot::CurrentUser, "Software\\B", false)->readString("x"), QString("y"));

    // A key that does not exist yet is created with the values.
    ASSERT_TRUE(reg.writeStrings(SettingsRoot::CurrentUser, "Software\\C\\D", {{"v", "1"}}));
    EXPECT_EQ(reg.open(SettingsRoot::CurrentUser, "Software\\C\\D", false)->readString("v"), QString("1"));
}

TEST(SettingsFileStore, UnwritableStoreReportsFailure)
{
    test::TempXdg xdg;
    // A file where the registry folder should be: nothing can be created.
    WriteFile(xdg.configHome() + "/nuvask", "not a folder");
    SettingsFileStore reg;
    EXPECT_EQ(reg.open(SettingsRoot::CurrentUser, "Software\\X", true), nullptr);
    EXPECT_FALSE(reg.writeString(SettingsRoot::CurrentUser, "Software\\X", "a", "b"));
}

TEST(SettingsFileStore, AWriteCutShortByAFullDiskKeepsTheOldFile)
{
    test::TempXdg xdg;
    SettingsFileStore reg;
    ASSERT_TRUE(reg.writeString(SettingsRoot::CurrentUser, "Software\\X", "a", "old"));
    const QByteArray before = ReadFile(reg.fileFor(SettingsRoot::CurrentUser));
    {
        // Room for the lock file, not for the grown file.
        test::FileSizeLimit disk(512); // bytes
        ASSERT_TRUE(disk.active());
        EXPECT_FALSE(reg.writeString(SettingsRoot::CurrentUser, "Software\\X", "b", QString(2000, QLatin1Char('b'))));
    }
    EXPECT_EQ(ReadFile(reg.fileFor(SettingsRoot::CurrentUser)), before);
    EXPECT_EQ(reg.readString(SettingsRoot::CurrentUser, "Software\\X", "a"), QString("old"));
}

TEST(SettingsFileStore, TwoProcessesWritingAtOnceLoseNothing)
{
    test::TempXdg xdg;
    SettingsFileStore reg;
    const QString file = reg.fileFor(SettingsRoot::CurrentUser);
    // Each child writes 40 values of its own through the same locked path.
    constexpr int kEach = 40;
    QList<QProcess *> children;
    for (int c = 0; c < 2; ++c) {
        auto *p = new QProcess;
        p->setProgram(QStringLiteral(NUVASK_SETTINGS_WRITER));
        p->setArguments({QString::number(c), QString::number(kEach)});
        p->start();
        children << p;
    }
    for (QProcess *p : children) {
        ASSERT_TRUE(p->waitForFinished(60000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().constData();
        delete p;
    }
    const SettingsFileDocument doc = SettingsFileDocument::parse(ReadFile(file));
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < kEach; ++i)
            EXPECT_EQ(doc.readString("Software\\Race", QString("w%1_%2").arg(c).arg(i)), QString::number(i));
}

namespace {

// A file as another program or a person leaves it: a code-page-932 value and
// key, a comment with stray bytes, CR LF endings, a lone CR inside a line, a
// hex value continued over lines, a repeated name, and no line ending at the
// very end.
const QByteArray kForeignSettingsFile =
    "Windows Registry Editor Version 5.00\r\n"
    "\r\n"
    "[Software\\Other \x83\x5c\x83\x74\x83\x67]\r\n"
    "\"Group\"=\"\x83\x5c\x83\x74\x83\x67\"\r\n"
    "; \xff\xfe stray bytes\r\n"
    "\"Blob\"=hex:00,01,\\\r\n"
    "  02,03\r\n"
    "\"odd\"=\"a\rb\"\r\n"
    "\r\n"
    "[Software\\KELDO SOFT32\\NUVASK]\r\n"
    "\"FP\"=\"1,2\"\r\n"
    "\"fp\"=\"3,4\"\r\n"
    "\"Version\"=\"23\"";

} // namespace

TEST(SettingsFileDocument, ForeignBytesSurviveTheProgramsWritesExactly)
{
    SettingsFileDocument doc = SettingsFileDocument::parse(kForeignSettingsFile);
    EXPECT_EQ(doc.serialize(), kForeignSettingsFile);
    // Code page 932 reads as the text it is.
    EXPECT_EQ(doc.readString(QString::fromUtf8("Software\\Other ソフト"), "Group"), QString::fromUtf8("ソフト"));
    EXPECT_EQ(doc.readString("Software\\KELDO SOFT32\\NUVASK", "FP"), QString("3,4")); // the last line counts

    // The last line of a name is the one rewritten; a new value goes to the
    // end of its key and the unterminated last line gets the file's ending.
    EXPECT_TRUE(doc.writeString("Software\\KELDO SOFT32\\NUVASK", "FP", "10,20"));
    EXPECT_TRUE(doc.writeString("Software\\KELDO SOFT32\\NUVASK", "MostTOP", "0"));
    QByteArray expected = kForeignSettingsFile;
    expected.replace("\"fp\"=\"3,4\"", "\"FP\"=\"10,20\"");
    expected += "\r\n\"MostTOP\"=\"0\"\r\n";
    EXPECT_EQ(doc.serialize(), expected);

    // Writing what is there already changes nothing at all.
    EXPECT_FALSE(doc.writeString("Software\\KELDO SOFT32\\NUVASK", "MostTOP", "0"));
    EXPECT_EQ(doc.serialize(), expected);

    // A value spread over lines is replaced or removed as a whole; its
    // neighbours keep their bytes.
    const QString other = QString::fromUtf8("Software\\Other ソフト");
    EXPECT_TRUE(doc.writeString(other, "Blob", QString::fromUtf8("ü")));
    EXPECT_TRUE(doc.deleteValue(other, "odd"));
    QByteArray after = expected;
    after.replace("\"Blob\"=hex:00,01,\\\r\n  02,03\r\n", "\"Blob\"=\"\xc3\xbc\"\r\n");
    after.replace("\"odd\"=\"a\rb\"\r\n", "");
    EXPECT_EQ(doc.serialize(), after);
    // Every line of a repeated name goes, so no older one comes back.
    EXPECT_TRUE(doc.deleteValue("Software\\KELDO SOFT32\\NUVASK", "fp"));
    EXPECT_FALSE(doc.readString("Software\\KELDO SOFT32\\NUVASK", "FP").has_value());
    EXPECT_FALSE(doc.serialize().contains("\"FP\"="));
}

TEST(SettingsFileDocument, NewKeysFollowTheFileAndDeletedKeysTakeOnlyTheirLines)
{
    SettingsFileDocument doc = SettingsFileDocument::parse("; only a comment, no ending");
    doc.writeString("A\\B", "x", "1");
    EXPECT_EQ(doc.serialize(), QByteArray("; only a comment, no ending\n\n[A\\B]\n\"x\"=\"1\"\n"));

    SettingsFileDocument fresh;
    fresh.writeString("K", "v", "1");
    EXPECT_EQ(fresh.serialize(), QByteArray("Windows Registry Editor Version 5.00\n\n[K]\n\"v\"=\"1\"\n"));
    EXPECT_FALSE(fresh.writeString("", "v", "1")); // nothing lives directly under the root

    SettingsFileDocument tree = SettingsFileDocument::parse("[A]\n; a\n[A\\B]\n; b\n[A]\n\"late\"=\"1\"\n[AB]\n; ab\n");
    EXPECT_TRUE(tree.deleteKeyTree("a"));
    EXPECT_EQ(tree.serialize(), QByteArray("[AB]\n; ab\n"));
    EXPECT_FALSE(tree.deleteKeyTree("A"));
}

TEST(SettingsFileStore, FileTooLargeToReadWholeIsNeverRewritten)
{
    test::TempXdg xdg;
    SettingsFileStore reg;
    const QString file = reg.fileFor(SettingsRoot::CurrentUser);
    // The program's key first, another product's key past the limit.
    QByteArray bytes = "[Software\\KELDO SOFT32\\NUVASK]\n\"Version\"=\"23\"\n; ";
    bytes += QByteArray(SettingsFileStore::kMaxSettingsFileBytes, 'x');
    bytes += "\n[Software\\Other]\n\"Key\"=\"kept\"\n";
    WriteFile(file, bytes);

    EXPECT_EQ(reg.problem(SettingsRoot::CurrentUser), SettingsFileStore::Problem::TooLarge);
    EXPECT_EQ(reg.open(SettingsRoot::CurrentUser, "Software\\KELDO SOFT32\\NUVASK", false)->readString("Version"),
              QString("23"));
    EXPECT_FALSE(reg.writeString(SettingsRoot::CurrentUser, "Software\\KELDO SOFT32\\NUVASK", "FP", "1,2"));
    EXPECT_FALSE(reg.deleteKeyTree(SettingsRoot::CurrentUser, "Software"));
    EXPECT_FALSE(reg.deleteValue(SettingsRoot::CurrentUser, "Software\\KELDO SOFT32\\NUVASK", "Version"));
    EXPECT_TRUE(ReadFile(file) == bytes);
    // The other roots are not affected.
    EXPECT_EQ(reg.problem(SettingsRoot::LocalMachine), SettingsFileStore::Problem::None);
    EXPECT_TRUE(reg.writeString(SettingsRoot::LocalMachine, "Software\\X", "a", "b"));

    // A file that cannot be read at all is not written either.
    QFile::remove(file);
    QDir().mkpath(file);
    EXPECT_EQ(reg.problem(SettingsRoot::CurrentUser), SettingsFileStore::Problem::Unreadable);
    EXPECT_FALSE(reg.writeString(SettingsRoot::CurrentUser, "Software\\X", "a", "b"));
    EXPECT_TRUE(QFileInfo(file).isDir());
}

TEST(SettingsFileStore, FileOfExactlyTheLimitIsReadWholeAndWrittenOneByteMoreIsNot)
{
    test::TempXdg xdg;
    SettingsFileStore reg;
    const QString file = reg.fileFor(SettingsRoot::CurrentUser);
    const QString key = "Software\\KELDO SOFT32\\NUVASK";
    const QByteArray head = "[Software\\KELDO SOFT32\\NUVASK]\n; ";
    const QByteArray tail = "\n\"Last\"=\"read\"\n";
    QByteArray bytes = head + QByteArray(SettingsFileStore::kMaxSettingsFileBytes - head.size() - tail.size(), 'x') + tail;
    ASSERT_EQ(bytes.size(), SettingsFileStore::kMaxSettingsFileBytes);
    WriteFile(file, bytes);
    EXPECT_EQ(reg.problem(SettingsRoot::CurrentUser), SettingsFileStore::Problem::None);
    EXPECT_EQ(reg.readString(SettingsRoot::CurrentUser, key, "Last"), QString("read"));
    EXPECT_TRUE(reg.writeString(SettingsRoot::CurrentUser, key, "Last", "kept"));
    EXPECT_TRUE(ReadFile(file).endsWith("\"Last\"=\"kept\"\n"));

    bytes.insert(head.size(), 'x');
    WriteFile(file, bytes);
    EXPECT_EQ(reg.problem(SettingsRoot::CurrentUser), SettingsFileStore::Problem::TooLarge);
    EXPECT_FALSE(reg.writeString(SettingsRoot::CurrentUser, key, "Last", "lost"));
    EXPECT_TRUE(ReadFile(file) == bytes);
}

TEST(SettingsFileStore, ParsesOncePerChangeOnDiskAndSeesOtherWriters)
{
    test::TempXdg xdg;
    SettingsFileStore reg;
    const QString key = "Software\\KELDO SOFT32\\NUVASK";
    WriteFile(reg.fileFor(SettingsRoot::CurrentUser), "[Software\\KELDO SOFT32\\NUVASK]\n\"V_CUT\"=\"100\"\n");
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(reg.readString(SettingsRoot::CurrentUser, key, "V_CUT"), QString("100"));
    EXPECT_EQ(reg.parseCount(), 1);
    // Its own write needs no new parse.
    EXPECT_TRUE(reg.writeString(SettingsRoot::CurrentUser, key, "V_CUT", "200"));
    EXPECT_EQ(reg.readString(SettingsRoot::CurrentUser, key, "V_CUT"), QString("200"));
    EXPECT_EQ(reg.parseCount(), 1);

    // Another copy of the program replaces the file; a person appends to it.
    SettingsFileStore other;
    EXPECT_TRUE(other.writeString(SettingsRoot::CurrentUser, key, "V_CUT", "300"));
    EXPECT_EQ(reg.readString(SettingsRoot::CurrentUser, key, "V_CUT"), QString("300"));
    {
        QFile f(reg.fileFor(SettingsRoot::CurrentUser));
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write("\"V_CUT\"=\"400\"\n");
    }
    EXPECT_EQ(reg.readString(SettingsRoot::CurrentUser, key, "V_CUT"), QString("400"));
    EXPECT_EQ(reg.parseCount(), 3);
    // A write after the outside change builds on it, not on the cached copy.
    EXPECT_TRUE(reg.writeString(SettingsRoot::CurrentUser, key, "RL_WAIT", "2"));
    EXPECT_EQ(other.readString(SettingsRoot::CurrentUser, key, "V_CUT"), QString("400"));
    EXPECT_EQ(other.readString(SettingsRoot::CurrentUser, key, "RL_WAIT"), QString("2"));
}

TEST(SettingsFileDocument, ValueAddedAfterAnOpenContinuationAtTheEndReadsBack)
{
    // The last line promises a continuation that never came; a line added
    // after it must not become part of that value.
    for (const QByteArray &text : {QByteArray("[K]\n\"Blob\"=hex:00,\\"), QByteArray("[K]\r\n\"Blob\"=hex:00,\\\r\n")}) {
        SettingsFileDocument doc = SettingsFileDocument::parse(text);
        doc.writeString("K", "new", "1");
        doc.writeString("L", "other", "2");
        const SettingsFileDocument back = SettingsFileDocument::parse(doc.serialize());
        EXPECT_EQ(back.readString("K", "new"), QString("1")) << doc.serialize().toStdString();
        EXPECT_EQ(back.readString("L", "other"), QString("2"));
        EXPECT_TRUE(doc.serialize().startsWith(text));
        EXPECT_EQ(back.serialize(), doc.serialize());
    }
}

TEST(SettingsFileStore, AFileLeftWithNothingButItsHeaderGoesAndNothingIsMadeForADeletion)
{
    test::TempXdg xdg;
    SettingsFileStore reg;
    const QString file = reg.fileFor(SettingsRoot::LocalMachine);
    // Deleting from a store that is not there makes no folder.
    EXPECT_TRUE(reg.deleteKeyTree(SettingsRoot::LocalMachine, "Software\\X"));
    EXPECT_FALSE(reg.deleteValue(SettingsRoot::LocalMachine, "Software\\X", "v"));
    EXPECT_FALSE(QFileInfo::exists(xdg.configHome() + "/nuvask"));

    ASSERT_TRUE(reg.writeStrings(SettingsRoot::LocalMachine, "Software\\X", {{"a", "1"}, {"b", "2"}}));
    ASSERT_TRUE(reg.deleteValue(SettingsRoot::LocalMachine, "Software\\X", "a"));
    EXPECT_TRUE(QFileInfo::exists(file));
    ASSERT_TRUE(reg.deleteKeyTree(SettingsRoot::LocalMachine, "Software"));
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_FALSE(QFileInfo::exists(file + ".lock"));
    EXPECT_FALSE(reg.keyExists(SettingsRoot::LocalMachine, "Software\\X"));
    ASSERT_TRUE(reg.writeString(SettingsRoot::LocalMachine, "Software\\Y", "c", "3")); // a new file afterwards
    EXPECT_EQ(reg.readString(SettingsRoot::LocalMachine, "Software\\Y", "c"), QString("3"));

    // A byte order mark and blank lines are nothing either; a comment is someone's.
    WriteFile(file, "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n[Software\\Y]\r\n\"c\"=\"3\"\r\n\r\n");
    ASSERT_TRUE(reg.deleteKeyTree(SettingsRoot::LocalMachine, "Software\\Y"));
    EXPECT_FALSE(QFileInfo::exists(file));
    WriteFile(file, "Windows Registry Editor Version 5.00\n; kept by hand\n\n[Software\\Y]\n\"c\"=\"3\"\n");
    ASSERT_TRUE(reg.deleteKeyTree(SettingsRoot::LocalMachine, "Software\\Y"));
    EXPECT_EQ(ReadFile(file), QByteArray("Windows Registry Editor Version 5.00\n; kept by hand\n\n"));
}
