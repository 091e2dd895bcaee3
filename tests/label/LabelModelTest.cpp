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

using Row = TLabelEffect::TSchemeRow;

void ExpectRaised(const TLabelEffect& label)
{
    EXPECT_EQ(label.EffectStyle(), esRaised);
    EXPECT_EQ(QPoint(label.DirectionHighlight(), label.DirectionShadow()), QPoint(edUpLeft, edDownRight));
    EXPECT_EQ(QPoint(label.DepthHighlight(), label.DepthShadow()), QPoint(1, 1));
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
    EXPECT_EQ(QPoint(label.ColourHighlight(), label.ColourShadow()), QPoint(clWhite, clBlack));
    EXPECT_EQ(label.Font().Color, clGray);
    EXPECT_EQ(label.Font().Name, QStringLiteral("Times New Roman"));
    EXPECT_EQ(label.Font().Size(), 20);
    EXPECT_EQ(label.size(), QSize(142, 33));
    EXPECT_TRUE(label.Transparent());
    EXPECT_FALSE(label.AsButton());
    EXPECT_EQ(label.GraduateFrom(), clWindowText);  // the framework's font colour at construction
    EXPECT_EQ(label.SchemeColours(csCustom), label.SchemeColours(csWindows));
    EXPECT_EQ(label.SchemeColours(csText), (Row{clWhite, clGray, clBlack}));
    EXPECT_EQ(label.SchemeColours(csEmbossed), (Row{clWhite, clBlack, clSilver}));
    EXPECT_EQ(label.SchemeColours(csGold), (Row{clYellow, clBlack, clOlive}));
    EXPECT_EQ(label.SchemeColours(csSteel), (Row{clAqua, clNavy, clTeal}));
    // Only GraduateFrom differs from what a layout leaves out; 0x808080 is left out too.
    EXPECT_EQ(label.StoredProperties(), QStringList{QStringLiteral("GraduateFrom")});
    label.SetGraduateFrom(clGray);
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

    label.SetEffectStyle(esShadow);
    EXPECT_EQ(QPoint(label.DirectionHighlight(), label.DepthShadow()), QPoint(edNone, 2));
    label.SetAsButton(true);
    ExpectRaised(label);
    label.SetDepthHighlight(4);  // the switch to esCustom turns the button off
    EXPECT_EQ(label.EffectStyle(), esCustom);
    EXPECT_FALSE(label.AsButton());
    EXPECT_FALSE(label.UpdatingStyle() || label.UpdatingScheme());
}

TEST(LabelModel, ColourSchemesKeepTheCustomRow)
{
    TLabelEffect label;
    label.SetColourScheme(csGold);
    EXPECT_EQ(label.Font().Color, clOlive);
    label.SetColourHighlight(clYellow);  // already so: nothing
    EXPECT_EQ(label.ColourScheme(), csGold);
    label.SetColourHighlight(clRed);
    EXPECT_EQ(label.ColourScheme(), csCustom);
    EXPECT_EQ(label.SchemeColours(csCustom), (Row{clRed, clBlack, clOlive}));

    label.SetColourScheme(csSteel);
    label.SetFont(MakeFont(QStringLiteral("Arial"), 12, clLime));  // not kept by the custom row
    label.SetColourScheme(csCustom);
    EXPECT_EQ(label.ColourHighlight(), clAqua);
    EXPECT_EQ(label.ColourShadow(), clNavy);
    EXPECT_EQ(label.Font().Color, clTeal);

    // A scheme outside the enumeration is stored and changes no colour.
    label.SetColourScheme(TColourScheme(9));
    label.SetEffectStyle(esFlying);
    EXPECT_EQ(label.ColourScheme(), TColourScheme(9));
    EXPECT_EQ(label.ColourHighlight(), clAqua);
}

