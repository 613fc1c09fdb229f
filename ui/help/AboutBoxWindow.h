#pragma once
// The version information window: icon, product, version, copyright and
// comment lines in a bevelled panel, a button to the maker's home page, one
// to write the maker a mail, and Ｏ Ｋ. AboutBox creates it per call.

#include <QDialog>

class QLabel;

namespace nuvask {

class ColourButton;
class MessageBox;

class AboutBoxWindow : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kClientWidth = 413;  // pixels
    static constexpr int kClientHeight = 299; // pixels

    explicit AboutBoxWindow(QWidget *parent = nullptr);

    // The label texts as Execute composes them.
    void SetTexts(const QString &productLine, const QString &version, const QString &copyright,
                  const QString &comment0, const QString &comment1, const QString &comment2);
    void SetHintsOn(bool on);
    bool HintsOn() const { return m_hintsOn; }
    MessageBox *messageBox() const { return m_messageBox; }

    // The three buttons' actions.
    void ColorBtn1Click();
    void ColorBtn2Click();
    void ColorBtn3Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Opens url; success ends the box with 1, failure shows `failure`.
    bool openOrComplain(const QString &url, const QString &failure);
    void applyColours();

    QWidget *Panel1 = nullptr;
    QLabel *ProgramIcon = nullptr;
    QLabel *ProductName = nullptr;
    QLabel *Version = nullptr;
    QLabel *Copyright = nullptr;
    QLabel *Comments = nullptr;
    QLabel *Comment0 = nullptr;
    QLabel *Comment1 = nullptr;
    QLabel *Comment2 = nullptr;
    ColourButton *ColorBtn1 = nullptr;
    ColourButton *ColorBtn2 = nullptr;
    ColourButton *ColorBtn3 = nullptr;
    MessageBox *m_messageBox = nullptr;
    bool m_hintsOn = true;
};

} // namespace nuvask
