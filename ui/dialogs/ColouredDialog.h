#pragma once
// Base of the program's modal forms that follow the main window: every paint
// takes the main window's background and text colours (none without a main
// window), a shown form comes to the front, and closing it through the title
// bar ends it with result 2.

#include <QDialog>

namespace nuvask {

class ColouredDialog : public QDialog
{
    Q_OBJECT
public:
    using QDialog::QDialog;

    // Sets one palette role of `w`, leaving an equal colour alone (a new
    // palette would schedule another paint).
    static void SetRole(QWidget *w, QPalette::ColorRole role, const QColor &color);

protected:
    // Takes the main window's colours; forms add their own controls' colours.
    virtual void ApplyColours();

    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
};

} // namespace nuvask
