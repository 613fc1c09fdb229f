#pragma once
// The folder browser component. The caller sets the properties, calls
// Execute(caption) and takes Directory when the result is 1: the chosen
// folder without a trailing separator ("/" stays "/"). Directory is empty
// after any other ending; Filename is never changed. A folder whose name is
// not UTF-8 comes back with its bytes kept (core/folders/FileNames.h:
// EncodeFileName gives them, DisplayName the text to show).
//
// The browser never changes the process's working folder: a resident
// program sitting in a folder of a removable medium would keep it from being
// unmounted.
//
// Results: 1 "設定", 3 "キャンセル" or Esc, 2 closed through the title bar.

#include "core/folders/MountedDrives.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace nuvask {

class FolderBrowserWindow;

class FolderBrowser : public QObject
{
    Q_OBJECT
public:
    explicit FolderBrowser(QObject *parent = nullptr);

    // In: preferred start folder. Out: the chosen folder, or empty.
    QString Directory() const { return m_directory; }
    void SetDirectory(const QString &folder) { m_directory = folder; }
    // First part of the caption; empty means the application title.
    QString Title() const { return m_title; }
    void SetTitle(const QString &title) { m_title = title; }
    // Window the browser is centred over; nullptr means the main window.
    QWidget *SourceHandle() const { return m_sourceHandle.data(); }
    void SetSourceHandle(QWidget *window);
    // true: lists, edit fields and combo boxes in the platform's window
    // colour; false: in the browser's colour.
    bool StandardColor() const { return m_standardColor; }
    void SetStandardColor(bool on) { m_standardColor = on; }
    // "description|mask|..." pairs; masks of one entry separated by ";".
    QString Filter() const { return m_filter; }
    void SetFilter(const QString &filter) { m_filter = filter; }
    // Start folder when Directory is empty.
    QString InitialDir() const { return m_initialDir; }
    void SetInitialDir(const QString &folder) { m_initialDir = folder; }
    // Carried through unchanged; its file-name part fills the (hidden) file row.
    QString Filename() const { return m_filename; }
    void SetFilename(const QString &name) { m_filename = name; }
    // Not used when choosing folders.
    QString DefaultExt() const { return m_defaultExt; }
    void SetDefaultExt(const QString &ext) { m_defaultExt = ext; }

    int Execute(const QString &caption);

    // The form while Execute runs, else nullptr.
    FolderBrowserWindow *Form() const;
    // Drives to offer instead of the machine's mounted file systems (tests).
    void SetDrivesForTest(const QList<DriveEntry> &drives) { m_testDrives = drives; }

private:
    QString m_directory;
    QString m_title;
    QPointer<QWidget> m_sourceHandle;
    bool m_sourceGiven = false;
    bool m_standardColor = true;
    QString m_filter;
    QString m_initialDir;
    QString m_filename;
    QString m_defaultExt;
    QPointer<FolderBrowserWindow> m_form;
    QList<DriveEntry> m_testDrives;
};

} // namespace nuvask
