#pragma once
// The level history window "録音レベルの履歴": the graph of the level history
// with the span buttons (1, 10, 60 minutes), pause, and the exports of what
// it shows as CSV and as a PNG picture into a folder chosen in the program's
// folder browser. Non-modal, in the main window's colours; opened from the
// Options menu and the tray menu. Its place, size, span and export folder
// are kept in the settings (HistoryWindowSettings).

#include "core/settings/SettingsStore.h"
#include "ui/dialogs/ColouredDialog.h"

#include <QPointer>

class QLabel;

namespace nuvask {

class LevelHistory;
class LevelHistoryGraph;
class ColourButton;
class FolderBrowser;
class MessageBox;

class LevelHistoryWindow : public ColouredDialog
{
    Q_OBJECT
public:
    static constexpr int DefaultWidth = 660;  // pixels
    static constexpr int DefaultHeight = 330; // pixels

    LevelHistoryWindow(const LevelHistory &history, QWidget *parent = nullptr);
    ~LevelHistoryWindow() override;

    // Saved and failed exports are told through this box.
    void SetMessageBox(MessageBox *box);

    // The stored values, applied before the first opening.
    void ApplySettings(const HistoryWindowSettings &settings);
    // What to store: the window as it is once opened, else what was applied.
    HistoryWindowSettings Settings() const;

    // Shows the window at its place, or brings it to the front.
    void Open();

    // Buttons.
    void SpanClick(int minutes);
    void Btn_PauseClick();
    void Btn_CSVClick();
    void Btn_PNGClick();

    // The exports without the browser: into `folder`, under a new name made
    // of the shown span's end. Empty = success; `path` gets the file written.
    QString ExportCsv(const QString &folder, QString &path);
    QString ExportPng(const QString &folder, QString &path);

    LevelHistoryGraph &graph() const { return *m_graph; }
    FolderBrowser *folderBrowser() const { return m_browser; }
    QString readingShown() const;

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showSpan();
    // Runs the folder browser; the chosen folder, or empty.
    QString chooseFolder(const QString &title);
    // File name for `extension` in `folder` that does not exist yet.
    QString newFilePath(const QString &folder, const QString &extension) const;
    void tell(const QString &error, const QString &path);
    // Chooses the folder, writes into it and says how it went.
    using Exporter = QString (LevelHistoryWindow::*)(const QString &, QString &);
    void exportThrough(const QString &title, Exporter exporter);

    const LevelHistory &m_history;
    LevelHistoryGraph *m_graph = nullptr;
    ColourButton *m_spanButtons[3] = {};
    ColourButton *m_pause = nullptr;
    QLabel *m_reading = nullptr;
    FolderBrowser *m_browser = nullptr;
    QPointer<MessageBox> m_box;
    HistoryWindowSettings m_stored;
    bool m_opened = false;
};

} // namespace nuvask
