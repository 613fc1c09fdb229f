// The level history written as CSV.

#include "core/monitor/LevelHistoryCsv.h"

#include <QSaveFile>
#include <QStringConverter>
#include <QTextStream>

namespace nuvask {

namespace {

constexpr auto RowEnd = "\r\n";

bool carriesVolumes(LevelEvent kind)
{
    return kind != LevelEvent::Peak && kind != LevelEvent::MonitorOn && kind != LevelEvent::MonitorOff;
}

} // namespace

qint64 WriteLevelCsv(QTextStream &out, const LevelHistory &history, qint64 from, qint64 to,
                     const LevelTimeAnchor &anchor)
{
    out.setEncoding(QStringConverter::Utf8);
    out.setGenerateByteOrderMark(true);
    out << LevelCsv::Columns().join(QLatin1Char(',')) << RowEnd;
    qint64 rows = 0;
    for (qint64 seq = history.SeqAtOrAfter(from); seq < history.EndSeq(); ++seq) {
        const LevelRecord &r = history.At(seq);
        if (r.time > to)
            break;
        const LevelEvent kind = r.event();
        // No field holds a comma, a quote or a line break: none is quoted.
        out << anchor.wallAt(r.time).toString(LevelCsv::TimeFormat) << ',';
        if (kind == LevelEvent::Peak)
            out << r.peak;
        out << ',' << r.cut << ',' << LevelEventName(kind) << ',';
        if (carriesVolumes(kind))
            out << r.before << ',' << r.after;
        else
            out << ',';
        out << RowEnd;
        ++rows;
    }
    return rows;
}

QString SaveLevelCsv(const QString &path, const LevelHistory &history, qint64 from, qint64 to,
                     const LevelTimeAnchor &anchor)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    QTextStream out(&file);
    WriteLevelCsv(out, history, from, to, anchor);
    out.flush();
    if (out.status() != QTextStream::Ok) {
        file.cancelWriting();
        return file.errorString();
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

} // namespace nuvask
