#include "balloon/HintBalloon.h"

#include "framework/Canvas.h"
#include "tests/support/CoreSupport.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

using enum THintDirection;

constexpr TColor kScreen = clWhite;  // what lay beneath the window
const THintLook kLook{clYellow, clPurple, MakeFont(QStringLiteral("MS Sans Serif"), 16, clBlack, true, true)};

// The balloon painted over the plain screen; given an origin, without its text, which is then
// drawn there by itself.
QImage Painted(THintDirection direction, int w, int h, const QString& text = {}, std::optional<QPoint> origin = {})
{
    QImage picture(w, h, QImage::Format_ARGB32_Premultiplied);
    picture.fill(ToQColor(kScreen));
    PaintBalloon(picture, direction, origin ? QString() : text, kLook);
    if (origin) {
        TCanvas canvas(&picture);
        canvas.Font = kLook.Font;
        canvas.Brush.Style = TBrushStyle::bsClear;
        TRect rect = Rect(origin->x(), origin->y(), w, h);
        canvas.DrawText(text, rect, DT_WORDBREAK | DT_NOPREFIX);
    }
    return picture;
}

TEST(HintBalloon, BodyPointerShadowAndTextLieWhereTheDirectionPutsThemAndTheTextIsDrawnWhole)
{
    // Up, for a 66 x 18 text rectangle: the body (0, 0) to (76, 24) with round corners, its outline open
    // at the joint; the pointer's tip (0, 38) just below the window; a half-tone shadow right of and below
    // the body, inside its rounded region, and under the pointer.
    ExpectPixels(Painted(hdUpRight, 82, 38),
                 {{38, 0, clBlack}, {38, 23, clBlack}, {75, 12, clBlack}, {0, 12, clBlack}, {40, 10, clYellow},
                  {0, 0, kScreen}, {15, 23, clYellow}, {20, 23, clBlack}, {8, 30, clYellow}, {1, 37, clBlack},
                  {4, 37, kScreen}, {78, 18, clPurple}, {79, 18, kScreen}, {76, 12, clPurple}, {38, 24, clPurple},
                  {39, 24, kScreen}, {40, 30, kScreen}, {81, 8, kScreen}, {16, 30, clPurple}, {17, 30, kScreen}});
    // Left: the tip 6 in from the right edge; the pointer shadow's scan stops at W - 11.
    ExpectPixels(Painted(hdUpLeft, 82, 38), {{75, 37, clBlack}, {68, 30, clYellow}, {59, 27, clPurple}, {73, 31, kScreen}});
    // Down: body (0, 15) to (76, 39), tip (0, 0), the body's shadow below and right, none of the pointer.
    ExpectPixels(Painted(hdDownRight, 82, 47),
                 {{38, 15, clBlack}, {38, 38, clBlack}, {40, 27, clYellow}, {38, 14, kScreen}, {0, 0, clBlack},
                  {15, 15, clYellow}, {8, 10, clYellow}, {16, 5, kScreen}, {78, 34, clPurple}, {79, 34, kScreen},
                  {38, 44, clPurple}, {38, 46, kScreen}});
    ExpectPixels(Painted(hdDownLeft, 82, 47), {{76, 0, clBlack}, {0, 0, kScreen}});

    // The text starts at (8, 3) up and (8, 18) down, and is drawn whole.
    const QString text = QStringLiteral("Перемешать. & Co");
    EXPECT_EQ(Painted(hdUpRight, 160, 38, text), Painted(hdUpRight, 160, 38, text, QPoint(8, 3)));
    EXPECT_EQ(Painted(hdDownLeft, 160, 47, text), Painted(hdDownLeft, 160, 47, text, QPoint(8, 18)));
    const QString longText = QStringLiteral("word ").repeated(60);  // word-wrapped, past 255 characters
    const QImage tall = Painted(hdUpRight, 300, 240, longText);
    EXPECT_EQ(tall, Painted(hdUpRight, 300, 240, longText, QPoint(8, 3)));
    EXPECT_NE(tall, Painted(hdUpRight, 300, 240, longText.left(255), QPoint(8, 3)));
}

} // namespace
