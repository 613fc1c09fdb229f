// The about box component.

#include "ui/help/AboutBox.h"

#include "core/help/VersionDisplay.h"
#include "ui/help/AboutBoxWindow.h"
#include "ui/help/AboutTexts.h"
#include "ui/dialogs/AboveOwner.h"
#include "ui/dialogs/MessageBoxWindow.h"
#include "ui/dialogs/WorkArea.h"

#include <QDesktopServices>
#include <QVariant>

#include <memory>

namespace nuvask {

namespace {
AboutBox::UrlOpener &urlOpener()
{
    static AboutBox::UrlOpener opener;
    return opener;
}
} // namespace

AboutBox::AboutBox(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("AboutBoxDlg1"));
}

void AboutBox::SetSourceHandle(QWidget *window)
{
    m_source = window;
    m_sourceGiven = window != nullptr;
}

void AboutBox::SetUrlOpener(UrlOpener opener)
{
    urlOpener() = std::move(opener);
}

bool AboutBox::OpenUrl(const QUrl &url)
{
    if (urlOpener())
        return urlOpener()(url);
    return QDesktopServices::openUrl(url);
}

bool AboutBox::Execute()
{
    auto box = std::make_unique<AboutBoxWindow>();
    const QSize outer(AboutBoxWindow::kClientWidth + MessageBoxWindow::kFrameWidth, AboutBoxWindow::kClientHeight + MessageBoxWindow::kFrameHeight);
    box->move(PlaceDialog(outer, m_source.data(), m_sourceGiven));
    box->SetTexts(ProductNameLine(m_productName), m_version, m_copyright, m_comment0, m_comment1, m_comment2);
    box->setWindowTitle((m_title.isEmpty() ? ApplicationTitle() : m_title) + aboutText::CaptionSuffix());
    bool hints = true;
    if (const QWidget *main = FindMainWindow()) {
        const QVariant shown = main->property("ShowHint");
        hints = !shown.isValid() || shown.toBool();
    }
    box->SetHintsOn(hints);

    // The component may go with its window while the box is open.
    const QPointer<AboutBox> self(this);
    AboveOwner::Keep(box.get(), m_source.data(), m_sourceGiven);
    const int result = box->exec();
    box->hide();
    box.reset();
    if (QWidget *main = FindMainWindow())
        main->update();
    return self && result == 1;
}

} // namespace nuvask
