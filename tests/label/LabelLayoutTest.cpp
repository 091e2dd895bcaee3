#include "label/LabelLayout.h"

#include <gtest/gtest.h>

namespace {

using Room = std::array<int, 3>;  // MinOffset, MaxOffset, AlignShift
using Copies = std::vector<LayerCopy>;

Room RoomOf(const LabelOffsets& offsets) { return {offsets.MinOffset, offsets.MaxOffset, offsets.AlignShift}; }

// Offsets of the raised preset: highlight one pixel up-left, shadow one down-right.
LabelOffsets RaisedOffsets(TAlignment alignment) { return ComputeOffsets(edUpLeft, 1, edDownRight, 1, alignment); }

// Ten pixels a letter, except 'i' of four, so that prefix widths are not a plain count.
int FakeWidth(const QString& text) { return 10 * text.size() - 6 * text.count(QLatin1Char('i')); }

TEST(LabelOffsets, LeaveRoomForTheLayerCopiesOnBothAxes)
{
    const LabelOffsets fresh = RaisedOffsets(taLeftJustify);
    EXPECT_EQ(RoomOf(fresh), (Room{-1, 1, 0}));
    EXPECT_EQ(TextCopyRect(fresh, 142, 33, 0, 0), Rect(1, 1, 143, 34));    // face
    EXPECT_EQ(TextCopyRect(fresh, 142, 33, -1, -1), Rect(0, 0, 142, 33));  // highlight
    EXPECT_EQ(TextCopyRect(fresh, 142, 33, 1, 1), Rect(2, 2, 144, 35));    // shadow

    // The result dialog's centred caption.
    const LabelOffsets centred = RaisedOffsets(taCenter);
    EXPECT_EQ(RoomOf(centred), (Room{-1, 1, 1}));
    EXPECT_EQ(TextCopyRect(centred, 198, 33, 0, 0), Rect(0, 1, 198, 34));
    EXPECT_EQ(TextCopyRect(centred, 198, 33, -1, -1), Rect(-1, 0, 197, 33));
    EXPECT_EQ(TextCopyRect(centred, 198, 33, 1, 1), Rect(1, 2, 199, 35));

    // Flying, right aligned: the shadow five pixels right and down of the face.
    const LabelOffsets flying = ComputeOffsets(edDownRight, 1, edDownRight, 5, taRightJustify);
    EXPECT_EQ(RoomOf(flying), (Room{0, 5, 5}));
    EXPECT_EQ(TextCopyRect(flying, 100, 40, 0, 0), Rect(-5, 0, 95, 40));
    EXPECT_EQ(TextCopyRect(flying, 100, 40, 5, 5), Rect(0, 5, 100, 45));

    // A lone upward shadow still moves the text sideways: one pair serves both axes.
    const LabelOffsets up = ComputeOffsets(edUpLeft, 0, edUp, 3, taLeftJustify);
    EXPECT_EQ(RoomOf(up), (Room{-3, 0, 0}));
    EXPECT_EQ(TextCopyRect(up, 50, 20, 0, 0), Rect(3, 3, 53, 23));

    // Values outside the enumerations: no step, left alignment.
    EXPECT_EQ(RoomOf(ComputeOffsets(TEffectDirection(200), 10, edRight, 2, TAlignment(3))), (Room{0, 2, 0}));
    EXPECT_EQ(AlignmentFlags(TAlignment(3)), AlignmentFlags(taLeftJustify));
}

TEST(LabelColours, LayerCopiesAndGradientBandsStepBetweenTheirColours)
{
    EXPECT_EQ(LayerCopies(clRed, eoExtrude, 3, clWhite), (Copies{{3, clRed}, {2, clRed}, {1, clRed}}));
    EXPECT_EQ(LayerCopies(clRed, eoExtrude, 0, clWhite), (Copies{{0, clRed}}));
    EXPECT_EQ(LayerCopies(clRed, eoNormal, 4, clWhite), (Copies{{4, clRed}}));
    EXPECT_EQ(LayerCopies(clRed, eoReal, 4, clWhite), (Copies{{4, clBlack}}));
    // Colours split as stored: a system colour is not resolved.
    EXPECT_EQ(LayerCopies(clWindowText, eoNormal, 1, clWhite), (Copies{{1, RGB(8, 0, 0)}}));

    // 101 columns from black to white: 2.55 a column, the last one white.
    EXPECT_EQ(GradientBandColour(clBlack, clWhite, 100, 0), clBlack);
    EXPECT_EQ(GradientBandColour(clBlack, clWhite, 100, 1), RGB(3, 3, 3));
    EXPECT_EQ(GradientBandColour(clBlack, clWhite, 100, 100), clWhite);
    EXPECT_EQ(GradientBandColour(clWhite, clBlack, 2, 1), RGB(127, 127, 127));  // -127.5 rounds to -128
    // One band only: the start colour as stored, and no division by zero.
    EXPECT_EQ(GradientBandColour(clWindowText, clWhite, 0, 0), RGB(8, 0, 0));

    // The unturned span: the first line of text, from where the alignment puts it.
    const auto span = [](TGraduateOption mode, TAlignment alignment, int width, int textWidth) {
        return UnturnedGradientSpan(mode, alignment, RaisedOffsets(alignment), width, textWidth, 31);
    };
    EXPECT_EQ(span(goVertical, taLeftJustify, 142, 80), (GradientSpan{1, 30}));
    EXPECT_EQ(span(goHorizontal, taLeftJustify, 142, 80), (GradientSpan{1, 79}));
    EXPECT_EQ(span(goHorizontal, taCenter, 198, 101), (GradientSpan{48, 100}));
    EXPECT_EQ(span(goHorizontal, taRightJustify, 142, 80), (GradientSpan{61, 79}));
    EXPECT_EQ(span(goHorizontal, taLeftJustify, 142, 0).N, -1);  // empty caption
}

TEST(LabelTurnedText, CentresTheTurnedCellAndItsBox)
{
    const LabelOffsets raised = RaisedOffsets(taLeftJustify);
    // At 90 degrees the cosine terms truncate to 0; the text turns about C = 61.
    const TurnedTextLayout up = LayoutTurnedText(101, 31, 122, ComputeAngleTrig(90), raised);
    EXPECT_EQ(QPoint(up.X0, up.Y0), QPoint(61 - 15, 61 + 50));
    EXPECT_EQ(TurnedTextOrigin(up, raised, 0, 0), QPoint(47, 112));
    EXPECT_EQ(up.C2, 64);
    // An upright box (105 x 35 turned a quarter): corners from C2 + 2 = 66.
    EXPECT_EQ(up.Corners, (std::array<QPoint, 4>{QPoint(66 - 17, 66 + 52), QPoint(66 - 17, 66 - 52),
                                                 QPoint(66 + 17, 66 - 52), QPoint(66 + 17, 66 + 52)}));
    EXPECT_EQ(TurnedGradientSpan(goVertical, up), (GradientSpan{14, 104}));
    EXPECT_EQ(TurnedGradientSpan(goHorizontal, up), (GradientSpan{49, 34}));

    // 360 is turned text at zero slope (its sine a tiny negative number): the box is TW + 4 by
    // TH + 4 about C + 5.
    EXPECT_LT(ComputeAngleTrig(360).SinAngle, 0.0);
    const TurnedTextLayout level = LayoutTurnedText(100, 30, 120, ComputeAngleTrig(360), raised);
    EXPECT_EQ(QPoint(level.X0, level.Y0), QPoint(60 - 50, 60 - 15));
    EXPECT_EQ(level.Corners[0], QPoint(65 - 52, 65 - 17));
    EXPECT_EQ(level.Corners[2], QPoint(65 + 52, 65 + 17));

    // The sum of the offsets, not their spread, widens the box.
    const LabelOffsets flying = ComputeOffsets(edDownRight, 1, edDownRight, 5, taLeftJustify);
    const TurnedTextLayout flown = LayoutTurnedText(100, 30, 120, ComputeAngleTrig(360), flying);
    EXPECT_EQ(QPoint(flown.C2, flown.W2), QPoint(64, 109));
}

TEST(LabelUprightLetters, StepAlongTheRisingLine)
{
    const LabelOffsets raised = RaisedOffsets(taLeftJustify);
    const auto layout = [&](const QString& caption, int height, int angle) {
        return LayoutUprightLetters(caption, FakeWidth, height, ComputeAngleTrig(angle), raised);
    };
    // 180 degrees: letter 1 rightmost, the letters running leftwards.
    const UprightLettersLayout back = layout("Wiki", 20, 180);
    EXPECT_EQ(back.L, 24);  // "Wik"
    EXPECT_EQ(QPoint(back.X0, back.Y0), QPoint(34, 10));
    EXPECT_EQ(back.Steps, (std::vector<QPoint>{{0, 0}, {-10, 0}, {-14, 0}, {-24, 0}}));
    EXPECT_EQ(LetterOrigin(back, raised, 3, 1, 1), QPoint(12, 12));
    EXPECT_EQ(back.R1, Bounds(32, 8, 16, 26));
    EXPECT_EQ(back.R2, Bounds(8, 8, 10, 26));
    EXPECT_EQ(UprightBackground(180, back),
              (std::vector<QPoint>{{48, 8}, {18, 8}, {8, 8}, {8, 34}, {32, 34}, {48, 34}}));
    EXPECT_EQ(UprightGradientSpan(goHorizontal, back), (GradientSpan{8, 40}));
    EXPECT_EQ(UprightGradientSpan(goVertical, back), (GradientSpan{8, 26}));

    // 90 degrees: letter 1 at the bottom, each next one text height higher.
    const UprightLettersLayout up = layout("Wiki", 20, 90);
    EXPECT_EQ(QPoint(up.X0, up.Y0), QPoint(10, 70));
    EXPECT_EQ(LetterOrigin(up, raised, 3, 0, 0), QPoint(11, 11));
    EXPECT_EQ(UprightBackground(90, up), (std::vector<QPoint>{{8, 68}, {8, 8}, {18, 8}, {18, 34}, {24, 94}, {8, 94}}));
    // The quadrant rows for the last two quadrants; none above 360.
    EXPECT_EQ(UprightBackground(270, up).front(), QPoint(up.R1.Left, up.R1.Top));
    EXPECT_EQ(UprightBackground(360, up).front(), QPoint(up.R1.Right, up.R1.Top));
    EXPECT_TRUE(UprightBackground(361, up).empty());

    // In between, the distance blends the advance and the height by cos² and sin².
    const UprightLettersLayout slope = layout("Wi", 21, 60);
    EXPECT_EQ(slope.L, 18);  // 10 x 0.25 + 21 x 0.75 = 18.25
    EXPECT_EQ(slope.Steps[1], QPoint(9, 16));

    // A single letter: both boxes are one; an empty caption has no shape and no band.
    const UprightLettersLayout one = layout("W", 20, 45);
    EXPECT_EQ(QPoint(one.X0, one.Y0), QPoint(10, 10));
    EXPECT_EQ(one.R1, one.R2);
    const UprightLettersLayout none = layout("", 20, 45);
    EXPECT_TRUE(UprightBackground(45, none).empty());
    EXPECT_EQ(UprightGradientSpan(goVertical, none).N, -1);

    // Letters are characters, not code units: a surrogate pair stays one.
    const QString pair = QString::fromUtf8("a\xF0\x9F\x98\x80z");
    EXPECT_EQ(layout(pair, 20, 45).Letters, (QStringList{"a", pair.mid(1, 2), "z"}));
    EXPECT_EQ(FirstCharacters(pair, 2), pair.left(3));
}

} // namespace
