// The folder browser component (DIR2OPENDLG1).

#include "ui/folders/FolderBrowser.h"

#include "core/folders/FolderFilter.h"
#include "core/folders/FolderPaths.h"
#include "ui/folders/FolderBrowserWindow.h"
#include "ui/folders/FolderBrowserTexts.h"
#include "ui/dialogs/AboveOwner.h"
#include "ui/dialogs/MessageBoxWindow.h"
#include "ui/dialogs/WorkArea.h"

#include <QVariant>

#include <memory>

namespace nuvask {

FolderBrowser::FolderBrowser(QObject *parent)
    : QObject(parent), m_filter(QString::fromLatin1(kAllFilesFilter))
{
    setObjectName(QStringLiteral("DIR2OPENDLG1"));
}

FolderBrowserWindow *FolderBrowser::Form() const
{
    return m_form.data();
}

void FolderBrowser::SetSourceHandle(QWidget *window)
{
    m_sourceHandle = window;
    m_sourceGiven = window != nullptr;
}

int FolderBrowser::Execute(const QString &caption)
{
    auto form = std::make_unique<FolderBrowserWindow>();
    m_form = form.get();
    const QSize outer(FolderBrowserWindow::kClientWidth + MessageBoxWindow::kFrameWidth,
                      FolderBrowserWindow::kClientHeight + MessageBoxWindow::kFrameHeight);
    form->move(PlaceDialog(outer, m_sourceHandle.data(), m_sourceGiven));

    const QString title = m_title.isEmpty() ? ApplicationTitle() : m_title;
    FolderBrowserRun setup;
    setup.filter = m_filter;
    setup.startFolder = StartFolder(m_directory, m_initialDir, ProgramFolder());
    setup.fileName = m_filename;
    setup.standardColor = m_standardColor;
    setup.title = title;
    if (const QWidget *main = FindMainWindow()) {
        const QVariant hints = main->property("ShowHint");
        setup.hintsOn = !hints.isValid() || hints.toBool();
    }
    form->Prepare(setup, m_testDrives);
    form->setWindowTitle(title + (caption.isEmpty() ? folder_browser_texts::kDefaultCaption() : caption));

    // The component may go with its owner while the form's loop runs.
    const QPointer<FolderBrowser> self(this);
    AboveOwner::Keep(form.get(), m_sourceHandle.data(), m_sourceGiven);
    const int result = form->exec();
    if (self)
        m_directory = form->ChosenFolder();
    form->hide();
    form.reset();
    if (QWidget *main = FindMainWindow())
        main->update();
    return result;
}

} // namespace nuvask
