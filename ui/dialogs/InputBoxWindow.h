#pragma once
// The text input box form: a prompt, one edit line, "登録" / "中止", and a
// history row ("H" opens it, "off" closes it) from which an earlier text can
// be taken. InputBox creates one for a single call.

#include "ui/dialogs/ColouredDialog.h"

#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace nuvask {

class ColourButton;

class InputBoxWindow : public ColouredDialog
{
    Q_OBJECT
public:
    // Client area as designed, pixels.
    static constexpr int kClientWidth = 419;
    static constexpr int kClientHeight = 95;

    explicit InputBoxWindow(QWidget *parent = nullptr);

    // Fills the box for one call: edit text, history (most recent first, the
    // text moved to its front), prompt, colours.
    void Prepare(const QString &prompt, const QString &text, const QStringList &history, bool standardColor);
    void SetListHintsOn(bool on);

    QString Text() const;
    // The history with the text at the end of the call moved to its front.
    QStringList FinalHistory() const;
    QStringList History() const { return m_history; }
    bool HistoryRowShown() const;

protected:
    void ApplyColours() override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Button1Click();
    void Button3Click();
    void Button4Click();
    void ComboBox1Select(int index);
    void FillCombo();
    ColourButton *MakeButton(QWidget *parent, const char *name, const QString &caption, QRect geometry);

    QLabel *m_msg;
    QLineEdit *m_edit1;
    ColourButton *m_button1;
    ColourButton *m_button2;
    ColourButton *m_button3;
    QWidget *m_panel1;
    ColourButton *m_button4;
    QComboBox *m_comboBox1;
    QStringList m_history;
    bool m_standardColor = true;
};

} // namespace nuvask
