#include "framework/Bitmap.h"
#include "framework/Panel.h"
#include "label/LblEffct.h"
#include "tests/support/TestSupport.h"

#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>
#include <set>

namespace {

using Row = TLabelEffect::TSchemeRow;
using Colours = std::set<TColor>;

// Style, directions (highlight, shadow) and depths (highlight, shadow).
auto EffectOf(const TLabelEffect& label)
{
    return std::tuple(label.EffectStyle(), label.DirectionHighlight(), label.DirectionShadow(),
                      int(label.DepthHighlight()), int(label.DepthShadow()));
}
const auto kRaised = std::tuple(esRaised, edUpLeft, edDownRight, 1, 1);

// Highlight, shadow and face colours, as a scheme row.
Row RowOf(const TLabelEffect& label) { return {label.ColourHighlight(), label.ColourShadow(), label.Font().Color}; }

// Paints the label over a surface of its size filled with `background`.
QImage PaintOver(const TLabelEffect& label, TColor background)
{
    TBitmap surface = FilledBitmap(label.width(), label.height(), background);
    label.Paint(surface.Canvas());
    return surface.Image();
}

// A label of the given size that shows its face only (no layer reaches beyond it), opaque in
// `color` if given.
void MakePlain(TLabelEffect& label, QSize size, const QString& caption, TColor fontColour, TColor color = CLR_INVALID)
{
    label.resize(size);
    label.SetEffectStyle(esNone);
    label.SetCaption(caption);
    label.SetFont(MakeFont(QStringLiteral("Times New Roman"), 27, fontColour));
    label.SetTransparent(color == CLR_INVALID);
    label.SetColor(color);
}

TEST(LabelModel, FreshLabelIsRaisedAndEditingADepthLeavesThePreset)
{
    TLabelEffect label;
    EXPECT_EQ(EffectOf(label), kRaised);
    EXPECT_EQ(RowOf(label), (Row{clWhite, clBlack, 0x808080}));
    label.SetDepthShadow(3);
    EXPECT_EQ(EffectOf(label), std::tuple(esCustom, edUpLeft, edDownRight, 1, 3));
    label.SetEffectStyle(esShadow);
    label.SetAsButton(true);
    EXPECT_EQ(EffectOf(label), kRaised);
    label.SetDepthHighlight(4);  // the switch to esCustom turns the button off
    EXPECT_EQ(label.EffectStyle(), esCustom);
    EXPECT_FALSE(label.AsButton());
}

TEST(LabelModel, ColourSchemesKeepTheCustomRowAndFlyingTakesTheShadowColour)
{
    TLabelEffect label, preset;
    label.SetColourScheme(csGold);
    label.SetColourHighlight(clYellow);  // already so: nothing
    EXPECT_EQ(label.ColourScheme(), csGold);
    label.SetColourHighlight(clRed);
    EXPECT_EQ(label.ColourScheme(), csCustom);
    EXPECT_EQ(RowOf(label), (Row{clRed, clBlack, clOlive}));

    label.SetColourScheme(csSteel);
    label.SetFont(MakeFont(QStringLiteral("Arial"), 12, clLime));  // not kept by the custom row
    label.SetColourScheme(csCustom);
    EXPECT_EQ(RowOf(label), (Row{clAqua, clNavy, clTeal}));

    // Under csCustom the highlight takes the shadow colour and keeps it; under a preset it returns.
    label.SetEffectStyle(esFlying);
    EXPECT_EQ(EffectOf(label), std::tuple(esFlying, edDownRight, edDownRight, 1, 5));
    label.SetEffectStyle(esRaised);
    EXPECT_EQ(label.ColourHighlight(), clNavy);
    preset.SetEffectStyle(esFlying);
    EXPECT_EQ(QPoint(preset.ColourHighlight(), preset.ColourScheme()), QPoint(clBlack, csWindows));
    preset.SetEffectStyle(esRaised);
    EXPECT_EQ(preset.ColourHighlight(), clWhite);
}

TEST(LabelModel, AngleForcesLeftAlignment)
{
    TLabelEffect label;
    label.SetAlignment(taCenter);
    label.SetAngle(90);
    EXPECT_EQ(label.Alignment(), taLeftJustify);
    label.SetAngle(0);
    EXPECT_EQ(label.Alignment(), taLeftJustify);  // not restored
    label.SetAlignment(taCenter);
    label.SetAngle(360);
    EXPECT_EQ(label.Alignment(), taLeftJustify);
}

TEST(LabelButton, SinksWhileTheLeftButtonHoldsItInside)
{
    TLabelEffect label;
    const auto move = [&](Qt::MouseButtons buttons, QPoint at, Qt::KeyboardModifiers modifiers = {}) {
        QMouseEvent event(QEvent::MouseMove, at, label.mapToGlobal(at), Qt::NoButton, buttons, modifiers);
        QCoreApplication::sendEvent(&label, &event);
        return label.EffectStyle();
    };
    label.SetAsButton(true);
    QTest::mousePress(&label, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(label.EffectStyle(), esRaised);
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(EffectOf(label), std::tuple(esSunken, edDownRight, edUpLeft, 1, 1));

    EXPECT_EQ(move(Qt::LeftButton, QPoint(143, 5)), esRaised);
    EXPECT_EQ(move(Qt::LeftButton, QPoint(142, 33)), esSunken);  // both far edges count as inside
    EXPECT_EQ(move(Qt::LeftButton, QPoint(300, 5), Qt::ControlModifier), esSunken);  // not the left button alone
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(200, 5));  // outside: nothing
    EXPECT_EQ(label.EffectStyle(), esSunken);
    QTest::mouseRelease(&label, Qt::RightButton, {}, QPoint(0, 0));  // any button inside
    EXPECT_EQ(EffectOf(label), kRaised);

    // Only the press looks at Enabled: disabled while held, the label follows the drag.
    label.setEnabled(false);
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(label.EffectStyle(), esRaised);
    EXPECT_EQ(move(Qt::LeftButton, QPoint(5, 5)), esSunken);
}

TEST(LabelPaint, GraduatedShadowAndHorizontalGradientStepBetweenTheirColours)
{
    TLabelEffect label;
    MakePlain(label, {160, 40}, QStringLiteral("Mozik"), clWhite, clBlue);
    label.SetDirectionShadow(edRight);
    label.SetDepthShadow(5);
    label.SetStyleShadow(eoGraduated);
    // Opaque: the client rectangle in Color first. Steps of 63.75, halves to even: 127.5 gives 128.
    auto inks = Inks(PaintOver(label, clRed));
    const TColor steps[] = {0x000000, 0x404040, 0x808080, 0xBFBFBF, 0xFFFFFF};
    EXPECT_EQ(inks.size(), 6u);  // clBlue and the steps
    // The farthest copy shows beyond every nearer one, each nearer copy one pixel further in.
    for (int k = 1; k < 5; ++k)
        EXPECT_EQ(inks[steps[k]].right(), inks[steps[0]].right() - k) << "copy " << 5 - k;

    // A face gradient: column x of the text takes band x, and no key colour is left behind.
    label.SetEffectStyle(esNone);
    label.SetGraduateFrom(clBlack);
    label.SetGraduateFace(goHorizontal);
    const QImage graded = PaintOver(label, clBlue);
    TCanvas measure;
    measure.Font = label.Font();
    const int n = measure.TextWidth(label.Caption()) - 1;
    ASSERT_GT(ColoursOf(graded).size(), 20u);
    for (int y = 0; y < graded.height(); ++y)
        for (int x = 0; x < graded.width(); ++x)
            if (PixelAt(graded, x, y) != clBlue) {  // no key colour anywhere
                ASSERT_EQ(PixelAt(graded, x, y), GradientBandColour(clBlack, clWhite, n, x)) << x << "," << y;
            }
}

TEST(LabelPaint, RealLayersDarkenAndLightenWhatLiesBeneath)
{
    TPanel parent;  // transparent: the label shows what its parent paints beneath it
    parent.resize(150, 50);
    parent.SetBevelOuter(TPanelBevel::bvNone);
    parent.SetColor(clWhite);
    TLabelEffect label(&parent);
    MakePlain(label, {120, 40}, QStringLiteral("Hi"), clRed);
    label.SetDirectionShadow(edRight);
    label.SetDepthShadow(2);
    label.SetStyleShadow(eoReal);
    const QImage shadowed = label.grab().toImage();
    EXPECT_EQ(ColoursOf(shadowed), (Colours{clWhite, clRed, RGB(127, 127, 127)}));
    EXPECT_EQ(Inks(shadowed)[RGB(127, 127, 127)].right(), Inks(shadowed)[clRed].right() + 2);

    label.SetDepthShadow(0);
    label.SetDirectionHighlight(edUpLeft);
    label.SetDepthHighlight(2);
    label.SetStyleHighlight(eoReal);
    const QImage lightened = PaintOver(label, clBlack);
    EXPECT_EQ(ColoursOf(lightened), (Colours{clBlack, clRed, RGB(127, 127, 127)}));
    EXPECT_EQ(Inks(lightened)[RGB(127, 127, 127)].left(), Inks(lightened)[clRed].left() - 2);
}

TEST(LabelPaint, TurnedTextAndUprightLettersGoWhereTheirLayoutsSay)
{
    TLabelEffect label;
    MakePlain(label, {200, 200}, QStringLiteral("A&b c"), clSilver);
    const QString caption = label.Caption();
    TBitmap reference(200, 200);  // drawn as the label's surfaces draw
    TCanvas canvas(reference.Canvas().Target());
    canvas.Font = label.Font();
    canvas.Font.Smooth = false;
    canvas.Brush.Style = TBrushStyle::bsClear;
    const UprightLettersLayout upright = LayoutUprightLetters(
        caption, [&](const QString& s) { return canvas.TextWidth(s); }, canvas.TextHeight(caption),
        ComputeAngleTrig(360), LabelOffsets{});
    for (int i = 0; i < upright.Letters.size(); ++i) {
        const QPoint at = LetterOrigin(upright, {}, i, 0, 0);
        canvas.TextOut(at.x(), at.y(), upright.Letters[i]);
    }
    // 360 degrees is a zero slope, but still letters one by one: the ampersand is shown.
    label.SetAngle(360);
    label.SetKeepLettersVertical(true);
    EXPECT_TRUE(PaintOver(label, clWhite) == reference.Image());

    reference.SetSize(200, 200);
    canvas.Font.Escapement = 900;
    const TurnedTextLayout line = LayoutTurnedText(canvas.TextWidth(caption), canvas.TextHeight(caption),
                                                   canvas.TextWidth(caption + "   "), ComputeAngleTrig(90), {});
    canvas.TextOut(line.X0, line.Y0, caption);
    label.SetKeepLettersVertical(false);
    label.SetAngle(90);
    EXPECT_TRUE(PaintOver(label, clWhite) == reference.Image());

    // Opaque, it shows its box outlined in black; the box's bottom and right edges clear the text.
    label.SetTransparent(false);
    label.SetColor(clYellow);
    const QPoint corner = line.Corners[3], middle = (line.Corners[1] + corner) / 2;  // bottom right, centre
    ExpectPixels(PaintOver(label, clWhite), {{corner.x(), corner.y(), clBlack}, {corner.x(), middle.y(), clBlack},
                                             {middle.x(), corner.y(), clBlack}, {corner.x() - 1, corner.y() - 1, clYellow},
                                             {corner.x() + 1, corner.y(), clWhite}});
}

TEST(LabelPaint, EmptyLongAndOddCaptionsPaintWithoutFault)
{
    TLabelEffect label;
    MakePlain(label, {600, 200}, QString(255, QLatin1Char(' ')) + QStringLiteral("MMMM"), clBlack);
    EXPECT_EQ(ColoursOf(PaintOver(label, clBlue)), Colours{clBlue});  // only the first 255 characters
    label.SetCaption(QString(254, QLatin1Char(' ')) + QStringLiteral("MMMM"));
    EXPECT_NE(ColoursOf(PaintOver(label, clBlue)), Colours{clBlue});

    // Upright letters of an empty caption: no letters, no background shape, no band.
    MakePlain(label, {80, 60}, QString(), clBlack, clYellow);
    label.SetGraduateFace(goVertical);
    label.SetAngle(30);
    label.SetKeepLettersVertical(true);
    EXPECT_EQ(ColoursOf(PaintOver(label, clBlue)), Colours{clBlue});

    label.SetCaption(QStringLiteral("Odd\tvalues&"));
    label.SetDirectionShadow(TEffectDirection(200));
    label.SetDepthShadow(40);
    label.SetStyleShadow(TEffectOption(9));
    label.SetStyleHighlight(eoReal);
    label.SetGraduateFace(TGraduateOption(7));
    label.SetAlignment(TAlignment(3));
    // Whatever the values, no key colour is left behind; no background shape above 360 degrees.
    for (int angle : {0, 400, 180, 271})
        for (bool upright : {false, true}) {
            label.SetAngle(TAngleRange(angle));
            label.SetKeepLettersVertical(upright);
            const Colours colours = ColoursOf(PaintOver(label, clBlue));
            EXPECT_EQ(colours.count(FaceKeyColour), 0u) << angle << upright;
            EXPECT_TRUE(!(upright && angle == 400) || !colours.count(clYellow));
        }
}

} // namespace
