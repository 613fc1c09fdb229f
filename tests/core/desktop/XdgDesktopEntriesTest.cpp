// The program groups and launchers as files on a freedesktop desktop: every
// file passes desktop-file-validate, a launcher for an awkward path really
// starts the program, and the group list holds exactly the program's groups.
#include "core/desktop/DesktopShortcuts.h"
#include "platform/linux/DesktopEntryFile.h"
#include "platform/linux/SettingsFileStore.h"
#include "platform/linux/XdgDesktopEntries.h"
#include "platform/linux/XdgMenuGroups.h"
#include "support/TempXdg.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

using namespace nuvask;

namespace {

const QString kTitle = QStringLiteral("DORIVA SOUND ボリューム");

// desktop-file-validate's complaints about one file; empty = valid.
QString validate(const QString &path)
{
    const QString tool = QStandardPaths::findExecutable("desktop-file-validate");
    if (tool.isEmpty())
        return "desktop-file-validate missing: install desktop-file-utils (scripts/deps.sh)";
    QProcess p;
    p.start(tool, {path});
    p.waitForFinished(10000);
    const QString out = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()).trimmed();
    return p.exitCode() == 0 && !out.contains("error") ? QString() : out + " (exit " + QString::number(p.exitCode()) + ")";
}

// Every .desktop and .directory file below root, each validated.
void expectAllValid(const QString &root)
{
    int seen = 0;
    QDirIterator it(root, {"*.desktop", "*.directory"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        ++seen;
        EXPECT_EQ(validate(file), QString()) << file.toStdString();
    }
    EXPECT_GT(seen, 0);
}

QString readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// A program at a path with blanks, non-ASCII and shell characters that
// leaves a mark when it runs.
QString makeProgram(const QString &folder, const QString &marker)
{
    QDir().mkpath(folder);
    // No '%' in the name: GLib looks the program up before it reads "%%" back.
    const QString program = folder + "/run me.sh";
    QFile f(program);
    f.open(QIODevice::WriteOnly);
    f.write("#!/bin/sh\npwd > '" + marker.toUtf8() + "'\n");
    f.close();
    f.setPermissions(f.permissions() | QFile::ExeOwner);
    return program;
}

} // namespace

struct XdgGroups : ::testing::Test
{
    test::TempXdg xdg;
    XdgMenuGroups groups{QStringLiteral("nuvask")};
};

TEST_F(XdgGroups, GroupAndItemBecomeValidMenuFilesAndGoAgain)
{
    const QString group = QStringLiteral("KELDO SOFT ソフト");
    EXPECT_EQ(groups.ExecuteGroupCommand(*CreateGroupCommand(group)), QString());
    EXPECT_EQ(groups.ExecuteGroupCommand(*AddItemCommand("/opt/nuvASK/nuvask", kTitle)), QString());
    EXPECT_EQ(groups.ExecuteGroupCommand(*ShowGroupCommand(group)), QString());

    const QString item = groups.ItemFile(group, kTitle);
    ASSERT_TRUE(QFileInfo::exists(item));
    ASSERT_TRUE(QFileInfo::exists(groups.DirectoryFile(group)));
    const auto entry = DesktopEntryFile::Read(item);
    EXPECT_EQ(entry.value("Name"), kTitle);
    EXPECT_EQ(entry.value("Categories"), "AudioVideo;Audio;Mixer;");
    EXPECT_EQ(entry.value("Icon"), "nuvask");
    expectAllValid(xdg.dataHome());

    // The merged menu is well-formed and names the group's directory and item.
    const QString menu = readAll(groups.MenuFile(group));
    QXmlStreamReader xml(menu);
    QStringList filenames;
    QString directory;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"Filename")
            filenames << xml.readElementText();
        else if (xml.isStartElement() && xml.name() == u"Directory")
            directory = xml.readElementText();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(filenames, QStringList{QFileInfo(item).fileName()});
    EXPECT_EQ(directory, QFileInfo(groups.DirectoryFile(group)).fileName());

    EXPECT_EQ(groups.ExecuteGroupCommand(*DeleteItemCommand(kTitle)), QString());
    EXPECT_FALSE(QFileInfo::exists(item));
    EXPECT_FALSE(readAll(groups.MenuFile(group)).contains("<Filename>"));
    // Deleting what is gone already is no failure.
    EXPECT_EQ(groups.ExecuteGroupCommand(*DeleteItemCommand(kTitle)), QString());
}

