// The help viewer window.

#include "ui/help/HelpWindow.h"

#include "ui/dialogs/AboveOwner.h"
#include "ui/help/HelpTexts.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace nuvask {

namespace {
constexpr int kTopicRole = Qt::UserRole; // the topic id an entry leads to
} // namespace

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    // An open help window must not keep the program alive once the main
    // window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(helpText::Caption());
    resize(760, 520);

    auto *splitter = new QSplitter(this);
    m_tabs = new QTabWidget(splitter);
    m_tabs->setObjectName(QStringLiteral("HelpTabs"));

    m_contents = new QTreeWidget(m_tabs);
    m_contents->setObjectName(QStringLiteral("HelpContents"));
    m_contents->setHeaderHidden(true);
    m_tabs->addTab(m_contents, helpText::ContentsTab());
    connect(m_contents, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *item) { ShowTopic(item->data(0, kTopicRole).toString()); });
    connect(m_contents, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item) { ShowTopic(item->data(0, kTopicRole).toString()); });

    auto *keywordPage = new QWidget(m_tabs);
    auto *keywordLayout = new QVBoxLayout(keywordPage);
    keywordLayout->addWidget(new QLabel(helpText::KeywordPrompt(), keywordPage));
    m_keywordEdit = new QLineEdit(keywordPage);
    m_keywordEdit->setObjectName(QStringLiteral("HelpKeywordEdit"));
    keywordLayout->addWidget(m_keywordEdit);
    m_keywordList = new QListWidget(keywordPage);
    m_keywordList->setObjectName(QStringLiteral("HelpKeywordList"));
    keywordLayout->addWidget(m_keywordList);
    auto *showButton = new QPushButton(helpText::ShowTopic(), keywordPage);
    showButton->setObjectName(QStringLiteral("HelpShowTopic"));
    keywordLayout->addWidget(showButton);
    m_tabs->addTab(keywordPage, helpText::KeywordTab());
    connect(m_keywordEdit, &QLineEdit::textChanged, this, &HelpWindow::keywordTyped);
    connect(m_keywordEdit, &QLineEdit::returnPressed, this, &HelpWindow::keywordChosen);
    connect(m_keywordList, &QListWidget::itemActivated, this, &HelpWindow::keywordChosen);
    connect(showButton, &QPushButton::clicked, this, &HelpWindow::keywordChosen);

    auto *right = new QWidget(splitter);
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    auto *bar = new QHBoxLayout;
    auto *back = new QPushButton(helpText::Back(), right);
    back->setObjectName(QStringLiteral("HelpBack"));
    auto *forward = new QPushButton(helpText::Forward(), right);
    forward->setObjectName(QStringLiteral("HelpForward"));
    auto *helpOnHelp = new QPushButton(helpText::HelpOnHelp(), right);
    helpOnHelp->setObjectName(QStringLiteral("HelpOnHelp"));
    bar->addWidget(back);
    bar->addWidget(forward);
    bar->addStretch();
    bar->addWidget(helpOnHelp);
    rightLayout->addLayout(bar);
    m_browser = new QTextBrowser(right);
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setOpenExternalLinks(true);
    rightLayout->addWidget(m_browser);
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    connect(helpOnHelp, &QPushButton::clicked, this, [this] { ShowTopic(helpText::HelpOnHelpId); });
    back->setEnabled(false);
    forward->setEnabled(false);
    // Enter presses the focused button, as Space does (outside a QDialog a
    // Qt push button ignores Enter).
    for (QPushButton *button : findChildren<QPushButton *>())
        button->setAutoDefault(true);

    splitter->setStretchFactor(1, 3);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(splitter);
}

void HelpWindow::load(const QString &helpFile)
{
    const QFileInfo info(helpFile);
    const qint64 stamp = info.exists() ? info.lastModified().toMSecsSinceEpoch() : -1;
    if (helpFile == m_file && stamp == m_fileStamp && m_loaded)
        return;
    m_file = helpFile;
    m_fileStamp = stamp;
    m_loaded = false;
    m_currentTopic.clear();
    m_contents->clear();
    m_keywordList->clear();
    m_index = HelpIndex();

    QFile file(helpFile);
    if (!info.exists() || !file.open(QIODevice::ReadOnly)) {
        m_browser->setPlainText((info.exists() ? helpText::Unreadable() : helpText::Missing()) + helpFile);
        return;
    }
    const QString html = QString::fromUtf8(file.readAll());
    m_index = HelpIndex::Parse(html);
    // Relative links and pictures resolve beside the help file.
    m_browser->setSearchPaths({info.absolutePath()});
    m_browser->setHtml(html);
    m_loaded = true;

    QList<QTreeWidgetItem *> parents; // the last item of each level
    for (const HelpTopic &topic : m_index.Topics()) {
        auto *item = new QTreeWidgetItem({topic.title});
        item->setData(0, kTopicRole, topic.id);
        while (parents.size() >= topic.level)
            parents.removeLast();
        if (parents.isEmpty())
            m_contents->addTopLevelItem(item);
        else
            parents.last()->addChild(item);
        parents << item;
    }
    m_contents->expandAll();
    keywordTyped(m_keywordEdit->text());
}

void HelpWindow::present()
{
    AboveOwner::Keep(this, nullptr, false); // over the main window
    show();
    raise();
    activateWindow();
}

void HelpWindow::ShowTopic(const QString &id)
{
    if (!m_loaded || id.isEmpty())
        return;
    m_currentTopic = id;
    m_browser->scrollToAnchor(id);
}

void HelpWindow::ShowContents(const QString &helpFile)
{
    load(helpFile);
    m_tabs->setCurrentWidget(m_contents);
    if (m_loaded && !m_index.Topics().isEmpty())
        ShowTopic(m_index.Topics().first().id);
    present();
    m_contents->setFocus();
}

void HelpWindow::ShowKeywordSearch(const QString &helpFile, const QString &typed)
{
    load(helpFile);
    m_tabs->setCurrentIndex(1);
    m_keywordEdit->setText(typed);
    keywordTyped(typed);
    present();
    m_keywordEdit->setFocus();
    m_keywordEdit->selectAll();
}

void HelpWindow::ShowHelpOnHelp(const QString &helpFile)
{
    load(helpFile);
    ShowTopic(helpText::HelpOnHelpId);
    present();
}

void HelpWindow::Quit()
{
    close();
}

void HelpWindow::keywordTyped(const QString &text)
{
    m_keywordList->clear();
    for (const QString &keyword : m_index.Match(text)) {
        const QStringList ids = m_index.TopicsFor(keyword);
        for (const QString &id : ids) {
            // A keyword of several topics names each of them.
            const QString label =
                ids.size() == 1 ? keyword : helpText::KeywordTopic().arg(keyword, m_index.TitleOf(id));
            auto *item = new QListWidgetItem(label, m_keywordList);
            item->setData(kTopicRole, id);
        }
    }
    if (m_keywordList->count() > 0)
        m_keywordList->setCurrentRow(0);
}

void HelpWindow::keywordChosen()
{
    if (QListWidgetItem *item = m_keywordList->currentItem())
        ShowTopic(item->data(kTopicRole).toString());
}

} // namespace nuvask
