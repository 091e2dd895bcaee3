#include "framework/Bitmap.h"
#include "label/LblEffct.h"
#include "tests/support/TestSupport.h"

#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>
#include <set>

namespace {

using Colours = std::set<TColor>;

// Style, directions (highlight, shadow) and depths (highlight, shadow).
auto EffectOf(const TLabelEffect& label)
{
    return std::tuple(label.EffectStyle(), label.DirectionHighlight(), label.DirectionShadow(),
                      int(label.DepthHighlight()), int(label.DepthShadow()));
}
const auto kRaised = std::tuple(esRaised, edUpLeft, edDownRight, 1, 1);

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

TEST(LabelModel, FreshLabelIsRaisedEditingADepthLeavesThePresetAndAnAngleForcesLeftAlignment)
{
    TLabelEffect label;
    EXPECT_EQ(EffectOf(label), kRaised);
    label.SetDepthShadow(3);
    EXPECT_EQ(EffectOf(label), std::tuple(esCustom, edUpLeft, edDownRight, 1, 3));
    label.SetEffectStyle(esShadow);
    label.SetAsButton(true);
    EXPECT_EQ(EffectOf(label), kRaised);
    label.SetDepthHighlight(4);  // the switch to esCustom turns the button off
    EXPECT_EQ(std::pair(label.EffectStyle(), label.AsButton()), std::pair(esCustom, false));
    // A turned caption is left-aligned, and stays so when it is upright again.
    label.SetAlignment(taCenter);
    label.SetAngle(90);
    const TAlignment turned = label.Alignment();
    label.SetAngle(0);
    EXPECT_EQ(std::pair(turned, label.Alignment()), std::pair(taLeftJustify, taLeftJustify));
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

TEST(LabelPaint, AGraduatedShadowAndAFaceGradientStepBetweenTheirColours)
{
    // Which copy takes which colour and where, and the colour of each band, are the layout's tests.
    TLabelEffect label;
    MakePlain(label, {160, 40}, QStringLiteral("Mozik"), clWhite, clBlue);
    label.SetDirectionShadow(edRight);
    label.SetDepthShadow(5);
    label.SetStyleShadow(eoGraduated);
    // Opaque: the client rectangle in Color first, then five copies from black to the face's white.
    EXPECT_EQ(ColoursOf(PaintOver(label, clRed)), (Colours{clBlue, 0x000000, 0x404040, 0x808080, 0xBFBFBF, 0xFFFFFF}));
    label.SetEffectStyle(esNone);
    label.SetGraduateFrom(clBlack);
    label.SetGraduateFace(goHorizontal);
    // Column x of the text takes band x, and no key colour is left behind.
    const QImage graded = PaintOver(label, clBlue);
    TCanvas measure;
    measure.Font = label.Font();
    const int n = measure.TextWidth(label.Caption()) - 1;
    ASSERT_GT(ColoursOf(graded).size(), 20u);
    for (int y = 0; y < graded.height(); ++y)
        for (int x = 0; x < graded.width(); ++x)
            if (PixelAt(graded, x, y) != clBlue) {
                ASSERT_EQ(PixelAt(graded, x, y), GradientBandColour(clBlack, clWhite, n, x)) << x << "," << y;
            }
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
    label.SetDepthShadow(40);
    label.SetStyleHighlight(eoReal);
    // Whatever the angle, no key colour is left behind; no background shape above 360 degrees.
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
