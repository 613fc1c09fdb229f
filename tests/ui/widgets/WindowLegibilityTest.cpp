// Every window of the program, in Japanese and in English, must be legible
// at the scale it runs with (CTest runs this suite at 96 dpi and again with
// Qt's own scaling at 144 dpi): no control that takes input covers another
// or a label, every caption fits its control (a list shows its text whole
// or elided with the whole text as its hint), and a window is wide enough
// for its title. Overlays the windows are designed with are listed below,
// each with why.
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
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTabBar>

using namespace nuvask;
using namespace nuvask::test;

namespace {

// Pairs of controls that cover one another by design: object names (* for
// any strip number) of the controls or of a widget they lie in.
struct Overlay
{
    const char *lower;
    const char *upper;
    const char *why;
};
const Overlay kDesigned[] = {
    {"Label_VM0_*", "Label_VM1_*", "the volume bar: its black cover is the part above the volume"},
    {"P_PK*", "P_PK*", "the strip meter: coloured zones under a black cover, its foot the peak hold's button"},
    {"CB_Mixer*", "ComboBox_SRC*",
     "three lists in two rows: the device list lies under the source list; widening the panel with its splitter "
     "uncovers it"},
    {"ComboBox_DST2", "ComboBox_SRC2", "strip 2's destination list lies under its source list the same way"},
    {"CB_Mixer2", "ComboBox_REC", "strip 2's device list lies under the registered volumes' row the same way"},
    {"CB_Mixer2", "Btn_REC_EDIT", "strip 2's device list lies under the registered volumes' row the same way"},
    {"*", "Panel_REC_EDIT", "the registered volumes' editor covers the top of strip 2 while it is open"},
    {"Ch_MT*", "Ch_MX*",
     "a recording source shows its selection box where its mute box is: the row holds one box, and selecting is "
     "what a recording source is for"},
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
    for (const Overlay &o : kDesigned) {
        if ((matches(a, o.lower) && matches(b, o.upper)) || (matches(b, o.lower) && matches(a, o.upper)))
            return true;
    }
    return false;
}

bool takesInput(const QWidget *w)
{
    return qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QComboBox *>(w) ||
           qobject_cast<const QLineEdit *>(w) || qobject_cast<const QAbstractSpinBox *>(w) ||
           qobject_cast<const QAbstractScrollArea *>(w) || qobject_cast<const QAbstractSlider *>(w) ||
           qobject_cast<const QTabBar *>(w) || qobject_cast<const ColourButton *>(w) ||
           qobject_cast<const ColourLabel *>(w) || qobject_cast<const UpDown *>(w);
}

QString nameOf(const QWidget *w)
{
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
}

// What shows of `w` in `window`'s coordinates: its rectangle cut by every
// widget it lies in.
QRect shownRect(const QWidget *w, const QWidget *window)
{
    QRect r(w->mapTo(window, QPoint(0, 0)), w->size());
    for (const QWidget *p = w->parentWidget(); p && p != window; p = p->parentWidget())
        r &= QRect(p->mapTo(window, QPoint(0, 0)), p->size());
    return r & window->rect();
}

// The controls of a window: inputs and labels, not what they are made of.
void collect(QWidget *parent, QWidget *window, QList<QWidget *> &out)
{
    for (QObject *child : parent->children()) {
        auto *w = qobject_cast<QWidget *>(child);
        if (!w || w->isWindow() || !w->isVisibleTo(window))
            continue;
        if (takesInput(w) || qobject_cast<QLabel *>(w)) {
            out << w;
            if (takesInput(w))
                continue;
        }
        collect(w, window, out);
    }
}

int textWidth(const QWidget *w, const QString &text)
{
    int widest = 0;
    for (const QString &line : QString(text).remove(QLatin1Char('&')).split(QLatin1Char('\n')))
        widest = std::max(widest, w->fontMetrics().horizontalAdvance(line));
    return widest;
}

// Why a control's caption does not fit it; empty when it fits.
QString captionProblem(QWidget *w, const QWidget *window)
{
    const int shown = shownRect(w, window).width();
    auto tooWide = [&](const QString &text, int room) {
        return room < textWidth(w, text)
                   ? QStringLiteral("\"%1\" needs %2 px, has %3").arg(text).arg(textWidth(w, text)).arg(room)
                   : QString();
    };
    if (auto *b = qobject_cast<ColourButton *>(w))
        return tooWide(b->Caption(), std::min(shown, b->width()) - 2 * b->BevelWidth());
    // A check box's and a push button's text go where the style draws them.
    auto contents = [&](QAbstractButton *button, QStyle::SubElement element) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect r = button->style()->subElementRect(element, &option, button);
        return std::min(r.right(), shown - 1) - r.left() + 1;
    };
    if (auto *box = qobject_cast<QCheckBox *>(w); box && !box->text().isEmpty())
        return tooWide(box->text(), contents(box, QStyle::SE_CheckBoxContents));
    if (auto *button = qobject_cast<QPushButton *>(w); button && !button->text().isEmpty())
        return tooWide(button->text(), contents(button, QStyle::SE_PushButtonContents));
    if (auto *label = qobject_cast<QLabel *>(w); label && !label->wordWrap() && label->textFormat() != Qt::RichText) {
        return tooWide(label->text(), std::min(shown, label->contentsRect().width()) - 2 * label->margin());
    }
    if (auto *list = qobject_cast<QComboBox *>(w); list && !list->isEditable()) {
        QStyleOptionComboBox option;
        option.initFrom(list);
        const QRect field =
            list->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list);
        const QRect visible = QRect(list->mapTo(window, field.topLeft()), field.size()) & shownRect(list, window);
        if (auto *eliding = qobject_cast<ElidingComboBox *>(list)) {
            if (eliding->ShownText() != list->currentText() && !eliding->Hint().startsWith(list->currentText()))
                return QStringLiteral("\"%1\" elided without its whole text as a hint").arg(list->currentText());
            return tooWide(eliding->ShownText(), visible.width());
        }
        return tooWide(list->currentText(), visible.width());
    }
    return {};
}

