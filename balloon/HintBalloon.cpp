#include "balloon/HintBalloon.h"

#include "framework/Canvas.h"

#include <algorithm>

namespace {

// Sets every pixel of the box (inclusive bounds) whose coordinates add up to an even number and
// which lies in the region: half of the pixels, so the shadow dims what lies beneath it.
template <typename Inside>
void Dither(TCanvas& canvas, int left, int top, int right, int bottom, TColor color, Inside inside)
{
    for (int y = top; y <= bottom; ++y)
        for (int x = left + ((left + y) & 1); x <= right; x += 2)
            if (inside(x, y))
                canvas.SetPixel(x, y, color);
}

void FillTriangle(TCanvas& canvas, const TTriangle& triangle, TColor color)
{
    const auto [minX, maxX] = std::minmax({triangle[0].x(), triangle[1].x(), triangle[2].x()});
    const auto [minY, maxY] = std::minmax({triangle[0].y(), triangle[1].y(), triangle[2].y()});
    for (int y = minY; y <= maxY; ++y)
        for (int x = minX; x <= maxX; ++x)
            if (InTriangleRegion(triangle, x, y))
                canvas.SetPixel(x, y, color);
}

} // namespace

TBalloonGeometry BalloonGeometry(THintDirection direction, int W, int H)
{
    TBalloonGeometry g;
    const bool right = direction == THintDirection::hdUpRight || direction == THintDirection::hdDownRight;
    // The base points of the pointer and its tip, on the body's left or right end.
    const int base1 = right ? 10 : W - 26, base2 = right ? 20 : W - 16, tipX = right ? 0 : W - 6;
    if (IsUpDirection(direction)) {
        g.Body = Rect(0, 0, W - 6, H - 14);
        g.Text = Rect(8, 3, W, H);
        g.Shadow = Rect(10, 8, W, H - 9);
        g.RightBand = Rect(W - 14, 8, W + 1, H - 13);
        g.BottomBand = Rect(10, H - 14, W + 1, H - 8);
        g.Pointer = {QPoint(base1, H - 15), QPoint(base2, H - 15), QPoint(tipX, H)};
        g.PointerShadow = right ? TTriangle{QPoint(12, H - 15), QPoint(25, H - 15), QPoint(12, H)}
                                : TTriangle{QPoint(W - 33, H - 15), QPoint(W - 11, H - 15), QPoint(W - 6, H)};
        g.HasPointerShadow = true;
    } else {
        g.Body = Rect(0, 15, W - 6, H - 8);
        g.Text = Rect(8, 18, W, H);
        g.Shadow = Rect(10, 23, W, H - 2);
        g.RightBand = Rect(W - 14, 23, W + 1, H - 7);
        g.BottomBand = Rect(10, H - 8, W + 1, H - 1);
        g.Pointer = {QPoint(base1, 15), QPoint(base2, 15), QPoint(tipX, 0)};
    }
    return g;
}

bool InRoundRectRegion(const TRect& rect, int ellipseWidth, int ellipseHeight, int x, int y)
{
    if (!rect.Contains(x, y))
        return false;
    const double rx = ellipseWidth / 2.0, ry = ellipseHeight / 2.0;
    const double cx = x + 0.5, cy = y + 0.5;
    // Distance into a corner's quarter ellipse, measured from the ellipse's centre.
    const double dx = cx < rect.Left + rx ? rect.Left + rx - cx : (cx > rect.Right - rx ? cx - (rect.Right - rx) : 0);
    const double dy = cy < rect.Top + ry ? rect.Top + ry - cy : (cy > rect.Bottom - ry ? cy - (rect.Bottom - ry) : 0);
    if (dx == 0 || dy == 0 || rx <= 0 || ry <= 0)
        return true;
    return (dx * dx) / (rx * rx) + (dy * dy) / (ry * ry) <= 1.0;
}

bool InTriangleRegion(const TTriangle& t, int x, int y)
{
    // The pixel's centre is inside when it lies on the same side of all three edges.
    const double px = x + 0.5, py = y + 0.5;
    auto side = [&](const QPoint& a, const QPoint& b) {
        return (b.x() - a.x()) * (py - a.y()) - (b.y() - a.y()) * (px - a.x());
    };
    const double s1 = side(t[0], t[1]), s2 = side(t[1], t[2]), s3 = side(t[2], t[0]);
    return (s1 >= 0 && s2 >= 0 && s3 >= 0) || (s1 <= 0 && s2 <= 0 && s3 <= 0);
}

void PaintBalloon(QImage& picture, THintDirection direction, const QString& text, const THintLook& look)
{
    const int W = picture.width(), H = picture.height();
    const TBalloonGeometry g = BalloonGeometry(direction, W, H);
    TCanvas canvas(&picture);

    // Shadows first, over what lies beneath, so that the body covers their inner part.
    const auto inShadow = [&](int x, int y) { return InRoundRectRegion(g.Shadow, 8, 8, x, y); };
    for (const TRect& band : {g.RightBand, g.BottomBand})
        Dither(canvas, band.Left, band.Top, band.Right - 1, band.Bottom - 1, look.ShadowColor, inShadow);
    if (g.HasPointerShadow) {
        // The scan box runs from the first point's column to the second's: for a left balloon the
        // sliver of the triangle beyond the second point stays unshaded.
        const TTriangle& b = g.PointerShadow;
        Dither(canvas, b[0].x(), b[0].y(), b[1].x(), b[2].y(), look.ShadowColor,
               [&](int x, int y) { return InTriangleRegion(b, x, y); });
    }

    canvas.Pen = {clBlack, 1, TPenStyle::psSolid};
    canvas.Brush = {look.Color, TBrushStyle::bsSolid};
    canvas.RoundRect(g.Body, 9, 9);

    // The joint: the body's outline gives way where the pointer meets it.
    const TTriangle& a = g.Pointer;
    canvas.Pen.Color = look.Color;
    canvas.MoveTo(a[0].x(), a[0].y());
    canvas.LineTo(a[1].x(), a[1].y());

    canvas.Pen.Color = clBlack;
    FillTriangle(canvas, a, look.Color);
    canvas.LineTo(a[2].x(), a[2].y());
    canvas.LineTo(a[0].x(), a[0].y());

    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font = look.Font;
    TRect textRect = g.Text;
    canvas.DrawText(text, textRect, DT_WORDBREAK | DT_NOPREFIX);
}
