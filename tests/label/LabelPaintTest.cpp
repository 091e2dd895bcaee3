#include "framework/Bitmap.h"
#include "framework/Panel.h"
#include "label/LblEffct.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor kGrey127 = RGB(127, 127, 127);

// Paints the label over a surface of its size filled with `background`.
QImage PaintOver(const TLabelEffect& label, TColor background)
{
    TBitmap surface(label.width(), label.height());
    surface.Canvas().Brush.Color = background;
    surface.Canvas().FillRect(surface.Canvas().ClipRect());
    label.Paint(surface.Canvas());
    return surface.Image();
}

// The extent of the pixels of one colour (an empty rectangle when there are none).
TRect BoundsOf(const QImage& image, TColor colour)
{
    TRect box{image.width(), image.height(), 0, 0};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (PixelAt(image, x, y) == colour)
                box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1),
                       std::max(box.Bottom, y + 1)};
    return box;
}

bool OnlyColours(const QImage& image, std::initializer_list<TColor> colours)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (std::find(colours.begin(), colours.end(), PixelAt(image, x, y)) == colours.end())
                return false;
    return true;
}

// The rightmost pixel of a row that is not the background, or -1.
int RightmostInk(const QImage& image, int y, TColor background)
{
    for (int x = image.width() - 1; x >= 0; --x)
        if (PixelAt(image, x, y) != background)
            return x;
    return -1;
}

// A parent that paints its own colour (its palette stays the test's silver).
void PaintBackground(TPanel& panel, TColor colour)
{
    panel.SetBevelOuter(TPanelBevel::bvNone);
    panel.SetColor(colour);
}

// A label that shows its face only (no layer reaches beyond it), opaque in `color` if given.
void MakePlain(TLabelEffect& label, const QString& caption, TColor fontColour, TColor color = CLR_INVALID)
{
    label.SetEffectStyle(esNone);
    label.SetCaption(caption);
    label.SetFont(MakeFont(QStringLiteral("Times New Roman"), 27, fontColour));
    label.SetTransparent(color == CLR_INVALID);
    label.SetColor(color);
}

// A canvas measuring and drawing text in the label's font as its surfaces do.
TCanvas SurfaceCanvas(const TLabelEffect& label, QImage* target = nullptr)
{
    TCanvas canvas(target);
    canvas.Font = label.Font();
    canvas.Font.Smooth = false;
    return canvas;
}

TEST(LabelPaint, ResultDialogCaptionIsRaisedInRedAndWhiteOverTheCapturedBackground)
{
    const TColor green = RGB(0, 128, 0);
    TPanel dialog;
    dialog.resize(420, 60);
    PaintBackground(dialog, green);
    TLabelEffect label(&dialog);
    label.setGeometry(120, 0, 198, 33);
    label.SetColourShadow(clRed);
    label.SetGraduateFrom(clWindowText);
    label.SetColourScheme(csCustom);
    label.SetAlignment(taCenter);
    label.SetCaption(QStringLiteral("Поздравляю !!!"));
    label.SetFont(MakeFont(QStringLiteral("Times New Roman"), 27, clSilver));

    const QImage image = dialog.grab().toImage().copy(label.geometry());
    EXPECT_EQ(PixelAt(image, 0, 0), green);  // transparent: the dialog shows through
    EXPECT_TRUE(OnlyColours(image, {green, clRed, clWhite, clSilver}));
    const TRect face = BoundsOf(image, clSilver);
    const TRect highlight = BoundsOf(image, clWhite);
    const TRect shadow = BoundsOf(image, clRed);
    ASSERT_FALSE(face.IsEmpty());
    EXPECT_EQ(highlight.Left, face.Left - 1);
    EXPECT_EQ(highlight.Top, face.Top - 1);
    EXPECT_EQ(shadow.Right, face.Right + 1);
    EXPECT_EQ(shadow.Bottom, std::min(33, face.Bottom + 1));
    EXPECT_NEAR((face.Left + face.Right) / 2.0, 99.0, 4.0);  // centred
}

TEST(LabelPaint, GraduatedShadowStepsFromItsColourToTheFontColour)
{
    TLabelEffect label;
    label.resize(120, 40);
    MakePlain(label, QStringLiteral("Hi"), clWhite, clBlue);
    label.SetDirectionShadow(edRight);
    label.SetDepthShadow(5);
    label.SetStyleShadow(eoGraduated);
    const QImage image = PaintOver(label, clRed);
    EXPECT_EQ(PixelAt(image, 119, 0), clBlue);  // opaque: the client rectangle in Color first
    int rows = 0;
    for (int y = 0; y < image.height(); ++y) {
        const int x = RightmostInk(image, y, clBlue);
        if (x < 0)
            continue;
        ++rows;
        // The farthest copy shows beyond every nearer one; each nearer copy one pixel further in.
        const TColor expected[] = {0x000000, 0x404040, 0x808080, 0xBFBFBF, 0xFFFFFF};
        for (int k = 0; k < 5; ++k)
            EXPECT_EQ(PixelAt(image, x - k, y), expected[k]) << "row " << y << " copy " << 5 - k;
    }
    EXPECT_GT(rows, 10);
}

