#include "art/Glyphs.h"

#include "framework/Colors.h"

#include <QPainter>
#include <functional>

namespace {

constexpr int kSide = 16;

QImage Blank()
{
    QImage image(kSide, kSide, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage Draw(const std::function<void(QPainter&)>& draw)
{
    QImage image = Blank();
    QPainter painter(&image);
    draw(painter);
    return image;
}

// A disabled glyph is the shape's silhouette etched into the face: highlight one pixel down and
// right, shadow on top.
QImage Etched(const QImage& glyph)
{
    QImage etched = Blank();
    const QColor highlight = ToQColor(clBtnHighlight), shadow = ToQColor(clBtnShadow);
    for (int pass = 0; pass < 2; ++pass)
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) {
                if (qAlpha(glyph.pixel(x, y)) < 128)
                    continue;
                if (pass == 0 && x + 1 < kSide && y + 1 < kSide)
                    etched.setPixelColor(x + 1, y + 1, highlight);
                else if (pass == 1)
                    etched.setPixelColor(x, y, shadow);
            }
    return etched;
}

QImage Strip(const std::vector<QImage>& images)
{
    QImage strip(kSide * int(images.size()), kSide, QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    for (size_t i = 0; i < images.size(); ++i)
        painter.drawImage(kSide * int(i), 0, images[i]);
    return strip;
}

// Four coloured tiles of a mosaic, one of them out of place.
QImage Mosaic(bool pressed)
{
    return Draw([pressed](QPainter& p) {
        const QColor colours[] = {QColor(220, 40, 40), QColor(40, 160, 60), QColor(40, 80, 220)};
        p.setPen(Qt::black);
        p.setBrush(colours[0]);
        p.drawRect(1, 1, 6, 6);
        p.setBrush(colours[1]);
        p.drawRect(8, 1, 6, 6);
        p.setBrush(colours[2]);
        p.drawRect(1, 8, 6, 6);
        p.setBrush(pressed ? QColor(250, 220, 40) : QColor(250, 200, 0));
        p.drawRect(pressed ? 8 : 9, pressed ? 8 : 9, 6, 6);
    });
}

} // namespace

QImage StartGlyph()
{
    const QImage normal = Mosaic(false);
    const QImage pressed = Mosaic(true);
    return Strip({normal, Etched(normal), pressed, pressed});
}

QImage PauseGlyph()
{
    const QImage normal = Draw([](QPainter& p) {
        p.setPen(Qt::black);
        p.setBrush(QColor(30, 60, 160));
        p.drawRect(3, 2, 3, 11);
        p.drawRect(9, 2, 3, 11);
    });
    return Strip({normal, Etched(normal)});
}

QImage OpenGlyph()
{
    const QImage normal = Draw([](QPainter& p) {
        // A folder with a picture sticking out of it.
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(4, 1, 9, 8);
        p.fillRect(5, 5, 4, 3, QColor(40, 150, 40));
        p.fillRect(9, 3, 3, 5, QColor(60, 110, 220));
        p.setBrush(QColor(230, 190, 60));
        const QPoint folder[] = {{0, 5}, {4, 5}, {5, 7}, {15, 7}, {15, 14}, {0, 14}};
        p.drawPolygon(folder, 6);
    });
    return Strip({normal, Etched(normal)});
}

QImage ExitGlyph()
{
    const QImage normal = Draw([](QPainter& p) {
        // An open door and an arrow leaving through it.
        p.setPen(Qt::black);
        p.setBrush(QColor(150, 90, 40));
        p.drawRect(1, 1, 7, 13);
        p.setBrush(QColor(220, 30, 30));
        const QPoint arrow[] = {{6, 6}, {10, 6}, {10, 3}, {15, 8}, {10, 13}, {10, 10}, {6, 10}};
        p.drawPolygon(arrow, 7);
    });
    return Strip({normal, Etched(normal)});
}
