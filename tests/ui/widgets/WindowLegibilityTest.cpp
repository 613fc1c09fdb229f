// Every window of the program, in Japanese and in English, must be legible
// at the scale it runs with (CTest runs this suite at 96 dpi and again with
// Qt's own scaling at 144 dpi): no control that takes input covers another
// or a label, every caption fits (a list's text whole, or elided with the
// whole text leading its hint), no button lies on its panel's frame, a
// list's arrow stands out, a window is as wide as its title. Overlays the
// windows are designed with are listed below, each with why.
#include "support/EnglishTexts.h"
#include "support/MainWindowFixture.h"

#include "core/monitor/LevelHistory.h"
#include "platform/linux/XdgDesktopEntries.h"
#include "platform/linux/XdgMenuGroups.h"
#include "platform/linux/XdgSetupPlatform.h"
#include "platform/sim/SimTopology.h"
#include "ui/dialogs/InputBox.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/folders/FolderBrowser.h"
#include "ui/help/AboutBox.h"
#include "ui/help/HelpWindow.h"
#include "ui/mainwindow/MainMenu.h"
#include "ui/monitor/LevelHistoryWindow.h"
#include "ui/setup/SetupWindow.h"
#include "ui/widgets/ColourButton.h"
#include "ui/widgets/ColourLabel.h"
#include "ui/widgets/ElidingComboBox.h"
#include "ui/widgets/UpDown.h"
#include "ui/widgets/WindowCaption.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>

using namespace nuvask;
using namespace nuvask::test;

namespace {

// Controls that cover one another by design: object names (* for any strip
// number) of the controls or of a widget they lie in.
struct Overlay
{
    const char *lower, *upper, *why;
};
const Overlay kDesigned[] = {
    {"Label_VM0_*", "Label_VM1_*", "the volume bar: its black cover is the part above the volume"},
    {"P_PK*", "P_PK*", "the strip meter: coloured zones under a black cover, its foot the peak hold's button"},
    {"CB_Mixer*", "ComboBox_SRC*",
     "three lists in two rows: the device list lies under the source list; widening the panel uncovers it"},
    {"ComboBox_DST2", "ComboBox_SRC2", "strip 2's destination list lies under its source list the same way"},
    {"CB_Mixer2", "*_REC*", "strip 2's device list lies under the registered volumes' row the same way"},
    {"*", "Panel_REC_EDIT", "the registered volumes' editor covers the top of strip 2 while it is open"},
    {"Ch_MT*", "Ch_MX*", "a recording source's selection box takes the row of its mute box: the row holds one"},
    {"Btn_TM_OPEN", "Btn_TM_STOP", "the countdown's pause and resume are one place: one shows at a time"},
    {"Button5", "Button3", "the setup's \"installing\" shows through only while the install button is hidden"},
};

bool matches(const QWidget *w, const char *pattern)
{
    const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(QLatin1String(pattern)));
    for (; w && !w->isWindow(); w = w->parentWidget()) {
        if (re.match(w->objectName()).hasMatch())
            return true;
    }
    return false;
}

bool designed(const QWidget *a, const QWidget *b)
{
    return std::any_of(std::begin(kDesigned), std::end(kDesigned), [&](const Overlay &o) {
        return (matches(a, o.lower) && matches(b, o.upper)) || (matches(b, o.lower) && matches(a, o.upper));
    });
}

bool takesInput(const QWidget *w)
{
    return qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QComboBox *>(w) ||
           qobject_cast<const QLineEdit *>(w) || qobject_cast<const QAbstractScrollArea *>(w) ||
           qobject_cast<const ColourButton *>(w) || qobject_cast<const ColourLabel *>(w) ||
           qobject_cast<const UpDown *>(w);
}

QString nameOf(const QWidget *w)
{
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
}

// What shows of `w` in `window`: its rectangle cut by every widget it lies in.
QRect shownRect(const QWidget *w, const QWidget *window)
{
    QRect r(w->mapTo(window, QPoint(0, 0)), w->size());
    for (const QWidget *p = w->parentWidget(); p && p != window; p = p->parentWidget())
        r &= QRect(p->mapTo(window, QPoint(0, 0)), p->size());
    return r & window->rect();
}

