#include "core/HiveDocument.h"
#include "platform/linux/HiveFileRegistry.h"
#include "support/TempXdg.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

using namespace nuvask;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(HiveDocument, StringsSurviveCommasQuotesBackslashesAndLineBreaks)
{
    HiveDocument doc;
    const QString tricky = QString::fromUtf8(" 10,20 \"q\" C:\\ソ\\\nnext\ttab ");
    doc.writeString("Software\\KELDO SOFT32\\NUVASK", "FP", "10,20");
    doc.writeString("Software\\KELDO SOFT32\\NUVASK", "odd", tricky);
    const HiveDocument back = HiveDocument::parse(doc.serialize());
    EXPECT_EQ(back.readString("software\\keldo soft32\\nuvask", "fp"), QString("10,20"));
    EXPECT_EQ(back.readString("Software\\KELDO SOFT32\\NUVASK", "odd"), tricky);
}

TEST(HiveDocument, HandWrittenFileKeepsWhatItDoesNotUnderstand)
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
    HiveDocument doc = HiveDocument::parse(text);
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

TEST(HiveDocument, CrLfFileComesBackWithOneLineEndingThroughout)
{
    const QByteArray text =
        "Windows Registry Editor Version 5.00\r\n"
        "; before any key\r\n"
        "\r\n"
        "[Software\\KELDO SOFT32\\NUVASK]\r\n"
        "; a comment of the user\r\n"
        "\"FP\"=\"10,20\"\r\n"
        "garbage line\r\n";
    HiveDocument doc = HiveDocument::parse(text);
    doc.writeString("Software\\KELDO SOFT32\\NUVASK", "MostTOP", "0");
    const QByteArray out = doc.serialize();
    ASSERT_TRUE(out.contains("garbage line"));
    // Either every line ends in CR LF or none does: no CR is left behind on a
    // kept line while the program's own lines end in LF alone.
    const qsizetype lf = out.count('\n');
    const qsizetype crlf = out.count("\r\n");
    EXPECT_TRUE(crlf == 0 || crlf == lf) << out.toStdString();
    EXPECT_EQ(out.count('\r'), crlf) << "a CR that does not end a line";
    EXPECT_EQ(HiveDocument::parse(out).serialize(), out); // stable on the next round
}

TEST(HiveDocument, ValueNamesDifferingOnlyInCaseAreOneValue)
{
    const HiveDocument doc = HiveDocument::parse("[K]\n\"a\"=\"1\"\n\"A\"=\"2\"\n");
    EXPECT_EQ(doc.readString("K", "a"), QString("2"));
    EXPECT_EQ(doc.valueNames("K").size(), 1);
    EXPECT_EQ(HiveDocument::parse(doc.serialize()).readString("K", "A"), QString("2"));
}

TEST(HiveDocument, KeyTreeOperations)
{
    HiveDocument doc;
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

TEST(HiveFileRegistry, OpenWithAndWithoutCreation)
{
    test::TempXdg xdg;
    HiveFileRegistry reg;
    EXPECT_EQ(reg.open(RegRoot::CurrentUser, "Software\\X", false), nullptr);
    auto key = reg.open(RegRoot::CurrentUser, "Software\\X", true);
    ASSERT_NE(key, nullptr);
    EXPECT_TRUE(key->writeString("a", "b"));
    EXPECT_EQ(key->readString("missing"), QString());
    EXPECT_FALSE(key->readStringIfPresent("missing").has_value());
    EXPECT_EQ(reg.open(RegRoot::CurrentUser, "software\\x", false)->readString("A"), QString("b"));
    // Roots are separate files.
    EXPECT_EQ(reg.open(RegRoot::LocalMachine, "Software\\X", false), nullptr);
    EXPECT_TRUE(QFile::exists(xdg.configHome() + "/nuvask/registry/HKEY_CURRENT_USER.reg"));
    EXPECT_TRUE(reg.deleteKeyTree(RegRoot::CurrentUser, "Software"));
    EXPECT_FALSE(reg.keyExists(RegRoot::CurrentUser, "Software\\X"));
}

TEST(HiveFileRegistry, ManyValuesWrittenAsOneChange)
{
    test::TempXdg xdg;
    HiveFileRegistry reg;
    const QString file = reg.fileFor(RegRoot::CurrentUser);
    // A hand-edited file: a value of another type, an existing value in
    // another letter case, and another key.
    writeFile(file, "Windows Registry Editor Version 5.00\n\n[Software\\A]\n\"Keep\"=dword:00000001\n"
                    "\"fp\"=\"1,1\"\n\n[Software\\B]\n\"x\"=\"y\"\n");
    ASSERT_TRUE(reg.writeStrings(RegRoot::CurrentUser, "software\\a",
                                 {{"FP", "10,20"}, {"New", "a\"b,c"}, {"Last", ""}}));
    auto a = reg.open(RegRoot::CurrentUser, "Software\\A", false);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->valueNames(), QStringList({"Keep", "fp", "New", "Last"}));
    EXPECT_EQ(a->readString("FP"), QString("10,20"));
    EXPECT_EQ(a->readString("New"), QString("a\"b,c"));
    EXPECT_TRUE(a->readStringIfPresent("Last").has_value());
    EXPECT_TRUE(readFile(file).contains("\"Keep\"=dword:00000001"));
    EXPECT_EQ(reg.open(RegRoot::CurrentUser, "Software\\B", false)->readString("x"), QString("y"));

    // A key that does not exist yet is created with the values.
    ASSERT_TRUE(reg.writeStrings(RegRoot::CurrentUser, "Software\\C\\D", {{"v", "1"}}));
    EXPECT_EQ(reg.open(RegRoot::CurrentUser, "Software\\C\\D", false)->readString("v"), QString("1"));
}

TEST(HiveFileRegistry, UnwritableStoreReportsFailure)
{
    test::TempXdg xdg;
    // A file where the registry folder should be: nothing can be created.
    writeFile(xdg.configHome() + "/nuvask", "not a folder");
    HiveFileRegistry reg;
    EXPECT_EQ(reg.open(RegRoot::CurrentUser, "Software\\X", true), nullptr);
    EXPECT_FALSE(reg.writeString(RegRoot::CurrentUser, "Software\\X", "a", "b"));
}

TEST(HiveFileRegistry, TwoProcessesWritingAtOnceLoseNothing)
{
    test::TempXdg xdg;
    HiveFileRegistry reg;
    const QString file = reg.fileFor(RegRoot::CurrentUser);
    // Each child writes 40 values of its own through the same locked path.
    constexpr int kEach = 40;
    QList<QProcess *> children;
    for (int c = 0; c < 2; ++c) {
        auto *p = new QProcess;
        p->setProgram(QStringLiteral(NUVASK_REGISTRY_WRITER));
        p->setArguments({QString::number(c), QString::number(kEach)});
        p->start();
        children << p;
    }
    for (QProcess *p : children) {
        ASSERT_TRUE(p->waitForFinished(60000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().constData();
        delete p;
    }
    const HiveDocument doc = HiveDocument::parse(readFile(file));
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < kEach; ++i)
            EXPECT_EQ(doc.readString("Software\\Race", QString("w%1_%2").arg(c).arg(i)), QString::number(i));
}
