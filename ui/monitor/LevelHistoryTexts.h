#pragma once
// Every text the level history window shows, in one place.

#include <QString>

namespace nuvask::historyText {

inline const QString Caption = QStringLiteral("録音レベルの履歴");

inline const QString Span1 = QStringLiteral("1分");
inline const QString Span10 = QStringLiteral("10分");
inline const QString Span60 = QStringLiteral("60分");
inline const QString HintSpan = QStringLiteral("表示する時間の長さ");
inline const QString Pause = QStringLiteral("一時停止");
inline const QString Resume = QStringLiteral("再開");
inline const QString HintPause = QStringLiteral("グラフを止めて読む／再開");
inline const QString SaveCsv = QStringLiteral("CSV保存");
inline const QString HintSaveCsv = QStringLiteral("表示中の範囲を、CSVファイルに保存する");
inline const QString SavePng = QStringLiteral("PNG保存");
inline const QString HintSavePng = QStringLiteral("表示中のグラフを、PNG画像に保存する");
inline const QString Close = QStringLiteral("閉じる");
inline const QString HintClose = QStringLiteral("履歴の画面を閉じる");
inline const QString HintGraph = QStringLiteral("マウスを乗せると、その時刻の値を表示します");

// Legend and marks in the graph.
inline const QString LegendPeak = QStringLiteral("ピーク");
inline const QString LegendCut = QStringLiteral("カットレベル");
inline const QString LegendLower = QStringLiteral("自動ダウン");
inline const QString LegendOutside = QStringLiteral("外部変更");
inline const QString LegendGuard = QStringLiteral("ガード復元");
inline const QString LegendOff = QStringLiteral("モニターOFF");
inline const QString Paused = QStringLiteral("一時停止中");
inline const QString Arrow = QStringLiteral("→");
inline const QString Times = QStringLiteral("回"); // marks under one label

// The line under the graph while the mouse is over it.
inline const QString ReadPeak = QStringLiteral("ピーク");
inline const QString ReadCut = QStringLiteral("カットレベル");
inline const QString ReadOff = QStringLiteral("モニターOFF");
inline const QString ReadNothing = QStringLiteral("記録なし");
inline const QString Volume = QStringLiteral("ボリューム");
inline const QString MinusInfinity = QStringLiteral("-∞");

// Export.
inline const QString CsvFolderTitle = QStringLiteral("CSV保存先");
inline const QString PngFolderTitle = QStringLiteral("PNG保存先");
inline const QString FileStem = QStringLiteral("NUVASK_LEVEL_");
inline const QString Saved = QStringLiteral("保存しました・・・");
inline const QString SaveFailed = QStringLiteral("保存に失敗しました・・・");

} // namespace nuvask::historyText
