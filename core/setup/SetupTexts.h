#pragma once
// Every text the setup window and the uninstaller show, and the names they
// build from the start values.

#include <QString>

namespace nuvask::setupText {

inline const QString Caption = QStringLiteral("インスツール");
inline const QString Label1 = QStringLiteral("を置くフォルダーの設定：");
inline const QString Edit1Hint = QStringLiteral("登録するフォルダーの設定");
inline const QString Browse = QStringLiteral("参照");
inline const QString BrowseHint = QStringLiteral("既に存在するフォルダーから選択する時");
inline const QString Default = QStringLiteral("初期値");
inline const QString DefaultHint = QStringLiteral("初期値に戻す");
inline const QString Label2 = QStringLiteral("を登録するグループの選択：");
inline const QString GroupHint = QStringLiteral("登録グループ名を選びます");
inline const QString StartupBox = QStringLiteral("スタートアップグループにも、アイコンを登録する。");
inline const QString KeldoColor = QStringLiteral("KELDO色");
inline const QString BackColor = QStringLiteral("標準色");
inline const QString Install = QStringLiteral("設定");
inline const QString InstallHint = QStringLiteral("現在の設定値で登録する");
inline const QString Installing = QStringLiteral("設定中");
inline const QString Cancel = QStringLiteral("中止");
inline const QString CancelHint = QStringLiteral("インスツールを中止します");
inline const QString InstallSuffix = QStringLiteral(" 登録");
inline const QString UninstallSuffix = QStringLiteral(" 削除");
inline const QString BrowseTitle = QStringLiteral("登録先");
inline const QString BrowseFilter = QStringLiteral("ALL files|*.*");

inline const QString GroupsFailed = QStringLiteral("グループ名の取得に失敗しました・・・");
inline const QString Cancelled = QStringLiteral("登録を中止します。");
inline const QString NoGroup = QStringLiteral("グループ名を設定して下さい。");
inline const QString NoFolder = QStringLiteral("フォルダーを設定して下さい。");
inline const QString CreateFolder = QStringLiteral("フォルダーを作成します");
inline const QString CreateFailed = QStringLiteral("フォルダーの作成に失敗しました・・・");
inline const QString BadData = QStringLiteral("データが不正です");
inline const QString CopyFailed = QStringLiteral("ファイルのコピーに失敗しました・・・");
inline const QString NoStartup = QStringLiteral("ｱｲｺﾝ:スタートアップグループが不明ですので アイコン登録出来ません");
// %1: the group.
inline const QString Done = QStringLiteral("登録完了です。\n\n[ %1 ]\nグループに登録しました☆☆\nお疲れ様☆☆");
// The steps whose failure keeps the closing message from being shown; the
// list of what failed follows the heading, one line each.
inline const QString NotDone = QStringLiteral("登録を完了できませんでした。次の処理に失敗しました：");
inline const QString FailedSettings = QStringLiteral("・設定値の書き込み");
inline const QString FailedGroup = QStringLiteral("・グループへのアイコン登録");
inline const QString FailedStartup = QStringLiteral("・スタートアップグループへのアイコン登録");
inline const QString FailedUninstallEntry = QStringLiteral("・アンインストール情報の書き込み");
inline const QString FailedIcons = QStringLiteral("・アイコンテーマへのアイコン登録");

// CopyFileChunked's error texts.
inline const QString CopyError = QStringLiteral("コピーに失敗しました");
inline const QString BufferError = QStringLiteral("バッファの取得に失敗しました・・・32700");

// Uninstall.
inline const QString AskUninstall = QStringLiteral("を、アンインストールしても、よろしいですか？");
inline const QString UninstallCancelled = QStringLiteral("アンインストールを中止しました。");
inline const QString AskVolumeFiles = QStringLiteral(
    "アイコン／TXTﾌｧｲﾙの削除を終了しました。\nメモリー／登録タイムデータファイルも削除して、よろしいですか？？？");
inline const QString AskSettings = QStringLiteral("当ソフトのレジストリー情報も削除してよろしいですか？？");
inline const QString StartError1 = QStringLiteral("1アンインストールエラー：アンインストールの起動に失敗しました");
inline const QString StartError2 = QStringLiteral("2アンインストールエラー：アンインストールソフトの起動に失敗しました");
inline const QString ParameterError = QStringLiteral(
    "アンインストールエラー：パラメーターが不正です・・・\n[KELDO SOFT32]専用のアンインストールソフトです。");
inline const QString Removed = QStringLiteral("削除が完了しました☆☆☆\nお疲れ様☆☆☆");
// The end of the uninstall of a program the package manager installed: its
// files stay for the package manager to remove.
inline const QString RemovedPackaged = QStringLiteral(
    "アイコンの削除が完了しました☆☆☆\n"
    "プログラム本体はパッケージで導入されていますので、\n"
    "パッケージマネージャー（apt など）で削除して下さい。\nお疲れ様☆☆☆");
inline const QString Refused =
    QStringLiteral("アンインストールエラー：ソフトが起動中です。\n終了しないとアンインストール出来ません。");
// The installed program did not end within the retries; %1: its file.
inline const QString StillRunning = QStringLiteral(
    "アンインストールエラー：プログラムが終了しないため削除できませんでした・・・\n%1\n"
    "プログラムを終了してから、もう一度アンインストールして下さい。");

} // namespace nuvask::setupText
