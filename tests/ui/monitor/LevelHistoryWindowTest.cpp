// The level history window inside the program: opened from the Options menu
// and the tray menu without blocking the main window, in its colours, its
// place, size and span kept in the settings, and the exports through the
// program's folder browser, saved or refused, into any folder it shows.
#include "support/MainWindowFixture.h"
#include "support/ModalDriver.h"
#include "support/ReadOnlyFolder.h"
#include "support/TestFiles.h"

#include "core/folders/FileNames.h"
#include "core/folders/FolderNamespace.h"
#include "core/monitor/LevelHistory.h"
#include "platform/sim/SimTopology.h"
#include "ui/desktop/TrayIcon.h"
#include "ui/folders/FolderBrowser.h"
#include "ui/folders/FolderBrowserWindow.h"
#include "ui/monitor/LevelHistoryGraph.h"
#include "ui/monitor/LevelHistoryWindow.h"

#include <QDir>
#include <QFile>
#include <QHelpEvent>
#include <QScopeGuard>
#include <QImage>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace nuvask;

namespace {

struct LevelHistoryWindowTest : test::MainWindowFixture
{
    SimMixerBoard board{QList<SimDevice>{sim::DemoDevice()}};

    // Clicks an export button of the open history window and, in the folder
    // browser it opens, goes to `folder` and presses "設定" (or "キャンセル").
    // `title` gets the browser's caption, `started` the folder it opened at.
    void exportThrough(LevelHistoryWindow &history, const char *button, const QString &folder, bool accept = true,
                       QString *title = nullptr, QString *started = nullptr)
    {
        FolderBrowser *browser = history.folderBrowser();
        browser->SetDrivesForTest({DriveEntry{"/", DriveKind::Fixed, QString(), QString()}});
        QTimer::singleShot(0, [&, accept] {
            FolderBrowserWindow *form = browser->Form();
            ASSERT_NE(form, nullptr);
            if (title)
                *title = form->windowTitle();
            if (started)
                *started = form->State().CurrentFolder();
            form->GoToFolder(folder);
            QTest::mouseClick(form->findChild<QWidget *>(accept ? "Button2" : "Button1"), Qt::LeftButton);
        });
        history.findChild<ColourButton *>(QLatin1String(button))->Click();
    }
};

// The names in a folder and the bytes of one file, through the names' own
// bytes: Qt's file classes could not open a folder named in other bytes.
QStringList NamesIn(const QString &folder)
{
    QStringList names;
    for (const FolderEntry &entry : ReadFolder(folder))
        names << entry.name;
    names.sort();
    return names;
}

QByteArray RawRead(const QByteArray &path)
{
    QFile file;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return QByteArray();
    return file.readAll();
}

TEST_F(LevelHistoryWindowTest, OpensFromBothMenusBesideTheMainWindowInItsColours)
{
    MainWindow w(reg, board);
    w.show();
    ASSERT_TRUE(waitForStartup(w));
    LevelHistoryWindow &history = w.historyWindow();
    EXPECT_FALSE(history.isVisible());

    w.menu().MO_History->trigger();
    ASSERT_TRUE(history.isVisible());
    EXPECT_EQ(history.windowTitle(), QString("録音レベルの履歴"));
    EXPECT_FALSE(history.isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the main window stays usable";
    QApplication::processEvents(); // the first paint takes the colours
    history.repaint();
    EXPECT_EQ(history.palette().color(QPalette::Window), w.palette().color(QPalette::Window));
    // Without a stored place: the default size, centred over the main window.
    EXPECT_EQ(history.size(), QSize(LevelHistoryWindow::DefaultWidth, LevelHistoryWindow::DefaultHeight));
    EXPECT_LE((history.frameGeometry().center() - w.frameGeometry().center()).manhattanLength(), 40);
    EXPECT_TRUE(history.graph().RepaintTimer().isActive());

    history.close();
    EXPECT_FALSE(history.graph().RepaintTimer().isActive()) << "a closed window costs no repaints";
    w.tray().TR_History->trigger();
    EXPECT_TRUE(history.isVisible());

    // The main window's colours change: the open window follows at its next paint.
    w.KELDO_COLORClick();
    history.repaint();
    EXPECT_EQ(history.palette().color(QPalette::Window), w.palette().color(QPalette::Window));

    // Hints follow the main window's switch (ミニヘルプＯＮ) here too.
    const auto hintShown = [&] {
        QHelpEvent help(QEvent::ToolTip, QPoint(60, 60), history.graph().mapToGlobal(QPoint(60, 60)));
        QApplication::sendEvent(&history.graph(), &help);
        return QToolTip::isVisible();
    };
    w.HELP3Click();
    EXPECT_FALSE(hintShown());
    w.HELP3Click();
    EXPECT_TRUE(hintShown());
    QToolTip::hideText();
}

// (Never opened, it writes nothing new: the start-up test checks every name written.)
TEST_F(LevelHistoryWindowTest, PlaceSizeAndSpanAreKeptOnceOpened)
{
    {
        MainWindow w(reg, board);
        w.show();
        ASSERT_TRUE(waitForStartup(w));
        w.menu().MO_History->trigger();
        LevelHistoryWindow &history = w.historyWindow();
        history.move(30, 40);
        history.resize(500, 260);
        history.SpanClick(60);
        w.close();
    }
    EXPECT_EQ(stored("LVH_SIZE"), "500,260");
    EXPECT_EQ(stored("LVH_SPAN"), "60");
    const QString place = stored("LVH_FP");
    {
        MainWindow w(reg, board);
        w.show();
        ASSERT_TRUE(waitForStartup(w));
        LevelHistoryWindow &history = w.historyWindow();
        EXPECT_EQ(history.graph().SpanMinutes(), 60);
        w.menu().MO_History->trigger();
        EXPECT_EQ(history.size(), QSize(500, 260));
        EXPECT_EQ(SettingsStore::formatPosition(history.pos()), place);
        w.close();
    }
    // A span the window does not offer, and a place off the screen.
    store("LVH_SPAN", "7");
    store("LVH_FP", "-5000,-5000");
    MainWindow w(reg, board);
    w.show();
    ASSERT_TRUE(waitForStartup(w));
    w.menu().MO_History->trigger();
    EXPECT_EQ(w.historyWindow().graph().SpanMinutes(), 10);
    EXPECT_TRUE(w.WorkArea().contains(w.historyWindow().pos())) << "kept on the screen";
}

TEST_F(LevelHistoryWindowTest, ExportsGoThroughTheFolderBrowserAndSayWhereOrWhyNot)
{
    MainWindow w(reg, board);
    w.show();
    ASSERT_TRUE(waitForStartup(w));
    w.history().Append(LevelEvent::Peak, 12345, 30000);
    w.history().Append(LevelEvent::AutoLower, 0, 30000, 200, 192);
    LevelHistoryWindow &history = w.historyWindow();
    w.menu().MO_History->trigger();
    QTemporaryDir target;
    QString title;
    const auto saveThrough = [&](const char *button, bool accept) {
        exportThrough(history, button, target.path(), accept, &title);
    };
    test::ModalDriver boxes;

    saveThrough("Btn_CSV", false); // キャンセル: nothing is written
    EXPECT_TRUE(QDir(target.path()).isEmpty());
    EXPECT_TRUE(boxes.Messages().isEmpty());

    saveThrough("Btn_CSV", true);
    EXPECT_TRUE(title.startsWith("CSV保存先")) << title.toStdString();
    QStringList files = QDir(target.path()).entryList({"NUVASK_LEVEL_*.csv"});
    ASSERT_EQ(files.size(), 1);
    ASSERT_EQ(boxes.Messages().size(), 1);
    EXPECT_EQ(boxes.Messages()[0], "保存しました・・・\n" + QDir(target.path()).filePath(files[0]));
    EXPECT_TRUE(test::ReadFile(QDir(target.path()).filePath(files[0])).contains(",,30000,自動ダウン,200,192,1,\r\n"));
    EXPECT_EQ(history.Settings().folder.value_or(QString()), target.path()) << "the next export starts there";

    saveThrough("Btn_PNG", true);
    files = QDir(target.path()).entryList({"NUVASK_LEVEL_*.png"});
    ASSERT_EQ(files.size(), 1);
    const QImage picture(QDir(target.path()).filePath(files[0]));
    ASSERT_FALSE(picture.isNull()) << "the PNG opens";
    EXPECT_EQ(picture.size(), history.graph().size());

    // Again within the second: a new name, the first file stays.
    saveThrough("Btn_PNG", true);
    EXPECT_EQ(QDir(target.path()).entryList({"NUVASK_LEVEL_*.png"}).size(), 2);

    test::ReadOnlyFolder locked(target.path());
    if (!locked.active())
        GTEST_SKIP() << "the folder cannot be made read-only here";
    boxes.Clear();
    saveThrough("Btn_CSV", true);
    ASSERT_EQ(boxes.Messages().size(), 1);
    EXPECT_TRUE(boxes.Messages()[0].startsWith("保存に失敗しました・・・\n")) << boxes.Messages()[0].toStdString();
}

TEST_F(LevelHistoryWindowTest, AFolderNamedInBytesThatAreNotUtf8TakesBothExportsAndIsWhereTheNextStartBegins)
{
    QTemporaryDir root;
    const QByteArray rawFolder = QFile::encodeName(root.path()) + "/caf\xE9";
    ASSERT_EQ(::mkdir(rawFolder.constData(), 0755), 0);
    const QString folder = DecodeFileName(rawFolder); // as the browser carries it
    // Qt's own removal would not find these names either.
    const auto cleanUp = qScopeGuard([&] {
        for (const QString &name : NamesIn(folder))
            ::unlink(EncodeFileName(folder + '/' + name).constData());
        ::rmdir(rawFolder.constData());
    });
    {
        MainWindow w(reg, board);
        w.show();
        ASSERT_TRUE(waitForStartup(w));
        w.history().Append(LevelEvent::AutoLower, 0, 30000, 200, 192);
        w.menu().MO_History->trigger();
        test::ModalDriver boxes;
        exportThrough(w.historyWindow(), "Btn_CSV", folder);
        exportThrough(w.historyWindow(), "Btn_PNG", folder);

        const QStringList names = NamesIn(folder);
        ASSERT_EQ(names.size(), 2) << "a CSV and a PNG, and no part file left";
        ASSERT_TRUE(names[0].endsWith(".csv") && names[1].endsWith(".png"));
        EXPECT_TRUE(RawRead(rawFolder + '/' + names[0].toUtf8()).contains(",,30000,自動ダウン,200,192,1,\r\n"));
        QImage picture;
        EXPECT_TRUE(picture.loadFromData(RawRead(rawFolder + '/' + names[1].toUtf8()), "png"));
        EXPECT_EQ(picture.size(), w.historyWindow().graph().size());
        // The boxes name the file as the browser shows the folder.
        ASSERT_EQ(boxes.Messages().size(), 2);
        EXPECT_EQ(boxes.Messages()[0], "保存しました・・・\n" + DisplayName(folder) + '/' + names[0]);
        EXPECT_TRUE(boxes.Messages()[0].contains(QStringLiteral("caf\uFFFD/NUVASK_LEVEL_")));
        w.close();
    }
    // Stored as text a settings file holds, and back byte for byte.
    EXPECT_TRUE(stored("LVH_DIR").endsWith("/caf%E9")) << stored("LVH_DIR").toStdString();
    MainWindow w(reg, board);
    w.show();
    ASSERT_TRUE(waitForStartup(w));
    w.menu().MO_History->trigger();
    QString started;
    exportThrough(w.historyWindow(), "Btn_CSV", folder, false, nullptr, &started);
    EXPECT_EQ(EncodeFileName(started), rawFolder);
}

} // namespace
