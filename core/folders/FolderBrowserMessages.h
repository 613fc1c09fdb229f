#pragma once
// The folder browser's messages, byte for byte: the failures of its moves
// and their recovery, the new folder and the deleted folder. The browser's
// captions and hints are in ui/folders/FolderBrowserTexts.h.
// A text is a function: the Japanese source text through Qt's translation
// (context "FolderBrowser"), English from i18n/nuvask_en.ts when that was chosen at start.

#include "core/folders/FileNames.h"

#include <QCoreApplication>
#include <QString>

namespace nuvask::folder_browser_texts {

inline QString kDriveError() { return QCoreApplication::translate("FolderBrowser", "ドライブ・エラー発生\n"); }
inline QString kDriveBack() { return QCoreApplication::translate("FolderBrowser", "元のドライブに戻します"); }
inline QString kFolderError() { return QCoreApplication::translate("FolderBrowser", "フォルダー・エラー発生\n"); }
inline QString kTryAvoid() { return QCoreApplication::translate("FolderBrowser", "エラーを回避してみます。"); }
inline QString kChooseOtherFolder() { return QCoreApplication::translate("FolderBrowser", "別のフォルダーを選択して下さい☆"); }
inline QString kFileListError() { return QCoreApplication::translate("FolderBrowser", "ファイルリスト・エラー発生\n"); }
inline QString kChooseOther() { return QCoreApplication::translate("FolderBrowser", "別のドライブか、フォルダーを選択してみて下さい"); }
inline QString kRecoverFailed() { return QCoreApplication::translate("FolderBrowser", "エラー回避に失敗しました\n"); }
inline QString kViewChangeError() { return QCoreApplication::translate("FolderBrowser", "フォルダーチェンジ・エラー"); }
inline QString kCreateFailed() { return QCoreApplication::translate("FolderBrowser", "フォルダーの作成に失敗しました・・・"); }
inline QString kDeleteAsk() { return QCoreApplication::translate("FolderBrowser", "このフォルダーを削除します☆"); }
inline QString kDeleteFailed() { return QCoreApplication::translate("FolderBrowser", "フォルダーの削除に失敗しました・・・"); }

// `head`, the path as a person reads it, a line break and `tail`.
inline QString PathMessage(const QString &head, const QString &path, const QString &tail)
{
    return head + DisplayName(path) + u'\n' + tail;
}

} // namespace nuvask::folder_browser_texts
