// Where dialogs go and whose colours they take.

#include "ui/dialogs/WorkArea.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace nuvask {

namespace {

QPointer<QWidget> &MainWindowRef()
{
    static QPointer<QWidget> window;
    return window;
}

QString &TitleRef()
{
    static QString title;
    return title;
}

QRect &WorkAreaRef()
{
    static QRect area;
    return area;
}

QRect WholeScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

} // namespace

void SetMainWindow(QWidget *window)
{
    MainWindowRef() = window;
}

QWidget *FindMainWindow()
{
    return MainWindowRef().data();
}

void SetApplicationTitle(const QString &title)
{
    TitleRef() = title;
}

QString ApplicationTitle()
{
    return TitleRef().isEmpty() ? QCoreApplication::applicationName() : TitleRef();
}

bool GetWorkArea()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect whole = WholeScreen();
    const QRect free = screen ? screen->availableGeometry() : QRect();
    if (free.width() <= 0 || free.height() <= 0 || free == whole) {
        WorkAreaRef() = whole;
        return false;
    }
    WorkAreaRef() = free;
    return true;
}

QRect WorkAreaRect()
{
    if (!WorkAreaRef().isValid())
        WorkAreaRef() = WholeScreen();
    return WorkAreaRef();
}

std::optional<QRect> ReferenceRect(const QWidget *source, bool sourceGiven)
{
    const QWidget *window = sourceGiven ? source : FindMainWindow();
    if (!window)
        return std::nullopt;
    return window->frameGeometry();
}

QPoint DialogTopLeft(const QSize &box, const std::optional<QRect> &reference, const QRect &workArea)
{
    const QRect ref = reference.value_or(workArea);
    // Integer division truncating toward zero, as the layout everywhere else.
    int left = ref.left() + (ref.width() - box.width()) / 2;
    int top = ref.top() + (ref.height() - box.height()) / 2;
    left = std::min(left, workArea.left() + workArea.width() - box.width());
    top = std::min(top, workArea.top() + workArea.height() - box.height());
    left = std::max(left, workArea.left());
    top = std::max(top, workArea.top());
    return {left, top};
}

QPoint PlaceDialog(const QSize &box, const QWidget *source, bool sourceGiven)
{
    GetWorkArea();
    return DialogTopLeft(box, ReferenceRect(source, sourceGiven), WorkAreaRect());
}

} // namespace nuvask
