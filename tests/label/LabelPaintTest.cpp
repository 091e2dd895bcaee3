#include "framework/Bitmap.h"
#include "framework/Panel.h"
#include "label/LblEffct.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

constexpr TColor kGrey127 = RGB(127, 127, 127);
using Colours = std::set<TColor>;

// Paints the label over a surface of its size filled with `background`.
QImage PaintOver(const TLabelEffect& label, TColor background)
{
    TBitmap surface(label.width(), label.height());
    surface.Canvas().Brush.Color = background;
    surface.Canvas().FillRect(surface.Canvas().ClipRect());
    label.Paint(surface.Canvas());
    return surface.Image();
}

// Every colour of an image with the extent of its pixels.
std::map<TColor, QRect> Inks(const QImage& image)
{
    std::map<TColor, QRect> inks;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            inks[PixelAt(image, x, y)] |= QRect(x, y, 1, 1);
    return inks;
}

Colours ColoursOf(const QImage& image)
{
    Colours colours;
    for (const auto& ink : Inks(image))
        colours.insert(ink.first);
    return colours;
}

// The rightmost pixel that is not the background, of every row that has one.
std::vector<QPoint> RightEdge(const QImage& image, TColor background)
{
    std::vector<QPoint> edge;
    for (int y = 0; y < image.height(); ++y)
        for (int x = image.width() - 1; x >= 0; --x)
            if (PixelAt(image, x, y) != background) {
                edge.emplace_back(x, y);
                break;
            }
    return edge;
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
    canvas.Brush.Style = TBrushStyle::bsClear;
    return canvas;
}

TurnedTextLayout TurnedLayout(const TCanvas& canvas, const QString& caption, int angle, const LabelOffsets& offsets)
{
    return LayoutTurnedText(canvas.TextWidth(caption), canvas.TextHeight(caption), canvas.TextWidth(caption + "   "),
                            ComputeAngleTrig(angle), offsets);
}

TEST(LabelPaint, ResultDialogCaptionIsRaisedInRedAndWhiteOverTheCapturedBackground)
{
    const TColor green = RGB(0, 128, 0);
    TPanel dialog;
    dialog.resize(420, 60);
    dialog.SetBevelOuter(TPanelBevel::bvNone);
    dialog.SetColor(green);
    TLabelEffect label(&dialog);
    label.setGeometry(120, 0, 198, 33);
    // In layout order: the shadow colour switches to the custom scheme, which then keeps it.
    label.SetColourShadow(clRed);
    label.SetGraduateFrom(clWindowText);
    label.SetColourScheme(csCustom);
    label.SetAlignment(taCenter);
    label.SetCaption(QStringLiteral("Поздравляю !!!"));
    label.SetFont(MakeFont(QStringLiteral("Times New Roman"), 27, clSilver));

    // Transparent: the dialog shows through.
    const QImage image = dialog.grab().toImage().copy(label.geometry());
    EXPECT_EQ(ColoursOf(image), (Colours{green, clRed, clWhite, clSilver}));
    auto inks = Inks(image);
    const QRect face = inks[clSilver], highlight = inks[clWhite], shadow = inks[clRed];
    EXPECT_EQ(highlight.topLeft(), face.topLeft() - QPoint(1, 1));
    EXPECT_EQ(shadow.bottomRight(), QPoint(face.right() + 1, std::min(32, face.bottom() + 1)));
    EXPECT_NEAR(face.center().x(), 99.0, 4.0);  // centred
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
    // The farthest copy shows beyond every nearer one, each nearer copy one pixel further in.
    // Steps of 63.75 with halves to even: 127.5 gives 128.
    const TColor steps[] = {0x000000, 0x404040, 0x808080, 0xBFBFBF, 0xFFFFFF};
    const std::vector<QPoint> edge = RightEdge(image, clBlue);
    EXPECT_GT(edge.size(), 10u);
    for (QPoint p : edge)
        for (int k = 0; k < 5; ++k)
            EXPECT_EQ(PixelAt(image, p.x() - k, p.y()), steps[k]) << "row " << p.y() << " copy " << 5 - k;
}

