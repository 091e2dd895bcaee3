#include "framework/Canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <cstdlib>
#include <cstring>

namespace {

bool Is32Bit(const QImage& image)
{
    return image.depth() == 32;
}

std::uint32_t* Row(QImage& image, int y)
{
    return reinterpret_cast<std::uint32_t*>(image.scanLine(y));
}

const std::uint32_t* Row(const QImage& image, int y)
{
    return reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
}

// Visits every destination pixel of dest that lies on the target, with the source pixel that
// the stretch maps onto it (nearest neighbour), when that lies on the source.
template <typename Write>
void StretchPixels(QImage& target, const TRect& dest, const QImage& source, const TRect& src, Write write)
{
    const int dw = dest.Width(), dh = dest.Height(), sw = src.Width(), sh = src.Height();
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0)
        return;
    const TRect visible = IntersectRect(dest, Rect(0, 0, target.width(), target.height()));
    for (int y = visible.Top; y < visible.Bottom; ++y) {
        const int sy = src.Top + int((long long)(y - dest.Top) * sh / dh);
        if (sy < 0 || sy >= source.height())
            continue;
        std::uint32_t* out = Row(target, y);
        const std::uint32_t* in = Row(source, sy);
        for (int x = visible.Left; x < visible.Right; ++x) {
            const int sx = src.Left + int((long long)(x - dest.Left) * sw / dw);
            if (sx >= 0 && sx < source.width())
                out[x] = write(in[sx]);
        }
    }
}

} // namespace

TRect TCanvas::ClipRect() const
{
    return target_ ? Rect(0, 0, target_->width(), target_->height()) : TRect{};
}

TColor TCanvas::Pixel(int x, int y) const
{
    if (!target_ || x < 0 || y < 0 || x >= target_->width() || y >= target_->height())
        return CLR_INVALID;
    return FromPixel(Row(*target_, y)[x]);
}

void TCanvas::SetPixel(int x, int y, TColor color)
{
    if (!target_ || x < 0 || y < 0 || x >= target_->width() || y >= target_->height())
        return;
    Row(*target_, y)[x] = ToPixel(color);
}

void TCanvas::HorizontalSpan(int x0, int x1, int y, std::uint32_t pixel)
{
    if (!target_ || y < 0 || y >= target_->height())
        return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, target_->width() - 1);
    std::uint32_t* row = Row(*target_, y);
    for (int x = x0; x <= x1; ++x)
        row[x] = pixel;
}

void TCanvas::FillRect(const TRect& r)
{
    if (Brush.Style == TBrushStyle::bsClear)
        return;
    const std::uint32_t pixel = ToPixel(Brush.Color);
    for (int y = r.Top; y < r.Bottom; ++y)
        HorizontalSpan(r.Left, r.Right - 1, y, pixel);
}

void TCanvas::FrameRect(const TRect& r)
{
    if (r.IsEmpty())
        return;
    const std::uint32_t pixel = ToPixel(Brush.Color);
    HorizontalSpan(r.Left, r.Right - 1, r.Top, pixel);
    HorizontalSpan(r.Left, r.Right - 1, r.Bottom - 1, pixel);
    for (int y = r.Top + 1; y < r.Bottom - 1; ++y) {
        HorizontalSpan(r.Left, r.Left, y, pixel);
        HorizontalSpan(r.Right - 1, r.Right - 1, y, pixel);
    }
}

void TCanvas::Rectangle(const TRect& r)
{
    const bool outlined = Pen.Style != TPenStyle::psClear;
    TRect inner = r;
    if (outlined)
        InflateRect(inner, -1, -1);
    FillRect(inner);
    if (outlined && !r.IsEmpty()) {
        const TBrush saved = Brush;
        Brush = {Pen.Color, TBrushStyle::bsSolid};
        FrameRect(r);
        Brush = saved;
    }
}

void TCanvas::Polygon(const std::vector<QPoint>& points)
{
    if (!target_ || points.empty())
        return;
    QPainter painter(target_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Pen.Style == TPenStyle::psClear ? QPen(Qt::NoPen) : QPen(ToQColor(Pen.Color), 0));
    painter.setBrush(Brush.Style == TBrushStyle::bsClear ? QBrush(Qt::NoBrush) : QBrush(ToQColor(Brush.Color)));
    painter.drawPolygon(points.data(), int(points.size()), Qt::OddEvenFill);
}

