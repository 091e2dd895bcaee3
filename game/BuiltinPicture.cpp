#include "game/BuiltinPicture.h"

#include "game/Board.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <future>
#include <mutex>
#include <numbers>

namespace {

// Hue turns once around the centre and saturation grows outwards, so no two places share a
// colour; a fine diagonal weave keeps even small tiles from looking flat.
QImage ColourWheel(int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    const double centre = (side - 1) / 2.0;
    for (int y = 0; y < side; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < side; ++x) {
            const double dx = x - centre, dy = y - centre;
            const double angle = std::atan2(dy, dx) * 180.0 / std::numbers::pi + 180.0;
            const double radius = std::hypot(dx, dy) / (centre * std::numbers::sqrt2);
            const double weave = ((x + y) / 6 + (x - y + side) / 6) % 2 == 0 ? 0.0 : 0.12;
            const QColor colour = QColor::fromHsvF(angle / 360.0, 0.35 + 0.6 * radius, 0.95 - weave - 0.25 * radius);
            row[x] = colour.rgb();
        }
    }
    return image;
}

QPainterPath Star(QPointF centre, double outer, double inner, int points)
{
    QPainterPath path;
    for (int i = 0; i < 2 * points; ++i) {
        const double angle = i * std::numbers::pi / points - std::numbers::pi / 2;
        const double r = i % 2 == 0 ? outer : inner;
        const QPointF p(centre.x() + r * std::cos(angle), centre.y() + r * std::sin(angle));
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    path.closeSubpath();
    return path;
}

// The picture drawn ahead on another thread, when that was started: the wheel at once, the
// rest once the application exists.
struct TAhead {
    std::promise<void> ApplicationReady;
    std::once_flag Ready;
    std::future<TBitmap> Picture;
};

TAhead& Ahead()
{
    static TAhead ahead;
    return ahead;
}

// The shapes over the wheel.
void DrawShapes(QImage& image)
{
    const int side = image.width();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(side / 2.0, side / 2.0);

    // Rings and rays give every tile lines whose curve and slant show where it belongs.
    painter.setBrush(Qt::NoBrush);
    for (int r = 20; r < 180; r += 22) {
        painter.setPen(QPen(QColor(255, 255, 255, 170), r % 44 == 20 ? 3 : 1.5));
        painter.drawEllipse(centre, r, r);
    }
    painter.setPen(QPen(QColor(40, 30, 60, 150), 2));
    for (int ray = 0; ray < 12; ++ray) {
        const double angle = ray * std::numbers::pi / 6 + 0.13;
        painter.drawLine(centre + QPointF(28 * std::cos(angle), 28 * std::sin(angle)),
                         centre + QPointF(190 * std::cos(angle), 190 * std::sin(angle)));
    }

    // Shapes of different kinds and colours scattered over the picture.
    struct Shape {
        QPointF at;
        double size;
        QColor colour;
        int points;  // 0: disc, 3 and more: star
    };
    const Shape shapes[] = {
        {{30, 30}, 18, QColor(220, 30, 30), 5},    {{125, 22}, 13, QColor(30, 60, 200), 0},
        {{218, 34}, 16, QColor(250, 210, 20), 6},  {{70, 88}, 12, QColor(20, 150, 60), 4},
        {{182, 92}, 14, QColor(150, 30, 160), 0},  {{24, 150}, 14, QColor(255, 130, 0), 0},
        {{228, 148}, 15, QColor(0, 170, 190), 5},  {{80, 205}, 17, QColor(120, 60, 20), 7},
        {{160, 222}, 12, QColor(230, 60, 140), 4}, {{222, 222}, 18, QColor(60, 60, 60), 3},
        {{34, 226}, 11, QColor(255, 255, 255), 5}, {{110, 150}, 9, QColor(0, 90, 40), 0},
    };
    for (const Shape& shape : shapes) {
        painter.setPen(QPen(Qt::black, 1.5));
        painter.setBrush(shape.colour);
        if (shape.points == 0)
            painter.drawEllipse(shape.at, shape.size, shape.size);
        else
            painter.drawPath(Star(shape.at, shape.size, shape.size * 0.45, shape.points));
    }
}

// The name across the middle, outlined so it reads on any colour.
void DrawName(QImage& image)
{
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(image.width() / 2.0, image.height() / 2.0);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(46);
    font.setBold(true);
    font.setItalic(true);
    QPainterPath name;
    name.addText(0, 0, font, QStringLiteral("Mozik"));
    const QRectF box = name.boundingRect();
    name.translate(centre.x() - box.center().x(), centre.y() - box.center().y() + 4);
    painter.setPen(QPen(Qt::black, 3));
    painter.setBrush(QColor(255, 240, 120));
    painter.drawPath(name);
}

// The shapes and the name over the wheel, in 16 bits per pixel.
TBitmap Finish(QImage image)
{
    DrawShapes(image);
    DrawName(image);
    TBitmap picture(image);
    picture.SetPixelFormat(TPixelFormat::pf16bit);
    return picture;
}

} // namespace

void StartBuiltinPicture()
{
    if (Ahead().Picture.valid())
        return;
    Ahead().Picture = std::async(std::launch::async, [ready = Ahead().ApplicationReady.get_future()] {
        QImage wheel = ColourWheel(kPictureSide);
        ready.wait();  // painting shapes and text needs the application
        return Finish(wheel);
    });
}

void BuiltinPictureMayPaint()
{
    std::call_once(Ahead().Ready, [] { Ahead().ApplicationReady.set_value(); });
}

TBitmap MakeBuiltinPicture()
{
    if (!Ahead().Picture.valid())
        return Finish(ColourWheel(kPictureSide));
    BuiltinPictureMayPaint();
    return Ahead().Picture.get();
}
