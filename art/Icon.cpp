#include "art/Icon.h"

#include <QPainter>
#include <cmath>
#include <numbers>

namespace {

QPolygonF Star(QPointF centre, double outer, double inner, int points)
{
    QPolygonF star;
    for (int i = 0; i < 2 * points; ++i) {
        const double angle = i * std::numbers::pi / points - std::numbers::pi / 2;
        const double r = i % 2 == 0 ? outer : inner;
        star << QPointF(centre.x() + r * std::cos(angle), centre.y() + r * std::sin(angle));
    }
    return star;
}

QString SvgColour(const QColor& colour)
{
    return colour.isValid() ? colour.name() : QStringLiteral("none");
}

} // namespace

std::vector<TIconShape> IconShapes()
{
    constexpr double margin = 12, gap = 8, tile = (kIconCanvas - 2 * margin - 4 * gap) / 3;
    const QColor outline(35, 25, 50);
    std::vector<TIconShape> shapes;
    shapes.push_back({TIconShape::RoundRect, {4, 4, 248, 248}, 36, {}, QColor(60, 47, 80), outline, 4});
    // Eight tiles coloured by their angle around the board's centre, as on the colour wheel;
    // the bottom-right one is the gap.
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            if (row == 2 && column == 2)
                continue;
            const QRectF cell(margin + gap + column * (tile + gap), margin + gap + row * (tile + gap), tile, tile);
            const double angle = std::atan2(cell.center().y() - 128, cell.center().x() - 128) * 180 / std::numbers::pi;
            const QColor colour = QColor::fromHsvF(std::fmod(angle + 360 + 180, 360) / 360, 0.7, 0.95);
            shapes.push_back({TIconShape::RoundRect, cell, 10, {}, colour, QColor(255, 255, 255), 3});
        }
    const double first = margin + gap + tile / 2, second = first + tile + gap;
    shapes.push_back({TIconShape::Polygon, {}, 0, Star({first, first + 2}, 30, 13, 5), QColor(220, 30, 30), Qt::black, 3});
    shapes.push_back({TIconShape::Ellipse, QRectF(second - 22, second - 22, 44, 44), 0, {}, QColor(30, 60, 200), Qt::black, 3});
    return shapes;
}

QImage RenderIcon(int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(double(side) / kIconCanvas, double(side) / kIconCanvas);
    for (const TIconShape& shape : IconShapes()) {
        painter.setPen(shape.Stroke.isValid() ? QPen(shape.Stroke, shape.StrokeWidth) : QPen(Qt::NoPen));
        painter.setBrush(shape.Fill);
        switch (shape.Shape) {
        case TIconShape::RoundRect: painter.drawRoundedRect(shape.Bounds, shape.Radius, shape.Radius); break;
        case TIconShape::Ellipse: painter.drawEllipse(shape.Bounds); break;
        case TIconShape::Polygon: painter.drawPolygon(shape.Points); break;
        }
    }
    return image;
}

QByteArray IconSvg()
{
    QString svg = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" viewBox=\"0 0 %1 %1\">\n")
                      .arg(kIconCanvas);
    for (const TIconShape& shape : IconShapes()) {
        const QString paint = QStringLiteral("fill=\"%1\" stroke=\"%2\" stroke-width=\"%3\"")
                                  .arg(SvgColour(shape.Fill), SvgColour(shape.Stroke))
                                  .arg(shape.StrokeWidth);
        const QRectF& b = shape.Bounds;
        switch (shape.Shape) {
        case TIconShape::RoundRect:
            svg += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" %6/>\n")
                       .arg(b.x()).arg(b.y()).arg(b.width()).arg(b.height()).arg(shape.Radius).arg(paint);
            break;
        case TIconShape::Ellipse:
            svg += QStringLiteral("  <ellipse cx=\"%1\" cy=\"%2\" rx=\"%3\" ry=\"%4\" %5/>\n")
                       .arg(b.center().x()).arg(b.center().y()).arg(b.width() / 2).arg(b.height() / 2).arg(paint);
            break;
        case TIconShape::Polygon: {
            QStringList points;
            for (const QPointF& p : shape.Points)
                points << QStringLiteral("%1,%2").arg(p.x(), 0, 'f', 2).arg(p.y(), 0, 'f', 2);
            svg += QStringLiteral("  <polygon points=\"%1\" %2/>\n").arg(points.join(QLatin1Char(' ')), paint);
            break;
        }
        }
    }
    svg += QStringLiteral("</svg>\n");
    return svg.toUtf8();
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(RenderIcon(side)));
    return icon;
}
