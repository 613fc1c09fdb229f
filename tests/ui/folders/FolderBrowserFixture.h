#pragma once
// The folder browser's test bench: a temporary folder tree with the
// program's folder in it, a form on that tree with "/" as the only drive,
// a run of the component with a step of the test inside it, and the message
// and input boxes answered by a ModalDriver.

#include "core/folders/FolderPaths.h"
#include "core/startup/ProgramEntry.h"
#include "support/TempFolderTree.h"
#include "ui/folders/FolderBrowser.h"
#include "ui/folders/FolderBrowserWindow.h"
#include "ui/folders/FileListModel.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/dialogs/MessageBoxWindow.h"
#include "ui/dialogs/InputBox.h"
#include "ui/dialogs/WorkArea.h"
#include "support/ModalDriver.h"

#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeView>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <functional>

namespace nuvask::test::folder_browser {

template <typename T = QWidget>
inline T *Child(QWidget *form, const char *name)
{
    return form->findChild<T *>(QString::fromLatin1(name));
}

inline void Press(QWidget *form, const char *name)
{
    QTest::mouseClick(Child(form, name), Qt::LeftButton);
}

inline void ClickColumn(FolderBrowserWindow *form, int column)
{
    QHeaderView *header = Child<QTreeView>(form, "ListView1")->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
}

inline void SwitchView(FolderBrowserWindow *form)
{
    auto *header = Child<QHeaderView>(form, "HeaderControl1");
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(5, header->height() / 2));
}

inline QStringList Column(const FileListModel *files, FileColumn column)
{
    QStringList out;
    for (const FileRow &row : files->Rows())
        out << (column == FileColumn::Name ? row.name : row.size);
    return out;
}

inline QTreeWidgetItem *Node(FolderBrowserWindow *form, const QString &text)
{
    const auto found = Child<QTreeWidget>(form, "TreeView1")->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

// A real click on the part of a tree node that can be seen, and the
// handling it set going.
inline void ClickNode(FolderBrowserWindow *form, QTreeWidgetItem *node)
{
    auto *tree = Child<QTreeWidget>(form, "TreeView1");
    tree->scrollToItem(node);
    const QRect seen = tree->visualItemRect(node).intersected(tree->viewport()->rect());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, seen.center());
    QCoreApplication::processEvents();
}

inline const QString kFolderError = QStringLiteral("フォルダー・エラー発生\n");

class FolderBrowserTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        MessageBoxWindow::SetTickIntervalMs(5);
        m_savedStart = Start();
        StartValues start = m_savedStart;
        start.ProgramDir = m_tree.Folder(QStringLiteral("prog")) + u'/';
        SetStartValues(start);
    }
    void TearDown() override
    {
        MessageBoxWindow::SetTickIntervalMs(1000);
        SetStartValues(m_savedStart);
    }

    // A form prepared on this tree with "/" as the only drive, shown modeless.
    std::unique_ptr<FolderBrowserWindow> Open(const QString &start, const QString &filter = QStringLiteral("ALL files|*.*"))
    {
        auto form = std::make_unique<FolderBrowserWindow>();
        FolderBrowserRun setup;
        setup.filter = filter;
        setup.startFolder = start;
        form->Prepare(setup, {DriveEntry{QStringLiteral("/"), DriveKind::Fixed, QString(), QString()}});
        form->show();
        return form;
    }

    // Runs `step` on the form inside Execute.
    int Run(FolderBrowser &dlg, std::function<void(FolderBrowserWindow *)> step)
    {
        dlg.SetDrivesForTest({DriveEntry{QStringLiteral("/"), DriveKind::Fixed, QString(), QString()}});
        QTimer::singleShot(0, [&dlg, step = std::move(step)] {
            const QPointer<FolderBrowserWindow> form = dlg.Form();
            ASSERT_NE(form, nullptr);
            step(form);
            // A step that stopped early must not leave the test waiting.
            if (form && form->isVisible())
                form->done(3);
        });
        return dlg.Execute(QString());
    }

    TempFolderTree m_tree;
    ModalDriver m_driver;
    StartValues m_savedStart;
};

} // namespace nuvask::test::folder_browser
