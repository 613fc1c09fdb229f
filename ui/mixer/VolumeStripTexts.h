#pragma once
// Captions and hints of a volume strip, byte for byte.
// A text is a function: the Japanese source text through Qt's translation
// (context "VolumeStrip"), English from i18n/nuvask_en.ts when that was chosen at start.

#include <QCoreApplication>
#include <QString>

namespace nuvask::stripText {

inline QString HintDestination() { return QCoreApplication::translate("VolumeStrip", "再生／録音／その他、の選択"); }
inline QString HintSource() { return QCoreApplication::translate("VolumeStrip", "ソースの選択"); }
inline QString HintVolumeBar() { return QCoreApplication::translate("VolumeStrip", "ボリューム調節"); }
inline const QString Now = QStringLiteral("Now");
inline QString HintNowTitle() { return QCoreApplication::translate("VolumeStrip", "現在のボリューム"); }
inline QString HintNow() { return QCoreApplication::translate("VolumeStrip", "現在のボリューム値"); }
inline const QString NowDesign = QStringLiteral("256"); // until a volume is shown
inline QString HintUpDown() { return QCoreApplication::translate("VolumeStrip", "ボリューム 高速アップ／ダウン"); }
inline QString HintUpDownL() { return QCoreApplication::translate("VolumeStrip", "ボリューム アップ／ダウン"); }
inline const QString Max = QStringLiteral("Max");
inline QString HintMax() { return QCoreApplication::translate("VolumeStrip", "ボリューム最大"); }
inline const QString Min = QStringLiteral("Min");
inline QString HintMin() { return QCoreApplication::translate("VolumeStrip", "ボリューム最小"); }
inline QString HintMute() { return QCoreApplication::translate("VolumeStrip", "一時的に、音を消す"); }
inline QString HintRecSelect() { return QCoreApplication::translate("VolumeStrip", "録音対象の選択"); }
inline const QString Auto = QStringLiteral("A");
inline const QString Guard = QStringLiteral("G");
inline QString HintGuard() { return QCoreApplication::translate("VolumeStrip", "録音ボリューム ガード中（他のソフトが変えた音量を、元に戻します）"); }
inline QString HintPeakMeter() { return QCoreApplication::translate("VolumeStrip", "ピークメーター"); }
inline const QString Peek = QStringLiteral("P");
inline QString HintPeek() { return QCoreApplication::translate("VolumeStrip", "ピークメーター ON／OFF"); }
inline QString HintPeakHold() { return QCoreApplication::translate("VolumeStrip", "ピークホールド／クリア"); }

// The volume guard's news that another program keeps changing the line.
inline QString GuardFight()
{
    return QCoreApplication::translate("VolumeStrip", "録音ボリューム ガード：\n"
                                                      "他のソフトが、録音ボリュームを何度も変えています・・・\n"
                                                      "そのたびに、元の音量に戻しています。\n");
}
inline QString GuardClients()
{
    return QCoreApplication::translate("VolumeStrip", "\n今、この入力から録音しているソフト（原因と思われるもの）：\n");
}
inline QString GuardClientIndent() { return QCoreApplication::translate("VolumeStrip", "　"); }
inline QString GuardAdvice()
{
    return QCoreApplication::translate("VolumeStrip", "\nそのソフトの「マイク音量の自動調整」を OFF にすると、止まります☆☆☆");
}
inline QString GuardNoClients()
{
    return QCoreApplication::translate("VolumeStrip", "\n今、この入力から録音しているソフトは、見つかりませんでした。");
}
inline QString GuardCannotTell()
{
    return QCoreApplication::translate("VolumeStrip", "\nこのデバイスでは、録音しているソフトを調べられません（サウンドカードのライン）。");
}
inline QString GuardServerAway()
{
    return QCoreApplication::translate("VolumeStrip", "\nサウンドサーバーにつながらないため、今は録音しているソフトを調べられません。");
}

} // namespace nuvask::stripText
