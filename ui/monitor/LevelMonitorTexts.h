#pragma once
// Captions and hints of the recording level monitor panel and the cut-level
// editor, byte for byte.
// A text is a function: the Japanese source text through Qt's translation
// (context "LevelMonitorPanel"), English from i18n/nuvask_en.ts when that was chosen at start.

#include <QCoreApplication>
#include <QString>

namespace nuvask::monitorText {

inline QString HintMeter() { return QCoreApplication::translate("LevelMonitorPanel", "ピークメーター"); }
inline QString HintCutLevel() { return QCoreApplication::translate("LevelMonitorPanel", "カットレベル"); }
inline QString HintHold() { return QCoreApplication::translate("LevelMonitorPanel", "ピークホールド／クリア"); }
inline const QString On = QStringLiteral("ON");
inline QString HintOn() { return QCoreApplication::translate("LevelMonitorPanel", "ピークメーターON"); }
inline const QString Off = QStringLiteral("OFF");
inline QString HintOff() { return QCoreApplication::translate("LevelMonitorPanel", "自動ボリューム／メーターOFF"); }
inline const QString Auto = QStringLiteral("Auto");
inline QString HintAuto() { return QCoreApplication::translate("LevelMonitorPanel", "自動録音ボリュームセット ON(赤)/OFF"); }
inline const QString Zero = QStringLiteral("0");

inline const QString Preset16 = QStringLiteral("16");
inline QString HintPreset16() { return QCoreApplication::translate("LevelMonitorPanel", "１６ビット カットレベル"); }
inline const QString Preset8 = QStringLiteral("8");
inline QString HintPreset8() { return QCoreApplication::translate("LevelMonitorPanel", "８ビット カットレベル"); }
inline const QString PresetL = QStringLiteral("L");
inline QString HintPresetL() { return QCoreApplication::translate("LevelMonitorPanel", "特殊音源ボード カットレベル"); }
inline QString HintMax() { return QCoreApplication::translate("LevelMonitorPanel", "最大カットレベル"); }
inline QString HintMin() { return QCoreApplication::translate("LevelMonitorPanel", "最小カットレベル"); }
inline QString HintUpDown() { return QCoreApplication::translate("LevelMonitorPanel", "カットレベル アップ／ダウン"); }
inline const QString Set = QStringLiteral(">Set");
inline QString HintSet() { return QCoreApplication::translate("LevelMonitorPanel", "左の数値を、カットレベルにセットする"); }
inline const QString Now = QStringLiteral("Now");

} // namespace nuvask::monitorText
