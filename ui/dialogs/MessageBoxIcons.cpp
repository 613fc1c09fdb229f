// The message box's two pictures, drawn in code.

#include "ui/dialogs/MessageBoxIcons.h"

#include <QPainter>
#include <QPainterPath>

namespace nuvask {

namespace {

constexpr int kSide = 32; // pixels

// Disc with rim on a transparent square; the mark is drawn by the caller.
// Keeping the corners transparent (rather than black) lets the antialiased rim
// blend into whatever background the icon is put on.
QImage Disc(const QColor &fill)
{
    QImage image(kSide, kSide, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(0.5, 0.5, 31, 31));
    QRadialGradient shade(QPointF(12, 10), 20);
    shade.setColorAt(0, fill.lighter(135));
    shade.setColorAt(1, fill);
    p.setBrush(shade);
    p.drawEllipse(QRectF(2.5, 2.5, 27, 27));
    return image;
}

} // namespace

QImage MessageBoxIconOn(const QImage &icon, const QColor &background)
{
    QImage out(icon.size(), QImage::Format_RGB32);
    out.fill(background);
    {
        QPainter p(&out);
        p.drawImage(0, 0, icon);
    }
    const QRgb black = qRgb(0, 0, 0);
    const QRgb bg = background.rgb();
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == (black & 0xFFFFFF))
                line[x] = bg;
        }
    }
    return out;
}

QImage MessageBoxInfoIcon()
{
    static const QImage icon = [] {
        QImage image = Disc(QColor(0x1E, 0x50, 0xD2));
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(16, 9.5), 2.6, 2.6);
        p.drawRoundedRect(QRectF(13.8, 13.5, 4.4, 11.5), 1.2, 1.2);
        p.end();
        return image;
    }();
    return icon;
}

QImage MessageBoxQuestionIcon()
{
    static const QImage icon = [] {
        QImage image = Disc(QColor(0xD2, 0x1E, 0x1E));
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        QPen pen(Qt::white, 3.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        QPainterPath hook;
        const QRectF arc(11.2, 6.8, 9.6, 9.2);
        hook.arcMoveTo(arc, 160);
        hook.arcTo(arc, 160, -250);
        hook.lineTo(16, 17.2);
        hook.lineTo(16, 19.2);
        p.drawPath(hook);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(16, 24), 2.2, 2.2);
        p.end();
        return image;
    }();
    return icon;
}

} // namespace nuvask
