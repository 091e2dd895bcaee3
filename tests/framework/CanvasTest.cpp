#include "framework/Font.h"
#include "tests/support/CoreSupport.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

TEST(Bitmap, SixteenBitPicturesKeepFiveAndSixBitChannels)
{
    TBitmap bitmap(1, 1);
    bitmap.Canvas().SetPixel(0, 0, RGB(0x13, 0x37, 0xFF));
    bitmap.SetPixelFormat(TPixelFormat::pf16bit);
    EXPECT_EQ(bitmap.Canvas().Pixel(0, 0), RGB(0x10, 0x34, 0xFF));  // the high bits fill the low ones
}

TEST(Canvas, RectanglesAndLinesLeaveOutTheirRightAndBottomEdgesAndEndPointsAndFrame3DItsCorners)
{
    TBitmap bitmap = FilledBitmap(10, 10);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush.Color = clRed;
    canvas.FillRect(Rect(2, 2, 5, 4));
    canvas.Brush.Color = clBlue;
    canvas.FrameRect(Rect(0, 0, 10, 10));
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.FillRect(Rect(0, 0, 10, 10));  // a clear brush fills nothing
    ExpectPixels(bitmap.Image(), {{2, 2, clRed}, {4, 3, clRed}, {5, 3, clWhite}, {4, 4, clWhite}, {9, 9, clBlue}, {1, 1, clWhite}});
    EXPECT_EQ(std::pair(canvas.Pixel(10, 0), canvas.Pixel(-1, 0)), std::pair(CLR_INVALID, CLR_INVALID));
    canvas.MoveTo(1, 5);
    canvas.LineTo(5, 5);
    canvas.MoveTo(0, 9);
    canvas.LineTo(3, 6);  // a diagonal: (0,9), (1,8), (2,7)
    EXPECT_EQ(canvas.PenPos(), QPoint(3, 6));
    ExpectPixels(bitmap.Image(), {{1, 5, clBlack}, {4, 5, clBlack}, {5, 5, clWhite}, {2, 7, clBlack}, {3, 6, clWhite}});

    // Frame3D gives the top-right and bottom-left corners the bottom colour.
    TBitmap framed = FilledBitmap(6, 5);
    TRect r = Rect(0, 0, 6, 5);
    Frame3D(framed.Canvas(), r, clRed, clBlue, 2);
    Frame3D(framed.Canvas(), r, clRed, clBlue, 0);  // nothing
    EXPECT_EQ(r, Rect(2, 2, 4, 3));
    ExpectPixels(framed.Image(), {{0, 3, clRed}, {4, 0, clRed}, {5, 0, clBlue}, {0, 4, clBlue}, {5, 4, clBlue},
                                  {1, 1, clRed}, {4, 1, clBlue}, {1, 3, clBlue}, {2, 2, clWhite}});
}

TEST(Canvas, CopyRectCopiesClippedBlocksAndStretchesOtherSizesAndBrushCopyOnlyTheKeyColour)
{
    TBitmap source = FilledBitmap(4, 4, clBlack), target = FilledBitmap(8, 8), big = FilledBitmap(8, 8), small = FilledBitmap(4, 4);
    source.Canvas().SetPixel(3, 3, clRed);
    // A block reaching beyond both pictures copies what lies on both.
    target.Canvas().CopyRect(Rect(6, 6, 10, 10), source.Canvas(), Rect(2, 2, 6, 6));
    ExpectPixels(target.Image(), {{7, 7, clRed}, {6, 6, clBlack}, {5, 5, clWhite}});
    // Doubling makes each pixel a 2 x 2 block; halving picks every other pixel.
    big.Canvas().CopyRect(Rect(0, 0, 8, 8), source.Canvas(), Rect(0, 0, 4, 4));
    ExpectPixels(big.Image(), {{5, 5, clBlack}, {6, 6, clRed}, {7, 7, clRed}});
    small.Canvas().CopyRect(Rect(0, 0, 4, 4), big.Canvas(), Rect(0, 0, 8, 8));
    ExpectPixels(small.Image(), {{3, 3, clRed}, {2, 2, clBlack}});

    constexpr TColor key = 0xFE09F1;
    TBitmap keyed = FilledBitmap(3, 1, key), brushed = FilledBitmap(3, 1);
    keyed.Canvas().SetPixel(1, 0, 0xFE09F0);  // one step off the key: kept
    brushed.Canvas().Brush.Color = clLime;
    brushed.Canvas().BrushCopy(Rect(0, 0, 3, 1), keyed.Image(), Rect(0, 0, 3, 1), key);
    ExpectPixels(brushed.Image(), {{0, 0, clLime}, {1, 0, 0xFE09F0}, {2, 0, clLime}});
}

TEST(Canvas, TextIsDrawnUnsmoothedWhereItsFormatPutsItAndCalcRectOnlyMeasures)
{
    TBitmap bitmap = FilledBitmap(120, 40);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Font = MakeFont("Arial", 21, clRed, true);
    canvas.Font.Smooth = false;
    canvas.Brush.Style = TBrushStyle::bsClear;
    const int width = canvas.TextWidth("WWW"), height = canvas.TextHeight("W");
    TRect r = Rect(0, 0, width, 0);
    EXPECT_EQ(canvas.DrawText("WWW WWW", r, DT_CALCRECT | DT_WORDBREAK), 2 * height);  // two lines
    EXPECT_EQ(r, Rect(0, 0, width, 2 * height));
    EXPECT_EQ(bitmap.Image(), FilledBitmap(120, 40).Image());
    r = Rect(0, 0, 120, 40);
    canvas.DrawText("WWW", r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ASSERT_EQ(ColoursOf(bitmap.Image()), (std::set<TColor>{clRed, clWhite}));  // no blended edge pixels
    const QRect ink = Inks(bitmap.Image())[clRed];
    EXPECT_NEAR(ink.center().x(), 60, 2);
    EXPECT_TRUE(QRect(60 - width / 2 - 1, 20 - height / 2, width + 2, height).contains(ink)) << width << "x" << height;
}

TEST(Font, TimesKeepTheirFontUpTo999AndAreCondensedToFitTheirBoxBeyond)
{
    // The game's three boxes of times (font, text before the time, width): the clock, the result
    // dialog's time, the score rows.
    const std::tuple<TFont, QString, int> boxes[] = {{MakeFont("Arial", 21, clBtnFace, true), "Время : ", 122},
                                                     {MakeFont("MS Sans Serif", 16, clRed, true), "", 41},
                                                     {MakeFont("Arial", 13, clBlack, true, true), "", 98}};
    for (const auto& [font, prefix, width] : boxes)
        for (int seconds : {9, 99, 999, 1000, 9999, 99999}) {
            const QString text = prefix + QString::number(seconds);
            const TFont fitting = FittingFont(font, text, width);
            EXPECT_LE(QFontMetrics(fitting.ToQFont()).horizontalAdvance(text), width) << text.toStdString();
            EXPECT_EQ(fitting.Height, font.Height);
            // Condensed only where it does not fit, which never happens up to 999.
            const bool fits = QFontMetrics(font.ToQFont()).horizontalAdvance(text) <= width;
            EXPECT_EQ(fitting == font, fits || seconds <= 999) << text.toStdString();
        }
}

} // namespace
