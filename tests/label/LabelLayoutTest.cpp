#include "label/LabelLayout.h"

#include <gtest/gtest.h>

namespace {

// Offsets of the raised preset: highlight one pixel up-left, shadow one down-right.
LabelOffsets RaisedOffsets(TAlignment alignment)
{
    return ComputeOffsets(edUpLeft, 1, edDownRight, 1, alignment);
}

// Ten pixels a letter, except 'i' of four, so that prefix widths are not a plain count.
int FakeWidth(const QString& text)
{
    int width = 0;
    for (QChar c : text)
        width += c == QLatin1Char('i') ? 4 : 10;
    return width;
}

TEST(LabelOffsets, LeaveRoomForTheLayerCopiesOnBothAxes)
{
    const LabelOffsets fresh = RaisedOffsets(taLeftJustify);
    EXPECT_EQ(QPoint(fresh.MinOffset, fresh.MaxOffset), QPoint(-1, 1));
    EXPECT_EQ(fresh.AlignShift, 0);
    EXPECT_EQ(TextCopyRect(fresh, 142, 33, 0, 0), Rect(1, 1, 143, 34));    // face
    EXPECT_EQ(TextCopyRect(fresh, 142, 33, -1, -1), Rect(0, 0, 142, 33));  // highlight
    EXPECT_EQ(TextCopyRect(fresh, 142, 33, 1, 1), Rect(2, 2, 144, 35));    // shadow

    // The result dialog's centred caption.
    const LabelOffsets centred = RaisedOffsets(taCenter);
    EXPECT_EQ(centred.AlignShift, 1);
    EXPECT_EQ(TextCopyRect(centred, 198, 33, 0, 0), Rect(0, 1, 198, 34));
    EXPECT_EQ(TextCopyRect(centred, 198, 33, -1, -1), Rect(-1, 0, 197, 33));
    EXPECT_EQ(TextCopyRect(centred, 198, 33, 1, 1), Rect(1, 2, 199, 35));
    EXPECT_EQ(AlignmentFlags(taCenter), 1u);

    // Flying, right aligned: the shadow five pixels right and down of the face.
    const LabelOffsets flying = ComputeOffsets(edDownRight, 1, edDownRight, 5, taRightJustify);
    EXPECT_EQ(QPoint(flying.MinOffset, flying.MaxOffset), QPoint(0, 5));
    EXPECT_EQ(flying.AlignShift, 5);
    EXPECT_EQ(TextCopyRect(flying, 100, 40, 0, 0), Rect(-5, 0, 95, 40));
    EXPECT_EQ(TextCopyRect(flying, 100, 40, 5, 5), Rect(0, 5, 100, 45));
    EXPECT_EQ(AlignmentFlags(taRightJustify), 2u);

    // A lone upward shadow still moves the text sideways: one pair serves both axes.
    const LabelOffsets up = ComputeOffsets(edUpLeft, 0, edUp, 3, taLeftJustify);
    EXPECT_EQ(QPoint(up.MinOffset, up.MaxOffset), QPoint(-3, 0));
    EXPECT_EQ(TextCopyRect(up, 50, 20, 0, 0), Rect(3, 3, 53, 23));

    // Values outside the enumerations: no step, left alignment.
    const LabelOffsets odd = ComputeOffsets(TEffectDirection(200), 10, edRight, 2, TAlignment(3));
    EXPECT_EQ(QPoint(odd.MinOffset, odd.MaxOffset), QPoint(0, 2));
    EXPECT_EQ(odd.AlignShift, 0);
    EXPECT_EQ(AlignmentFlags(TAlignment(3)), 0u);
}

TEST(LabelColours, LayerCopiesAndGradientBandsStepBetweenTheirColours)
{
    // Steps of 63.75 with halves to even: 127.5 gives 128.
    EXPECT_EQ(LayerCopies(clBlack, eoGraduated, 5, clWhite),
              (std::vector<LayerCopy>{{5, 0x000000}, {4, 0x404040}, {3, 0x808080}, {2, 0xBFBFBF}, {1, 0xFFFFFF}}));
    EXPECT_EQ(LayerCopies(clRed, eoExtrude, 3, clWhite),
              (std::vector<LayerCopy>{{3, clRed}, {2, clRed}, {1, clRed}}));
    EXPECT_EQ(LayerCopies(clRed, eoExtrude, 1, clWhite), LayerCopies(clRed, eoNormal, 1, clWhite));
    EXPECT_EQ(LayerCopies(clRed, eoNormal, 4, clWhite), (std::vector<LayerCopy>{{4, clRed}}));
    EXPECT_EQ(LayerCopies(clRed, eoReal, 4, clWhite), (std::vector<LayerCopy>{{4, clBlack}}));
    EXPECT_EQ(LayerCopies(clRed, eoExtrude, 0, clWhite), (std::vector<LayerCopy>{{0, clRed}}));
    // Colours split as stored: a system colour is not resolved.
    EXPECT_EQ(LayerCopies(clWindowText, eoNormal, 1, clWhite), (std::vector<LayerCopy>{{1, RGB(8, 0, 0)}}));

    // 101 columns from black to white: 2.55 a column, the last one white.
    EXPECT_EQ(GradientBandColour(clBlack, clWhite, 100, 0), clBlack);
    EXPECT_EQ(GradientBandColour(clBlack, clWhite, 100, 1), RGB(3, 3, 3));
    EXPECT_EQ(GradientBandColour(clBlack, clWhite, 100, 100), clWhite);
    EXPECT_EQ(GradientBandColour(clWhite, clBlack, 2, 1), RGB(127, 127, 127));  // -127.5 rounds to -128
    // One band only: the start colour, and no division by zero.
    EXPECT_EQ(GradientBandColour(clRed, clBlue, 0, 0), clRed);
    EXPECT_EQ(GradientBandColour(clWindowText, clWhite, 0, 0), RGB(8, 0, 0));

    // The unturned span: the first line of text, from where the alignment puts it.
    const LabelOffsets left = RaisedOffsets(taLeftJustify);
    EXPECT_EQ(UnturnedGradientSpan(goVertical, taLeftJustify, left, 142, 80, 31), (GradientSpan{1, 30}));
    EXPECT_EQ(UnturnedGradientSpan(goHorizontal, taLeftJustify, left, 142, 80, 31), (GradientSpan{1, 79}));
    EXPECT_EQ(UnturnedGradientSpan(goHorizontal, taCenter, RaisedOffsets(taCenter), 198, 101, 31),
              (GradientSpan{48, 100}));
    EXPECT_EQ(UnturnedGradientSpan(goHorizontal, taRightJustify, RaisedOffsets(taRightJustify), 142, 80, 31),
              (GradientSpan{61, 79}));
    EXPECT_EQ(UnturnedGradientSpan(goHorizontal, taLeftJustify, left, 142, 0, 31).N, -1);  // empty caption
}

TEST(LabelTurnedText, CentresTheTurnedCellAndItsBox)
{
    const LabelOffsets raised = RaisedOffsets(taLeftJustify);
    // At 90 degrees the cosine terms truncate to 0.
    const TurnedTextLayout up = LayoutTurnedText(101, 31, 122, ComputeAngleTrig(90), raised);
    EXPECT_EQ(up.C, 61);
    EXPECT_EQ(QPoint(up.X0, up.Y0), QPoint(61 - 15, 61 + 50));
    EXPECT_EQ(TurnedTextOrigin(up, raised, 0, 0), QPoint(47, 112));
    EXPECT_EQ(QPoint(up.W2, up.H2), QPoint(105, 35));
    EXPECT_EQ(up.C2, 64);
    // An upright box (W2 x H2 turned a quarter): corners from C2 + 2 = 66.
    EXPECT_EQ(up.Corners[0], QPoint(66 - 17, 66 + 52));
    EXPECT_EQ(up.Corners[1], QPoint(66 - 17, 66 - 52));
    EXPECT_EQ(up.Corners[2], QPoint(66 + 17, 66 - 52));
    EXPECT_EQ(up.Corners[3], QPoint(66 + 17, 66 + 52));
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
    EXPECT_EQ(flown.C2, 64);
    EXPECT_EQ(flown.W2, 109);
}

TEST(LabelUprightLetters, StepAlongTheRisingLine)
{
    const LabelOffsets raised = RaisedOffsets(taLeftJustify);
    // 180 degrees: letter 1 rightmost, the letters running leftwards.
    const UprightLettersLayout back = LayoutUprightLetters("Wiki", FakeWidth, 20, ComputeAngleTrig(180), raised);
    EXPECT_EQ(back.L, 24);  // "Wik"
    EXPECT_EQ(QPoint(back.X0, back.Y0), QPoint(34, 10));
    EXPECT_EQ(back.Steps, (std::vector<QPoint>{{0, 0}, {-10, 0}, {-14, 0}, {-24, 0}}));
    EXPECT_EQ(LetterOrigin(back, raised, 0, 0, 0), QPoint(35, 11));
    EXPECT_EQ(LetterOrigin(back, raised, 3, 1, 1), QPoint(12, 12));
    EXPECT_EQ(back.R1, Bounds(32, 8, 16, 26));
    EXPECT_EQ(back.R2, Bounds(8, 8, 10, 26));
    EXPECT_EQ(UprightBackground(180, back),
              (std::vector<QPoint>{{48, 8}, {18, 8}, {8, 8}, {8, 34}, {32, 34}, {48, 34}}));
    EXPECT_EQ(UprightGradientSpan(goHorizontal, back), (GradientSpan{8, 40}));
    EXPECT_EQ(UprightGradientSpan(goVertical, back), (GradientSpan{8, 26}));

    // 90 degrees: letter 1 at the bottom, each next one text height higher.
    const UprightLettersLayout up = LayoutUprightLetters("Wiki", FakeWidth, 20, ComputeAngleTrig(90), raised);
    EXPECT_EQ(QPoint(up.X0, up.Y0), QPoint(10, 70));
    EXPECT_EQ(up.Steps[3], QPoint(0, 60));
    EXPECT_EQ(LetterOrigin(up, raised, 3, 0, 0), QPoint(11, 11));
    EXPECT_EQ(UprightBackground(90, up),
              (std::vector<QPoint>{{8, 68}, {8, 8}, {18, 8}, {18, 34}, {24, 94}, {8, 94}}));

    // In between, the distance blends the advance and the height by cos² and sin².
    const UprightLettersLayout slope = LayoutUprightLetters("Wi", FakeWidth, 21, ComputeAngleTrig(60), raised);
    EXPECT_EQ(slope.L, 18);  // 10 x 0.25 + 21 x 0.75 = 18.25
    EXPECT_EQ(slope.Steps[1], QPoint(9, 16));

    // The quadrant rows for the last two quadrants.
    EXPECT_EQ(UprightBackground(270, up).front(), QPoint(up.R1.Left, up.R1.Top));
    EXPECT_EQ(UprightBackground(360, up).front(), QPoint(up.R1.Right, up.R1.Top));
    EXPECT_TRUE(UprightBackground(361, up).empty());

    // A single letter: both boxes are one; an empty caption has no shape and no band.
    const UprightLettersLayout one = LayoutUprightLetters("W", FakeWidth, 20, ComputeAngleTrig(45), raised);
    EXPECT_EQ(QPoint(one.X0, one.Y0), QPoint(10, 10));
    EXPECT_EQ(one.R1, one.R2);
    const UprightLettersLayout none = LayoutUprightLetters("", FakeWidth, 20, ComputeAngleTrig(45), raised);
    EXPECT_TRUE(UprightBackground(45, none).empty());
    EXPECT_EQ(UprightGradientSpan(goVertical, none).N, -1);
}

TEST(LabelText, CharactersAreCountedNotCodeUnits)
{
    const QString pair = QString::fromUtf8("a\xF0\x9F\x98\x80z");  // a surrogate pair in the middle
    EXPECT_EQ(SplitLetters(pair).size(), 3);
    EXPECT_EQ(FirstCharacters(pair, 2), pair.left(3));
    EXPECT_EQ(FirstCharacters(QString(300, QLatin1Char('x')), 255).size(), 255);
    EXPECT_EQ(FirstCharacters(QStringLiteral("short"), 255), QStringLiteral("short"));
}

} // namespace
