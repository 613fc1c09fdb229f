#pragma once
// The level history graph's look, shared by its column painting and its
// labels: scales, colours and the texts of the marks.

#include "core/monitor/LevelHistory.h"
#include "ui/monitor/LevelHistoryTexts.h"

#include <QRgb>
#include <QString>

namespace nuvask::historyStyle {

inline constexpr int FullScale = 32768;            // the peak's scale
inline constexpr int GreenTop = FullScale * 2 / 3; // the level meter's lime, yellow and red parts
inline constexpr int YellowTop = FullScale * 5 / 6;
inline constexpr int LinearTicks[] = {0, 8192, 16384, 24576, 32768};
inline constexpr int DbTicks[] = {0, -3, -6, -10, -20};
inline constexpr int LabelRowPixels = 13;
inline constexpr int LabelRows = 3;
inline constexpr int HatchPitch = 6; // pixels between the off span's hatch lines
inline constexpr int MarksRead = 3;  // marks the reading under the mouse names

inline const QRgb PlotBack = qRgb(0, 0, 0);
inline const QRgb NoRecord = qRgb(40, 40, 40);
inline const QRgb OffBack = qRgb(56, 56, 72);
inline const QRgb OffHatch = qRgb(92, 92, 116);
inline const QRgb Grid = qRgb(0, 72, 0);
inline const QRgb PeakBelow = qRgb(0, 110, 0);
inline const QRgb PeakGreen = qRgb(0, 255, 0);
inline const QRgb PeakYellow = qRgb(255, 255, 0);
inline const QRgb PeakRed = qRgb(255, 0, 0);
inline const QRgb CutLine = qRgb(255, 255, 255);

// The colour of an event's mark.
inline QRgb markColour(LevelEvent kind)
{
    return 0xFF000000u | KindOf(kind).colour;
}

// a / b and its ceiling for b > 0, also for negative a.
inline qint64 floorDiv(qint64 a, qint64 b)
{
    const qint64 q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

inline qint64 ceilDiv(qint64 a, qint64 b)
{
    return -floorDiv(-a, b);
}

// a mod b in [0, b) for b > 0, also for negative a.
inline qint64 floorMod(qint64 a, qint64 b)
{
    return a - floorDiv(a, b) * b;
}

// "before→after", or "×before" for a lowering the mixer refused, and how
// many events it stands for when more than one ("200→184 (3回)").
inline QString markText(LevelEvent kind, int before, int after, int count = 1)
{
    QString text = kind == LevelEvent::LowerRefused
                       ? QStringLiteral("×") + QString::number(before)
                       : QString::number(before) + historyText::Arrow() + QString::number(after);
    if (count > 1)
        text += QStringLiteral(" (") + QString::number(count) + historyText::Times() + QLatin1Char(')');
    return text;
}

} // namespace nuvask::historyStyle
