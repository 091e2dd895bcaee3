#include "hint/HintBalloon.h"

#include "framework/Canvas.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

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

TEST(HintBalloon, UpBalloonHasItsBodyOnTopItsPointerBelowAndAHalfToneShadow)
{
    const QImage p = Painted(hdUpRight, 82, 38);  // a 66 x 18 text rectangle
    // Body (0, 0) to (76, 24): outlined in black, filled in the hint colour, round corners.
    EXPECT_EQ(PixelAt(p, 38, 0), clBlack);
    EXPECT_EQ(PixelAt(p, 38, 23), clBlack);
    EXPECT_EQ(PixelAt(p, 75, 12), clBlack);
    EXPECT_EQ(PixelAt(p, 0, 12), clBlack);
    EXPECT_EQ(PixelAt(p, 40, 10), clYellow);
    EXPECT_EQ(PixelAt(p, 0, 0), kScreen);
    // The joint opens the outline where the pointer leaves the body; the pointer is filled.
    EXPECT_EQ(PixelAt(p, 15, 23), clYellow);
    EXPECT_EQ(PixelAt(p, 20, 23), clBlack);
    EXPECT_EQ(PixelAt(p, 8, 30), clYellow);
    // The tip at (0, 38) lies just below the window: the pointer's lines end at its last row.
    EXPECT_EQ(PixelAt(p, 1, 37), clBlack);
    EXPECT_EQ(PixelAt(p, 4, 37), kScreen);
    // Shadow: only where x + y is even.
    EXPECT_EQ(PixelAt(p, 78, 18), clPurple);
    EXPECT_EQ(PixelAt(p, 79, 18), kScreen);
    EXPECT_EQ(PixelAt(p, 76, 12), clPurple);
    EXPECT_EQ(PixelAt(p, 38, 24), clPurple);
    EXPECT_EQ(PixelAt(p, 39, 24), kScreen);
    EXPECT_EQ(PixelAt(p, 40, 30), kScreen);  // below the bottom band
    EXPECT_EQ(PixelAt(p, 81, 8), kScreen);   // outside the shadow's round corner
    // The pointer's own shadow.
    EXPECT_EQ(PixelAt(p, 16, 30), clPurple);
    EXPECT_EQ(PixelAt(p, 17, 30), kScreen);
}

TEST(HintBalloon, UpLeftPointerShadowStopsElevenPixelsFromTheRightEdge)
{
    const QImage p = Painted(hdUpLeft, 82, 38);
    EXPECT_EQ(PixelAt(p, 75, 37), clBlack);  // tip (76, 38): 6 in from the right edge
    EXPECT_EQ(PixelAt(p, 68, 30), clYellow);
    EXPECT_EQ(PixelAt(p, 59, 27), clPurple);
    EXPECT_EQ(PixelAt(p, 73, 31), kScreen);  // inside the shadow triangle, right of its scan
}

TEST(HintBalloon, DownBalloonHasItsPointerOnTopAndNoPointerShadow)
{
    const QImage p = Painted(hdDownRight, 82, 47);
    // Body (0, 15) to (76, 39).
    EXPECT_EQ(PixelAt(p, 38, 15), clBlack);
    EXPECT_EQ(PixelAt(p, 38, 38), clBlack);
    EXPECT_EQ(PixelAt(p, 40, 27), clYellow);
    EXPECT_EQ(PixelAt(p, 38, 14), kScreen);
    EXPECT_EQ(PixelAt(p, 0, 0), clBlack);  // the tip
    EXPECT_EQ(PixelAt(p, 15, 15), clYellow);
    EXPECT_EQ(PixelAt(p, 8, 10), clYellow);
    EXPECT_EQ(PixelAt(p, 16, 5), kScreen);
    EXPECT_EQ(PixelAt(p, 78, 34), clPurple);
    EXPECT_EQ(PixelAt(p, 79, 34), kScreen);
    EXPECT_EQ(PixelAt(p, 38, 44), clPurple);
    EXPECT_EQ(PixelAt(p, 38, 46), kScreen);

    const QImage left = Painted(hdDownLeft, 82, 47);
    EXPECT_EQ(PixelAt(left, 76, 0), clBlack);
    EXPECT_EQ(PixelAt(left, 0, 0), kScreen);
}

TEST(HintBalloon, TextStartsAtEightThreeUpAndEightEighteenDown)
{
    const QString text = QStringLiteral("Перемешать. & Co");
    const QImage up = Painted(hdUpRight, 160, 38, text);
    EXPECT_EQ(up, WithTextAt(hdUpRight, 160, 38, text, {8, 3}));
    EXPECT_NE(up, Painted(hdUpRight, 160, 38));
    const QImage down = Painted(hdDownLeft, 160, 47, text);
    EXPECT_EQ(down, WithTextAt(hdDownLeft, 160, 47, text, {8, 18}));

    // A long text is drawn whole, word-wrapped.
    QString longText;
    for (int i = 0; i < 40; ++i)
        longText += QStringLiteral("word%1 ").arg(i);
    ASSERT_GT(longText.size(), 255);
    const QImage tall = Painted(hdUpRight, 300, 240, longText);
    EXPECT_EQ(tall, WithTextAt(hdUpRight, 300, 240, longText, {8, 3}));
    EXPECT_NE(tall, WithTextAt(hdUpRight, 300, 240, longText.left(255), {8, 3}));
}

TEST(HintBalloon, PaintingAgainOverItsOwnResultChangesNothing)
{
    const QImage once = Painted(hdUpLeft, 120, 50, QStringLiteral("Пауза."));
    QImage twice = once;
    PaintBalloon(twice, hdUpLeft, QStringLiteral("Пауза."), kLook);
    EXPECT_EQ(once, twice);
}

} // namespace
