#pragma once
// Every text the main window shows, in one place.
// A text is a function: the Japanese source text through Qt's translation
// (context "MainWindow"), English from i18n/nuvask_en.ts when that was chosen at start.

#include <QCoreApplication>
#include <QString>

namespace nuvask::mainText {

inline const QString Caption = QStringLiteral("nuvASK");
inline const QString FontFamily = QStringLiteral("ＭＳ Ｐゴシック");
inline constexpr int FontPixels = 12;

inline QString HintStripBox() { return QCoreApplication::translate("MainWindow", "ボリューム表示 ON／OFF"); }
inline const QString TopCaption = QStringLiteral("MostTOP");
inline QString HintTop() { return QCoreApplication::translate("MainWindow", "１番上に表示 ON／OFF"); }
inline QString HintRlWait() { return QCoreApplication::translate("MainWindow", "レベルメーター表示間隔"); }
inline const QString CornerCaption = QStringLiteral("o");
inline QString HintLT() { return QCoreApplication::translate("MainWindow", "左上"); }
inline QString HintWT() { return QCoreApplication::translate("MainWindow", "右上"); }
inline QString HintLB() { return QCoreApplication::translate("MainWindow", "左下"); }
inline QString HintWB() { return QCoreApplication::translate("MainWindow", "右下"); }
inline const QString EditCaption = QStringLiteral("E");
inline QString HintEdit() { return QCoreApplication::translate("MainWindow", "カットレベル 編集"); }
inline QString CancelCaption() { return QCoreApplication::translate("MainWindow", "戻る"); }
inline QString HintCancel() { return QCoreApplication::translate("MainWindow", "カットレベル 編集終了"); }

// Menus.
inline QString MOption0() { return QCoreApplication::translate("MainWindow", "ｵﾌﾟｼｮﾝ(&O)"); }
inline QString MO_Meter_ON() { return QCoreApplication::translate("MainWindow", "メーターON メーター付音源ボード専用"); }
inline QString MO_Auto_RecV() { return QCoreApplication::translate("MainWindow", "Auto_RecV メーター付音源ボード専用"); }
inline QString MO_Guard_RecV() { return QCoreApplication::translate("MainWindow", "Guard_RecV 録音ボリュームを他のソフトに変えさせない"); }
inline QString MO_History() { return QCoreApplication::translate("MainWindow", "録音レベルの履歴...(&R)"); }
inline QString BackColor() { return QCoreApplication::translate("MainWindow", "バックカラーを標準色とする"); }
inline QString KELDO_COLOR() { return QCoreApplication::translate("MainWindow", "ＫＥＬＤＯ色"); }
inline QString MICON_SET() { return QCoreApplication::translate("MainWindow", "アイコンを、スタートアップにも、登録する (&S)"); }
inline QString MICON_DEL() { return QCoreApplication::translate("MainWindow", "アイコンを、スタートアップから、削除する (&S)"); }
inline QString MDESK_SET() { return QCoreApplication::translate("MainWindow", "アイコンを、デスクトップにも、登録する (&D)"); }
inline QString MDESK_DEL() { return QCoreApplication::translate("MainWindow", "アイコンを、デスクトップから、削除する (&D)"); }
inline QString MHelp0() { return QCoreApplication::translate("MainWindow", "ﾍﾙﾌﾟ(&H)"); }
inline QString HELP_MOKUJI() { return QCoreApplication::translate("MainWindow", "ヘルプ...(&H)"); }
inline QString HELP_KEYWORD() { return QCoreApplication::translate("MainWindow", "キーワードで検索...(&K)"); }
inline QString HELP3() { return QCoreApplication::translate("MainWindow", "ミニヘルプＯＮ(&M)"); }
inline QString MHELP_VERCUT() { return QCoreApplication::translate("MainWindow", "ﾊﾞｰｼﾞｮﾝ番号削除...(&C)"); }
inline QString MQ_A() { return QCoreApplication::translate("MainWindow", "問い合わせ先...(&Q)"); }
inline QString HELP2() { return QCoreApplication::translate("MainWindow", "バージョン情報...(&V)"); }
inline QString HELP_HELP() { return QCoreApplication::translate("MainWindow", "ヘルプの使い方"); }

// Start-up failures.
inline QString FatalMixer() { return QCoreApplication::translate("MainWindow", "エラー発生の為、強制終了・・・MON"); }
inline QString FatalStrip() { return QCoreApplication::translate("MainWindow", "エラー発生の為、強制終了・・・V"); }

// Tray.
inline const QString TrayCaption = QStringLiteral("Tray");
inline QString HintTray() { return QCoreApplication::translate("MainWindow", "タスクトレイに格納する"); }
inline QString TR_IconOFF() { return QCoreApplication::translate("MainWindow", "常駐解除（元の画面に戻る）"); }
inline QString TR_History() { return QCoreApplication::translate("MainWindow", "録音レベルの履歴..."); }
// Shown instead of hiding the window when no notification area can hold the
// icon: the window would be out of reach.
inline QString NoTray() { return QCoreApplication::translate("MainWindow", "タスクトレイ（通知領域）が見つからない為、格納できません。"); }

} // namespace nuvask::mainText
