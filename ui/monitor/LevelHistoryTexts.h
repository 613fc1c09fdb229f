#pragma once
// Every text the level history window shows, in one place.
// A text is a function: the Japanese source text through Qt's translation
// (context "LevelHistoryWindow"), English from i18n/nuvask_en.ts when that was chosen at start.

#include <QCoreApplication>
#include <QString>

namespace nuvask::historyText {

inline QString Caption() { return QCoreApplication::translate("LevelHistoryWindow", "録音レベルの履歴"); }

inline QString Span1() { return QCoreApplication::translate("LevelHistoryWindow", "1分"); }
inline QString Span10() { return QCoreApplication::translate("LevelHistoryWindow", "10分"); }
inline QString Span60() { return QCoreApplication::translate("LevelHistoryWindow", "60分"); }
inline QString HintSpan() { return QCoreApplication::translate("LevelHistoryWindow", "表示する時間の長さ"); }
inline QString Pause() { return QCoreApplication::translate("LevelHistoryWindow", "一時停止"); }
inline QString Resume() { return QCoreApplication::translate("LevelHistoryWindow", "再開"); }
inline QString HintPause() { return QCoreApplication::translate("LevelHistoryWindow", "グラフを止めて読む／再開"); }
inline QString SaveCsv() { return QCoreApplication::translate("LevelHistoryWindow", "CSV保存"); }
inline QString HintSaveCsv() { return QCoreApplication::translate("LevelHistoryWindow", "表示中の範囲を、CSVファイルに保存する"); }
inline QString SavePng() { return QCoreApplication::translate("LevelHistoryWindow", "PNG保存"); }
inline QString HintSavePng() { return QCoreApplication::translate("LevelHistoryWindow", "表示中のグラフを、PNG画像に保存する"); }
inline QString Close() { return QCoreApplication::translate("LevelHistoryWindow", "閉じる"); }
inline QString HintClose() { return QCoreApplication::translate("LevelHistoryWindow", "履歴の画面を閉じる"); }
inline QString HintGraph() { return QCoreApplication::translate("LevelHistoryWindow", "マウスを乗せると、その時刻の値を表示します"); }

// Legend and marks in the graph (the events' own names come from the level
// history's table of kinds).
inline QString LegendPeak() { return QCoreApplication::translate("LevelHistoryWindow", "ピーク"); }
inline QString LegendCut() { return QCoreApplication::translate("LevelHistoryWindow", "カットレベル"); }
inline QString LegendOff() { return QCoreApplication::translate("LevelHistoryWindow", "モニターOFF"); }
inline QString Paused() { return QCoreApplication::translate("LevelHistoryWindow", "一時停止中"); }
inline QString Arrow() { return QCoreApplication::translate("LevelHistoryWindow", "→"); }
inline QString Times() { return QCoreApplication::translate("LevelHistoryWindow", "回"); } // marks under one label

// The line under the graph while the mouse is over it.
inline QString ReadPeak() { return QCoreApplication::translate("LevelHistoryWindow", "ピーク"); }
inline QString ReadCut() { return QCoreApplication::translate("LevelHistoryWindow", "カットレベル"); }
inline QString ReadOff() { return QCoreApplication::translate("LevelHistoryWindow", "モニターOFF"); }
// %1 to %2: the lowest and highest peak under the mouse.
inline QString Range() { return QCoreApplication::translate("LevelHistoryWindow", "%1〜%2"); }
inline QString MinusInfinity() { return QCoreApplication::translate("LevelHistoryWindow", "-∞"); }

// Export.
inline QString CsvFolderTitle() { return QCoreApplication::translate("LevelHistoryWindow", "CSV保存先"); }
inline QString PngFolderTitle() { return QCoreApplication::translate("LevelHistoryWindow", "PNG保存先"); }
inline const QString FileStem = QStringLiteral("NUVASK_LEVEL_");
inline QString Saved() { return QCoreApplication::translate("LevelHistoryWindow", "保存しました・・・"); }
inline QString SaveFailed() { return QCoreApplication::translate("LevelHistoryWindow", "保存に失敗しました・・・"); }

} // namespace nuvask::historyText