TEST(LabelPaint, RealLayersDarkenAndLightenWhatLiesBeneath)
{
    TPanel parent;
    parent.resize(150, 50);
    PaintBackground(parent, clWhite);
    TLabelEffect label(&parent);
    label.setGeometry(10, 5, 120, 40);
    MakePlain(label, QStringLiteral("Hi"), clRed);
    label.SetDirectionShadow(edRight);
    label.SetDepthShadow(2);
    label.SetStyleShadow(eoReal);
    const QImage shadowed = label.grab().toImage();
    EXPECT_TRUE(OnlyColours(shadowed, {clWhite, clRed, kGrey127}));
    int rows = 0;
    for (int y = 0; y < shadowed.height(); ++y) {
        const int x = RightmostInk(shadowed, y, clWhite);
        if (x >= 0 && PixelAt(shadowed, x - 2, y) == clRed) {
            ++rows;
            EXPECT_EQ(PixelAt(shadowed, x, y), kGrey127);
        }
    }
    EXPECT_GT(rows, 10);

    // A real highlight over black is lightened half-way to white.
    label.SetDepthShadow(0);
    label.SetDirectionHighlight(edUpLeft);
    label.SetDepthHighlight(2);
    label.SetStyleHighlight(eoReal);
    const QImage lightened = PaintOver(label, clBlack);
    EXPECT_TRUE(OnlyColours(lightened, {clBlack, clRed, kGrey127}));
    EXPECT_EQ(BoundsOf(lightened, kGrey127).Left, BoundsOf(lightened, clRed).Left - 2);
}

TEST(LabelPaint, HorizontalGradientGivesEachColumnItsBand)
{
    TLabelEffect label;
    label.resize(160, 40);
    MakePlain(label, QStringLiteral("Mozik"), clWhite, clBlue);
    label.SetGraduateFrom(clBlack);
    label.SetGraduateFace(goHorizontal);
    const QImage image = PaintOver(label, clBlue);
    const int n = SurfaceCanvas(label).TextWidth(label.Caption()) - 1;
    ASSERT_GT(n, 20);
    int faces = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x <= n; ++x)
            if (PixelAt(image, x, y) != clBlue) {
                ++faces;
                ASSERT_EQ(PixelAt(image, x, y), GradientBandColour(clBlack, clWhite, n, x)) << x << "," << y;
            }
    EXPECT_GT(faces, 50);
    EXPECT_EQ(BoundsOf(image, FaceKeyColour).Right, 0);  // no key colour is left behind
}

TEST(LabelPaint, OpaqueTurnedLabelShowsItsBoxOutlinedInBlack)
{
    TLabelEffect label;
    label.resize(200, 200);
    label.SetCaption(QStringLiteral("Mozik"));
    label.SetFont(MakeFont(QStringLiteral("Times New Roman"), 27, clSilver));
    label.SetTransparent(false);
    label.SetColor(clYellow);
    label.SetAngle(90);
    const QImage image = PaintOver(label, clWhite);

    const TCanvas canvas = SurfaceCanvas(label);
    const QString caption = label.Caption();
    const TurnedTextLayout box =
        LayoutTurnedText(canvas.TextWidth(caption), canvas.TextHeight(caption), canvas.TextWidth(caption + "   "),
                         ComputeAngleTrig(90), ComputeOffsets(edUpLeft, 1, edDownRight, 1, taLeftJustify));
    const QPoint topLeft = box.Corners[1], bottomRight = box.Corners[3];
    ASSERT_LT(bottomRight.y(), 200);
    // The box sits four pixels right of and below the text's centre: its bottom and right
    // edges are clear of the text.
    for (int y = topLeft.y(); y <= bottomRight.y(); ++y)
        EXPECT_EQ(PixelAt(image, bottomRight.x(), y), clBlack) << y;
    for (int x = topLeft.x(); x <= bottomRight.x(); ++x)
        EXPECT_EQ(PixelAt(image, x, bottomRight.y()), clBlack) << x;
    EXPECT_EQ(PixelAt(image, bottomRight.x() - 1, bottomRight.y() - 1), clYellow);
    EXPECT_EQ(PixelAt(image, bottomRight.x() + 1, bottomRight.y()), clWhite);  // outside: the background
}

