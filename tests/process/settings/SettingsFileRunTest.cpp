// A settings file that other programs or people wrote, through a whole run of
// the real program: what the program does not write keeps its bytes, and a
// file it cannot read whole is not written at all.
#include "app/StartTexts.h"
#include "process/ProgramRuns.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace nuvask;
using test::ProgramRuns;

namespace {

using test::ReadFile;
using test::WriteFile;

} // namespace

TEST(SettingsFileRun, ForeignBytesSurviveARunAndItsSaveByteForByte)
{
    if (qEnvironmentVariableIsEmpty("PULSE_SERVER"))
        GTEST_SKIP() << "needs the private PulseAudio of scripts/with-services.sh to finish its start-up and save";
    ProgramRuns runs;
    SettingsFileStore reg;
    const QString file = reg.fileFor(SettingsRoot::CurrentUser);
    // Code page 932 (ソフト), a stray ff fe, a lone CR, CR LF endings; the
    // program's key last, so everything it adds comes after these bytes.
    const QByteArray before =
        "Windows Registry Editor Version 5.00\r\n"
        "\r\n"
        "[Software\\Other \x83\x5c\x83\x74\x83\x67]\r\n"
        "\"Group\"=\"\x83\x5c\x83\x74\x83\x67\"\r\n"
        "\"odd\"=\"a\rb\"\r\n"
        "\r\n"
        "[Software\\KELDO SOFT32\\NUVASK]\r\n"
        "\"Version\"=\"23\"\r\n"
        "\"Group\"=\"\x83\x5c\x83\x74\x83\x67\"\r\n"
        "; \xff\xfe kept as it is\r\n";
    WriteFile(file, before);

    QProcess *app = runs.launch();
    ASSERT_TRUE(ProgramRuns::waitForWindow(kMainWindowClass));
    QThread::msleep(2500); // start-up completes 300 ms after the window exists
    ASSERT_TRUE(ProgramRuns::running(app));
    ASSERT_GE(ProgramRuns::terminateTimed(app, 5000), 0);

    const QByteArray after = ReadFile(file);
    ASSERT_TRUE(after.startsWith(before)) << after.toStdString();
    // Only the program's own values follow, as UTF-8 lines with the file's ending.
    const QString added = QString::fromUtf8(after.mid(before.size()));
    const QStringList lines = added.split("\r\n");
    ASSERT_GT(lines.size(), 15) << "the settings were not saved";
    EXPECT_TRUE(lines.last().isEmpty());
    const QRegularExpression own(R"re(^"(FP|BackColor|minihelp|KELDO_COLOR|V_Name|MostTOP|V_Panel|ML_(DST|SRC|Mixer|SRC_NAME)[012]|Auto_RecV|Meter_ON|V_CUT|RL_WAIT|Guard_RecV)"=".*"$)re");
    for (qsizetype i = 0; i + 1 < lines.size(); ++i)
        EXPECT_TRUE(own.match(lines[i]).hasMatch()) << lines[i].toStdString();
    EXPECT_EQ(reg.readString(SettingsRoot::CurrentUser, QString::fromUtf8("Software\\Other ソフト"), "Group"),
              QString::fromUtf8("ソフト"));
}

TEST(SettingsFileRun, FileTooLargeIsLeftUntouchedAndTheUserIsTold)
{
    ProgramRuns runs;
    SettingsFileStore reg;
    const QString file = reg.fileFor(SettingsRoot::CurrentUser);
    QByteArray bytes = "[Software\\KELDO SOFT32\\NUVASK]\n\"Version\"=\"23\"\n; ";
    bytes += QByteArray(SettingsFileStore::kMaxSettingsFileBytes, '-');
    bytes += "\n[Software\\Other]\n\"Last\"=\"key past the limit\"\n";
    WriteFile(file, bytes);

    QProcess *app = runs.launch();
    EXPECT_TRUE(ProgramRuns::waitForError(app, startText::SettingsFileTooLarge().arg(QDir::toNativeSeparators(file)), 10000));
    // Its message box is open, the settings can still be read, a second
    // start finds the window being started and hands over to it.
    ASSERT_TRUE(ProgramRuns::running(app));
    QProcess *second = runs.launch();
    ASSERT_TRUE(second->waitForFinished(6000));
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_GE(ProgramRuns::terminateTimed(app, 2000), 0);
    EXPECT_TRUE(ReadFile(file) == bytes) << "the file was rewritten";
}
