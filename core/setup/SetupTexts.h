#pragma once
// Every text the setup window and the uninstaller show, and the names they
// build from the start values.
// A text is a function: the Japanese source text through Qt's translation
// (context "SetupWindow"), English from i18n/nuvask_en.ts when that was chosen at start.

#include <QCoreApplication>
#include <QString>

namespace nuvask::setupText {

inline QString Caption() { return QCoreApplication::translate("SetupWindow", "インスツール"); }
inline QString Label1() { return QCoreApplication::translate("SetupWindow", "を置くフォルダーの設定："); }
inline QString Edit1Hint() { return QCoreApplication::translate("SetupWindow", "登録するフォルダーの設定"); }
inline QString Browse() { return QCoreApplication::translate("SetupWindow", "参照"); }
inline QString BrowseHint() { return QCoreApplication::translate("SetupWindow", "既に存在するフォルダーから選択する時"); }
inline QString Default() { return QCoreApplication::translate("SetupWindow", "初期値"); }
inline QString DefaultHint() { return QCoreApplication::translate("SetupWindow", "初期値に戻す"); }
inline QString Label2() { return QCoreApplication::translate("SetupWindow", "を登録するグループの選択："); }
inline QString GroupHint() { return QCoreApplication::translate("SetupWindow", "登録グループ名を選びます"); }
inline QString StartupBox() { return QCoreApplication::translate("SetupWindow", "スタートアップグループにも、アイコンを登録する。"); }
inline QString KeldoColor() { return QCoreApplication::translate("SetupWindow", "KELDO色"); }
inline QString BackColor() { return QCoreApplication::translate("SetupWindow", "標準色"); }
inline QString Install() { return QCoreApplication::translate("SetupWindow", "設定"); }
inline QString InstallHint() { return QCoreApplication::translate("SetupWindow", "現在の設定値で登録する"); }
inline QString Installing() { return QCoreApplication::translate("SetupWindow", "設定中"); }
inline QString Cancel() { return QCoreApplication::translate("SetupWindow", "中止"); }
inline QString CancelHint() { return QCoreApplication::translate("SetupWindow", "インスツールを中止します"); }
inline QString InstallSuffix() { return QCoreApplication::translate("SetupWindow", " 登録"); }
inline QString UninstallSuffix() { return QCoreApplication::translate("SetupWindow", " 削除"); }
inline QString BrowseTitle() { return QCoreApplication::translate("SetupWindow", "登録先"); }
inline const QString BrowseFilter = QStringLiteral("ALL files|*.*");
// The uninstaller's launcher as the menu shows it; %1: the program's title.
inline QString UninstallItem() { return QCoreApplication::translate("SetupWindow", "%1 アンインストール"); }

inline QString GroupsFailed() { return QCoreApplication::translate("SetupWindow", "グループ名の取得に失敗しました・・・"); }
inline QString Cancelled() { return QCoreApplication::translate("SetupWindow", "登録を中止します。"); }
inline QString NoGroup() { return QCoreApplication::translate("SetupWindow", "グループ名を設定して下さい。"); }
inline QString NoFolder() { return QCoreApplication::translate("SetupWindow", "フォルダーを設定して下さい。"); }
inline QString CreateFolder() { return QCoreApplication::translate("SetupWindow", "フォルダーを作成します"); }
inline QString CreateFailed() { return QCoreApplication::translate("SetupWindow", "フォルダーの作成に失敗しました・・・"); }
inline QString BadData() { return QCoreApplication::translate("SetupWindow", "データが不正です"); }
inline QString CopyFailed() { return QCoreApplication::translate("SetupWindow", "ファイルのコピーに失敗しました・・・"); }
inline QString NoStartup()
{
    return QCoreApplication::translate("SetupWindow", "ｱｲｺﾝ:スタートアップグループが不明ですので アイコン登録出来ません");
}
// %1: the group.
inline QString Done()
{
    return QCoreApplication::translate("SetupWindow", "登録完了です。\n\n[ %1 ]\nグループに登録しました☆☆\nお疲れ様☆☆");
}
// The steps whose failure keeps the closing message from being shown; the
// list of what failed follows the heading, one line each.
inline QString NotDone() { return QCoreApplication::translate("SetupWindow", "登録を完了できませんでした。次の処理に失敗しました："); }
inline QString FailedSettings() { return QCoreApplication::translate("SetupWindow", "・設定値の書き込み"); }
inline QString FailedGroup() { return QCoreApplication::translate("SetupWindow", "・グループへのアイコン登録"); }
inline QString FailedStartup() { return QCoreApplication::translate("SetupWindow", "・スタートアップグループへのアイコン登録"); }
inline QString FailedUninstallEntry() { return QCoreApplication::translate("SetupWindow", "・アンインストール情報の書き込み"); }
inline QString FailedIcons() { return QCoreApplication::translate("SetupWindow", "・アイコンテーマへのアイコン登録"); }

// CopyFileChunked's error texts.
inline QString CopyError() { return QCoreApplication::translate("SetupWindow", "コピーに失敗しました"); }
inline QString BufferError() { return QCoreApplication::translate("SetupWindow", "バッファの取得に失敗しました・・・32700"); }

// Uninstall.
inline QString AskUninstall() { return QCoreApplication::translate("SetupWindow", "を、アンインストールしても、よろしいですか？"); }
inline QString UninstallCancelled() { return QCoreApplication::translate("SetupWindow", "アンインストールを中止しました。"); }
inline QString AskVolumeFiles()
{
    return QCoreApplication::translate("SetupWindow", "アイコン／TXTﾌｧｲﾙの削除を終了しました。\nメモリー／登録タイムデータファイルも削除して、よろしいですか？？？");
}
inline QString AskSettings() { return QCoreApplication::translate("SetupWindow", "当ソフトのレジストリー情報も削除してよろしいですか？？"); }
inline QString StartError1() { return QCoreApplication::translate("SetupWindow", "1アンインストールエラー：アンインストールの起動に失敗しました"); }
inline QString StartError2()
{
    return QCoreApplication::translate("SetupWindow", "2アンインストールエラー：アンインストールソフトの起動に失敗しました");
}
inline QString ParameterError()
{
    return QCoreApplication::translate("SetupWindow", "アンインストールエラー：パラメーターが不正です・・・\n[KELDO SOFT32]専用のアンインストールソフトです。");
}
inline QString Removed() { return QCoreApplication::translate("SetupWindow", "削除が完了しました☆☆☆\nお疲れ様☆☆☆"); }
// The end of the uninstall of a program the package manager installed: its
// files stay for the package manager to remove.
inline QString RemovedPackaged()
{
    return QCoreApplication::translate("SetupWindow", "このユーザーからの削除が完了しました☆☆☆\n"
                                                        "プログラム本体はパッケージで導入されているので、そのまま残ります。\n"
                                                        "削除するには、パッケージマネージャー（apt など）を使って下さい。\n"
                                                        "お疲れ様☆☆☆");
}
inline QString Refused()
{
    return QCoreApplication::translate("SetupWindow", "アンインストールエラー：ソフトが起動中です。\n終了しないとアンインストール出来ません。");
}
// The installed program did not end within the retries; %1: its file.
inline QString StillRunning()
{
    return QCoreApplication::translate("SetupWindow", "アンインストールエラー：プログラムが終了しないため削除できませんでした・・・\n%1\n"
                                                        "プログラムを終了してから、もう一度アンインストールして下さい。");
}

} // namespace nuvask::setupText