TEST(LabelPaint, TurnedAndUprightTextGoWhereTheirLayoutsSay)
{
    TLabelEffect label;
    label.resize(220, 120);
    MakePlain(label, QStringLiteral("A&b c"), clBlack);
    label.SetAlignment(taCenter);
    label.SetAngle(360);  // zero slope, but turned text: one line, ampersand shown, alignment ignored
    TBitmap expected(220, 120);
    TCanvas reference = SurfaceCanvas(label, expected.Canvas().Target());
    reference.Brush.Style = TBrushStyle::bsClear;
    reference.Font.Escapement = 3600;
    const QString caption = label.Caption();
    const TurnedTextLayout turned =
        LayoutTurnedText(reference.TextWidth(caption), reference.TextHeight(caption),
                         reference.TextWidth(caption + "   "), ComputeAngleTrig(360), LabelOffsets{});
    reference.TextOut(turned.X0, turned.Y0, caption);
    EXPECT_TRUE(PaintOver(label, clWhite) == expected.Image());

    label.SetKeepLettersVertical(true);
    label.SetAngle(180);
    TBitmap letters(220, 120);
    TCanvas lettersCanvas = SurfaceCanvas(label, letters.Canvas().Target());
    lettersCanvas.Brush.Style = TBrushStyle::bsClear;
    const UprightLettersLayout upright = LayoutUprightLetters(
        caption, [&](const QString& s) { return lettersCanvas.TextWidth(s); }, lettersCanvas.TextHeight(caption),
        ComputeAngleTrig(180), LabelOffsets{});
    for (int i = 0; i < upright.Letters.size(); ++i) {
        const QPoint at = LetterOrigin(upright, LabelOffsets{}, i, 0, 0);
        lettersCanvas.TextOut(at.x(), at.y(), upright.Letters[i]);
    }
    EXPECT_TRUE(PaintOver(label, clWhite) == letters.Image());
}

TEST(LabelPaint, OnlyTheFirst255CharactersAreDrawn)
{
    TLabelEffect label;
    label.resize(600, 200);
    label.SetFont(MakeFont(QStringLiteral("Arial"), 12, clBlack));
    label.SetCaption(QString(255, QLatin1Char(' ')) + QStringLiteral("MMMM"));
    EXPECT_TRUE(OnlyColours(PaintOver(label, clBlue), {clBlue}));
    label.SetCaption(QString(254, QLatin1Char(' ')) + QStringLiteral("MMMM"));
    EXPECT_FALSE(OnlyColours(PaintOver(label, clBlue), {clBlue}));
}

TEST(LabelPaint, EmptyCaptionsAndOddValuesPaintWithoutFault)
{
    TLabelEffect label;
    label.resize(80, 60);
    label.SetTransparent(false);
    label.SetColor(clYellow);
    label.SetGraduateFace(goVertical);
    label.SetAngle(30);
    label.SetKeepLettersVertical(true);
    // Upright letters of an empty caption: no letters, no background shape, no band.
    EXPECT_TRUE(OnlyColours(PaintOver(label, clBlue), {clBlue}));
    label.SetKeepLettersVertical(false);
    label.SetGraduateFace(goHorizontal);
    EXPECT_FALSE(BoundsOf(PaintOver(label, clBlue), clYellow).IsEmpty());  // the turned box

    label.SetCaption(QStringLiteral("Odd\tvalues&"));
    label.SetDirectionShadow(TEffectDirection(200));
    label.SetDepthShadow(40);
    label.SetStyleShadow(TEffectOption(9));
    label.SetStyleHighlight(eoReal);
    label.SetGraduateFace(TGraduateOption(7));
    label.SetAlignment(TAlignment(3));
    for (int angle : {0, 400, 180, 271})
        for (bool upright : {false, true}) {
            label.SetAngle(TAngleRange(angle));
            label.SetKeepLettersVertical(upright);
            const QImage image = PaintOver(label, clBlue);
            // Whatever the values, no key colour is left behind and the label still draws.
            EXPECT_TRUE(BoundsOf(image, FaceKeyColour).IsEmpty()) << angle << upright;
            if (upright && angle == 400) {  // no background shape above 360 degrees
                EXPECT_TRUE(BoundsOf(image, clYellow).IsEmpty());
            }
        }
    label.resize(0, 0);
    EXPECT_TRUE(PaintOver(label, clBlue).isNull());
}

} // namespace