TEST_F(XdgGroups, GroupListHoldsTheProgramsGroupsButNotStartup)
{
    EXPECT_TRUE(groups.RequestGroups().isEmpty());
    groups.ExecuteGroupCommand(*CreateGroupCommand("Startup"));
    groups.ExecuteGroupCommand(*CreateGroupCommand("KELDO SOFT"));
    groups.ExecuteGroupCommand(*CreateGroupCommand("ｻｳﾝﾄﾞ"));
    groups.ExecuteGroupCommand(*CreateGroupCommand("KELDO SOFT")); // again: still one
    QStringList names = groups.RequestGroups();
    names.sort();
    EXPECT_EQ(names, QStringList({"KELDO SOFT", "ｻｳﾝﾄﾞ"}));
}

TEST_F(XdgGroups, CommandsItCannotCarryOutAndFoldersItCannotReach)
{
    // No group active yet, a group that does not exist, and text that is no command.
    EXPECT_EQ(groups.ExecuteGroupCommand(*AddItemCommand("/bin/true", "x")), menuGroupText::SendFailed());
    EXPECT_EQ(groups.ExecuteGroupCommand(*ShowGroupCommand("Nowhere")), menuGroupText::SendFailed());
    EXPECT_EQ(groups.ExecuteGroupCommand("[CreateGroup(A)]garbage"), menuGroupText::SendFailed());
    EXPECT_FALSE(QFileInfo::exists(groups.DirectoryFile("A"))); // nothing of a broken text is done

    // The data folder is a file: no menu folder can be made.
    QFile blocker(xdg.root() + "/blocked");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_DATA_HOME", blocker.fileName().toLocal8Bit());
    EXPECT_EQ(groups.ExecuteGroupCommand(*CreateGroupCommand("A")), menuGroupText::OpenFailed());
}

TEST_F(XdgGroups, NamesNeverLeaveTheirFolders)
{
    for (const QString &group : {QStringLiteral("../../escape"), QStringLiteral("a/b"), QStringLiteral(".hidden"),
                                 QStringLiteral("a-b"), QStringLiteral("a")}) {
        ASSERT_EQ(groups.ExecuteGroupCommand(*CreateGroupCommand(group)), QString()) << group.toStdString();
        ASSERT_EQ(groups.ExecuteGroupCommand(*AddItemCommand("/bin/true", "../x/y")), QString());
        for (const QString &file : {groups.DirectoryFile(group), groups.ItemFile(group, "../x/y")}) {
            const QFileInfo info(file);
            EXPECT_TRUE(info.exists());
            EXPECT_FALSE(info.fileName().startsWith('.'));
            EXPECT_TRUE(info.absolutePath() == xdg.dataHome() + "/applications"
                        || info.absolutePath() == xdg.dataHome() + "/desktop-directories")
                << file.toStdString();
        }
    }
    // "a" and "a-b" keep their own items: the group part of a file name is unambiguous.
    EXPECT_EQ(readAll(groups.MenuFile("a")).count("<Filename>"), 1);
    expectAllValid(xdg.dataHome());
}

struct XdgLaunchers : ::testing::Test
{
    test::TempXdg xdg;
    QString marker = xdg.root() + "/ran";
    QString program = makeProgram(xdg.root() + "/Program Files (x86)/ボリューム $HOME `id`", marker);
};

