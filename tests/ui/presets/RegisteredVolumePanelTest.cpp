// The registered-volume controls on strip 2 under real mouse and key events:
// a chosen preset reaches the simulated mixer and comes back through the
// change notification, a taken name reaches the user through the message box,
// and the main window loads the list at start and saves it at close.
#include "support/ModalScript.h"
#include "support/VolumeStripHarness.h"

#include "core/startup/ProgramEntry.h"
#include "platform/linux/SettingsFileStore.h"
#include "platform/sim/SimTopology.h"
#include "support/TempXdg.h"
#include "ui/widgets/ColourButton.h"
#include "ui/mainwindow/MainWindow.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/dialogs/MessageBoxWindow.h"
#include "ui/presets/RegisteredVolumePanel.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace nuvask;
using namespace nuvask::test;

namespace {

constexpr int Recording = 1;
constexpr int NoVolumeSource = 3; // a recording source with a mute switch only
constexpr quint32 RecVolume = 9;

QList<SimDevice> board()
{
    SimDevice card = sim::DemoDevice();
    card.destinations[Recording].sources.append(
        sim::Line(0x00010009u, MixerComponent::SrcAuxiliary, QStringLiteral("Aux"), {sim::Mute(15, false)}));
    return {card};
}

class RegisteredVolumePanelTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    SimMixerBoard sim{board()};
    StripTestWindow w{sim};
    MessageBox messages;
    std::unique_ptr<RegisteredVolumePanel> panel;

    void SetUp() override
    {
        MessageBoxWindow::SetTickIntervalMs(5);
        ASSERT_EQ(w.open(), QString());
        ASSERT_EQ(w.bind(2, 0, Recording, 0), QString());
        Deliver();
        write("NUVASKVN.LIS", "low\r\nHigh\r\nodd\r\n");
        write("NUVASKVR.LIS", "64\r\n200\r\nabc\r\n");
        panel = std::make_unique<RegisteredVolumePanel>(*w.strips[2], w.layer, messages, dir.path() + "/",
                                                        QStringLiteral("NUVASK"));
        panel->Load(QStringLiteral("LOW"));
        w.window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.window.get()));
    }
    void TearDown() override { MessageBoxWindow::SetTickIntervalMs(1000); }

    void write(const char *name, const QByteArray &bytes) { test::WriteFile(dir.filePath(name), bytes); }
    template <class W = QWidget> W *get(const char *name) const
    {
        return w.strips[2]->findChild<W *>(QLatin1String(name));
    }
    void click(const char *name) { QTest::mouseClick(get(name), Qt::LeftButton, {}, QPoint(5, 5)); }
    // Picks list item `index` with the keyboard, as the user would.
    void choose(int index)
    {
        auto *list = get<QComboBox>("ComboBox_REC");
        list->setFocus();
        while (list->currentIndex() < index)
            QTest::keyClick(list, Qt::Key_Down);
        while (list->currentIndex() > index)
            QTest::keyClick(list, Qt::Key_Up);
    }
    QString now() const { return w.child<QLabel>(2, "Label_NOW_")->text(); }
    quint32 recVolume() const { return sim.valuesOf(0, RecVolume).value(0); }
};

} // namespace

TEST_F(RegisteredVolumePanelTest, AChosenPresetReachesTheMixerAndTheStripFollows)
{
    auto *list = get<QComboBox>("ComboBox_REC");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->itemText(1), "low"); // High, low, odd
    EXPECT_EQ(list->currentIndex(), 1);  // the saved name, ignoring case
    EXPECT_EQ(get<QLabel>("Label_REC_SET")->text(), "64");

    choose(0);
    EXPECT_EQ(get<QLabel>("Label_REC_SET")->text(), "200");
    click("Btn_REC_SETEICHI");
    EXPECT_EQ(recVolume(), 200u * 256);
    Deliver();
    EXPECT_EQ(now(), "200");

    // A stored value that is no number changes nothing.
    choose(2);
    click("Btn_REC_SETEICHI");
    EXPECT_EQ(recVolume(), 200u * 256);

    // A line without a volume control: "設定値" writes nothing, "登録" takes
    // the number the strip last showed.
    ASSERT_EQ(w.bind(2, 0, Recording, NoVolumeSource), QString());
    choose(1);
    click("Btn_REC_SETEICHI");
    EXPECT_EQ(recVolume(), 200u * 256);
    click("Btn_REC_EDIT");
    EXPECT_EQ(get<ColourButton>("Btn_REC_SET")->Caption(), QString::fromUtf8("登録200"));
    click("Btn_REC_SET");
    EXPECT_EQ(panel->logic().Values().at(1), "200");
    EXPECT_EQ(get<QLabel>("Label_REC_SET")->text(), "200");
}