// The shown controls of a window: inputs and labels, not what they are made of.
void collect(QWidget *parent, QWidget *window, QList<QWidget *> &out)
{
    for (QObject *child : parent->children()) {
        auto *w = qobject_cast<QWidget *>(child);
        if (!w || w->isWindow() || !w->isVisibleTo(window))
            continue;
        if (takesInput(w) || qobject_cast<QLabel *>(w))
            out << w;
        if (!takesInput(w))
            collect(w, window, out);
    }
}

// The caption a control shows and the pixels it has for it.
std::pair<QString, int> captionAndRoom(QWidget *w, const QWidget *window)
{
    const int shown = shownRect(w, window).width();
    auto contents = [&](QAbstractButton *button, QStyle::SubElement element) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect r = button->style()->subElementRect(element, &option, button);
        return std::min(r.right(), shown - 1) - r.left() + 1;
    };
    if (auto *b = qobject_cast<ColourButton *>(w))
        return {b->Caption(), std::min(shown, b->width()) - 2 * b->BevelWidth()};
    if (auto *box = qobject_cast<QCheckBox *>(w))
        return {box->text(), contents(box, QStyle::SE_CheckBoxContents)};
    if (auto *button = qobject_cast<QPushButton *>(w))
        return {button->text(), contents(button, QStyle::SE_PushButtonContents)};
    if (auto *label = qobject_cast<QLabel *>(w); label && !label->wordWrap() && label->textFormat() != Qt::RichText)
        return {label->text(), std::min(shown, label->contentsRect().width()) - 2 * label->margin()};
    if (auto *list = qobject_cast<QComboBox *>(w); list && !list->isEditable()) {
        QStyleOptionComboBox option;
        option.initFrom(list);
        const QRect field =
            list->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list);
        auto *eliding = qobject_cast<ElidingComboBox *>(list);
        return {eliding ? eliding->ShownText() : list->currentText(),
                (QRect(list->mapTo(window, field.topLeft()), field.size()) & shownRect(list, window)).width()};
    }
    return {};
}

// Everything that makes `window` illegible, one line each.
QStringList problems(QWidget *window)
{
    QStringList found;
    auto say = [&](const QWidget *w, const QString &what) { found << nameOf(window) + ": " + nameOf(w) + " " + what; };
    if (window->width() < CaptionWidth(window->windowTitle()))
        say(window, QStringLiteral("is narrower than its title \"%1\"").arg(window->windowTitle()));
    QList<QWidget *> controls;
    collect(window, window, controls);
    for (int i = 0; i < controls.size(); ++i) {
        QWidget *a = controls[i];
        const auto [caption, room] = captionAndRoom(a, window);
        int needed = 0;
        for (const QString &line : QString(caption).remove('&').split('\n'))
            needed = std::max(needed, a->fontMetrics().horizontalAdvance(line));
        if (!caption.isEmpty() && needed > room)
            say(a, QStringLiteral("needs %1 px for \"%2\", has %3").arg(needed).arg(caption).arg(room));
        if (auto *list = qobject_cast<ElidingComboBox *>(a);
            list && list->ShownText() != list->currentText() && !list->Hint().startsWith(list->currentText()))
            say(a, "elides \"" + list->currentText() + "\" without it as its hint");
        auto *frame = qobject_cast<QFrame *>(a->parentWidget());
        if ((qobject_cast<ColourButton *>(a) || qobject_cast<QAbstractButton *>(a)) && frame &&
            frame->frameWidth() > 0 && !frame->contentsRect().contains(a->geometry()))
            say(a, "lies on the frame of " + nameOf(frame));
        // A list's arrow is drawn in the button text's colour on the button's.
        const QPalette &p = a->palette();
        if (qobject_cast<QComboBox *>(a) &&
            std::abs(p.color(QPalette::ButtonText).lightness() - p.color(QPalette::Button).lightness()) < 96)
            say(a, "has an arrow that does not stand out from its button");
        for (QWidget *b : controls.mid(i + 1)) {
            if ((takesInput(a) || takesInput(b)) && !a->isAncestorOf(b) && !b->isAncestorOf(a) && !designed(a, b) &&
                shownRect(a, window).intersects(shownRect(b, window)))
                say(a, "and " + nameOf(b) + " overlap");
        }
    }
    return found;
}

