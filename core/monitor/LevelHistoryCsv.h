#pragma once
// The level history as a CSV file: one row per record of a span of time,
// with the columns time, peak, cut level, event, volume before and after,
// and for an event how many it stands for and the time of its run's last.
// When the span begins before the history knows anything, its first row says
// so ("記録なし"). UTF-8 with a byte-order mark and CRLF line ends, so that
// spreadsheet programs on every desktop read the Japanese names and the rows
// alike.

#include "core/monitor/LevelHistory.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

class QTextStream;

namespace nuvask {

namespace LevelCsv {
// The header row, byte for byte, in the language shown.
inline QStringList Columns()
{
    static const char *const names[] = {
        QT_TRANSLATE_NOOP("LevelHistory", "時刻"),         QT_TRANSLATE_NOOP("LevelHistory", "ピーク"),
        QT_TRANSLATE_NOOP("LevelHistory", "カットレベル"), QT_TRANSLATE_NOOP("LevelHistory", "イベント"),
        QT_TRANSLATE_NOOP("LevelHistory", "ボリューム前"), QT_TRANSLATE_NOOP("LevelHistory", "ボリューム後"),
        QT_TRANSLATE_NOOP("LevelHistory", "回数"),         QT_TRANSLATE_NOOP("LevelHistory", "最後の時刻")};
    QStringList columns;
    for (const char *name : names)
        columns << QCoreApplication::translate("LevelHistory", name);
    return columns;
}
// Local wall-clock time to the millisecond.
inline const QString TimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz");
} // namespace LevelCsv

// Writes the header and every record stamped in [from, to] (ms on the
// history's clock), times converted with `anchor`. Returns the rows written.
qint64 WriteLevelCsv(QTextStream &out, const LevelHistory &history, qint64 from, qint64 to,
                     const LevelTimeAnchor &anchor);

// The same as the bytes of a file.
QByteArray LevelCsvBytes(const LevelHistory &history, qint64 from, qint64 to, const LevelTimeAnchor &anchor);

} // namespace nuvask
