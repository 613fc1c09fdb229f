#pragma once
// Texts of the folder browser.
//
// The captions, hints and the new-folder title the folder browser shows of
// its own; its messages are in core/folders/FolderBrowserMessages.h (the same
// namespace and context). Two hints keep their historic spelling on purpose:
// users and screenshots know them so.
// A text is a function: the Japanese source text through Qt's translation
// (context "FolderBrowser"), English from i18n/nuvask_en.ts when that was chosen at start.

#include <QCoreApplication>

namespace nuvask::folder_browser_texts {

inline QString kDesignCaption() { return QCoreApplication::translate("FolderBrowser", " フォルダーの参照"); }
inline QString kDefaultCaption() { return QCoreApplication::translate("FolderBrowser", "フォルダーの選択"); }

inline QString kHintDrive() { return QCoreApplication::translate("FolderBrowser", "ドライブの選択"); }
inline QString kHintPrevious() { return QCoreApplication::translate("FolderBrowser", "一個前のフォルダー"); }
inline QString kHintUp() { return QCoreApplication::translate("FolderBrowser", "一つ上階層フォフォルダー"); }
inline QString kHintNew() { return QCoreApplication::translate("FolderBrowser", "新規作成ルダー"); }
inline QString kHintDelete() { return QCoreApplication::translate("FolderBrowser", "フォルダー削除"); }
inline QString kHintFilter() { return QCoreApplication::translate("FolderBrowser", "ファイルフィルター"); }
inline QString kHintHeader() { return QCoreApplication::translate("FolderBrowser", "フォルダーの選択"); }
inline QString kHintTree() { return QCoreApplication::translate("FolderBrowser", "ツリー構造のフォルダー"); }
inline QString kHintList() { return QCoreApplication::translate("FolderBrowser", "普通のフォルダー"); }
inline QString kHintFiles() { return QCoreApplication::translate("FolderBrowser", "ファイル一覧"); }
inline QString kHintEditFolder() { return QCoreApplication::translate("FolderBrowser", "設定フォルダー名"); }
inline QString kHintEditFile() { return QCoreApplication::translate("FolderBrowser", "設定ファイル名"); }

inline QString kButtonPrevious() { return QCoreApplication::translate("FolderBrowser", "HF"); }
inline QString kButtonUp() { return QCoreApplication::translate("FolderBrowser", "BF"); }
inline QString kButtonNew() { return QCoreApplication::translate("FolderBrowser", "NF"); }
inline QString kButtonDelete() { return QCoreApplication::translate("FolderBrowser", "DF"); }
inline QString kButtonSet() { return QCoreApplication::translate("FolderBrowser", "設定"); }
inline QString kButtonCancel() { return QCoreApplication::translate("FolderBrowser", "キャンセル"); }
inline QString kLabelFolder() { return QCoreApplication::translate("FolderBrowser", "フォルダー"); }
inline QString kLabelFile() { return QCoreApplication::translate("FolderBrowser", "ファイル名"); }

inline QString kHeaderFolder() { return QCoreApplication::translate("FolderBrowser", "フォルダー"); }
inline QString kCount() { return QCoreApplication::translate("FolderBrowser", "ｺ"); }
inline QString kFilling() { return QCoreApplication::translate("FolderBrowser", "---ｺ"); }
inline QString kListSuffix() { return QCoreApplication::translate("FolderBrowser", "　フォルダー"); }
inline QString kTreeSuffix() { return QCoreApplication::translate("FolderBrowser", "　ツリーフォルダー"); }
inline QString kFilesSuffix() { return QCoreApplication::translate("FolderBrowser", "　ファイル名"); }

inline QString kColumnName() { return QCoreApplication::translate("FolderBrowser", "ファイル名"); }
inline QString kColumnSize() { return QCoreApplication::translate("FolderBrowser", "サイズ"); }
inline QString kColumnType() { return QCoreApplication::translate("FolderBrowser", "種類"); }
inline QString kColumnDate() { return QCoreApplication::translate("FolderBrowser", "日付"); }
inline QString kColumnAttributes() { return QCoreApplication::translate("FolderBrowser", "属性"); }

inline QString kNewFolderTitle() { return QCoreApplication::translate("FolderBrowser", "新規作成フォルダー名を入力して下さい☆"); }

} // namespace nuvask::folder_browser_texts
