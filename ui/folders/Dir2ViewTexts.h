#pragma once
// Texts of the folder browser.
//
// Every text the folder browser shows of its own. Two hints keep their
// historic spelling on purpose: users and screenshots know them so.
// A text is a function: the Japanese source text through Qt's translation
// (context "DIR2VIEWForm"), English from i18n/nuvask_en.ts when that was chosen at start.

#include <QCoreApplication>

namespace nuvask::dir2_texts {

inline QString kDesignCaption() { return QCoreApplication::translate("DIR2VIEWForm", " フォルダーの参照"); }
inline QString kDefaultCaption() { return QCoreApplication::translate("DIR2VIEWForm", "フォルダーの選択"); }

inline QString kHintDrive() { return QCoreApplication::translate("DIR2VIEWForm", "ドライブの選択"); }
inline QString kHintPrevious() { return QCoreApplication::translate("DIR2VIEWForm", "一個前のフォルダー"); }
inline QString kHintUp() { return QCoreApplication::translate("DIR2VIEWForm", "一つ上階層フォフォルダー"); }
inline QString kHintNew() { return QCoreApplication::translate("DIR2VIEWForm", "新規作成ルダー"); }
inline QString kHintDelete() { return QCoreApplication::translate("DIR2VIEWForm", "フォルダー削除"); }
inline QString kHintFilter() { return QCoreApplication::translate("DIR2VIEWForm", "ファイルフィルター"); }
inline QString kHintHeader() { return QCoreApplication::translate("DIR2VIEWForm", "フォルダーの選択"); }
inline QString kHintTree() { return QCoreApplication::translate("DIR2VIEWForm", "ツリー構造のフォルダー"); }
inline QString kHintList() { return QCoreApplication::translate("DIR2VIEWForm", "普通のフォルダー"); }
inline QString kHintFiles() { return QCoreApplication::translate("DIR2VIEWForm", "ファイル一覧"); }
inline QString kHintEditFolder() { return QCoreApplication::translate("DIR2VIEWForm", "設定フォルダー名"); }
inline QString kHintEditFile() { return QCoreApplication::translate("DIR2VIEWForm", "設定ファイル名"); }

inline QString kButtonPrevious() { return QCoreApplication::translate("DIR2VIEWForm", "HF"); }
inline QString kButtonUp() { return QCoreApplication::translate("DIR2VIEWForm", "BF"); }
inline QString kButtonNew() { return QCoreApplication::translate("DIR2VIEWForm", "NF"); }
inline QString kButtonDelete() { return QCoreApplication::translate("DIR2VIEWForm", "DF"); }
inline QString kButtonSet() { return QCoreApplication::translate("DIR2VIEWForm", "設定"); }
inline QString kButtonCancel() { return QCoreApplication::translate("DIR2VIEWForm", "キャンセル"); }
inline QString kLabelFolder() { return QCoreApplication::translate("DIR2VIEWForm", "フォルダー"); }
inline QString kLabelFile() { return QCoreApplication::translate("DIR2VIEWForm", "ファイル名"); }

inline QString kHeaderFolder() { return QCoreApplication::translate("DIR2VIEWForm", "フォルダー"); }
inline QString kCount() { return QCoreApplication::translate("DIR2VIEWForm", "ｺ"); }
inline QString kFilling() { return QCoreApplication::translate("DIR2VIEWForm", "---ｺ"); }
inline QString kListSuffix() { return QCoreApplication::translate("DIR2VIEWForm", "　フォルダー"); }
inline QString kTreeSuffix() { return QCoreApplication::translate("DIR2VIEWForm", "　ツリーフォルダー"); }
inline QString kFilesSuffix() { return QCoreApplication::translate("DIR2VIEWForm", "　ファイル名"); }

inline QString kColumnName() { return QCoreApplication::translate("DIR2VIEWForm", "ファイル名"); }
inline QString kColumnSize() { return QCoreApplication::translate("DIR2VIEWForm", "サイズ"); }
inline QString kColumnType() { return QCoreApplication::translate("DIR2VIEWForm", "種類"); }
inline QString kColumnDate() { return QCoreApplication::translate("DIR2VIEWForm", "日付"); }
inline QString kColumnAttributes() { return QCoreApplication::translate("DIR2VIEWForm", "属性"); }

inline QString kNewFolderTitle() { return QCoreApplication::translate("DIR2VIEWForm", "新規作成フォルダー名を入力して下さい☆"); }

inline QString kDriveError() { return QCoreApplication::translate("DIR2VIEWForm", "ドライブ・エラー発生\n"); }
inline QString kDriveBack() { return QCoreApplication::translate("DIR2VIEWForm", "元のドライブに戻します"); }
inline QString kFolderError() { return QCoreApplication::translate("DIR2VIEWForm", "フォルダー・エラー発生\n"); }
inline QString kTryAvoid() { return QCoreApplication::translate("DIR2VIEWForm", "エラーを回避してみます。"); }
inline QString kChooseOtherFolder() { return QCoreApplication::translate("DIR2VIEWForm", "別のフォルダーを選択して下さい☆"); }
inline QString kFileListError() { return QCoreApplication::translate("DIR2VIEWForm", "ファイルリスト・エラー発生\n"); }
inline QString kChooseOther() { return QCoreApplication::translate("DIR2VIEWForm", "別のドライブか、フォルダーを選択してみて下さい"); }
inline QString kRecoverFailed() { return QCoreApplication::translate("DIR2VIEWForm", "エラー回避に失敗しました\n"); }
inline QString kViewChangeError() { return QCoreApplication::translate("DIR2VIEWForm", "フォルダーチェンジ・エラー"); }
inline QString kCreateFailed() { return QCoreApplication::translate("DIR2VIEWForm", "フォルダーの作成に失敗しました・・・"); }
inline QString kDeleteAsk() { return QCoreApplication::translate("DIR2VIEWForm", "このフォルダーを削除します☆"); }
inline QString kDeleteFailed() { return QCoreApplication::translate("DIR2VIEWForm", "フォルダーの削除に失敗しました・・・"); }

} // namespace nuvask::dir2_texts
