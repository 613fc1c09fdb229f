#pragma once
// Small helpers for building a panel's controls: each gets its control name
// as object name, its design geometry and its hint in one call.

#include "ui/ColorBtn.h"

#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>

namespace nuvask::panel {

template <class W>
W *placed(W *widget, const char *name, const QRect &geometry, const QString &hint = QString())
{
    if (name)
        widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    if (!hint.isEmpty())
        widget->setToolTip(hint);
    return widget;
}

// A colour button that the Tab key passes by.
inline TColorBtn *button(QWidget *parent, const char *name, const QRect &geometry, const QString &caption,
                         const QString &hint)
{
    auto *b = placed(new TColorBtn(parent), name, geometry, hint);
    b->SetCaption(caption);
    b->SetTabStop(false);
    return b;
}

// Numbers sit in controls drawn for a narrow Gothic; the substitute faces are
// wider, so numbers are drawn condensed to keep their digits inside.
inline void condense(QWidget *widget)
{
    QFont font; // only the stretch is set: family and size still come from the window
    font.setStretch(QFont::Condensed);
    widget->setFont(font);
}

} // namespace nuvask::panel
