#pragma once
// A canvas draws on a 32-bit off-screen image with the classic raster meaning: rectangles
// exclude their right and bottom edges, a line excludes its end point, a copy between
// rectangles of different sizes stretches, and nothing is antialiased unless the font asks.

#include "framework/Colors.h"
#include "framework/Font.h"
#include "framework/Rect.h"
#include "framework/TextLayout.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <vector>

enum class TBrushStyle { bsSolid, bsClear };
enum class TPenStyle { psSolid, psClear };
enum class TStretchMode { smNearest, smSmooth };

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
};

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = TPenStyle::psSolid;
};

constexpr TColor CLR_INVALID = 0xFFFFFFFF;

class TCanvas {
public:
    TCanvas() = default;
    explicit TCanvas(QImage* target) : target_(target) {}

    void SetTarget(QImage* target) { target_ = target; }
    QImage* Target() const { return target_; }

    TFont Font;
    TBrush Brush;
    TPen Pen;
    TStretchMode StretchMode = TStretchMode::smNearest;

    // The whole target image.
    TRect ClipRect() const;

    TColor Pixel(int x, int y) const;  // CLR_INVALID outside the image
    void SetPixel(int x, int y, TColor color);

    void FillRect(const TRect& r);      // with the brush
    void FrameRect(const TRect& r);     // one-pixel outline in the brush colour
    void Rectangle(const TRect& r);     // outlined by the pen, filled by the brush
    void Polygon(const std::vector<QPoint>& points);  // filled by the brush, outlined by the pen
    void RoundRect(const TRect& r, int ellipseWidth, int ellipseHeight);
    void MoveTo(int x, int y) { penPos_ = QPoint(x, y); }
    void LineTo(int x, int y);          // the end point is not drawn
    QPoint PenPos() const { return penPos_; }

    // Text with its top-left reference point at (x, y), turned by Font.Escapement about it.
    void TextOut(int x, int y, const QString& text);
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;
    TextMetrics Metrics() const;
    // Formatted text in a rectangle (TextFormat flags); returns the height of the text.
    // With DT_CALCRECT nothing is drawn and the rectangle takes the text's extent.
    int DrawText(const QString& text, TRect& rect, unsigned format);

    // Copies src of the source canvas onto dest of this one, stretching when the sizes differ.
    void CopyRect(const TRect& dest, const TCanvas& source, const TRect& src);
    void CopyRect(const TRect& dest, const QImage& source, const TRect& src);
    // Copies src of the source onto dest, every pixel of keyColor becoming the brush colour.
    void BrushCopy(const TRect& dest, const QImage& source, const TRect& src, TColor keyColor);
    void Draw(int x, int y, const QImage& image);

private:
    void HorizontalSpan(int x0, int x1, int y, std::uint32_t pixel);  // x0..x1 inclusive
    QImage* target_ = nullptr;
    QPoint penPos_;
};

// The 3-D frame: `width` rings, each with its left and top edges in topColor and its right and
// bottom edges in bottomColor (so the top-right and bottom-left corners take bottomColor);
// the rectangle shrinks by one on every side per ring.
void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);