// Everything that makes `window` illegible, one line each.
QStringList problems(QWidget *window)
{
    QStringList found;
    const QString where = nameOf(window) + QLatin1String(": ");
    if (window->width() < CaptionWidth(window->windowTitle()))
        found << where + QStringLiteral("title \"%1\" needs %2 px, the window is %3")
                             .arg(window->windowTitle())
                             .arg(CaptionWidth(window->windowTitle()))
                             .arg(window->width());
    QList<QWidget *> controls;
    collect(window, window, controls);
    for (int i = 0; i < controls.size(); ++i) {
        QWidget *a = controls[i];
        if (const QString problem = captionProblem(a, window); !problem.isEmpty())
            found << where + nameOf(a) + QLatin1String(": ") + problem;
        // A button stays off the frame of the panel it lies in.
        auto *frame = qobject_cast<QFrame *>(a->parentWidget());
        if ((qobject_cast<ColourButton *>(a) || qobject_cast<QAbstractButton *>(a)) && frame &&
            frame->frameWidth() > 0 && !frame->contentsRect().contains(a->geometry()))
            found << where + nameOf(a) + QLatin1String(" lies on the frame of ") + nameOf(frame);
        // A list's arrow is drawn in the button text's colour on the button's.
        if (auto *list = qobject_cast<QComboBox *>(a)) {
            const QColor arrow = list->palette().color(QPalette::ButtonText),
                         button = list->palette().color(QPalette::Button);
            if (std::abs(arrow.lightness() - button.lightness()) < 96)
                found << where + nameOf(a) +
                             QStringLiteral("'s arrow (%1) does not stand out from its button (%2)")
                                 .arg(arrow.name(), button.name());
        }
        for (int j = i + 1; j < controls.size(); ++j) {
            QWidget *b = controls[j];
            if (!takesInput(a) && !takesInput(b))
                continue;
            if (a->isAncestorOf(b) || b->isAncestorOf(a) || designed(a, b))
                continue;
            const QRect both = shownRect(a, window) & shownRect(b, window);
            if (!both.isEmpty())
                found << where + nameOf(a) + QLatin1String(" and ") + nameOf(b) + QLatin1String(" overlap");
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
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll.stop();
        QTest::qWait(50); // laid out and painted
        check(dialog);
        dialog->done(0);
    });
    poll.start();
    open();
}

