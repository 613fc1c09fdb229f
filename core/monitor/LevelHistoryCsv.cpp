// The level history written as CSV.

#include "core/monitor/LevelHistoryCsv.h"

#include <QStringConverter>
#include <QTextStream>

namespace nuvask {

namespace {

constexpr auto RowEnd = "\r\n";

} // namespace

qint64 WriteLevelCsv(QTextStream &out, const LevelHistory &history, qint64 from, qint64 to,
                     const LevelTimeAnchor &anchor)
{
    out.setEncoding(QStringConverter::Utf8);
    out.setGenerateByteOrderMark(true);
    out << LevelCsv::Columns().join(QLatin1Char(',')) << RowEnd;
    const auto time = [&](qint64 t) { return anchor.wallAt(t).toString(LevelCsv::TimeFormat); };
    qint64 rows = 0;
    // What the graph shows as "no record": nothing is known before this.
    if (from < history.KnownFrom()) {
        out << time(from) << ",,," << LevelNoRecordName() << ",,,," << RowEnd;
        ++rows;
    }
    for (qint64 seq = history.SeqAtOrAfter(from); seq < history.EndSeq(); ++seq) {
        const LevelRecord &r = history.At(seq);
        if (r.time > to)
            break;
        const LevelEvent kind = r.event();
        // No field holds a comma, a quote or a line break: none is quoted.
        out << time(r.time) << ',';
        if (kind == LevelEvent::Peak)
            out << r.peak;
        out << ',' << r.cut << ',' << LevelEventName(kind) << ',';
        if (KindOf(kind).volumes)
            out << r.before << ',' << r.after;
        else
            out << ',';
        out << ',';
        if (r.isEvent())
            out << r.count();
        out << ',';
        if (r.count() > 1)
            out << time(r.lastTime());
        out << RowEnd;
        ++rows;
    }
    return rows;
}

QByteArray LevelCsvBytes(const LevelHistory &history, qint64 from, qint64 to, const LevelTimeAnchor &anchor)
{
    QByteArray bytes;
    QTextStream out(&bytes);
    WriteLevelCsv(out, history, from, to, anchor);
    out.flush();
    return bytes;
}

} // namespace nuvask
