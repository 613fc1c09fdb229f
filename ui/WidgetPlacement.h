#pragma once
// Creating a control at its design place: object name (its control name),
// geometry in pixels on its parent, and hint.

#include "ui/ColorBtn.h"

#include <QRect>
#include <QString>

namespace nuvask {

template <class W> W *placed(W *widget, const QString &name, const QRect &geometry, const QString &hint = QString())
{
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    if (!hint.isEmpty())
        widget->setToolTip(hint);
    return widget;
}

// A colour button that the Tab key passes by, as the panels' buttons are.
inline TColorBtn *colorButton(QWidget *parent, const QString &name, const QRect &geometry, const QString &caption,
                              const QString &hint)
{
    auto *button = placed(new TColorBtn(parent), name, geometry, hint);
    button->SetCaption(caption);
    button->SetTabStop(false);
    return button;
}

} // namespace nuvask
