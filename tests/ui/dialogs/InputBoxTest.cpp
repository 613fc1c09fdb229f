// The text input box under real keys and clicks: history order, the empty
// text refused, choosing from the history, and the results.
#include "ui/widgets/ColourButton.h"
#include "ui/dialogs/InputBoxWindow.h"
#include "ui/dialogs/InputBox.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "support/ModalSteps.h"

#include <functional>

using namespace nuvask;

namespace {

using test::Child;

void WhenOpen(std::function<void(InputBoxWindow *)> step)
{
    test::WhenOpen<InputBoxWindow>(std::move(step));
}

void Click(QWidget *box, const char *name)
{
    test::ClickChild(box, name, QPoint(5, 5));
}

QStringList Items(QComboBox *combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}

} // namespace

TEST(InputBoxTest, HistoryOpensWithTheTextFirstAndStopKeepsWhatWasTyped)
{
    InputBox dlg;
    dlg.SetSN({QStringLiteral("a"), QStringLiteral("b")});
    dlg.SetSNText(QStringLiteral("B"));
    QStringList opened;
    QString editAtOpen;
    WhenOpen([&](InputBoxWindow *box) {
        opened = Items(Child<QComboBox>(box, "ComboBox1"));
        auto *edit = Child<QLineEdit>(box, "Edit1");
        editAtOpen = edit->text();
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("new"));
        Click(box, "Button2");
    });
    EXPECT_EQ(dlg.Execute(QStringLiteral("名前")), 3);
    EXPECT_EQ(opened, (QStringList{"B", "a"}));
    EXPECT_EQ(editAtOpen, QStringLiteral("B"));
    EXPECT_EQ(dlg.SNText(), QStringLiteral("new"));
    EXPECT_EQ(dlg.SN(), (QStringList{"new", "B", "a"}));
}

TEST(InputBoxTest, AcceptRefusesAnEmptyTextByButtonAndByEnter)
{
    InputBox dlg;
    bool stayedOpen = false;
    QString prompt;
    WhenOpen([&](InputBoxWindow *box) {
        prompt = Child<QWidget>(box, "Msg")->property("text").toString();
        EXPECT_EQ(QApplication::focusWidget(), Child(box, "Button1")); // first in tab order
        Click(box, "Button1");
        auto *edit = Child<QLineEdit>(box, "Edit1");
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);
        stayedOpen = box->isVisible();
        QTest::keyClicks(edit, QStringLiteral("x"));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    EXPECT_EQ(dlg.Execute(QStringLiteral("名前")), 1);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(prompt, QStringLiteral("名前："));
    EXPECT_EQ(dlg.SNText(), QStringLiteral("x"));
    EXPECT_EQ(dlg.SN(), (QStringList{"x"}));
}

TEST(InputBoxTest, ChoosingAHistoryEntryMovesItFirstAndFillsTheEdit)
{
    InputBox dlg;
    dlg.SetSN({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    QStringList afterChoice;
    bool rowShown = false;
    bool rowHiddenAfter = false;
    bool offHides = false;
    WhenOpen([&](InputBoxWindow *box) {
        Click(box, "Button3"); // H
        rowShown = box->HistoryRowShown() &&
            QApplication::focusWidget() == Child(box, "ComboBox1");
        Click(box, "Button4"); // off
        offHides = !box->HistoryRowShown() && QApplication::focusWidget() == Child(box, "Edit1");
        Click(box, "Button3");
        auto *combo = Child<QComboBox>(box, "ComboBox1");
        combo->setCurrentIndex(2);
        emit combo->activated(2); // the user's pick in the open list
        afterChoice = Items(combo);
        rowHiddenAfter = !box->HistoryRowShown();
        EXPECT_EQ(Child<QLineEdit>(box, "Edit1")->text(), QStringLiteral("c"));
        EXPECT_EQ(QApplication::focusWidget(), Child(box, "Edit1"));
        Click(box, "Button1");
    });
    EXPECT_EQ(dlg.Execute(QString()), 1);
    EXPECT_TRUE(rowShown);
    EXPECT_TRUE(offHides);
    EXPECT_TRUE(rowHiddenAfter);
    EXPECT_EQ(afterChoice, (QStringList{"c", "a", "b"}));
    EXPECT_EQ(dlg.SN(), (QStringList{"c", "a", "b"}));
}

TEST(InputBoxTest, EscStopsAndTheTitleBarGivesTwo)
{
    InputBox dlg;
    dlg.SetSNText(QStringLiteral("kept"));
    WhenOpen([](InputBoxWindow *box) { QTest::keyClick(Child(box, "Edit1"), Qt::Key_Escape); });
    EXPECT_EQ(dlg.Execute(QString()), 3);
    WhenOpen([](InputBoxWindow *box) { box->close(); });
    EXPECT_EQ(dlg.Execute(QString()), 2);
    EXPECT_EQ(dlg.SNText(), QStringLiteral("kept"));
    EXPECT_EQ(dlg.SN(), (QStringList{"kept"}));
}
