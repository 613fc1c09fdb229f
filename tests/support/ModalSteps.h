#pragma once
// Steps a widget test takes inside a modal call: find a control by its control
// name, click it, and run a step once the modal box of a given class is open.

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

namespace nuvask::test {

template <typename T = QWidget>
T *Child(QWidget *parent, const char *name)
{
    return parent->findChild<T *>(QString::fromLatin1(name));
}

// A left click at `at` (pixels in the control) on the named control.
inline void ClickChild(QWidget *parent, const char *name, QPoint at)
{
    QTest::mouseClick(Child(parent, name), Qt::LeftButton, {}, at);
}

// Runs `step` on the active modal box of class Box once it is open and active
// (inside the modal loop of the call the test makes next).
template <typename Box>
void WhenOpen(std::function<void(Box *)> step)
{
    QTimer::singleShot(0, [step = std::move(step)] {
        auto *box = qobject_cast<Box *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(QTest::qWaitForWindowActive(box));
        step(box);
    });
}

} // namespace nuvask::test
