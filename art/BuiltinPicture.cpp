#include "art/BuiltinPicture.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>
#include <future>
#include <mutex>
#include <numbers>
#include <vector>

namespace {

constexpr int kPictureSide = 250;

// The colour of a hue (0 to 1, once round the wheel), saturation and value (0 to 1).
QRgb FromHsv(double hue, double saturation, double value)
{
    const double sector = hue * 6.0 >= 6.0 ? 0.0 : hue * 6.0;
    const int i = int(sector);
    const double f = sector - i;
    const double p = value * (1.0 - saturation), q = value * (1.0 - saturation * f),
                 t = value * (1.0 - saturation * (1.0 - f));
    double r = value, g = t, b = p;
    switch (i) {
    case 1: r = q, g = value, b = p; break;
    case 2: r = p, g = value, b = t; break;
    case 3: r = p, g = q, b = value; break;
    case 4: r = t, g = p, b = value; break;
    case 5: r = value, g = p, b = q; break;
    default: break;
    }
    return qRgb(qRound(r * 255.0), qRound(g * 255.0), qRound(b * 255.0));
}

// How much of a pixel's span, `span` wide and centred at `at`, lies within [from, to].
double Overlap(double at, double from, double to, double span)
{
    return std::clamp((std::min(at + span / 2, to) - std::max(at - span / 2, from)) / span, 0.0, 1.0);
}

// The pixel blended towards a colour by a share of 0 to 1.
QRgb Blend(QRgb pixel, QColor colour, double share)
{
    auto channel = [share](int from, int to) { return from + int(std::lround((to - from) * share)); };
    return qRgb(channel(qRed(pixel), colour.red()), channel(qGreen(pixel), colour.green()),
                channel(qBlue(pixel), colour.blue()));
}

// The background, computed pixel by pixel (no painting, so it may be made before the
// application exists). Hue turns once around the centre and saturation grows outwards, so no
// two places share a colour; a fine diagonal weave keeps even small tiles from looking flat.
// Rings and rays over it, smoothed at their edges by how much of each pixel they cover, give
// every tile lines whose curve and slant show where it belongs. Drawn at any side, every pixel
// is computed at its own place in the picture's 250-pixel design.
QImage Background(int side)
{
    const double span = double(kPictureSide) / side;  // of the design, one pixel
    struct Ray {
        double Cos, Sin;
    };
    std::array<Ray, 12> rays{};
    for (int i = 0; i < 12; ++i)
        rays[size_t(i)] = {std::cos(i * std::numbers::pi / 6 + 0.13), std::sin(i * std::numbers::pi / 6 + 0.13)};
    const QColor ringColour(255, 255, 255), rayColour(40, 30, 60);

    QImage image(side, side, QImage::Format_RGB32);
    const double centre = (kPictureSide - 1) / 2.0;  // pixel centres lie half a pixel off the grid
    for (int y = 0; y < side; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        const double v = (y + 0.5) * span - 0.5;  // where the pixel's centre lies in the design
        for (int x = 0; x < side; ++x) {
            const double u = (x + 0.5) * span - 0.5;
            const double dx = u - centre, dy = v - centre;
            const double distance = std::hypot(dx, dy);
            const double angle = std::atan2(dy, dx) * 180.0 / std::numbers::pi + 180.0;
            const double radius = distance / (centre * std::numbers::sqrt2);
            const int cellX = int(std::floor(u + 0.5)), cellY = int(std::floor(v + 0.5));
            const double weave = ((cellX + cellY) / 6 + (cellX - cellY + kPictureSide) / 6) % 2 == 0 ? 0.0 : 0.12;
            QRgb pixel = FromHsv(angle / 360.0, 0.35 + 0.6 * radius, 0.95 - weave - 0.25 * radius);
            for (int r = 20; r < 180; r += 22) {
                const double half = r % 44 == 20 ? 1.5 : 0.75;
                if (const double cover = Overlap(distance, r - half, r + half, span); cover > 0)
                    pixel = Blend(pixel, ringColour, cover * 170 / 255);
            }
            for (const Ray& ray : rays) {
                const double along = dx * ray.Cos + dy * ray.Sin, across = dy * ray.Cos - dx * ray.Sin;
                const double cover = Overlap(across, -1, 1, span) * Overlap(along, 27, 191, span);  // 2 wide, square ends
                if (cover > 0)
                    pixel = Blend(pixel, rayColour, cover * 150 / 255);
            }
            row[x] = pixel;
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

// The picture drawn ahead on another thread, when that was started: the background at once, the
// rest once the application exists, with the name's outline made meanwhile on a third thread.
struct TAhead {
    std::promise<std::shared_future<QPainterPath>> ApplicationReady;
    std::once_flag Ready;
    std::future<QImage> Picture;
};

TAhead& Ahead()
{
    static TAhead ahead;
    return ahead;
}

// Shapes of different kinds and colours scattered over the background.
void DrawShapes(QImage& image)
{
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(double(image.width()) / kPictureSide, double(image.height()) / kPictureSide);

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

// The outline of the name across the middle of the picture (fonts need the application).
QPainterPath NamePath()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(46);
    font.setBold(true);
    font.setItalic(true);
    QPainterPath name;
    name.addText(0, 0, font, QStringLiteral("Mozik"));
    const QRectF box = name.boundingRect();
    name.translate(kPictureSide / 2.0 - box.center().x(), kPictureSide / 2.0 - box.center().y() + 4);
    return name;
}

// The shapes and the name, outlined so that it reads on any colour, over the background; in 16
// bits per pixel.
QImage Finish(QImage image, const QPainterPath& name)
{
    DrawShapes(image);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(double(image.width()) / kPictureSide, double(image.height()) / kPictureSide);
    painter.setPen(QPen(Qt::black, 3));
    painter.setBrush(QColor(255, 240, 120));
    painter.drawPath(name);
    painter.end();
    return image.convertToFormat(QImage::Format_RGB16);
}

} // namespace

void StartBuiltinPicture()
{
    if (Ahead().Picture.valid())
        return;
    Ahead().Picture = std::async(std::launch::async, [ready = Ahead().ApplicationReady.get_future()]() mutable {
        QImage background = Background(kPictureSide);
        const std::shared_future<QPainterPath> name = ready.get();  // painting needs the application
        return Finish(background, name.get());
    });
}

void BuiltinPictureMayPaint()
{
    std::call_once(Ahead().Ready, [] {
        Ahead().ApplicationReady.set_value(std::async(std::launch::async, NamePath).share());
    });
}

namespace {

// The cache keys of the pictures made, to know them again wherever they are passed.
struct TMade {
    std::mutex Mutex;
    std::vector<qint64> Keys;
};

TMade& Made()
{
    static TMade made;
    return made;
}

QImage Known(QImage picture)
{
    const std::lock_guard lock(Made().Mutex);
    Made().Keys.push_back(picture.cacheKey());
    return picture;
}

} // namespace

QImage MakeBuiltinPicture(int side)
{
    if (side != kPictureSide)
        return Known(Finish(Background(side), NamePath()));
    static const QImage picture = [] {  // made once, then shared
        if (!Ahead().Picture.valid())
            return Known(Finish(Background(kPictureSide), NamePath()));
        BuiltinPictureMayPaint();
        return Known(Ahead().Picture.get());
    }();
    return picture;
}

bool IsBuiltinPicture(const QImage& picture)
{
    const std::lock_guard lock(Made().Mutex);
    return !picture.isNull() && std::find(Made().Keys.begin(), Made().Keys.end(), picture.cacheKey()) != Made().Keys.end();
}
