#pragma once
// Captions and hints of the recording level monitor (PV3) and the cut-level
// editor (PV4), byte for byte.

#include <QString>

namespace nuvask::monitorText {

inline const QString HintMeter = QStringLiteral("ピークメーター");
inline const QString HintCutLevel = QStringLiteral("カットレベル");
inline const QString HintHold = QStringLiteral("ピークホールド／クリア");
inline const QString On = QStringLiteral("ON");
inline const QString HintOn = QStringLiteral("ピークメーターON");
inline const QString Off = QStringLiteral("OFF");
inline const QString HintOff = QStringLiteral("自動ボリューム／メーターOFF");
inline const QString Auto = QStringLiteral("Auto");
inline const QString HintAuto = QStringLiteral("自動録音ボリュームセット ON(赤)/OFF");
inline const QString Zero = QStringLiteral("0");

inline const QString Preset16 = QStringLiteral("16");
inline const QString HintPreset16 = QStringLiteral("１６ビット カットレベル");
inline const QString Preset8 = QStringLiteral("8");
inline const QString HintPreset8 = QStringLiteral("８ビット カットレベル");
inline const QString PresetL = QStringLiteral("L");
inline const QString HintPresetL = QStringLiteral("特殊音源ボード カットレベル");
inline const QString HintMax = QStringLiteral("最大カットレベル");
inline const QString HintMin = QStringLiteral("最小カットレベル");
inline const QString HintUpDown = QStringLiteral("カットレベル アップ／ダウン");
inline const QString Set = QStringLiteral(">Set");
inline const QString HintSet = QStringLiteral("左の数値を、カットレベルにセットする");
inline const QString Now = QStringLiteral("Now");

} // namespace nuvask::monitorText