TEST_F(XdgLaunchers, DesktopLauncherForAnAwkwardPathParsesBackAndStartsTheProgram)
{
    // A launcher, unlike a group item, may even point through a double quote.
    program = makeProgram(xdg.root() + "/say \"hi\" \\ ボリューム", marker);
    XdgDesktopEntries entries(kTitle, QStringLiteral("nuvask"));
    entries.CreateShortcut(program, ShellFolder::Desktop);
    const QString link = entries.FolderPath(ShellFolder::Desktop) + "/" + kTitle + ".desktop";
    ASSERT_TRUE(QFileInfo::exists(link));
    EXPECT_TRUE(QFileInfo(link).permissions() & QFile::ExeOwner);
    EXPECT_EQ(validate(link), QString());

    const auto entry = DesktopEntryFile::Read(link);
    const auto argv = DesktopEntryFile::ParseExec(entry.value("Exec"));
    ASSERT_TRUE(argv);
    EXPECT_EQ(*argv, QStringList{program});
    EXPECT_EQ(DesktopEntryFile::UnescapeValue(entry.value("Path")), QFileInfo(program).absolutePath());

    // An independent reader of the format starts it, when the machine has one.
    const QString gio = QStandardPaths::findExecutable("gio");
    if (gio.isEmpty())
        QProcess::execute(argv->first(), argv->mid(1));
    else
        QProcess::execute(gio, {"launch", link});
    for (int waited = 0; waited < 5000 && !QFileInfo::exists(marker); waited += 20)
        QTest::qWait(20);
    EXPECT_TRUE(QFileInfo::exists(marker));
}

TEST_F(XdgLaunchers, StartupItemIsTheAutostartFileTheMenuLooksFor)
{
    SettingsFileStore settingsTree;
    XdgDesktopEntries entries(kTitle, QStringLiteral("nuvask"));
    XdgMenuGroups groups(QStringLiteral("nuvask"), entries.StartupGroupName());
    struct : ShortcutsView
    {
        QStringList shown;
        void SetBusyCursor(bool) override {}
        void ProcessPendingEvents() override {}
        void SetTrayMenuBusy(bool) override {}
        void ShowOK(const QString &text) override { shown << text; }
        void Redraw() override {}
    } view;
    DesktopShortcuts shortcuts(entries, groups, settingsTree, "Software\\KELDO SOFT32\\NUVASK", kTitle, view);
    shortcuts.BuildLinkPaths();
    EXPECT_EQ(shortcuts.StartupLinkPath(), xdg.configHome() + "/autostart/" + kTitle + ".desktop");

    shortcuts.StartupItemClick(true, program);
    EXPECT_TRUE(view.shown.isEmpty()) << view.shown.join('|').toStdString();
    EXPECT_TRUE(shortcuts.OptionsMenuOpening().iconDel);
    EXPECT_EQ(validate(shortcuts.StartupLinkPath()), QString());
    const auto argv = DesktopEntryFile::ParseExec(DesktopEntryFile::Read(shortcuts.StartupLinkPath()).value("Exec"));
    ASSERT_TRUE(argv);
    EXPECT_EQ(*argv, QStringList{program});
    // The program groups' own list does not grow by the Startup group.
    EXPECT_TRUE(groups.RequestGroups().isEmpty());

    shortcuts.StartupItemClick(false, program);
    EXPECT_FALSE(QFileInfo::exists(shortcuts.StartupLinkPath()));
    EXPECT_TRUE(shortcuts.OptionsMenuOpening().iconSet);
}

TEST(DesktopEntryExec, QuotingRoundTripsEveryReservedCharacter)
{
    const QStringList args{"/a b/c", "x\"y", "back\\slash", "dollar$", "tick`", "100%", "plain", "ｱｲｺﾝ ボリューム",
                           "", "semi;colon", "tab\tin"};
    const QString fileValue = DesktopEntryFile::EscapeValue(DesktopEntryFile::ExecLine(args));
    EXPECT_FALSE(fileValue.contains('\t'));
    const auto back = DesktopEntryFile::ParseExec(fileValue);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, args);
    // Broken quoting and bare reserved characters are not read as a command line.
    EXPECT_FALSE(DesktopEntryFile::ParseExec("\"unterminated"));
    EXPECT_FALSE(DesktopEntryFile::ParseExec("a;b"));
    EXPECT_FALSE(DesktopEntryFile::ParseExec("lone%"));
}
