#pragma once
// The colours of an input field (an edit line, a drop-down list): its face
// and text, and the same for the list's arrow button, which the style draws
// in the button text's colour on the button's. Setting one pair without the
// other leaves an arrow white on white in the green colours.

#include <QColor>
#include <QPalette>
#include <QWidget>

namespace nuvask {

inline void SetFieldColours(QWidget *field, const QColor &face, const QColor &text)
{
    QPalette p = field->palette();
    p.setColor(QPalette::Base, face);
    p.setColor(QPalette::Button, face);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::ButtonText, text);
    field->setPalette(p);
}

} // namespace nuvask