// Opens a modal window with `open` and hands it to `check` before closing it.
void whileModal(const std::function<void()> &open, const std::function<void(QWidget *)> &check)
{
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            poll.stop();
            QTest::qWait(50); // laid out and painted
            check(dialog);
            dialog->done(0);
        }
    });
    poll.start();
    open();
}

// The demo card with what a sound server's lines have: long names, a
// recording line that mutes too.
SimDevice ServerLikeCard()
{
    SimDevice card = sim::DemoDevice();
    SimDestination &recording = card.destinations[1];
    const QString monitor = QStringLiteral("Monitor of Null Output"), analog = QStringLiteral("Built-in Audio");
    recording.line.controls = {sim::Volume(9, 32768), sim::Mute(14, false), sim::PeakMeter(10, 0),
                               sim::Mux(11, {{0x00010000u, monitor}, {0x00010001u, analog}}, 0)};
    recording.sources[0].name = monitor;
    recording.sources[1].name = analog;
    return card;
}

struct WindowLegibility : MainWindowFixture
{
    QStringList found;

    void Check(QWidget *window, const QString &state)
    {
        for (const QString &problem : problems(window))
            found << state + ": " + problem;
    }

    // Every window once in the language installed now.
    void WalkEveryWindow(const QString &language)
    {
        SimMixerBoard board{QList<SimDevice>{ServerLikeCard()}};
        // Strip 1 on a recording source: its selection box shows.
        store("ML_DST1", "7");
        store("ML_SRC1", QString::number(MixerComponent::SrcMicrophone));
        MainWindow w(reg, board);
        w.show();
        ASSERT_TRUE(waitForStartup(w));
        Check(&w, language + " main window");
        for (const char *editor : {"Btn_RPK_Edit", "Btn_REC_EDIT"}) // the cut level's, the registered volumes'
            w.findChild<ColourButton *>(editor)->Click();
        QTest::qWait(20);
        Check(&w, language + " main window, editors open");

        MessageBox box;
        box.SetTitle(QCoreApplication::translate("ProgramEntry", "DORIVA SOUND ボリューム") + " V2.3");
        InputBox input;
        FolderBrowser browser;
        browser.SetDirectory(xdg.root());
        AboutBox about;
        about.SetProductName(QStringLiteral("DORIVA SOUND ボリューム"));
        const std::function<void()> dialogs[] = {[&] { box.ShowOK("OK"); },           [&] { box.ShowOKTimer("OK", 1); },
                                                 [&] { box.ShowYesNoTimer("?", 7); }, [&] { input.Execute("?"); },
                                                 [&] { browser.Execute(QString()); }, [&] { about.Execute(); }};
        for (const auto &open : dialogs)
            whileModal(open, [&](QWidget *d) { Check(d, language); });

        HelpWindow help;
        help.ShowContents(QStringLiteral(NUVASK_SOURCE_DIR "/data/NUVASK.HLP"));
        Check(&help, language);
        LevelHistory history;
        LevelHistoryWindow historyWindow(history);
        historyWindow.Open();
        Check(&historyWindow, language);

        XdgMenuGroups groups(QStringLiteral("nuvask"));
        XdgDesktopEntries desktop(Start().ProgramTitle, QStringLiteral("nuvask"));
        XdgSetupPlatform platform(groups, QStringLiteral("uninstall"));
        SetupWindow setup(StartNormal, {reg, groups, desktop, platform, programDir.path() + "/nuvask", {}}, Start());
        setup.show();
        QTest::qWait(20);
        // In the maker's colours, the standard ones for the fields, then neither.
        for (const char *state : {" KELDO colours", " standard colours", " neither"}) {
            Check(&setup, language + state);
            setup.findChild<QCheckBox *>("CheckBoxBkColor")->click();
        }
        w.menu().KELDO_COLOR->trigger();
        w.menu().BackColor->trigger();
        Check(&w, language + " main window, desktop colours, standard list colours");
        w.close();
    }
};

} // namespace

TEST_F(WindowLegibility, EveryWindowInBothLanguages)
{
    const QString scale = " x" + qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1"));
    WalkEveryWindow("ja" + scale);
    {
        EnglishTexts english;
        ASSERT_TRUE(english.loaded());
        WalkEveryWindow("en" + scale);
    }
    EXPECT_TRUE(found.isEmpty()) << found.join('\n').toStdString();
}
