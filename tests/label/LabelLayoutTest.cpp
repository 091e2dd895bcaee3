#include "label/LabelLayout.h"

#include <QPoint>
#include <gtest/gtest.h>

namespace {

using Room = std::array<int, 3>;  // MinOffset, MaxOffset, AlignShift

Room RoomOf(const LabelOffsets& offsets) { return {offsets.MinOffset, offsets.MaxOffset, offsets.AlignShift}; }

LabelOffsets RaisedOffsets(TAlignment alignment) { return ComputeOffsets(edUpLeft, 1, edDownRight, 1, alignment); }

// Ten pixels a letter, except 'i' of four, so that prefix widths are not a plain count.
int FakeWidth(const QString& text) { return 10 * text.size() - 6 * text.count(QLatin1Char('i')); }

TEST(LabelOffsets, LeaveRoomForTheLayerCopiesOnBothAxes)
{
    // The offsets, the room they leave and the face's place in a 100 x 40 label.
    const std::tuple<LabelOffsets, Room, TRect> cases[] = {
        {RaisedOffsets(taLeftJustify), {-1, 1, 0}, Rect(1, 1, 101, 41)},  // a fresh label
        {RaisedOffsets(taCenter), {-1, 1, 1}, Rect(0, 1, 100, 41)},       // the result dialog's caption
        {ComputeOffsets(edDownRight, 1, edDownRight, 5, taRightJustify), {0, 5, 5}, Rect(-5, 0, 95, 40)},  // flying
        // A lone upward shadow still moves the text sideways: one pair serves both axes.
        {ComputeOffsets(edUpLeft, 0, edUp, 3, taLeftJustify), {-3, 0, 0}, Rect(3, 3, 103, 43)},
    };
    for (const auto& [offsets, room, face] : cases) {
        EXPECT_EQ(RoomOf(offsets), room);
        EXPECT_EQ(TextCopyRect(offsets, 100, 40, 0, 0), face);
    }
    EXPECT_EQ(TextCopyRect(RaisedOffsets(taCenter), 100, 40, 1, 1), Rect(1, 2, 101, 42));  // the shadow copy
}

TEST(LabelColours, LayerCopiesAndGradientBandsStepBetweenTheirColours)
{
    EXPECT_EQ(LayerCopies(clRed, eoExtrude, 3, clWhite), (std::vector<LayerCopy>{{3, clRed}, {2, clRed}, {1, clRed}}));
    EXPECT_EQ(LayerCopies(clRed, eoExtrude, 1, clWhite), LayerCopies(clRed, eoNormal, 1, clWhite));
    EXPECT_EQ(LayerCopies(clRed, eoNormal, 4, clWhite), (std::vector<LayerCopy>{{4, clRed}}));
    // Graduated: steps of 63.75 towards the font's colour, halves to even (127.5 gives 128).
    EXPECT_EQ(LayerCopies(clBlack, eoGraduated, 5, clWhite),
              (std::vector<LayerCopy>{{5, 0x000000}, {4, 0x404040}, {3, 0x808080}, {2, 0xBFBFBF}, {1, 0xFFFFFF}}));

    // 101 columns from black to white: 2.55 a column, the last one white.
    // White to black in two: -127.5 rounds to -128. One band only: the start colour split as stored
    // (a system colour is not resolved), and no division by zero.
    EXPECT_EQ((std::vector{GradientBandColour(clBlack, clWhite, 100, 1), GradientBandColour(clBlack, clWhite, 100, 100),
                           GradientBandColour(clWhite, clBlack, 2, 1), GradientBandColour(clWindowText, clWhite, 0, 0)}),
              (std::vector<TColor>{RGB(3, 3, 3), clWhite, RGB(127, 127, 127), RGB(8, 0, 0)}));

    // The unturned span: the first line of text, from where the alignment puts it; none without text.
    const LabelOffsets left = RaisedOffsets(taLeftJustify);
    EXPECT_EQ(UnturnedGradientSpan(goVertical, taLeftJustify, left, 142, 80, 31), (GradientSpan{1, 30}));
    EXPECT_EQ(UnturnedGradientSpan(goHorizontal, taCenter, RaisedOffsets(taCenter), 198, 101, 31),
              (GradientSpan{48, 100}));
    EXPECT_EQ(UnturnedGradientSpan(goHorizontal, taLeftJustify, left, 142, 0, 31).N, -1);
}

TEST(LabelTurnedText, CentresTheTurnedCellAndItsBoxAndUprightLettersStepAlongTheRisingLine)
{
    const LabelOffsets raised = RaisedOffsets(taLeftJustify);
    // At 90 degrees the cosine terms truncate to 0; the text turns about C = 61 and is drawn at
    // (X0 + 1, Y0 + 1) = (61 - 15 + 1, 61 + 50 + 1).
    const TurnedTextLayout up = LayoutTurnedText(101, 31, 122, ComputeAngleTrig(90), raised);
    EXPECT_EQ(TurnedTextOrigin(up, raised, 0, 0), QPoint(47, 112));
    // The box, TW + 4 by TH + 4 (105 x 35) turned a quarter, about C + 5 = 66.
    EXPECT_EQ(up.Corners, (std::array<QPoint, 4>{QPoint(66 - 17, 66 + 52), QPoint(66 - 17, 66 - 52),
                                                 QPoint(66 + 17, 66 - 52), QPoint(66 + 17, 66 + 52)}));
    EXPECT_EQ(TurnedGradientSpan(goVertical, up), (GradientSpan{14, 104}));

    // The sum of the offsets, not their spread, widens the box.
    const LabelOffsets flying = ComputeOffsets(edDownRight, 1, edDownRight, 5, taLeftJustify);
    EXPECT_EQ(LayoutTurnedText(100, 30, 120, ComputeAngleTrig(360), flying).W2, 100 + 5 + 0 + 4);

    const auto layout = [&](const QString& caption, int height, int angle) {
        return LayoutUprightLetters(caption, FakeWidth, height, ComputeAngleTrig(angle), raised);
    };
    // 180 degrees: letter 1 rightmost, the letters running leftwards.
    const UprightLettersLayout back = layout("Wiki", 20, 180);
    EXPECT_EQ(QPoint(back.X0, back.Y0), QPoint(24 + 10, 10));  // L = 24, the width of "Wik"
    EXPECT_EQ(back.Steps, (std::vector<QPoint>{{0, 0}, {-10, 0}, {-14, 0}, {-24, 0}}));
    EXPECT_EQ(LetterOrigin(back, raised, 3, 1, 1), QPoint(12, 12));
    // The hexagon joins the first letter's box (32, 8)-(48, 34) to the last one's (8, 8)-(18, 34).
    EXPECT_EQ(UprightBackground(180, back),
              (std::vector<QPoint>{{48, 8}, {18, 8}, {8, 8}, {8, 34}, {32, 34}, {48, 34}}));

    // 90 degrees: letter 1 at the bottom, each next one text height higher.
    const UprightLettersLayout rising = layout("Wiki", 20, 90);
    EXPECT_EQ(QPoint(rising.X0, rising.Y0), QPoint(10, 70));
    EXPECT_EQ(UprightBackground(90, rising), (std::vector<QPoint>{{8, 68}, {8, 8}, {18, 8}, {18, 34}, {24, 94}, {8, 94}}));
    EXPECT_EQ(UprightBackground(360, rising).front(), QPoint(rising.R1.Right, rising.R1.Top));  // the 271 to 360 row

    // In between, the distance blends the advance and the height by cos² and sin²:
    // L = 10 x 0.25 + 21 x 0.75 = 18.25, rounded to 18, stepping (9, 16).
    EXPECT_EQ(layout("Wi", 21, 60).Steps[1], QPoint(9, 16));
}

} // namespace
