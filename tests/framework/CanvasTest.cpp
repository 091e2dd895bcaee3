#include "framework/Bitmap.h"
#include "framework/Canvas.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

TBitmap Blank(int w, int h, TColor color = clWhite)
{
    TBitmap bitmap(w, h);
    bitmap.Canvas().Brush.Color = color;
    bitmap.Canvas().FillRect(Rect(0, 0, w, h));
    return bitmap;
}

TEST(Colors, SplitsStoredValuesAndResolvesSystemColoursThroughThePalette)
{
    EXPECT_EQ(GetRValue(0xFE09F1), 241);
    EXPECT_EQ(GetGValue(0xFE09F1), 9);
    EXPECT_EQ(GetBValue(0xFE09F1), 254);
    EXPECT_EQ(GetRValue(clWindowText), 8);  // a system colour splits as stored
    EXPECT_EQ(ColorToRGB(clBtnFace), kTestBtnFace);
    EXPECT_EQ(ColorToRGB(clBtnShadow), kTestBtnShadow);
    EXPECT_EQ(ColorToRGB(clBtnHighlight), kTestBtnHighlight);
    EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
    EXPECT_EQ(ColorToRGB(clRed), clRed);
    EXPECT_EQ(FromQColor(ToQColor(0x123456)), 0x123456u);
}

TEST(Canvas, RectanglesExcludeTheirRightAndBottomEdges)
{
    TBitmap bitmap = Blank(10, 10);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush.Color = clRed;
    canvas.FillRect(Rect(2, 2, 5, 4));
    EXPECT_EQ(canvas.Pixel(2, 2), clRed);
    EXPECT_EQ(canvas.Pixel(4, 3), clRed);
    EXPECT_EQ(canvas.Pixel(5, 3), clWhite);
    EXPECT_EQ(canvas.Pixel(4, 4), clWhite);
    canvas.Brush.Color = clBlue;
    canvas.FrameRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(canvas.Pixel(9, 9), clBlue);
    EXPECT_EQ(canvas.Pixel(1, 1), clWhite);
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.FillRect(Rect(0, 0, 10, 10));  // a clear brush fills nothing
    EXPECT_EQ(canvas.Pixel(1, 1), clWhite);
    EXPECT_EQ(canvas.Pixel(10, 0), CLR_INVALID);
    EXPECT_EQ(canvas.Pixel(-1, 0), CLR_INVALID);
}

TEST(Canvas, LinesLeaveOutTheirEndPoint)
{
    TBitmap bitmap = Blank(10, 10);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Pen.Color = clBlack;
    canvas.MoveTo(1, 1);
    canvas.LineTo(5, 1);
    EXPECT_EQ(canvas.Pixel(1, 1), clBlack);
    EXPECT_EQ(canvas.Pixel(4, 1), clBlack);
    EXPECT_EQ(canvas.Pixel(5, 1), clWhite);
    EXPECT_EQ(canvas.PenPos(), QPoint(5, 1));
    canvas.LineTo(5, 5);
    EXPECT_EQ(canvas.Pixel(5, 1), clBlack);
    EXPECT_EQ(canvas.Pixel(5, 5), clWhite);
    canvas.MoveTo(0, 9);
    canvas.LineTo(3, 6);  // a diagonal: (0,9), (1,8), (2,7)
    EXPECT_EQ(canvas.Pixel(2, 7), clBlack);
    EXPECT_EQ(canvas.Pixel(3, 6), clWhite);
}

TEST(Canvas, Frame3DGivesTheTopRightAndBottomLeftCornersTheBottomColour)
{
    TBitmap bitmap = Blank(6, 5);
    TRect r = Rect(0, 0, 6, 5);
    Frame3D(bitmap.Canvas(), r, clRed, clBlue, 2);
    EXPECT_EQ(r, Rect(2, 2, 4, 3));
    const TCanvas& c = bitmap.Canvas();
    EXPECT_EQ(c.Pixel(0, 0), clRed);
    EXPECT_EQ(c.Pixel(4, 0), clRed);
    EXPECT_EQ(c.Pixel(5, 0), clBlue);  // top-right corner
    EXPECT_EQ(c.Pixel(0, 4), clBlue);  // bottom-left corner
    EXPECT_EQ(c.Pixel(0, 3), clRed);
    EXPECT_EQ(c.Pixel(5, 4), clBlue);
    EXPECT_EQ(c.Pixel(1, 1), clRed);   // second ring
    EXPECT_EQ(c.Pixel(4, 1), clBlue);
    EXPECT_EQ(c.Pixel(1, 3), clBlue);
    EXPECT_EQ(c.Pixel(2, 2), clWhite); // inside untouched
    TRect none = Rect(0, 0, 6, 5);
    Frame3D(bitmap.Canvas(), none, clRed, clBlue, 0);
    EXPECT_EQ(none, Rect(0, 0, 6, 5));
}

