#include "hint/HintBalloon.h"

#include "framework/Canvas.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {

using enum THintDirection;

constexpr TColor kScreen = clWhite;  // what lay beneath the window
const THintLook kLook{clYellow, clPurple, MakeFont(QStringLiteral("MS Sans Serif"), 16, clBlack, true, true)};

QImage Painted(THintDirection direction, int w, int h, const QString& text = QString())
{
    QImage picture(w, h, QImage::Format_ARGB32_Premultiplied);
    picture.fill(ToQColor(kScreen));
    PaintBalloon(picture, direction, text, kLook);
    return picture;
}

// The balloon drawn without text, with the text then drawn at the given origin by itself.
QImage WithTextAt(THintDirection direction, int w, int h, const QString& text, QPoint origin)
{
    QImage picture = Painted(direction, w, h);
    TCanvas canvas(&picture);
    canvas.Font = kLook.Font;
    canvas.Brush.Style = TBrushStyle::bsClear;
    TRect rect = Rect(origin.x(), origin.y(), w, h);
    canvas.DrawText(text, rect, DT_WORDBREAK | DT_NOPREFIX);
    return picture;
}

void ExpectPixels(const QImage& picture, std::initializer_list<std::tuple<int, int, TColor>> pixels)
{
    for (const auto& [x, y, color] : pixels)
        EXPECT_EQ(PixelAt(picture, x, y), color) << "at " << x << ", " << y;
}

TEST(HintBalloon, BodyPointerAndHalfToneShadowLieWhereTheDirectionPutsThem)
{
    // Up, for a 66 x 18 text rectangle: body (0, 0) to (76, 24), outlined in black, filled in the hint
    // colour, round corners; the joint opens the outline where the pointer leaves the body; its tip
    // (0, 38) lies just below the window, so the pointer's lines end on the last row. The shadow lies
    // right of and below the body where x + y is even, inside its rounded region, and under the pointer.
    ExpectPixels(Painted(hdUpRight, 82, 38),
                 {{38, 0, clBlack}, {38, 23, clBlack}, {75, 12, clBlack}, {0, 12, clBlack}, {40, 10, clYellow},
                  {0, 0, kScreen}, {15, 23, clYellow}, {20, 23, clBlack}, {8, 30, clYellow}, {1, 37, clBlack},
                  {4, 37, kScreen}, {78, 18, clPurple}, {79, 18, kScreen}, {76, 12, clPurple}, {38, 24, clPurple},
                  {39, 24, kScreen}, {40, 30, kScreen}, {81, 8, kScreen}, {16, 30, clPurple}, {17, 30, kScreen}});
    // Left: the tip is 6 in from the right edge; the pointer shadow's scan stops at W - 11, so the
    // part of its triangle beyond stays bare.
    ExpectPixels(Painted(hdUpLeft, 82, 38), {{75, 37, clBlack}, {68, 30, clYellow}, {59, 27, clPurple}, {73, 31, kScreen}});
    // Down: body (0, 15) to (76, 39), tip (0, 0), the body's shadow below and right, none of the pointer.
    ExpectPixels(Painted(hdDownRight, 82, 47),
                 {{38, 15, clBlack}, {38, 38, clBlack}, {40, 27, clYellow}, {38, 14, kScreen}, {0, 0, clBlack},
                  {15, 15, clYellow}, {8, 10, clYellow}, {16, 5, kScreen}, {78, 34, clPurple}, {79, 34, kScreen},
                  {38, 44, clPurple}, {38, 46, kScreen}});
    ExpectPixels(Painted(hdDownLeft, 82, 47), {{76, 0, clBlack}, {0, 0, kScreen}});
}

TEST(HintBalloon, TextStartsAtEightThreeUpAndEightEighteenDownAndIsDrawnWhole)
{
    const QString text = QStringLiteral("Перемешать. & Co");
    EXPECT_EQ(Painted(hdUpRight, 160, 38, text), WithTextAt(hdUpRight, 160, 38, text, {8, 3}));
    EXPECT_NE(Painted(hdUpRight, 160, 38, text), Painted(hdUpRight, 160, 38));
    EXPECT_EQ(Painted(hdDownLeft, 160, 47, text), WithTextAt(hdDownLeft, 160, 47, text, {8, 18}));
    // A text longer than 255 characters, word-wrapped.
    QString longText;
    for (int i = 0; i < 40; ++i)
        longText += QStringLiteral("word%1 ").arg(i);
    const QImage tall = Painted(hdUpRight, 300, 240, longText);
    EXPECT_EQ(tall, WithTextAt(hdUpRight, 300, 240, longText, {8, 3}));
    EXPECT_NE(tall, WithTextAt(hdUpRight, 300, 240, longText.left(255), {8, 3}));
}

} // namespace