// A card as a sound server shows itself: long names, a recording line with
// volume, mute, meter and the choice of source, sources with mute.
SimDevice ServerLikeCard()
{
    using namespace sim;
    SimDevice device;
    device.productName = QStringLiteral("PulseAudio sound server");
    SimDestination playback;
    playback.line =
        Line(0xFFFF0000u, MixerComponent::DstSpeakers, QStringLiteral("Playback"), {Volume(1, 49152), Mute(2, false)});
    playback.sources = {
        Line(1, MixerComponent::SrcWaveOut, QStringLiteral("Null Output"), {Volume(3, 40960), Mute(4, false)})};
    SimDestination recording;
    recording.line = Line(0xFFFF0001u, MixerComponent::DstWaveIn, QStringLiteral("Recording"),
                          {Volume(9, 32768), Mute(14, false), PeakMeter(10, 0),
                           Mux(11,
                               {{0x10000u, QStringLiteral("Monitor of Null Output")},
                                {0x10001u, QStringLiteral("Built-in Audio Analog Stereo")}},
                               0)});
    recording.sources = {
        Line(0x10000u, MixerComponent::SrcMicrophone, QStringLiteral("Monitor of Null Output"),
             {Volume(12, 32768), Mute(15, false)}),
        Line(0x10001u, MixerComponent::SrcLine, QStringLiteral("Built-in Audio Analog Stereo"),
             {Volume(13, 32768), Mute(16, false)}),
    };
    device.destinations = {playback, recording};
    return device;
}

class WindowLegibility : public MainWindowFixture
{
protected:
    QStringList found;

    void Check(QWidget *window, const QString &state)
    {
        for (const QString &problem : problems(window))
            found << state + QLatin1String(" ") + problem;
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
        // Both editors open: the cut level's and the registered volumes'.
        w.findChild<ColourButton *>("Btn_RPK_Edit")->Click();
        w.findChild<ColourButton *>("Btn_REC_EDIT")->Click();
        QTest::qWait(20);
        Check(&w, language + " main window, editors open");

        MessageBox box;
        box.SetTitle(QCoreApplication::translate("ProgramEntry", "DORIVA SOUND ボリューム") + QStringLiteral(" V2.3"));
        for (int kind = 0; kind < 3; ++kind) {
            whileModal(
                [&] {
                    if (kind == 0)
                        box.ShowOK(QStringLiteral("OK"));
                    else if (kind == 1)
                        box.ShowOKTimer(QStringLiteral("OK"), 1);
                    else
                        box.ShowYesNoTimer(QStringLiteral("?"), 7);
                },
                [&](QWidget *d) { Check(d, language + " message box " + QString::number(kind)); });
        }
        InputBox input;
        whileModal([&] { input.Execute(QStringLiteral("?")); }, [&](QWidget *d) { Check(d, language + " input box"); });
        FolderBrowser browser;
        browser.SetDirectory(xdg.root());
        whileModal([&] { browser.Execute(QString()); }, [&](QWidget *d) { Check(d, language + " folder browser"); });
        AboutBox about;
        about.SetProductName(QStringLiteral("DORIVA SOUND ボリューム"));
        about.SetVersion(QStringLiteral("2.3"));
        whileModal([&] { about.Execute(); }, [&](QWidget *d) { Check(d, language + " about box"); });

        HelpWindow help;
        help.ShowContents(QStringLiteral(NUVASK_SOURCE_DIR "/data/NUVASK.HLP"));
        Check(&help, language + " help");
        LevelHistory history;
        LevelHistoryWindow historyWindow(history);
        historyWindow.Open();
        Check(&historyWindow, language + " level history");

        XdgMenuGroups groups(QStringLiteral("nuvask"));
        XdgDesktopEntries desktop(Start().ProgramTitle, QStringLiteral("nuvask"));
        XdgSetupPlatform platform(groups, QStringLiteral("uninstall"));
        const SetupServices services{reg, groups, desktop, platform, programDir.path() + "/nuvask", {}};
        SetupWindow setup(StartNormal, services, Start());
        setup.show();
        QTest::qWait(20);
        Check(&setup, language + " setup window, KELDO colours");
        // The standard colours for the fields, then neither.
        for (const char *box : {"CheckBoxBkColor", "CheckBoxBkColor"}) {
            setup.findChild<QCheckBox *>(box)->click();
            Check(&setup, language + " setup window, " + box + " clicked");
        }
        // The main window in the desktop's colours with the standard list colours.
        w.menu().KELDO_COLOR->trigger();
        w.menu().BackColor->trigger();
        Check(&w, language + " main window, standard colours");
        w.close();
    }
};

} // namespace

TEST_F(WindowLegibility, EveryWindowInBothLanguages)
{
    const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1"));
    WalkEveryWindow(QStringLiteral("ja x") + scale);
    {
        EnglishTexts english;
        ASSERT_TRUE(english.loaded());
        WalkEveryWindow(QStringLiteral("en x") + scale);
    }
    EXPECT_TRUE(found.isEmpty()) << found.join(QLatin1Char('\n')).toStdString();
}