TEST_F(RegisteredVolumePanelTest, ATakenNameIsToldThroughTheMessageBox)
{
    click("Btn_REC_EDIT");
    // The edit panel now takes what a click on the list's place would reach.
    auto *edit = get("Panel_REC_EDIT");
    QWidget *top = w.strips[2]->childAt(get("ComboBox_REC")->geometry().center());
    EXPECT_TRUE(top == edit || edit->isAncestorOf(top));
    auto *name = get<QLineEdit>("Edit_REC");
    name->selectAll();
    QTest::keyClicks(name, "HIGH");
    ModalScript answerer;
    click("Btn_REC_HENKO");
    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_EQ(answerer.texts[0], QString::fromUtf8("HIGH\nこの名称は、既に使われています☆"));
    EXPECT_TRUE(edit->isVisible());

    name->selectAll();
    // Japanese arrives from the input method as committed text.
    QInputMethodEvent typed;
    typed.setCommitString(QString::fromUtf8("ボーカル"));
    QApplication::sendEvent(name, &typed);
    click("Btn_REC_HENKO");
    EXPECT_EQ(answerer.texts.size(), 1);
    EXPECT_FALSE(edit->isVisible());
    EXPECT_EQ(get<QComboBox>("ComboBox_REC")->itemText(1), QString::fromUtf8("ボーカル"));
    EXPECT_EQ(panel->PickedName(), QString::fromUtf8("ボーカル"));
}

namespace {

// The main window with its program folder in a temporary place.
class MainWindowRegisteredVolumes : public ::testing::Test
{
protected:
    test::TempXdg xdg;
    SettingsFileStore reg;
    QTemporaryDir programDir;
    const QString key = "Software\\KELDO SOFT32\\NUVASK";

    void SetUp() override
    {
        SetStartValues(MakeStartValues(programDir.path() + "/nuvask", '/'));
        put("NUVASKVN.LIS", "b\r\nA\r\nc\r\n");
        put("NUVASKVR.LIS", "1\r\n2\r\n3\r\n");
        reg.open(SettingsRoot::CurrentUser, key, true)->writeString("V_Name", "C");
    }
    void put(const char *name, const QByteArray &bytes) { test::WriteFile(programDir.filePath(name), bytes); }
    QByteArray bytesOf(const char *name) const { return test::ReadFile(programDir.filePath(name), "<missing>"); }
    static bool started(MainWindow &w)
    {
        return QTest::qWaitFor([&] { return w.StartupCompleted() == MainWindow::kStartupCompletedValue; }, 5000);
    }
};

} // namespace

TEST_F(MainWindowRegisteredVolumes, LoadedAtStartSavedAtCloseWithThePickedName)
{
    SimMixerBoard board({sim::DemoDevice()});
    MainWindow w(reg, board);
    w.show();
    auto *list = w.findChild<QComboBox *>("ComboBox_REC");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->parentWidget(), w.strip(2));
    EXPECT_EQ(list->count(), 0); // filled by the deferred initialisation
    ASSERT_TRUE(started(w));
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->currentText(), "c");
    EXPECT_EQ(w.findChild<QLabel *>("Label_REC_SET")->text(), "3");

    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    EXPECT_EQ(w.findChild<QLabel *>("Label_REC_SET")->text(), "2");
    w.close();
    EXPECT_EQ(bytesOf("NUVASKVN.LIS"), QByteArray("A\r\nb\r\nc\r\n"));
    EXPECT_EQ(bytesOf("NUVASKVR.LIS"), QByteArray("2\r\n1\r\n3\r\n"));
    EXPECT_EQ(reg.open(SettingsRoot::CurrentUser, key, false)->readString("V_Name"), "A");
}
