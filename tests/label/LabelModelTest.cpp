#include "label/LblEffct.h"
#include "tests/support/TestSupport.h"

#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Counts the repaints that the setters ask for.
class CountingLabel : public TLabelEffect {
public:
    int Repaints = 0;

protected:
    void Invalidate() override
    {
        ++Repaints;
        TLabelEffect::Invalidate();
    }
};

void ExpectRaised(const TLabelEffect& label)
{
    EXPECT_EQ(label.EffectStyle(), esRaised);
    EXPECT_EQ(label.DirectionHighlight(), edUpLeft);
    EXPECT_EQ(label.DirectionShadow(), edDownRight);
    EXPECT_EQ(label.DepthHighlight(), 1);
    EXPECT_EQ(label.DepthShadow(), 1);
}

void SendMove(QWidget* widget, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint at)
{
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, buttons, modifiers);
    QCoreApplication::sendEvent(widget, &move);
}

TEST(LabelModel, FreshLabelHasTheWindowsSchemeAndRaisedStyle)
{
    TLabelEffect label;
    ExpectRaised(label);
    EXPECT_EQ(label.ColourScheme(), csWindows);
    EXPECT_EQ(label.ColourHighlight(), clWhite);
    EXPECT_EQ(label.ColourShadow(), clBlack);
    EXPECT_EQ(label.Font().Color, clGray);
    EXPECT_EQ(label.Font().Name, QStringLiteral("Times New Roman"));
    EXPECT_EQ(label.Font().Size(), 20);
    EXPECT_EQ(label.size(), QSize(142, 33));
    EXPECT_TRUE(label.Transparent());
    EXPECT_FALSE(label.AsButton());
    EXPECT_EQ(label.Angle(), 0);
    EXPECT_EQ(label.GraduateFace(), goNone);
    EXPECT_EQ(label.GraduateFrom(), clWindowText);  // the framework's font colour at construction
    EXPECT_EQ(label.CosAngle(), 1.0);
    EXPECT_EQ(label.SinAngle(), 0.0);
    EXPECT_EQ(label.SchemeColours(csCustom), label.SchemeColours(csWindows));
    EXPECT_EQ(label.SchemeColours(csText), (TLabelEffect::TSchemeRow{clWhite, clGray, clBlack}));
    EXPECT_EQ(label.SchemeColours(csEmbossed), (TLabelEffect::TSchemeRow{clWhite, clBlack, clSilver}));
    EXPECT_EQ(label.SchemeColours(csGold), (TLabelEffect::TSchemeRow{clYellow, clBlack, clOlive}));
    EXPECT_EQ(label.SchemeColours(csSteel), (TLabelEffect::TSchemeRow{clAqua, clNavy, clTeal}));
    // Only GraduateFrom differs from what a layout leaves out; 0x808080 is left out too.
    EXPECT_EQ(label.StoredProperties(), QStringList{QStringLiteral("GraduateFrom")});
    label.SetGraduateFrom(clGray);
    EXPECT_TRUE(label.StoredProperties().isEmpty());
    label.SetAngle(45);
    label.SetStyleShadow(eoReal);
    EXPECT_EQ(label.StoredProperties(), (QStringList{"StyleShadow", "Angle"}));
}

TEST(LabelModel, EditingADepthOrDirectionLeavesThePreset)
{
    TLabelEffect label;
    label.SetDepthShadow(3);
    EXPECT_EQ(label.EffectStyle(), esCustom);
    EXPECT_EQ(label.DirectionShadow(), edDownRight);
    EXPECT_FALSE(label.AsButton());

    label.SetEffectStyle(esShadow);
    EXPECT_EQ(label.DirectionHighlight(), edNone);
    EXPECT_EQ(label.DepthShadow(), 2);
    label.SetAsButton(true);
    ExpectRaised(label);

    label.SetDepthHighlight(4);  // the switch to esCustom turns the button off
    EXPECT_EQ(label.EffectStyle(), esCustom);
    EXPECT_FALSE(label.AsButton());

    label.SetEffectStyle(esNone);
    EXPECT_EQ(label.DepthHighlight(), 0);
    EXPECT_EQ(label.DirectionShadow(), edNone);
    EXPECT_FALSE(label.UpdatingStyle());
    EXPECT_FALSE(label.UpdatingScheme());
}

TEST(LabelModel, ColourSchemesAndTheCustomRow)
{
    TLabelEffect label;
    label.SetColourScheme(csGold);
    EXPECT_EQ(label.Font().Color, clOlive);
    label.SetColourHighlight(clYellow);  // already so: nothing
    EXPECT_EQ(label.ColourScheme(), csGold);
    label.SetColourHighlight(clRed);
    EXPECT_EQ(label.ColourScheme(), csCustom);
    EXPECT_EQ(label.SchemeColours(csCustom), (TLabelEffect::TSchemeRow{clRed, clBlack, clOlive}));
    EXPECT_EQ(label.SchemeColours(csGold)[0], clYellow);

    label.SetColourScheme(csSteel);
    TFont font = label.Font();
    font.Color = clLime;  // a font colour set directly is not kept by the custom row
    label.SetFont(font);
    EXPECT_EQ(label.ColourScheme(), csSteel);
    label.SetColourScheme(csCustom);
    EXPECT_EQ(label.ColourHighlight(), clAqua);
    EXPECT_EQ(label.ColourShadow(), clNavy);
    EXPECT_EQ(label.Font().Color, clTeal);

    // A scheme outside the enumeration is stored and changes no colour.
    label.SetColourScheme(TColourScheme(9));
    EXPECT_EQ(label.ColourScheme(), TColourScheme(9));
    EXPECT_EQ(label.ColourHighlight(), clAqua);
    label.SetEffectStyle(esFlying);
    EXPECT_EQ(label.DepthShadow(), 5);
}