TEST(Canvas, CopyRectCopiesClippedBlocksAndStretchesOtherSizes)
{
    TBitmap source = Blank(4, 4, clBlack);
    source.Canvas().SetPixel(3, 3, clRed);
    TBitmap target = Blank(8, 8);
    // A block reaching beyond both pictures copies what lies on both.
    target.Canvas().CopyRect(Rect(6, 6, 10, 10), source.Canvas(), Rect(2, 2, 6, 6));
    EXPECT_EQ(target.Canvas().Pixel(7, 7), clRed);
    EXPECT_EQ(target.Canvas().Pixel(6, 6), clBlack);
    EXPECT_EQ(target.Canvas().Pixel(5, 5), clWhite);
    // Doubling: each source pixel becomes a 2 x 2 block.
    TBitmap big = Blank(8, 8);
    big.Canvas().CopyRect(Rect(0, 0, 8, 8), source.Canvas(), Rect(0, 0, 4, 4));
    EXPECT_EQ(big.Canvas().Pixel(5, 5), clBlack);
    EXPECT_EQ(big.Canvas().Pixel(6, 6), clRed);
    EXPECT_EQ(big.Canvas().Pixel(7, 7), clRed);
    // Halving picks every other pixel.
    TBitmap small = Blank(4, 4);
    small.Canvas().CopyRect(Rect(0, 0, 4, 4), big.Canvas(), Rect(0, 0, 8, 8));
    EXPECT_EQ(small.Canvas().Pixel(3, 3), clRed);
    EXPECT_EQ(small.Canvas().Pixel(2, 2), clBlack);
}

TEST(Canvas, BrushCopyReplacesOnlyTheKeyColour)
{
    constexpr TColor key = 0xFE09F1;
    TBitmap source = Blank(3, 1, key);
    source.Canvas().SetPixel(1, 0, 0xFE09F0);  // one step off the key: kept
    TBitmap target = Blank(3, 1);
    target.Canvas().Brush.Color = clLime;
    target.Canvas().BrushCopy(Rect(0, 0, 3, 1), source.Image(), Rect(0, 0, 3, 1), key);
    EXPECT_EQ(target.Canvas().Pixel(0, 0), clLime);
    EXPECT_EQ(target.Canvas().Pixel(1, 0), 0xFE09F0u);
    EXPECT_EQ(target.Canvas().Pixel(2, 0), clLime);
}

TEST(Canvas, TextIsDrawnInTheFontColourAndMeasuredInTheFont)
{
    TBitmap bitmap = Blank(120, 40);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Font = MakeFont("Arial", 21, clRed, true);
    canvas.Font.Smooth = false;
    canvas.Brush.Style = TBrushStyle::bsClear;
    const int width = canvas.TextWidth("WWW");
    EXPECT_GT(width, canvas.TextWidth("W"));
    EXPECT_GE(canvas.TextHeight("W"), 21);
    canvas.TextOut(2, 2, "WWW");
    int red = 0, other = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x) {
            const TColor p = canvas.Pixel(x, y);
            if (p == clRed) {
                ++red;
                EXPECT_LT(x, 2 + width + 1);
            } else if (p != clWhite) {
                ++other;
            }
        }
    EXPECT_GT(red, 30);
    EXPECT_EQ(other, 0);  // unsmoothed text has no blended edge pixels
}

TEST(Canvas, DrawTextCalcRectMeasuresWithoutDrawing)
{
    TBitmap bitmap = Blank(50, 50);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Font = MakeFont("Arial", 13, clBlack);
    TRect r = Rect(0, 0, 1000, 0);
    const int height = canvas.DrawText("one two", r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    EXPECT_EQ(height, canvas.TextHeight("W"));
    EXPECT_EQ(r.Width(), canvas.TextWidth("one two"));
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x)
            ASSERT_EQ(canvas.Pixel(x, y), clWhite);
}

} // namespace
