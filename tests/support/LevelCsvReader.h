#pragma once
// Reads a level history CSV file back into records, times through the anchor
// the export used, so that a test can compare it with the ring it came from.

#include "core/monitor/LevelHistory.h"
#include "core/monitor/LevelHistoryCsv.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <gtest/gtest.h>

#include <ostream>

namespace nuvask {
// Failures show records as the CSV would.
inline void PrintTo(const LevelRecord &r, std::ostream *os)
{
    *os << "{t=" << r.time << " peak=" << r.peak << " cut=" << r.cut << " kind=" << r.kind << " " << r.before << "->"
        << r.after << " x" << r.count() << "}";
}
} // namespace nuvask

namespace nuvask::test {

// The rows after the header; `header` gets the header's fields, `noRecord`
// the time of a row that says nothing is known from there (-1: none).
inline QList<LevelRecord> ReadLevelCsv(const QByteArray &bytes, const LevelTimeAnchor &anchor,
                                       QStringList *header = nullptr, qint64 *noRecord = nullptr)
{
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QStringList rows = text.split(QStringLiteral("\r\n"));
    EXPECT_TRUE(rows.last().isEmpty()) << "every row ends in CRLF";
    rows.removeLast();
    const QStringList first = rows.isEmpty() ? QStringList() : rows.takeFirst().split(QLatin1Char(','));
    if (header)
        *header = first;
    const auto timeOf = [&](const QString &text) {
        return anchor.monotonic + anchor.wall.msecsTo(QDateTime::fromString(text, LevelCsv::TimeFormat));
    };
    if (noRecord)
        *noRecord = -1;
    QList<LevelRecord> records;
    for (const QString &row : rows) {
        const QStringList f = row.split(QLatin1Char(','));
        EXPECT_EQ(f.size(), 8) << row.toStdString();
        if (f.size() != 8)
            continue;
        if (f[3] == LevelNoRecordName()) {
            EXPECT_TRUE(records.isEmpty() && noRecord) << "only the first row says that nothing is known";
            if (noRecord)
                *noRecord = timeOf(f[0]);
            continue;
        }
        LevelRecord r;
        r.time = timeOf(f[0]);
        r.peak = quint16(f[1].toInt());
        r.cut = quint16(f[2].toInt());
        int kind = 0;
        while (kind < LevelEventKinds && LevelEventName(LevelEvent(kind)) != f[3])
            ++kind;
        r.kind = quint32(kind);
        r.before = f[4].toUInt();
        r.after = f[5].toUInt();
        if (r.isEvent()) {
            r.more = f[6].toUInt() - 1;
            if (!f[7].isEmpty())
                r.runMs = quint16(timeOf(f[7]) - r.time);
        }
        records << r;
    }
    return records;
}

// The records the ring keeps stamped in [from, to].
inline QList<LevelRecord> KeptRecords(const LevelHistory &h, qint64 from, qint64 to)
{
    QList<LevelRecord> out;
    for (qint64 s = h.SeqAtOrAfter(from); s < h.EndSeq() && h.At(s).time <= to; ++s)
        out << h.At(s);
    return out;
}

// A clock the test moves by hand (ms).
struct ManualClock
{
    qint64 now = 1'000'000;
    LevelHistory::Clock fn()
    {
        return [this] { return now; };
    }
};

} // namespace nuvask::test
