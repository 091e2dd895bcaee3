#pragma once
// The program's icon, in the style of the built-in picture: a small board of tiles in the
// colours of the colour wheel, a star and a disc on two of them, and the gap in the corner.
// One list of shapes draws it both as pixels and as a scalable SVG file.

#include <QByteArray>
#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPolygonF>
#include <QRectF>
#include <vector>

// The icon as shapes on a 256 x 256 canvas.
struct TIconShape {
    enum Kind { RoundRect, Ellipse, Polygon } Shape = RoundRect;
    QRectF Bounds;       // RoundRect and Ellipse
    double Radius = 0;   // RoundRect corners
    QPolygonF Points;    // Polygon
    QColor Fill;
    QColor Stroke;       // none when invalid
    double StrokeWidth = 0;
};

constexpr int kIconCanvas = 256;
std::vector<TIconShape> IconShapes();

QImage RenderIcon(int side);
QByteArray IconSvg();
// The icon at the sizes windows and task bars ask for.
QIcon ProgramIcon();
