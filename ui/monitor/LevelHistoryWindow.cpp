// The level history window.

#include "ui/monitor/LevelHistoryWindow.h"

#include "core/folders/FileNames.h"
#include "core/mainwindow/WindowPlacement.h"
#include "core/monitor/LevelHistory.h"
#include "core/monitor/LevelHistoryCsv.h"
#include "core/monitor/LevelHistoryExport.h"
#include "ui/dialogs/AboveOwner.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/dialogs/WorkArea.h"
#include "ui/folders/FolderBrowser.h"
#include "ui/monitor/LevelHistoryGraph.h"
#include "ui/monitor/LevelHistoryTexts.h"
#include "ui/widgets/DialogKeys.h"
#include "ui/widgets/WidgetPlacement.h"

#include <QBuffer>
#include <QEvent>
#include <QHBoxLayout>
#include <QImageWriter>
#include <QKeyEvent>
#include <QLabel>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace nuvask {

namespace {

constexpr int Spans[3] = {1, 10, 60}; // minutes
constexpr int ButtonHeight = 20;      // pixels

ColourButton *rowButton(QWidget *parent, QHBoxLayout *row, const char *name, int width, const QString &caption,
                     const QString &hint)
{
    ColourButton *button = colorButton(parent, QString::fromLatin1(name), QRect(0, 0, width, ButtonHeight), caption, hint);
    button->setFixedSize(width, ButtonHeight);
    row->addWidget(button);
    return button;
}

} // namespace

LevelHistoryWindow::LevelHistoryWindow(const LevelHistory &history, QWidget *parent)
    : ColouredDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                  Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                                  Qt::WindowCloseButtonHint),
      m_history(history)
{
    setObjectName(QStringLiteral("LevelHistoryWindow"));
    setWindowTitle(historyText::Caption());
    setModal(false);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 4);
    column->setSpacing(4);
    auto *row = new QHBoxLayout;
    row->setSpacing(2);
    const char *spanNames[3] = {"Btn_Span1", "Btn_Span10", "Btn_Span60"};
    const QString spanCaptions[3] = {historyText::Span1(), historyText::Span10(), historyText::Span60()};
    for (int i = 0; i < 3; ++i) {
        m_spanButtons[i] = rowButton(this, row, spanNames[i], 40, spanCaptions[i], historyText::HintSpan());
        connect(m_spanButtons[i], &ColourButton::OnClick, this, [this, i] { SpanClick(Spans[i]); });
    }
    row->addSpacing(10);
    m_pause = rowButton(this, row, "Btn_Pause", 64, historyText::Pause(), historyText::HintPause());
    connect(m_pause, &ColourButton::OnClick, this, &LevelHistoryWindow::Btn_PauseClick);
    row->addStretch(1);
    ColourButton *csv = rowButton(this, row, "Btn_CSV", 64, historyText::SaveCsv(), historyText::HintSaveCsv());
    connect(csv, &ColourButton::OnClick, this, &LevelHistoryWindow::Btn_CSVClick);
    ColourButton *png = rowButton(this, row, "Btn_PNG", 64, historyText::SavePng(), historyText::HintSavePng());
    connect(png, &ColourButton::OnClick, this, &LevelHistoryWindow::Btn_PNGClick);
    row->addSpacing(10);
    ColourButton *close = rowButton(this, row, "Btn_Close", 56, historyText::Close(), historyText::HintClose());
    close->SetCancel(true); // Esc
    connect(close, &ColourButton::OnClick, this, &QWidget::close);
    column->addLayout(row);

    m_graph = new LevelHistoryGraph(history, this);
    column->addWidget(m_graph, 1);
    m_reading = new QLabel(this);
    m_reading->setObjectName(QStringLiteral("Label_Reading"));
    m_reading->setFixedHeight(16);
    m_reading->setTextFormat(Qt::PlainText);
    column->addWidget(m_reading);
    connect(m_graph, &LevelHistoryGraph::readingChanged, m_reading, &QLabel::setText);

    m_browser = new FolderBrowser(this);
    m_browser->setObjectName(QStringLiteral("DIR2OPENDLG_History"));

    resize(DefaultWidth, DefaultHeight);
    showSpan();
}

LevelHistoryWindow::~LevelHistoryWindow() = default;

void LevelHistoryWindow::SetMessageBox(MessageBox *box)
{
    m_box = box;
}

void LevelHistoryWindow::ApplySettings(const HistoryWindowSettings &settings)
{
    m_stored = settings;
    // The folder as the browser gives it, bytes that are not UTF-8 included.
    if (m_stored.folder)
        m_stored.folder = FileNameFromStored(*m_stored.folder);
    m_graph->SetSpanMinutes(settings.spanMinutes.value_or(10));
    showSpan();
}