TEST(LabelModel, FlyingTakesTheShadowColourAsHighlight)
{
    TLabelEffect custom;
    custom.SetColourShadow(clRed);  // switches to csCustom
    custom.SetEffectStyle(esFlying);
    EXPECT_EQ(custom.ColourHighlight(), clRed);
    EXPECT_EQ(custom.SchemeColours(csCustom)[0], clRed);
    EXPECT_EQ(custom.DepthShadow(), 5);
    EXPECT_EQ(custom.DirectionHighlight(), edDownRight);
    custom.SetEffectStyle(esRaised);
    EXPECT_EQ(custom.ColourHighlight(), clRed);  // the custom row kept it

    TLabelEffect preset;
    preset.SetEffectStyle(esFlying);
    EXPECT_EQ(preset.ColourHighlight(), clBlack);
    EXPECT_EQ(preset.ColourScheme(), csWindows);
    preset.SetEffectStyle(esRaised);
    EXPECT_EQ(preset.ColourHighlight(), clWhite);
}

TEST(LabelModel, AngleCachesTrigonometryAndForcesLeftAlignment)
{
    CountingLabel label;
    label.SetAlignment(taCenter);
    label.SetAngle(90);
    EXPECT_EQ(label.Alignment(), taLeftJustify);
    EXPECT_EQ(label.SinAngle(), 1.0);
    EXPECT_LT(label.CosAngle(), 1e-16);
    label.SetAngle(0);
    EXPECT_EQ(label.Alignment(), taLeftJustify);  // not restored
    label.SetAlignment(taCenter);
    label.SetAngle(360);
    EXPECT_EQ(label.Alignment(), taLeftJustify);
    EXPECT_EQ(label.CosSquared(), 1.0);

    label.SetAngle(0);
    label.Repaints = 0;
    label.SetKeepLettersVertical(true);  // no repaint without an angle
    label.SetGraduateFrom(clRed);        // no repaint without a gradient
    label.SetDepthShadow(1);             // unchanged
    EXPECT_EQ(label.Repaints, 0);
    label.SetGraduateFace(goVertical);
    label.SetGraduateFrom(clBlue);
    label.SetAngle(10);
    const int afterAngle = label.Repaints;
    label.SetKeepLettersVertical(false);
    EXPECT_EQ(label.Repaints, afterAngle + 1);
    EXPECT_EQ(afterAngle, 3);
}

TEST(LabelModel, ResultDialogCaptionLoadsInLayoutOrder)
{
    QWidget dialog;
    TLabelEffect label(&dialog);
    label.setGeometry(120, 0, 198, 33);
    label.SetColourShadow(clRed);
    EXPECT_EQ(label.ColourScheme(), csCustom);
    EXPECT_EQ(label.Font().Color, clGray);
    label.SetGraduateFrom(clWindowText);
    label.SetColourScheme(csCustom);
    label.SetAlignment(taCenter);
    label.SetCaption(QStringLiteral("Поздравляю !!!"));
    label.SetFont(MakeFont(QStringLiteral("Times New Roman"), 27, clSilver));
    ExpectRaised(label);
    EXPECT_EQ(label.ColourHighlight(), clWhite);
    EXPECT_EQ(label.ColourShadow(), clRed);
    EXPECT_EQ(label.Font().Color, clSilver);
    EXPECT_EQ(label.StoredProperties(), (QStringList{"ColourShadow", "GraduateFrom", "ColourScheme"}));
}

TEST(LabelButton, SinksWhileTheLeftButtonHoldsItInside)
{
    TLabelEffect label;
    label.SetAsButton(true);
    QTest::mousePress(&label, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(label.EffectStyle(), esRaised);
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(label.EffectStyle(), esSunken);
    EXPECT_EQ(label.DirectionHighlight(), edDownRight);
    EXPECT_EQ(label.DirectionShadow(), edUpLeft);

    SendMove(&label, Qt::LeftButton, {}, QPoint(143, 5));  // outside: the right edge counts inside
    EXPECT_EQ(label.EffectStyle(), esRaised);
    SendMove(&label, Qt::LeftButton, {}, QPoint(142, 33));
    EXPECT_EQ(label.EffectStyle(), esSunken);
    SendMove(&label, Qt::LeftButton, Qt::ControlModifier, QPoint(300, 5));  // Ctrl held: nothing
    SendMove(&label, Qt::LeftButton | Qt::RightButton, {}, QPoint(300, 5));
    EXPECT_EQ(label.EffectStyle(), esSunken);

    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(200, 5));  // outside: nothing
    EXPECT_EQ(label.EffectStyle(), esSunken);
    QTest::mouseRelease(&label, Qt::RightButton, {}, QPoint(0, 0));  // any button inside
    ExpectRaised(label);
    EXPECT_TRUE(label.AsButton());
}

TEST(LabelButton, OnlyThePressLooksAtEnabled)
{
    TLabelEffect label;
    label.SetAsButton(true);
    label.setEnabled(false);
    EXPECT_TRUE(label.MouseDown(Qt::LeftButton, {}, 5, 5));
    EXPECT_EQ(label.EffectStyle(), esRaised);
    label.MouseMove(Qt::LeftButton, {}, 5, 5);
    EXPECT_EQ(label.EffectStyle(), esSunken);
    label.MouseUp(Qt::LeftButton, {}, 5, 5);
    EXPECT_EQ(label.EffectStyle(), esRaised);

    label.SetAsButton(false);  // an ordinary label leaves the mouse to the framework
    EXPECT_FALSE(label.MouseDown(Qt::LeftButton, {}, 5, 5));
    label.setEnabled(true);
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(label.EffectStyle(), esRaised);
}

} // namespace