TEST(LabelPaint, RealLayersDarkenAndLightenWhatLiesBeneath)
{
    TLabelEffect label;
    label.resize(120, 40);
    MakePlain(label, QStringLiteral("Hi"), clRed);
    label.SetDirectionShadow(edRight);
    label.SetDepthShadow(2);
    label.SetStyleShadow(eoReal);
    // A real shadow over white is darkened half-way to black.
    const QImage shadowed = PaintOver(label, clWhite);
    EXPECT_EQ(ColoursOf(shadowed), (Colours{clWhite, clRed, kGrey127}));
    int rows = 0;
    for (QPoint p : RightEdge(shadowed, clWhite))
        if (PixelAt(shadowed, p.x() - 2, p.y()) == clRed) {
            ++rows;
            EXPECT_EQ(PixelAt(shadowed, p.x(), p.y()), kGrey127);
        }
    EXPECT_GT(rows, 10);

    // A real highlight over black is lightened half-way to white.
    label.SetDepthShadow(0);
    label.SetDirectionHighlight(edUpLeft);
    label.SetDepthHighlight(2);
    label.SetStyleHighlight(eoReal);
    const QImage lightened = PaintOver(label, clBlack);
    EXPECT_EQ(ColoursOf(lightened), (Colours{clBlack, clRed, kGrey127}));
    EXPECT_EQ(Inks(lightened)[kGrey127].left(), Inks(lightened)[clRed].left() - 2);
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
    EXPECT_EQ(ColoursOf(image).count(FaceKeyColour), 0u);  // no key colour is left behind
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
    const TurnedTextLayout box = TurnedLayout(SurfaceCanvas(label), label.Caption(), 90,
                                              ComputeOffsets(edUpLeft, 1, edDownRight, 1, taLeftJustify));
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
    const QString caption = label.Caption();
    TBitmap turned(220, 120), letters(220, 120);
    TCanvas reference = SurfaceCanvas(label, turned.Canvas().Target());
    reference.Font.Escapement = 3600;
    const TurnedTextLayout line = TurnedLayout(reference, caption, 360, LabelOffsets{});
    reference.TextOut(line.X0, line.Y0, caption);
    EXPECT_TRUE(PaintOver(label, clWhite) == turned.Image());

    label.SetKeepLettersVertical(true);
    label.SetAngle(180);
    TCanvas upright = SurfaceCanvas(label, letters.Canvas().Target());
    const UprightLettersLayout layout = LayoutUprightLetters(
        caption, [&](const QString& s) { return upright.TextWidth(s); }, upright.TextHeight(caption),
        ComputeAngleTrig(180), LabelOffsets{});
    for (int i = 0; i < layout.Letters.size(); ++i) {
        const QPoint at = LetterOrigin(layout, LabelOffsets{}, i, 0, 0);
        upright.TextOut(at.x(), at.y(), layout.Letters[i]);
    }
    EXPECT_TRUE(PaintOver(label, clWhite) == letters.Image());
}

TEST(LabelPaint, OnlyTheFirst255CharactersAreDrawn)
{
    TLabelEffect label;
    label.resize(600, 200);
    label.SetFont(MakeFont(QStringLiteral("Arial"), 12, clBlack));
    label.SetCaption(QString(255, QLatin1Char(' ')) + QStringLiteral("MMMM"));
    EXPECT_EQ(ColoursOf(PaintOver(label, clBlue)), Colours{clBlue});
    label.SetCaption(QString(254, QLatin1Char(' ')) + QStringLiteral("MMMM"));
    EXPECT_NE(ColoursOf(PaintOver(label, clBlue)), Colours{clBlue});
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
    EXPECT_EQ(ColoursOf(PaintOver(label, clBlue)), Colours{clBlue});
    label.SetKeepLettersVertical(false);
    label.SetGraduateFace(goHorizontal);
    EXPECT_TRUE(ColoursOf(PaintOver(label, clBlue)).count(clYellow));  // the turned box

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
            // Whatever the values, no key colour is left behind, and no background shape above
            // 360 degrees.
            const Colours colours = ColoursOf(PaintOver(label, clBlue));
            EXPECT_EQ(colours.count(FaceKeyColour), 0u) << angle << upright;
            EXPECT_TRUE(!(upright && angle == 400) || !colours.count(clYellow));
        }
    label.resize(0, 0);
    EXPECT_TRUE(PaintOver(label, clBlue).isNull());
}

} // namespace
