#pragma once
// Every text the setup window and the uninstaller show, and the names they
// build from the start values.
// A text is a function: the Japanese source text through Qt's translation
// (context "NuvaskSetupFm"), English from i18n/nuvask_en.ts when that was chosen at start.

#include <QCoreApplication>
#include <QString>

namespace nuvask::setupText {

inline QString Caption() { return QCoreApplication::translate("NuvaskSetupFm", "インスツール"); }
inline QString Label1() { return QCoreApplication::translate("NuvaskSetupFm", "を置くフォルダーの設定："); }
inline QString Edit1Hint() { return QCoreApplication::translate("NuvaskSetupFm", "登録するフォルダーの設定"); }
inline QString Browse() { return QCoreApplication::translate("NuvaskSetupFm", "参照"); }
inline QString BrowseHint() { return QCoreApplication::translate("NuvaskSetupFm", "既に存在するフォルダーから選択する時"); }
inline QString Default() { return QCoreApplication::translate("NuvaskSetupFm", "初期値"); }
inline QString DefaultHint() { return QCoreApplication::translate("NuvaskSetupFm", "初期値に戻す"); }
inline QString Label2() { return QCoreApplication::translate("NuvaskSetupFm", "を登録するグループの選択："); }
inline QString GroupHint() { return QCoreApplication::translate("NuvaskSetupFm", "登録グループ名を選びます"); }
inline QString StartupBox() { return QCoreApplication::translate("NuvaskSetupFm", "スタートアップグループにも、アイコンを登録する。"); }
inline QString KeldoColor() { return QCoreApplication::translate("NuvaskSetupFm", "KELDO色"); }
inline QString BackColor() { return QCoreApplication::translate("NuvaskSetupFm", "標準色"); }
inline QString Install() { return QCoreApplication::translate("NuvaskSetupFm", "設定"); }
inline QString InstallHint() { return QCoreApplication::translate("NuvaskSetupFm", "現在の設定値で登録する"); }
inline QString Installing() { return QCoreApplication::translate("NuvaskSetupFm", "設定中"); }
inline QString Cancel() { return QCoreApplication::translate("NuvaskSetupFm", "中止"); }
inline QString CancelHint() { return QCoreApplication::translate("NuvaskSetupFm", "インスツールを中止します"); }
inline QString InstallSuffix() { return QCoreApplication::translate("NuvaskSetupFm", " 登録"); }
inline QString UninstallSuffix() { return QCoreApplication::translate("NuvaskSetupFm", " 削除"); }
inline QString BrowseTitle() { return QCoreApplication::translate("NuvaskSetupFm", "登録先"); }
inline const QString BrowseFilter = QStringLiteral("ALL files|*.*");

inline QString GroupsFailed() { return QCoreApplication::translate("NuvaskSetupFm", "グループ名の取得に失敗しました・・・"); }
inline QString Cancelled() { return QCoreApplication::translate("NuvaskSetupFm", "登録を中止します。"); }
inline QString NoGroup() { return QCoreApplication::translate("NuvaskSetupFm", "グループ名を設定して下さい。"); }
inline QString NoFolder() { return QCoreApplication::translate("NuvaskSetupFm", "フォルダーを設定して下さい。"); }
inline QString CreateFolder() { return QCoreApplication::translate("NuvaskSetupFm", "フォルダーを作成します"); }
inline QString CreateFailed() { return QCoreApplication::translate("NuvaskSetupFm", "フォルダーの作成に失敗しました・・・"); }
inline QString BadData() { return QCoreApplication::translate("NuvaskSetupFm", "データが不正です"); }
inline QString CopyFailed() { return QCoreApplication::translate("NuvaskSetupFm", "ファイルのコピーに失敗しました・・・"); }
inline QString NoStartup()
{
    return QCoreApplication::translate("NuvaskSetupFm", "ｱｲｺﾝ:スタートアップグループが不明ですので アイコン登録出来ません");
}
// %1: the group.
inline QString Done()
{
    return QCoreApplication::translate("NuvaskSetupFm", "登録完了です。\n\n[ %1 ]\nグループに登録しました☆☆\nお疲れ様☆☆");
}
// The steps whose failure keeps the closing message from being shown; the
// list of what failed follows the heading, one line each.
inline QString NotDone() { return QCoreApplication::translate("NuvaskSetupFm", "登録を完了できませんでした。次の処理に失敗しました："); }
inline QString FailedSettings() { return QCoreApplication::translate("NuvaskSetupFm", "・設定値の書き込み"); }
inline QString FailedGroup() { return QCoreApplication::translate("NuvaskSetupFm", "・グループへのアイコン登録"); }
inline QString FailedStartup() { return QCoreApplication::translate("NuvaskSetupFm", "・スタートアップグループへのアイコン登録"); }
inline QString FailedUninstallEntry() { return QCoreApplication::translate("NuvaskSetupFm", "・アンインストール情報の書き込み"); }
inline QString FailedIcons() { return QCoreApplication::translate("NuvaskSetupFm", "・アイコンテーマへのアイコン登録"); }

// CopyFileChunked's error texts.
inline QString CopyError() { return QCoreApplication::translate("NuvaskSetupFm", "コピーに失敗しました"); }
inline QString BufferError() { return QCoreApplication::translate("NuvaskSetupFm", "バッファの取得に失敗しました・・・32700"); }

// Uninstall.
inline QString AskUninstall() { return QCoreApplication::translate("NuvaskSetupFm", "を、アンインストールしても、よろしいですか？"); }
inline QString UninstallCancelled() { return QCoreApplication::translate("NuvaskSetupFm", "アンインストールを中止しました。"); }
inline QString AskVolumeFiles()
{
    return QCoreApplication::translate("NuvaskSetupFm", "アイコン／TXTﾌｧｲﾙの削除を終了しました。\nメモリー／登録タイムデータファイルも削除して、よろしいですか？？？");
}
inline QString AskSettings() { return QCoreApplication::translate("NuvaskSetupFm", "当ソフトのレジストリー情報も削除してよろしいですか？？"); }
inline QString StartError1() { return QCoreApplication::translate("NuvaskSetupFm", "1アンインストールエラー：アンインストールの起動に失敗しました"); }
inline QString StartError2()
{
    return QCoreApplication::translate("NuvaskSetupFm", "2アンインストールエラー：アンインストールソフトの起動に失敗しました");
}
inline QString ParameterError()
{
    return QCoreApplication::translate("NuvaskSetupFm", "アンインストールエラー：パラメーターが不正です・・・\n[KELDO SOFT32]専用のアンインストールソフトです。");
}
inline QString Removed() { return QCoreApplication::translate("NuvaskSetupFm", "削除が完了しました☆☆☆\nお疲れ様☆☆☆"); }
// The end of the uninstall of a program the package manager installed: its
// files stay for the package manager to remove.
inline QString RemovedPackaged()
{
    return QCoreApplication::translate("NuvaskSetupFm", "アイコンの削除が完了しました☆☆☆\n"
                                                        "プログラム本体はパッケージで導入されていますので、\n"
                                                        "パッケージマネージャー（apt など）で削除して下さい。\nお疲れ様☆☆☆");
}
inline QString Refused()
{
    return QCoreApplication::translate("NuvaskSetupFm", "アンインストールエラー：ソフトが起動中です。\n終了しないとアンインストール出来ません。");
}
// The installed program did not end within the retries; %1: its file.
inline QString StillRunning()
{
    return QCoreApplication::translate("NuvaskSetupFm", "アンインストールエラー：プログラムが終了しないため削除できませんでした・・・\n%1\n"
                                                        "プログラムを終了してから、もう一度アンインストールして下さい。");
}

} // namespace nuvask::setupText
