#include "label/LblEffct.h"
#include "tests/support/TestSupport.h"

#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Counts the repaints that the setters ask for.
struct CountingLabel : TLabelEffect {
    int Repaints = 0;
    void Invalidate() override { ++Repaints, TLabelEffect::Invalidate(); }
};

void ExpectRaised(const TLabelEffect& label)
{
    EXPECT_EQ(label.EffectStyle(), esRaised);
    EXPECT_EQ(QPoint(label.DirectionHighlight(), label.DirectionShadow()), QPoint(edUpLeft, edDownRight));
    EXPECT_EQ(QPoint(label.DepthHighlight(), label.DepthShadow()), QPoint(1, 1));
}

// Highlight, shadow and face colours in one row.
TLabelEffect::TSchemeRow Colours(const TLabelEffect& label)
{
    return {label.ColourHighlight(), label.ColourShadow(), label.Font().Color};
}

TEST(LabelModel, FreshLabelHasTheWindowsSchemeAndRaisedStyle)
{
    TLabelEffect label;
    ExpectRaised(label);
    EXPECT_EQ(label.ColourScheme(), csWindows);
    EXPECT_EQ(Colours(label), (TLabelEffect::TSchemeRow{clWhite, clBlack, 0x808080}));
    EXPECT_EQ(label.Font().Name, QStringLiteral("Times New Roman"));
    EXPECT_EQ(label.Font().Size(), 20);
    EXPECT_EQ(label.size(), QSize(142, 33));
    EXPECT_TRUE(label.Transparent());
    // Every other setting is at the default that a layout leaves out.
    EXPECT_EQ(label.StoredProperties(), QStringList{QStringLiteral("GraduateFrom")});
}

TEST(LabelModel, EditingADepthLeavesThePresetAndAButtonIsRaised)
{
    TLabelEffect label;
    label.SetDepthShadow(3);
    EXPECT_EQ(label.EffectStyle(), esCustom);
    label.SetEffectStyle(esShadow);
    label.SetAsButton(true);
    ExpectRaised(label);
    label.SetDepthHighlight(4);  // the switch to esCustom turns the button off
    EXPECT_EQ(label.EffectStyle(), esCustom);
    EXPECT_FALSE(label.AsButton());
}

TEST(LabelModel, ColourSchemesKeepTheCustomRow)
{
    TLabelEffect label;
    label.SetColourScheme(csGold);
    label.SetColourHighlight(clYellow);  // already so: nothing
    EXPECT_EQ(label.ColourScheme(), csGold);
    label.SetColourHighlight(clRed);
    EXPECT_EQ(label.ColourScheme(), csCustom);
    EXPECT_EQ(Colours(label), (TLabelEffect::TSchemeRow{clRed, clBlack, clOlive}));

    label.SetColourScheme(csSteel);
    label.SetFont(MakeFont(QStringLiteral("Arial"), 12, clLime));  // not kept by the custom row
    label.SetColourScheme(csCustom);
    EXPECT_EQ(Colours(label), (TLabelEffect::TSchemeRow{clAqua, clNavy, clTeal}));
}

TEST(LabelModel, FlyingTakesTheShadowColourAsHighlight)
{
    TLabelEffect custom, preset;
    custom.SetColourShadow(clRed);  // switches to csCustom
    custom.SetEffectStyle(esFlying);
    EXPECT_EQ(custom.ColourHighlight(), clRed);
    EXPECT_EQ(QPoint(custom.DirectionHighlight(), custom.DepthShadow()), QPoint(edDownRight, 5));
    custom.SetEffectStyle(esRaised);
    EXPECT_EQ(custom.ColourHighlight(), clRed);  // the custom row kept it

    preset.SetEffectStyle(esFlying);
    EXPECT_EQ(QPoint(preset.ColourHighlight(), preset.ColourScheme()), QPoint(clBlack, csWindows));
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

    // Setters repaint only what shows: letters kept upright need an angle, a start colour a gradient.
    label.SetAngle(0);
    label.Repaints = 0;
    label.SetKeepLettersVertical(true);
    label.SetGraduateFrom(clRed);
    EXPECT_EQ(label.Repaints, 0);
    label.SetGraduateFace(goVertical);
    label.SetGraduateFrom(clBlue);
    label.SetAngle(10);
    label.SetKeepLettersVertical(false);
    EXPECT_EQ(label.Repaints, 4);
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
    EXPECT_EQ(label.EffectStyle(), esSunken);
    EXPECT_EQ(QPoint(label.DirectionHighlight(), label.DirectionShadow()), QPoint(edDownRight, edUpLeft));

    EXPECT_EQ(move(Qt::LeftButton, QPoint(143, 5)), esRaised);
    EXPECT_EQ(move(Qt::LeftButton, QPoint(142, 33)), esSunken);  // both far edges count as inside
    EXPECT_EQ(move(Qt::LeftButton, QPoint(300, 5), Qt::ControlModifier), esSunken);  // Ctrl held: nothing
    EXPECT_EQ(move(Qt::LeftButton | Qt::RightButton, QPoint(300, 5)), esSunken);
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
    EXPECT_EQ(move(Qt::LeftButton, QPoint(300, 5)), esRaised);
    EXPECT_EQ(move(Qt::LeftButton, QPoint(5, 5)), esSunken);
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(label.EffectStyle(), esRaised);

    label.SetAsButton(false);  // an ordinary label leaves the mouse to the framework
    label.setEnabled(true);
    EXPECT_FALSE(label.MouseDown(Qt::LeftButton, {}, 5, 5));
}

} // namespace