void TCanvas::RoundRect(const TRect& r, int ellipseWidth, int ellipseHeight)
{
    if (!target_ || r.Width() < 2 || r.Height() < 2)
        return;
    QPainter painter(target_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Pen.Style == TPenStyle::psClear ? QPen(Qt::NoPen) : QPen(ToQColor(Pen.Color), 0));
    painter.setBrush(Brush.Style == TBrushStyle::bsClear ? QBrush(Qt::NoBrush) : QBrush(ToQColor(Brush.Color)));
    // The outline runs along the outermost pixels, right and bottom edges excluded.
    painter.drawRoundedRect(QRectF(r.Left, r.Top, r.Width() - 1, r.Height() - 1), ellipseWidth / 2.0,
                            ellipseHeight / 2.0, Qt::AbsoluteSize);
}

void TCanvas::LineTo(int x, int y)
{
    const QPoint from = penPos_;
    penPos_ = QPoint(x, y);
    if (!target_ || Pen.Style == TPenStyle::psClear)
        return;
    const std::uint32_t pixel = ToPixel(Pen.Color);
    // Bresenham from the start point up to, not including, the end point.
    int x0 = from.x(), y0 = from.y();
    const int dx = std::abs(x - x0), sx = x0 < x ? 1 : -1;
    const int dy = -std::abs(y - y0), sy = y0 < y ? 1 : -1;
    int error = dx + dy;
    while (x0 != x || y0 != y) {
        if (x0 >= 0 && y0 >= 0 && x0 < target_->width() && y0 < target_->height())
            Row(*target_, y0)[x0] = pixel;
        const int e2 = 2 * error;
        if (e2 >= dy) {
            error += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

void TCanvas::TextOut(int x, int y, const QString& text)
{
    if (!target_ || text.isEmpty())
        return;
    const QFont font = Font.ToQFont();
    const QFontMetrics metrics(font);
    QPainter painter(target_);
    painter.setRenderHint(QPainter::TextAntialiasing, Font.Smooth);
    painter.setFont(font);
    painter.translate(x, y);
    if (Font.Escapement != 0)
        painter.rotate(-Font.Escapement / 10.0);
    if (Brush.Style == TBrushStyle::bsSolid)
        painter.fillRect(QRect(0, 0, metrics.horizontalAdvance(text), metrics.height()), ToQColor(Brush.Color));
    painter.setPen(ToQColor(Font.Color));
    painter.drawText(QPoint(0, metrics.ascent()), text);
}

int TCanvas::TextWidth(const QString& text) const
{
    return QFontMetrics(Font.ToQFont()).horizontalAdvance(text);
}

int TCanvas::TextHeight(const QString&) const
{
    return QFontMetrics(Font.ToQFont()).height();
}

TextMetrics TCanvas::Metrics() const
{
    const QFontMetrics metrics(Font.ToQFont());
    return {[metrics](const QString& s) { return metrics.horizontalAdvance(s); }, metrics.height(),
            metrics.averageCharWidth()};
}

int TCanvas::DrawText(const QString& text, TRect& rect, unsigned format)
{
    const TextMetrics metrics = Metrics();
    const TextLayoutResult layout = LayoutText(text, rect, format, metrics);
    if (format & DT_CALCRECT) {
        rect.Right = rect.Left + layout.Width;
        rect.Bottom = rect.Top + layout.Height;
        return layout.Height;
    }
    if (!target_)
        return layout.Height;

    const QFont font = Font.ToQFont();
    const QFontMetrics fontMetrics(font);
    QPainter painter(target_);
    painter.setRenderHint(QPainter::TextAntialiasing, Font.Smooth);
    painter.setFont(font);
    if (!(format & DT_NOCLIP))
        painter.setClipRect(rect.ToQRect());
    const QColor textColor = ToQColor(Font.Color);
    for (const LaidLine& line : layout.Lines) {
        ForEachTabPiece(line, format, metrics, [&](int x, int firstIndex, const QString& piece) {
            if (Brush.Style == TBrushStyle::bsSolid)
                painter.fillRect(QRect(x, line.Y, fontMetrics.horizontalAdvance(piece), metrics.LineHeight),
                                 ToQColor(Brush.Color));
            painter.setPen(textColor);
            painter.drawText(QPoint(x, line.Y + fontMetrics.ascent()), piece);
            for (int u : line.Underlined) {
                const int at = u - firstIndex;
                if (at < 0 || at >= piece.size())
                    continue;
                const int left = x + fontMetrics.horizontalAdvance(piece.left(at));
                const int width = fontMetrics.horizontalAdvance(piece.mid(at, 1));
                const int underlineY = line.Y + fontMetrics.ascent() + fontMetrics.underlinePos();
                painter.fillRect(QRect(left, underlineY, width, std::max(1, fontMetrics.lineWidth())), textColor);
            }
        });
    }
    return layout.Height;
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& src)
{
    if (source.target_)
        CopyRect(dest, *source.target_, src);
}

void TCanvas::CopyRect(const TRect& dest, const QImage& source, const TRect& src)
{
    if (!target_ || source.isNull() || !Is32Bit(*target_))
        return;
    if (!Is32Bit(source)) {
        CopyRect(dest, source.convertToFormat(QImage::Format_RGB32), src);
        return;
    }
    if (&source == target_) {  // overlapping copies read from a snapshot
        const QImage snapshot = source.copy();
        CopyRect(dest, snapshot, src);
        return;
    }
    const bool sameSize = dest.Width() == src.Width() && dest.Height() == src.Height();
    if (sameSize) {
        // Plain block copy, clipped to both images.
        const int dx = dest.Left - src.Left, dy = dest.Top - src.Top;
        TRect area = IntersectRect(src, Rect(0, 0, source.width(), source.height()));
        area = IntersectRect(area, Rect(-dx, -dy, target_->width() - dx, target_->height() - dy));
        if (area.IsEmpty())
            return;
        const size_t bytes = size_t(area.Width()) * 4;
        for (int y = area.Top; y < area.Bottom; ++y)
            std::memcpy(Row(*target_, y + dy) + area.Left + dx, Row(source, y) + area.Left, bytes);
        return;
    }
    if (StretchMode == TStretchMode::smSmooth && dest.Width() > 0 && dest.Height() > 0) {
        const TRect inside = IntersectRect(src, Rect(0, 0, source.width(), source.height()));
        if (inside != src || src.IsEmpty()) {
            StretchPixels(*target_, dest, source, src, [](std::uint32_t p) { return p; });
            return;
        }
        const QImage scaled = source.copy(src.ToQRect())
                                  .scaled(dest.Width(), dest.Height(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                  .convertToFormat(target_->format());
        CopyRect(dest, scaled, Rect(0, 0, scaled.width(), scaled.height()));
        return;
    }
    StretchPixels(*target_, dest, source, src, [](std::uint32_t p) { return p; });
}

void TCanvas::BrushCopy(const TRect& dest, const QImage& source, const TRect& src, TColor keyColor)
{
    if (!target_ || source.isNull() || !Is32Bit(*target_))
        return;
    if (!Is32Bit(source)) {
        BrushCopy(dest, source.convertToFormat(QImage::Format_RGB32), src, keyColor);
        return;
    }
    const std::uint32_t key = ToPixel(keyColor) & 0xFFFFFF;
    const std::uint32_t replacement = ToPixel(Brush.Color);
    StretchPixels(*target_, dest, source, src,
                  [&](std::uint32_t p) { return (p & 0xFFFFFF) == key ? replacement : p; });
}

void TCanvas::Draw(int x, int y, const QImage& image)
{
    CopyRect(Bounds(x, y, image.width(), image.height()), image, Rect(0, 0, image.width(), image.height()));
}

void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width)
{
    const TPen saved = canvas.Pen;
    canvas.Pen.Width = 1;
    canvas.Pen.Style = TPenStyle::psSolid;
    rect.Bottom -= 1;
    rect.Right -= 1;
    for (; width > 0; --width) {
        // Left edge upwards and top edge rightwards (the top-right corner excluded) ...
        canvas.Pen.Color = topColor;
        canvas.MoveTo(rect.Left, rect.Bottom);
        canvas.LineTo(rect.Left, rect.Top);
        canvas.LineTo(rect.Right, rect.Top);
        // ... then the right edge downwards and the bottom edge back to the bottom-left corner.
        canvas.Pen.Color = bottomColor;
        canvas.LineTo(rect.Right, rect.Bottom);
        canvas.LineTo(rect.Left - 1, rect.Bottom);
        InflateRect(rect, -1, -1);
    }
    rect.Bottom += 1;
    rect.Right += 1;
    canvas.Pen = saved;
}
