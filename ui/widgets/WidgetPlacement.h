#pragma once
// Creating a control at its design place: object name (its control name),
// geometry in pixels on its parent, and hint.

#include "ui/widgets/ColourButton.h"

#include <QFont>
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
inline ColourButton *colorButton(QWidget *parent, const QString &name, const QRect &geometry, const QString &caption,
                              const QString &hint)
{
    auto *button = placed(new ColourButton(parent), name, geometry, hint);
    button->SetCaption(caption);
    button->SetTabStop(false);
    return button;
}

// Numbers sit in controls drawn for a narrow Gothic; the substitute faces are
// wider, so numbers are drawn condensed to keep their digits inside.
inline void condense(QWidget *widget)
{
    QFont font; // only the stretch is set: family and size still come from the window
    font.setStretch(QFont::Condensed);
    widget->setFont(font);
}

} // namespace nuvask
