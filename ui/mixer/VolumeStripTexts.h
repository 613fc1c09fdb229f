#pragma once
// Captions and hints of a volume strip, byte for byte.

#include <QString>

namespace nuvask::stripText {

inline const QString HintDestination = QStringLiteral("再生／録音／その他、の選択");
inline const QString HintSource = QStringLiteral("ソースの選択");
inline const QString HintVolumeBar = QStringLiteral("ボリューム調節");
inline const QString Now = QStringLiteral("Now");
inline const QString HintNowTitle = QStringLiteral("現在のボリューム");
inline const QString HintNow = QStringLiteral("現在のボリューム値");
inline const QString NowDesign = QStringLiteral("256"); // until a volume is shown
inline const QString HintUpDown = QStringLiteral("ボリューム 高速アップ／ダウン");
inline const QString HintUpDownL = QStringLiteral("ボリューム アップ／ダウン");
inline const QString Max = QStringLiteral("Max");
inline const QString HintMax = QStringLiteral("ボリューム最大");
inline const QString Min = QStringLiteral("Min");
inline const QString HintMin = QStringLiteral("ボリューム最小");
inline const QString HintMute = QStringLiteral("一時的に、音を消す");
inline const QString HintRecSelect = QStringLiteral("録音対象の選択");
inline const QString Auto = QStringLiteral("A");
inline const QString Guard = QStringLiteral("G");
inline const QString HintGuard = QStringLiteral("録音ボリューム ガード中（他のソフトが変えた音量を、元に戻します）");
inline const QString HintPeakMeter = QStringLiteral("ピークメーター");
inline const QString Peek = QStringLiteral("P");
inline const QString HintPeek = QStringLiteral("ピークメーター ON／OFF");
inline const QString HintPeakHold = QStringLiteral("ピークホールド／クリア");

// The volume guard's news that another program keeps changing the line.
inline const QString GuardFight = QStringLiteral(
    "録音ボリューム ガード：\n"
    "他のソフトが、録音ボリュームを何度も変えています・・・\n"
    "そのたびに、元の音量に戻しています。\n");
inline const QString GuardClients = QStringLiteral("\n今、この入力から録音しているソフト（原因と思われるもの）：\n");
inline const QString GuardClientIndent = QStringLiteral("　");
inline const QString GuardAdvice =
    QStringLiteral("\nそのソフトの「マイク音量の自動調整」を OFF にすると、止まります☆☆☆");
inline const QString GuardNoClients = QStringLiteral("\n今、この入力から録音しているソフトは、見つかりませんでした。");
inline const QString GuardCannotTell =
    QStringLiteral("\nこのデバイスでは、録音しているソフトを調べられません（サウンドカードのライン）。");

} // namespace nuvask::stripText
