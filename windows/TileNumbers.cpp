#include "windows/TileNumbers.h"

#include "windows/BoardPanel.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

// A figure of the bold sans serif is at most this wide for each pixel of font height.
constexpr double kFigureWidth = 0.6;

double Luminance(const QColor& colour)
{
    const auto linear = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

} // namespace

TBadge BadgeLayout(int tile, int digits)
{
    const int height = std::max(12, int(std::lround(6 + tile * 0.22)));
    const int font = int(std::lround(height * 0.72));
    const int pad = std::max(3, height / 4);
    const int width = std::max(height, digits * int(std::ceil(font * kFigureWidth)) + 2 * pad);
    const int margin = 2 * MarkerBand(tile) + 1;  // inside both of the marker's bands
    return {QRect(margin, margin, width, height), font, std::max(2, height / 4)};
}

void DrawBadge(QPainter& painter, int tile, int number)
{
    const QString figure = QString::number(number);
    const TBadge badge = BadgeLayout(tile, int(figure.size()));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kBadgeRim, 1));
    painter.setBrush(kBadgeBox);
    painter.drawRoundedRect(QRectF(badge.Box).adjusted(0.5, 0.5, -0.5, -0.5), badge.Radius, badge.Radius);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(badge.FontPixels);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(kBadgeFigure);
    painter.drawText(badge.Box, Qt::AlignCenter, figure);
    painter.restore();
}

TWell WellLayout(int side)
{
    return {std::max(2, side / 20), QColor(20, 20, 20), QColor(235, 235, 235), QColor(40, 40, 40), QColor(78, 78, 78)};
}

void DrawWell(QPainter& painter, const QRect& cell)
{
    const TWell well = WellLayout(std::min(cell.width(), cell.height()));
    painter.save();
    // The rim: light under the whole cell, the shadow's band over its top and left.
    painter.fillRect(cell, well.Light);
    const QPolygon shadow({cell.topLeft(), cell.topRight() + QPoint(1, 0), cell.bottomLeft() + QPoint(0, 1)});
    painter.setClipRegion(QRegion(shadow));
    painter.fillRect(cell, well.Shadow);
    painter.setClipping(false);
    const QRect floor = cell.adjusted(well.Rim, well.Rim, -well.Rim, -well.Rim);
    QLinearGradient light(floor.topLeft(), floor.bottomLeft());
    light.setColorAt(0, well.FloorTop);
    light.setColorAt(1, well.FloorBottom);
    painter.fillRect(floor, light);
    painter.restore();
}

double Contrast(const QColor& a, const QColor& b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
