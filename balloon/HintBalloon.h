#pragma once
// The speech balloon of a hint: its geometry for a window of W x H pixels and its painting.
// An up balloon has its body at the top and its pointer below it; a down balloon has the
// pointer on top and needs 9 more rows. The body casts a dithered shadow down and to the
// right, and an up balloon's pointer casts one too.

#include "framework/Colors.h"
#include "framework/Font.h"
#include "framework/Rect.h"
#include "balloon/HintPlacement.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <array>

using TTriangle = std::array<QPoint, 3>;

struct TBalloonGeometry {
    TRect Body;        // rounded rectangle, corner ellipse 9 x 9
    TRect Text;        // where the text is laid out
    TRect Shadow;      // rounded-rectangle region, corner ellipse 8 x 8, that bounds the body's shadow
    TRect RightBand;   // the pixels scanned for the shadow right of the body ...
    TRect BottomBand;  // ... and below it
    TTriangle Pointer;        // two base points on the body's outline, then the tip
    TTriangle PointerShadow;  // up balloons only
    bool HasPointerShadow = false;
};

TBalloonGeometry BalloonGeometry(THintDirection direction, int width, int height);

// Whether the pixel (x, y) belongs to the region: its centre lies inside the shape.
bool InRoundRectRegion(const TRect& rect, int ellipseWidth, int ellipseHeight, int x, int y);
bool InTriangleRegion(const TTriangle& triangle, int x, int y);

// The colours and font a balloon is drawn in.
struct THintLook {
    TColor Color;
    TColor ShadowColor;
    TFont Font;
};

// Draws the balloon for the direction over what the picture already holds (the screen under
// the window, or transparency): the shadows, the body, the pointer and the text, word-wrapped
// with '&' drawn as itself. Drawing it again over its own result changes nothing.
void PaintBalloon(QImage& picture, THintDirection direction, const QString& text, const THintLook& look);
