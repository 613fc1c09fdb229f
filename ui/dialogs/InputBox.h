#pragma once
// The text input box component. The caller sets the properties, calls
// Execute(prompt) and reads SNText (and SN) afterwards; the box lives for the
// call only, the history as long as the component.
//
// Results: 1 accepted with "登録" (never with an empty text), 3 "中止" or Esc,
// 2 closed through the title bar.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace nuvask {

class InputBoxWindow;

class InputBox : public QObject
{
    Q_OBJECT
public:
    explicit InputBox(QObject *parent = nullptr);

    // Caption; empty means the application title.
    QString Title() const { return m_title; }
    void SetTitle(const QString &title) { m_title = title; }
    // Window the box is centred over; nullptr means the main window.
    QWidget *SourceHandle() const { return m_sourceHandle.data(); }
    void SetSourceHandle(QWidget *window);
    // The history, most recent first; assigning copies the lines.
    QStringList SN() const { return m_sn; }
    void SetSN(const QStringList &lines) { m_sn = lines; }
    // true: edit line and history list in the platform's window colour;
    // false: in the box's colour.
    bool StandardColor() const { return m_standardColor; }
    void SetStandardColor(bool on) { m_standardColor = on; }
    // In: the text the edit line starts with. Out: what it held at the end.
    QString SNText() const { return m_snText; }
    void SetSNText(const QString &text) { m_snText = text; }

    int Execute(const QString &prompt);

    // The box while Execute runs, else nullptr.
    InputBoxWindow *Box() const;

private:
    QString m_title;
    QPointer<QWidget> m_sourceHandle;
    bool m_sourceGiven = false;
    QStringList m_sn;
    bool m_standardColor = true;
    QString m_snText;
    QPointer<InputBoxWindow> m_box;
};

} // namespace nuvask