TEST(LabelModel, FlyingTakesTheShadowColourAsHighlight)
{
    TLabelEffect custom;
    custom.SetColourShadow(clRed);  // switches to csCustom
    custom.SetEffectStyle(esFlying);
    EXPECT_EQ(custom.ColourHighlight(), clRed);
    EXPECT_EQ(QPoint(custom.DirectionHighlight(), custom.DepthShadow()), QPoint(edDownRight, 5));
    custom.SetEffectStyle(esRaised);
    EXPECT_EQ(custom.ColourHighlight(), clRed);  // the custom row kept it

    TLabelEffect preset;
    preset.SetEffectStyle(esFlying);
    EXPECT_EQ(preset.ColourHighlight(), clBlack);
    EXPECT_EQ(preset.ColourScheme(), csWindows);
    preset.SetEffectStyle(esRaised);
    EXPECT_EQ(preset.ColourHighlight(), clWhite);
}

TEST(LabelModel, AngleForcesLeftAlignmentAndRepaintsOnlyWhenSeen)
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

    label.SetAngle(0);
    label.Repaints = 0;
    label.SetKeepLettersVertical(true);  // no repaint without an angle
    label.SetGraduateFrom(clRed);        // no repaint without a gradient
    label.SetDepthShadow(1);             // unchanged
    EXPECT_EQ(label.Repaints, 0);
    label.SetGraduateFace(goVertical);
    label.SetGraduateFrom(clBlue);
    label.SetAngle(10);
    label.SetKeepLettersVertical(false);
    EXPECT_EQ(label.Repaints, 4);
}

TEST(LabelModel, ResultDialogCaptionLoadsInLayoutOrder)
{
    TLabelEffect label;
    label.SetColourShadow(clRed);
    EXPECT_EQ(label.ColourScheme(), csCustom);
    label.SetGraduateFrom(clWindowText);
    label.SetColourScheme(csCustom);
    label.SetAlignment(taCenter);
    label.SetFont(MakeFont(QStringLiteral("Times New Roman"), 27, clSilver));
    ExpectRaised(label);
    EXPECT_EQ(QPoint(label.ColourHighlight(), label.ColourShadow()), QPoint(clWhite, clRed));
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
    EXPECT_EQ(QPoint(label.DirectionHighlight(), label.DirectionShadow()), QPoint(edDownRight, edUpLeft));

    SendMove(&label, Qt::LeftButton, {}, QPoint(143, 5));
    EXPECT_EQ(label.EffectStyle(), esRaised);
    SendMove(&label, Qt::LeftButton, {}, QPoint(142, 33));  // both far edges count as inside
    EXPECT_EQ(label.EffectStyle(), esSunken);
    SendMove(&label, Qt::LeftButton, Qt::ControlModifier, QPoint(300, 5));  // Ctrl held: nothing
    SendMove(&label, Qt::LeftButton | Qt::RightButton, {}, QPoint(300, 5));
    EXPECT_EQ(label.EffectStyle(), esSunken);

    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(200, 5));  // outside: nothing
    EXPECT_EQ(label.EffectStyle(), esSunken);
    QTest::mouseRelease(&label, Qt::RightButton, {}, QPoint(0, 0));  // any button inside
    ExpectRaised(label);

    // Only the press looks at Enabled: a label disabled while held still follows the drag and
    // rises on release.
    label.setEnabled(false);
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(label.EffectStyle(), esRaised);
    label.setEnabled(true);
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(5, 5));
    label.setEnabled(false);
    SendMove(&label, Qt::LeftButton, {}, QPoint(300, 5));
    EXPECT_EQ(label.EffectStyle(), esRaised);
    SendMove(&label, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(label.EffectStyle(), esSunken);
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(label.EffectStyle(), esRaised);

    label.SetAsButton(false);  // an ordinary label leaves the mouse to the framework
    label.setEnabled(true);
    EXPECT_FALSE(label.MouseDown(Qt::LeftButton, {}, 5, 5));
    EXPECT_EQ(label.EffectStyle(), esRaised);
}

} // namespace
