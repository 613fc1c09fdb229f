#pragma once
// Every text the program entry shows before (or instead of) a window.
// A text is a function: the Japanese source text through Qt's translation
// (context "ProgramEntry"), English from i18n/nuvask_en.ts when that was chosen at start.

#include <QCoreApplication>
#include <QString>

namespace nuvask::startText {

// %1: the folder.
inline QString FolderRefused()
{
    return QCoreApplication::translate("ProgramEntry", "起動の確認に使うフォルダ %1 は、他のユーザーが作成したか、他のユーザーも書き込めるため使用できません。"
                                                       "このフォルダを削除してから起動してください。");
}
inline QString FolderUnusable() { return QCoreApplication::translate("ProgramEntry", "起動の確認に使うフォルダ %1 を作成できません。"); }
// %1: the socket path, %2: the system's reason.
inline QString ListenFailed() { return QCoreApplication::translate("ProgramEntry", "起動の確認に使うソケット %1 を作成できません。\n%2"); }
inline QString NoAnswer() { return QCoreApplication::translate("ProgramEntry", "起動中のプログラムが応答しないため、終了します。"); }
// %1: the settings file.
inline QString SettingsFileTooLarge()
{
    return QCoreApplication::translate("ProgramEntry", "設定ファイル %1 は 16 MiB を超えているため、すべてを読むことができません。"
                                                       "内容を失わないよう、このファイルには設定を保存しません。");
}
inline QString SettingsFileUnreadable()
{
    return QCoreApplication::translate("ProgramEntry", "設定ファイル %1 を読むことができません。内容を失わないよう、このファイルには設定を保存しません。");
}

} // namespace nuvask::startText
