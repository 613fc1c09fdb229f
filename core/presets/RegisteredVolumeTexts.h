#pragma once
// Every text of the registered volumes, byte for byte: captions and hints of
// their controls on strip 2's panel, the default entry and the messages.
// A text is a function: the Japanese source text through Qt's translation
// (context "RegisteredVolumes"), English from i18n/nuvask_en.ts when that was chosen at start.

#include <QCoreApplication>
#include <QString>

namespace nuvask::presetText {

// The entry a missing or emptied list starts with; also the value a name
// without a stored value gets.
inline const QString DefaultName = QStringLiteral("R_V000");
inline const QString DefaultValue = QStringLiteral("20");
inline const QString NewNamePrefix = QStringLiteral("R_V");

inline QString HintName() { return QCoreApplication::translate("RegisteredVolumes", "登録ボリューム名"); }
inline QString HintValue() { return QCoreApplication::translate("RegisteredVolumes", "登録ボリューム値"); }
inline QString Apply() { return QCoreApplication::translate("RegisteredVolumes", "設定値"); }
inline QString HintApply() { return QCoreApplication::translate("RegisteredVolumes", "登録ボリューム設定値を、現在のボリュームにする"); }
inline const QString Edit = QStringLiteral("E");
inline QString HintEdit() { return QCoreApplication::translate("RegisteredVolumes", "登録ボリュームを、編集する"); }
inline QString Register() { return QCoreApplication::translate("RegisteredVolumes", "登録"); }
inline QString HintRegister() { return QCoreApplication::translate("RegisteredVolumes", "現在のボリュームを、登録する"); }
inline QString Rename() { return QCoreApplication::translate("RegisteredVolumes", "変更"); }
inline QString HintRename() { return QCoreApplication::translate("RegisteredVolumes", "登録ボリューム名を変更する"); }
inline QString New() { return QCoreApplication::translate("RegisteredVolumes", "新規"); }
inline QString HintNew() { return QCoreApplication::translate("RegisteredVolumes", "新規登録ボリューム名を作成する"); }
inline QString Delete() { return QCoreApplication::translate("RegisteredVolumes", "削除"); }
inline QString HintDelete() { return QCoreApplication::translate("RegisteredVolumes", "登録ボリューム名を、削除する"); }
inline QString Back() { return QCoreApplication::translate("RegisteredVolumes", "戻る"); }
inline QString HintBack() { return QCoreApplication::translate("RegisteredVolumes", "登録ボリューム名の編集を、終了する"); }

inline QString NameInUse() { return QCoreApplication::translate("RegisteredVolumes", "この名称は、既に使われています☆"); }

// A save that failed: the headline, then the file and the reason.
inline QString SaveFailed() { return QCoreApplication::translate("RegisteredVolumes", "登録ボリュームを保存できませんでした☆"); }
inline QString KeptOldFiles() { return QCoreApplication::translate("RegisteredVolumes", "以前のファイルはそのまま残っています。"); }
inline QString Unencodable() { return QCoreApplication::translate("RegisteredVolumes", "ファイルに書けない文字が含まれています："); }

// %1: the line that cannot be written.
inline QString QuotedLine() { return QCoreApplication::translate("RegisteredVolumes", "「%1」"); }
// A list file past a limit at start: the headline, each file with what it
// went past, then that the files stay as they are.
inline QString PastLimits()
{
    return QCoreApplication::translate("RegisteredVolumes", "登録ボリュームのファイルが大きすぎるため、一部しか読めませんでした☆");
}
inline QString PastFileBytes() { return QCoreApplication::translate("RegisteredVolumes", "・%1バイトを超えています"); }       // %1: bytes
inline QString PastLines() { return QCoreApplication::translate("RegisteredVolumes", "・%1行を超えています"); }               // %1: lines
inline QString PastLineBytes() { return QCoreApplication::translate("RegisteredVolumes", "・%1バイトを超える行があります"); } // %1: bytes
inline QString NotSaved()
{
    return QCoreApplication::translate("RegisteredVolumes", "ファイルはそのまま残し、終了時にも書き換えません。\n（登録ボリュームの変更は保存されません）");
}

} // namespace nuvask::presetText
