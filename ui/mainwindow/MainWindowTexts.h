#pragma once
// Every text the main window shows, in one place.

#include <QString>

namespace nuvask::mainText {

inline const QString Caption = QStringLiteral("nuvASK");
inline const QString FontFamily = QStringLiteral("ＭＳ Ｐゴシック");
inline constexpr int FontPixels = 12;

inline const QString HintStripBox = QStringLiteral("ボリューム表示 ON／OFF");
inline const QString TopCaption = QStringLiteral("MostTOP");
inline const QString HintTop = QStringLiteral("１番上に表示 ON／OFF");
inline const QString HintRlWait = QStringLiteral("レベルメーター表示間隔");
inline const QString CornerCaption = QStringLiteral("o");
inline const QString HintLT = QStringLiteral("左上");
inline const QString HintWT = QStringLiteral("右上");
inline const QString HintLB = QStringLiteral("左下");
inline const QString HintWB = QStringLiteral("右下");
inline const QString EditCaption = QStringLiteral("E");
inline const QString HintEdit = QStringLiteral("カットレベル 編集");
inline const QString CancelCaption = QStringLiteral("戻る");
inline const QString HintCancel = QStringLiteral("カットレベル 編集終了");

// Menus.
inline const QString MOption0 = QStringLiteral("ｵﾌﾟｼｮﾝ(&O)");
inline const QString MO_Meter_ON = QStringLiteral("メーターON メーター付音源ボード専用");
inline const QString MO_Auto_RecV = QStringLiteral("Auto_RecV メーター付音源ボード専用");
inline const QString MO_Guard_RecV = QStringLiteral("Guard_RecV 録音ボリュームを他のソフトに変えさせない");
inline const QString MO_History = QStringLiteral("録音レベルの履歴...(&R)");
inline const QString BackColor = QStringLiteral("バックカラーを標準色とする");
inline const QString KELDO_COLOR = QStringLiteral("ＫＥＬＤＯ色");
inline const QString MICON_SET = QStringLiteral("アイコンを、スタートアップにも、登録する (&S)");
inline const QString MICON_DEL = QStringLiteral("アイコンを、スタートアップから、削除する (&S)");
inline const QString MDESK_SET = QStringLiteral("アイコンを、デスクトップにも、登録する (&D)");
inline const QString MDESK_DEL = QStringLiteral("アイコンを、デスクトップから、削除する (&D)");
inline const QString MHelp0 = QStringLiteral("ﾍﾙﾌﾟ(&H)");
inline const QString HELP_MOKUJI = QStringLiteral("ヘルプ...(&H)");
inline const QString HELP_KEYWORD = QStringLiteral("キーワードで検索...(&K)");
inline const QString HELP3 = QStringLiteral("ミニヘルプＯＮ(&M)");
inline const QString MHELP_VERCUT = QStringLiteral("ﾊﾞｰｼﾞｮﾝ番号削除...(&C)");
inline const QString MQ_A = QStringLiteral("問い合わせ先...(&Q)");
inline const QString HELP2 = QStringLiteral("バージョン情報...(&V)");
inline const QString HELP_HELP = QStringLiteral("ヘルプの使い方");

// Start-up failures.
inline const QString FatalMixer = QStringLiteral("エラー発生の為、強制終了・・・MON");
inline const QString FatalStrip = QStringLiteral("エラー発生の為、強制終了・・・V");

// Tray.
inline const QString TrayCaption = QStringLiteral("Tray");
inline const QString HintTray = QStringLiteral("タスクトレイに格納する");
inline const QString TR_IconOFF = QStringLiteral("常駐解除（元の画面に戻る）");
inline const QString TR_History = QStringLiteral("録音レベルの履歴...");
// Shown instead of hiding the window when no notification area can hold the
// icon: the window would be out of reach.
inline const QString NoTray = QStringLiteral("タスクトレイ（通知領域）が見つからない為、格納できません。");

} // namespace nuvask::mainText
