#pragma once
// The folder browser's moves between folders, for one run: it owns what
// the run remembers (FolderBrowserState), the drives, the file mask and the
// recovery mark, and decides every move; the window (FolderBrowserView)
// only shows and forwards its controls' events here.
//
// Every move goes through GoToFolder / ChooseDrive / ShowFolder. A folder
// that cannot be read or shown is reported once and left for the deepest
// folder above it that opens, else "/" (Recover); a failure while
// recovering is reported but never recovered from again, so the browser
// never closes on its own and never loops.
//
// The process's working folder is never changed: a resident program sitting
// in a folder of a removable medium would keep it from being unmounted.

#include "core/folders/FolderBrowserState.h"
#include "core/folders/MountedDrives.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace nuvask {

class FolderBrowserView;

class FolderNavigator
{
public:
    explicit FolderNavigator(FolderBrowserView &view);

    FolderNavigator(const FolderNavigator &) = delete;
    FolderNavigator &operator=(const FolderNavigator &) = delete;

    // --- a run ----------------------------------------------------------------
    // The file mask the file list uses ("*.txt;*.log"); nothing is refilled.
    void SetMask(const QString &mask) { m_mask = mask; }
    // Opens the run: `drives` (the machine's mounted file systems when empty)
    // are shown with the program's drive selected and labelled, the history
    // is cleared and "HF" disabled; then `startFolder`, or the program's
    // folder when that fails; the folder field names the folder reached.
    void Start(const QString &startFolder, const QList<DriveEntry> &drives = {});

    // --- moves (false: `path` names no folder that can be opened; a folder
    // that cannot be shown once found has been reported and recovered from)
    bool GoToFolder(const QString &path);
    // The drive `root`, at the folder last visited on it (else its root).
    bool ChooseDrive(const QString &root);
    // `path` in the folder view, and its files; a failure is reported and
    // recovered from (outside a recovery).
    bool ShowFolder(const QString &path);
    // To `target`, else "/"; reported when neither opens. Does nothing while
    // a recovery runs.
    void Recover(const QString &target);
    // The program's folder; failing that, recovery from it.
    void GoToProgramFolder();
    // Refills the file list from the current folder, which becomes the
    // listed folder; false when it could not be listed.
    bool RefillFiles();

    // --- the controls' events --------------------------------------------------
    // ComboBox2: the drive chosen, then the folder field names the folder.
    void DriveChosen(const QString &root);
    // ComboBox_KAKU: the file list of the listed folder with `mask`.
    void FilterChosen(const QString &mask);
    // HeaderControl1: the view has switched between tree and list; the
    // current folder is shown in the other one.
    void ViewSwitched();
    // A tree node chosen (and still chosen once the input is over), by its
    // path; ends the window's wait before any message.
    void NodeChosen(const QString &path);
    // "HF": back to the folder listed before this one.
    void Back();
    // "BF": one level up.
    void Up();
    // "NF": asks for a name and makes that folder in the current one.
    void NewFolder();
    // "DF": asks, then removes the current folder when it is empty.
    void DeleteFolder();
    // "設定": the folder the field's text `typed` chooses. The field shows the
    // current folder as a person reads it; that text stands for the folder
    // itself, whatever bytes its name holds; any other text is taken as
    // typed. Never a trailing separator ("/" stays "/").
    QString ChosenFolder(const QString &typed) const;

    // --- state ------------------------------------------------------------------
    const FolderBrowserState &State() const { return m_state; }
    const QList<DriveEntry> &Drives() const { return m_drives; }
    QString Mask() const { return m_mask; }

private:
    // `path` as a folder that opens (typed display names looked up), or empty.
    QString CheckOrTranslate(const QString &path) const;
    QString DriveOf(const QString &path) const;
    // The drive root of `path` and the names below it.
    QStringList DriveComponents(const QString &path) const;
    void LabelDrive(const QString &root);
    // `folder` becomes current (and its drive's last folder); the field names it.
    void Enter(const QString &folder);
    bool ShowInMode(const QString &path);
    // `path`, else the program's folder (the buttons' moves).
    void GoToOrProgramFolder(const QString &path);

    FolderBrowserView &m_view;
    FolderBrowserState m_state;
    QList<DriveEntry> m_drives;
    QString m_mask = QStringLiteral("*.*");
    // Set while a recovery runs: a failure inside it is not recovered from.
    bool m_recovering = false;
};

} // namespace nuvask
