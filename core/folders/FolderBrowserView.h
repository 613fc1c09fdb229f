#pragma once
// The folder browser's window as the navigator sees it.
//
// What FolderNavigator does to the browser's widgets: the drive list, the
// folder view (tree or list, whichever is shown: the navigator never knows
// which), the file list, the "HF" button, the folder field and the message
// box. The navigator never sees a widget: the browser window implements
// this, and tests implement it with a recording fake.

#include "core/folders/FileListing.h"
#include "core/folders/MountedDrives.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace nuvask {

class FolderBrowserView
{
public:
    virtual ~FolderBrowserView() = default;

    // ComboBox2: one entry per drive, in this order.
    virtual void ShowDrives(const QList<DriveEntry> &drives) = 0;
    // Selects the entry of the drive `root` without running its change
    // handler; nothing when there is none.
    virtual void SelectDriveEntry(const QString &root) = 0;
    // The entry of the drive `root` reads `text`; nothing when there is none.
    virtual void LabelDriveEntry(const QString &root, const QString &text) = 0;

    // The folder view's caption says it is being filled ("---ｺ…").
    virtual void ShowFolderFilling() = 0;
    // The folder view shows `folder`, which opens; `components` are its
    // drive root and the names below it. False when it could not be shown.
    virtual bool ShowFolder(const QString &folder, const QStringList &components) = 0;
    // The tree node just chosen, whose folder `folder` was entered, gets its
    // sub-folders when it has none and is expanded when it has any.
    virtual void OpenChosenNode(const QString &folder) = 0;
    // The hourglass the window shows while a chosen node is handled goes;
    // called once the node is handled, before any message.
    virtual void EndNodeWait() = 0;

    // ListView1: its caption says it is being filled; then its rows (the
    // sort directions start anew) and the caption with their number.
    virtual void ShowFilesFilling() = 0;
    virtual void ShowFiles(QList<FileRow> rows) = 0;
    // Button_HF ("HF", the previous folder).
    virtual void EnableBack(bool enabled) = 0;
    // Edit_Folder.
    virtual void SetFolderText(const QString &text) = 0;

    // The browser's message box; each waits until the box is closed.
    // OK with the countdown, OK the default.
    virtual void ShowMessageTimer(const QString &text) = 0;
    // OK without a countdown.
    virtual void ShowMessage(const QString &text) = 0;
    // Yes/No with the countdown, No the default: true on Yes.
    virtual bool AskYesNo(const QString &text) = 0;
    // The text input box asks for a new folder's name after `prompt`;
    // nothing when it was not given.
    virtual std::optional<QString> AskFolderName(const QString &prompt) = 0;
};

} // namespace nuvask
