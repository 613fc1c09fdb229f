#pragma once
// Every text of the registered volumes, byte for byte: captions and hints of
// their controls on strip 2's panel, the default entry and the messages.

#include <QString>

namespace nuvask::presetText {

// The entry a missing or emptied list starts with; also the value a name
// without a stored value gets.
inline const QString DefaultName = QStringLiteral("R_V000");
inline const QString DefaultValue = QStringLiteral("20");
inline const QString NewNamePrefix = QStringLiteral("R_V");

inline const QString HintName = QStringLiteral("登録ボリューム名");
inline const QString HintValue = QStringLiteral("登録ボリューム値");
inline const QString Apply = QStringLiteral("設定値");
inline const QString HintApply = QStringLiteral("登録ボリューム設定値を、現在のボリュームにする");
inline const QString Edit = QStringLiteral("E");
inline const QString HintEdit = QStringLiteral("登録ボリュームを、編集する");
inline const QString Register = QStringLiteral("登録");
inline const QString HintRegister = QStringLiteral("現在のボリュームを、登録する");
inline const QString Rename = QStringLiteral("変更");
inline const QString HintRename = QStringLiteral("登録ボリューム名を変更する");
inline const QString New = QStringLiteral("新規");
inline const QString HintNew = QStringLiteral("新規登録ボリューム名を作成する");
inline const QString Delete = QStringLiteral("削除");
inline const QString HintDelete = QStringLiteral("登録ボリューム名を、削除する");
inline const QString Back = QStringLiteral("戻る");
inline const QString HintBack = QStringLiteral("登録ボリューム名の編集を、終了する");

inline const QString NameInUse = QStringLiteral("この名称は、既に使われています☆");

// A save that failed: the headline, then the file and the reason.
inline const QString SaveFailed = QStringLiteral("登録ボリュームを保存できませんでした☆");
inline const QString KeptOldFiles = QStringLiteral("以前のファイルはそのまま残っています。");
inline const QString Unencodable = QStringLiteral("ファイルに書けない文字が含まれています：");

// A list file past a limit at start: the headline, each file with what it
// went past, then that the files stay as they are.
inline const QString PastLimits = QStringLiteral("登録ボリュームのファイルが大きすぎるため、一部しか読めませんでした☆");
inline const QString PastFileBytes = QStringLiteral("・%1バイトを超えています");       // %1: bytes
inline const QString PastLines = QStringLiteral("・%1行を超えています");               // %1: lines
inline const QString PastLineBytes = QStringLiteral("・%1バイトを超える行があります"); // %1: bytes
inline const QString NotSaved =
    QStringLiteral("ファイルはそのまま残し、終了時にも書き換えません。\n（登録ボリュームの変更は保存されません）");

} // namespace nuvask::presetText
