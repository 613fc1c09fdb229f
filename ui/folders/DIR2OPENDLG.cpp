// The folder browser component (DIR2OPENDLG1).

#include "ui/folders/DIR2OPENDLG.h"

#include "core/folders/FolderFilter.h"
#include "core/folders/FolderPaths.h"
#include "ui/folders/DIR2VIEWForm.h"
#include "ui/folders/Dir2ViewTexts.h"
#include "ui/dialogs/AboveOwner.h"
#include "ui/dialogs/MessageBoxWindow.h"
#include "ui/dialogs/WorkArea.h"

#include <QVariant>

#include <memory>

namespace nuvask {

TDIR2OPENDLG::TDIR2OPENDLG(QObject *parent)
    : QObject(parent), m_filter(QString::fromLatin1(kAllFilesFilter))
{
    setObjectName(QStringLiteral("DIR2OPENDLG1"));
}

TDIR2VIEWForm *TDIR2OPENDLG::Form() const
{
    return m_form.data();
}

void TDIR2OPENDLG::SetSourceHandle(QWidget *window)
{
    m_sourceHandle = window;
    m_sourceGiven = window != nullptr;
}

int TDIR2OPENDLG::Execute(const QString &caption)
{
    auto form = std::make_unique<TDIR2VIEWForm>();
    m_form = form.get();
    const QSize outer(TDIR2VIEWForm::kClientWidth + MessageBoxWindow::kFrameWidth,
                      TDIR2VIEWForm::kClientHeight + MessageBoxWindow::kFrameHeight);
    form->move(PlaceDialog(outer, m_sourceHandle.data(), m_sourceGiven));

    const QString title = m_title.isEmpty() ? ApplicationTitle() : m_title;
    Dir2RunSetup setup;
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
    form->setWindowTitle(title + (caption.isEmpty() ? dir2_texts::kDefaultCaption() : caption));

    // The component may go with its owner while the form's loop runs.
    const QPointer<TDIR2OPENDLG> self(this);
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