HistoryWindowSettings LevelHistoryWindow::Settings() const
{
    HistoryWindowSettings s = m_stored;
    if (m_opened) {
        s.position = pos();
        s.size = size();
        s.spanMinutes = m_graph->SpanMinutes();
    }
    if (s.folder)
        s.folder = StoredFileName(*s.folder);
    return s;
}

void LevelHistoryWindow::Open()
{
    if (!m_opened) {
        // First time in this run: the stored place and size, kept on the
        // screen as it is now; without them, the default size over the main window.
        m_opened = true;
        GetWorkArea();
        const QRect work = WorkAreaRect();
        const QSize wanted = m_stored.size.value_or(QSize(DefaultWidth, DefaultHeight));
        resize(wanted.expandedTo(minimumSizeHint()).boundedTo(work.size()));
        move(m_stored.position ? ClampToWorkArea(*m_stored.position, size(), work)
                               : PlaceDialog(size(), nullptr, false));
    }
    AboveOwner::Keep(this, nullptr, false); // over the main window
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void LevelHistoryWindow::showSpan()
{
    for (int i = 0; i < 3; ++i)
        ShowSwitchedOn(*m_spanButtons[i], m_graph->SpanMinutes() == Spans[i]);
}

void LevelHistoryWindow::SpanClick(int minutes)
{
    m_graph->SetSpanMinutes(minutes);
    m_stored.spanMinutes = m_graph->SpanMinutes();
    showSpan();
}

void LevelHistoryWindow::Btn_PauseClick()
{
    const bool paused = !m_graph->Paused();
    m_graph->SetPaused(paused);
    m_pause->SetCaption(paused ? historyText::Resume() : historyText::Pause());
    ShowSwitchedOn(*m_pause, paused);
}

QString LevelHistoryWindow::chooseFolder(const QString &title)
{
    m_browser->SetTitle(title);
    m_browser->SetSourceHandle(this);
    m_browser->SetDirectory(m_stored.folder.value_or(QString()));
    m_browser->SetInitialDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    if (m_browser->Execute(QString()) != 1 || m_browser->Directory().isEmpty())
        return QString();
    m_stored.folder = m_browser->Directory();
    return m_browser->Directory();
}

QString LevelHistoryWindow::newFilePath(const QString &folder, const QString &extension) const
{
    const QString stem = historyText::FileStem +
                         m_history.Anchor().wallAt(m_graph->ViewEnd()).toString(QStringLiteral("yyyyMMdd_HHmmss"));
    return NewExportPath(folder, stem, extension);
}

void LevelHistoryWindow::tell(const QString &error, const QString &path)
{
    if (!m_box)
        return;
    // The path as the folder browser showed it.
    const QString shown = DisplayName(path);
    if (error.isEmpty())
        m_box->ShowOK(historyText::Saved() + QLatin1Char('\n') + shown);
    else
        m_box->ShowOK(historyText::SaveFailed() + QLatin1Char('\n') + shown + QLatin1Char('\n') + error);
}

QString LevelHistoryWindow::ExportCsv(const QString &folder, QString &path)
{
    path = newFilePath(folder, QStringLiteral("csv"));
    const qint64 end = m_graph->ViewEnd();
    return WriteExportFile(path, LevelCsvBytes(m_history, end - m_graph->SpanMs(), end, m_history.Anchor()));
}

QString LevelHistoryWindow::ExportPng(const QString &folder, QString &path)
{
    path = newFilePath(folder, QStringLiteral("png"));
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    QImageWriter writer(&png, "png");
    if (!writer.write(m_graph->Render()))
        return writer.errorString();
    return WriteExportFile(path, png.data());
}

void LevelHistoryWindow::exportThrough(const QString &title, Exporter exporter)
{
    const QString folder = chooseFolder(title);
    if (folder.isEmpty())
        return;
    QString path;
    const QString error = (this->*exporter)(folder, path);
    tell(error, path);
}

void LevelHistoryWindow::Btn_CSVClick()
{
    exportThrough(historyText::CsvFolderTitle(), &LevelHistoryWindow::ExportCsv);
}

void LevelHistoryWindow::Btn_PNGClick()
{
    exportThrough(historyText::PngFolderTitle(), &LevelHistoryWindow::ExportPng);
}

QString LevelHistoryWindow::readingShown() const
{
    return m_reading->text();
}

void LevelHistoryWindow::changeEvent(QEvent *event)
{
    ColouredDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        m_graph->UpdateTimer();
}

void LevelHistoryWindow::keyPressEvent(QKeyEvent *event)
{
    // Esc belongs to "閉じる" like every colour-button window's keys.
    if (!DialogKeys::SwallowDefaultKeys(event))
        ColouredDialog::keyPressEvent(event);
}

} // namespace nuvask
