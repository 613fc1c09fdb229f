#pragma once
// The about box component each window that shows its version owns (as
// AboutBoxDlg1): the caller sets the texts, Execute shows an AboutBoxWindow for
// that one call.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <functional>

namespace nuvask {

class AboutBox : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString ProductName READ ProductName WRITE SetProductName)
    Q_PROPERTY(QString Version READ Version WRITE SetVersion)
    Q_PROPERTY(QString Copyright READ Copyright WRITE SetCopyright)
    Q_PROPERTY(QString Comment0 READ Comment0 WRITE SetComment0)
    Q_PROPERTY(QString Comment1 READ Comment1 WRITE SetComment1)
    Q_PROPERTY(QString Comment2 READ Comment2 WRITE SetComment2)
    Q_PROPERTY(QString Title READ Title WRITE SetTitle)
public:
    explicit AboutBox(QObject *parent = nullptr);

    QString ProductName() const { return m_productName; }
    void SetProductName(const QString &text) { m_productName = text; }
    QString Version() const { return m_version; }
    void SetVersion(const QString &text) { m_version = text; }
    QString Copyright() const { return m_copyright; }
    void SetCopyright(const QString &text) { m_copyright = text; }
    QString Comment0() const { return m_comment0; }
    void SetComment0(const QString &text) { m_comment0 = text; }
    QString Comment1() const { return m_comment1; }
    void SetComment1(const QString &text) { m_comment1 = text; }
    QString Comment2() const { return m_comment2; }
    void SetComment2(const QString &text) { m_comment2 = text; }
    // Caption before " バージョン情報"; empty = the application title.
    QString Title() const { return m_title; }
    void SetTitle(const QString &text) { m_title = text; }
    // Window the box is centred over; nullptr = the main window.
    QWidget *SourceHandle() const { return m_source.data(); }
    void SetSourceHandle(QWidget *window);

    // Shows the box modally; true when it closed with result 1 (Ｏ Ｋ, or a
    // home page or mail program started), false through the title bar.
    bool Execute();

    // How web and mail addresses are opened (the desktop's handler by
    // default); true when a program took the address. One place for tests.
    using UrlOpener = std::function<bool(const QUrl &)>;
    static void SetUrlOpener(UrlOpener opener);
    static bool OpenUrl(const QUrl &url);

private:
    QString m_productName;
    QString m_version;
    QString m_copyright;
    QString m_comment0;
    QString m_comment1;
    QString m_comment2;
    QString m_title;
    QPointer<QWidget> m_source;
    bool m_sourceGiven = false;
};

} // namespace nuvask
