#pragma once
// A drop-down list that shows its current text whole or, where the part of
// it that shows is too narrow (a list wider than its panel, the part beside
// the list lying on it), cut short with "…", the whole text then leading its
// hint. The strips' lists are as wide as their panels' design allows: a
// name of a sound server's line ("Monitor of Null Output") would otherwise
// be cut mid-letter ("Null Outp").

#include <QComboBox>

namespace nuvask {

class ElidingComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit ElidingComboBox(QWidget *parent = nullptr);

    // The text as it is drawn now, and the hint it shows now.
    QString ShownText() const;
    QString Hint() const;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // The part of the text field that shows inside the widgets it lies in.
    int ShownFieldWidth() const;

    // The hint the list was given, taken before the first one it shows.
    mutable QString m_hint;
    mutable bool m_hintTaken = false;
};

} // namespace nuvask
