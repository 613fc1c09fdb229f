#pragma once
// Texts of the folder browser.
//
// Every text the folder browser shows of its own. Two hints keep their
// historic spelling on purpose: users and screenshots know them so.

namespace nuvask::dir2_texts {

inline constexpr char kDesignCaption[] = " フォルダーの参照";
inline constexpr char kDefaultCaption[] = "フォルダーの選択";

inline constexpr char kHintDrive[] = "ドライブの選択";
inline constexpr char kHintPrevious[] = "一個前のフォルダー";
inline constexpr char kHintUp[] = "一つ上階層フォフォルダー";
inline constexpr char kHintNew[] = "新規作成ルダー";
inline constexpr char kHintDelete[] = "フォルダー削除";
inline constexpr char kHintFilter[] = "ファイルフィルター";
inline constexpr char kHintHeader[] = "フォルダーの選択";
inline constexpr char kHintTree[] = "ツリー構造のフォルダー";
inline constexpr char kHintList[] = "普通のフォルダー";
inline constexpr char kHintFiles[] = "ファイル一覧";
inline constexpr char kHintEditFolder[] = "設定フォルダー名";
inline constexpr char kHintEditFile[] = "設定ファイル名";

inline constexpr char kButtonPrevious[] = "HF";
inline constexpr char kButtonUp[] = "BF";
inline constexpr char kButtonNew[] = "NF";
inline constexpr char kButtonDelete[] = "DF";
inline constexpr char kButtonSet[] = "設定";
inline constexpr char kButtonCancel[] = "キャンセル";
inline constexpr char kLabelFolder[] = "フォルダー";
inline constexpr char kLabelFile[] = "ファイル名";

inline constexpr char kHeaderFolder[] = "フォルダー";
inline constexpr char kCount[] = "ｺ";
inline constexpr char kFilling[] = "---ｺ";
inline constexpr char kListSuffix[] = "　フォルダー";
inline constexpr char kTreeSuffix[] = "　ツリーフォルダー";
inline constexpr char kFilesSuffix[] = "　ファイル名";

inline constexpr char kColumnName[] = "ファイル名";
inline constexpr char kColumnSize[] = "サイズ";
inline constexpr char kColumnType[] = "種類";
inline constexpr char kColumnDate[] = "日付";
inline constexpr char kColumnAttributes[] = "属性";

inline constexpr char kNewFolderTitle[] = "新規作成フォルダー名を入力して下さい☆";

inline constexpr char kDriveError[] = "ドライブ・エラー発生\n";
inline constexpr char kDriveBack[] = "元のドライブに戻します";
inline constexpr char kFolderError[] = "フォルダー・エラー発生\n";
inline constexpr char kTryAvoid[] = "エラーを回避してみます。";
inline constexpr char kChooseOtherFolder[] = "別のフォルダーを選択して下さい☆";
inline constexpr char kFileListError[] = "ファイルリスト・エラー発生\n";
inline constexpr char kChooseOther[] = "別のドライブか、フォルダーを選択してみて下さい";
inline constexpr char kRecoverFailed[] = "エラー回避に失敗しました\n";
inline constexpr char kViewChangeError[] = "フォルダーチェンジ・エラー";
inline constexpr char kCreateFailed[] = "フォルダーの作成に失敗しました・・・";
inline constexpr char kDeleteAsk[] = "このフォルダーを削除します☆";
inline constexpr char kDeleteFailed[] = "フォルダーの削除に失敗しました・・・";

} // namespace nuvask::dir2_texts
