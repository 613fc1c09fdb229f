// The folder browser's small pictures, drawn in code.

#include "ui/folders/FolderBrowserPictures.h"

#include <QBitmap>
#include <QImage>
#include <QPainter>

namespace nuvask {

namespace {

constexpr QRgb kTransparentRed = 0xFFFF0000;

QPixmap WithoutRed(const QImage &image)
{
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setMask(QBitmap::fromImage(image.createMaskFromColor(kTransparentRed, Qt::MaskInColor)));
    return pixmap;
}

QImage Canvas(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kTransparentRed);
    return image;
}

QImage FolderImage(bool open)
{
    QImage image = Canvas(19, 19);
    QPainter p(&image);
    p.setPen(QColor(0x80, 0x60, 0x00));
    p.setBrush(QColor(0xF0, 0xD0, 0x60));
    p.drawRect(2, 5, 14, 10); // back
    p.drawRect(2, 3, 6, 2);   // tab
    if (open) {
        p.setBrush(QColor(0xFF, 0xE8, 0x90));
        const QPoint lid[] = {{5, 8}, {18, 8}, {15, 15}, {2, 15}};
        p.drawPolygon(lid, 4);
    }
    return image;
}

} // namespace

QPixmap DrivePicture(DriveKind kind)
{
    QImage image = Canvas(16, 9);
    QPainter p(&image);
    p.setPen(Qt::black);
    switch (kind) {
    case DriveKind::Removable:
        p.setBrush(QColor(0x40, 0x40, 0xC0));
        p.drawRect(3, 0, 9, 8);
        p.fillRect(5, 1, 5, 3, Qt::white);
        break;
    case DriveKind::Fixed:
        p.setBrush(QColor(0xC0, 0xC0, 0xC0));
        p.drawRect(0, 2, 15, 6);
        p.fillRect(12, 5, 2, 1, QColor(0x00, 0xC0, 0x00));
        break;
    case DriveKind::Network:
        p.setBrush(QColor(0xC0, 0xC0, 0xC0));
        p.drawRect(0, 0, 15, 5);
        p.drawLine(7, 6, 7, 8);
        p.drawLine(2, 8, 13, 8);
        break;
    case DriveKind::CdRom:
        p.setBrush(QColor(0xE0, 0xE0, 0xE0));
        p.drawRect(0, 1, 15, 7);
        p.setBrush(QColor(0x60, 0x90, 0xE0));
        p.drawEllipse(4, 2, 7, 5);
        break;
    case DriveKind::Ram:
        p.setBrush(QColor(0x00, 0x80, 0x40));
        p.drawRect(0, 1, 15, 5);
        for (int x = 1; x < 15; x += 3)
            p.drawLine(x, 7, x, 8);
        break;
    }
    p.end();
    return WithoutRed(image);
}

QPixmap OpenFolderPicture()
{
    static const QPixmap picture = WithoutRed(FolderImage(true));
    return picture;
}

QPixmap ClosedFolderPicture()
{
    static const QPixmap picture = WithoutRed(FolderImage(false));
    return picture;
}

} // namespace nuvask
