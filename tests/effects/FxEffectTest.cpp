#include "effects/FxEffect.h"
#include "framework/Bitmap.h"
#include "framework/Random.h"

#include <gtest/gtest.h>
#include <map>
#include <set>
#include <utility>
#include <vector>

namespace {

using BoxPos = std::pair<int, int>;  // (column, row)
using Boxes = std::vector<BoxPos>;

std::vector<TFxCopy> Record(int effect, int width, int height, int box)
{
    const TBitmap source(width, height);
    TFxRecorder recorder;
    DrawFxEffect(effect, source.Canvas(), recorder, box);
    return recorder.Copies;
}

// The boxes an effect copies, in order, on a grid of exactly columns x rows boxes (a picture
// one pixel short of whole boxes, so that no column or row is narrow).
Boxes BoxOrder(int effect, int columns, int rows, int box = 2)
{
    const TFxGrid grid = MakeFxGrid(Rect(0, 0, columns * box - 1, rows * box - 1), box);
    Boxes order;
    for (const TFxCopy& copy : Record(effect, columns * box - 1, rows * box - 1, box)) {
        const BoxPos at{copy.Dest.Left / box + 1, copy.Dest.Top / box + 1};
        EXPECT_EQ(copy.Dest, copy.Src);
        EXPECT_EQ(copy.Dest, grid.Box(at.first, at.second)) << "not a box of the grid";
        order.push_back(at);
    }
    return order;
}

std::vector<int> ColumnsOf(const Boxes& boxes)
{
    std::vector<int> columns;
    for (const BoxPos& b : boxes)
        columns.push_back(b.first);
    return columns;
}

std::vector<int> RowsOf(const Boxes& boxes)
{
    std::vector<int> rows;
    for (const BoxPos& b : boxes)
        rows.push_back(b.second);
    return rows;
}

Boxes Slice(const Boxes& boxes, size_t from, size_t count)
{
    return Boxes(boxes.begin() + long(from), boxes.begin() + long(std::min(boxes.size(), from + count)));
}

TEST(FxGrid, ReachesOnePixelBeyondThePictureWithANarrowLastColumnAndRow)
{
    const TFxGrid grid = MakeFxGrid(Rect(0, 0, 120, 136), 2);
    EXPECT_EQ(grid.Wp, 121);
    EXPECT_EQ(grid.Hp, 137);
    EXPECT_EQ(grid.NX, 61);
    EXPECT_EQ(grid.NY, 69);
    EXPECT_EQ(grid.Box(1, 1), Rect(0, 0, 2, 2));
    EXPECT_EQ(grid.Box(61, 69), Rect(120, 136, 121, 137));
    EXPECT_EQ(grid.Strip(69), Rect(0, 136, 121, 137));

    const auto copies = Record(1, 120, 136, 2);
    ASSERT_EQ(copies.size(), 61u * 69u);
    EXPECT_EQ(copies.front().Dest, Rect(0, 0, 2, 2));
    EXPECT_EQ(copies[1].Dest, Rect(0, 2, 2, 4));  // down the first column
    EXPECT_EQ(copies.back().Dest, Rect(120, 136, 121, 137));

    // Width + 1 a multiple of the box width: no narrow column.
    const TFxGrid exact = MakeFxGrid(Rect(0, 0, 99, 10), 5);
    EXPECT_EQ(exact.NX, 20);
    EXPECT_EQ(exact.Box(20, 1), Rect(95, 0, 100, 5));
    EXPECT_EQ(Record(3, 99, 10, 5)[19].Dest, Rect(95, 0, 100, 5));

    // More than 255 boxes on an axis.
    const auto wide = Record(1, 600, 3, 2);
    EXPECT_EQ(wide.back().Dest, Rect(600, 2, 601, 4));
    EXPECT_EQ(wide.size(), 301u * 2u);
}

TEST(FxGrid, FractionsRoundHalvesToEven)
{
    EXPECT_EQ(FxHalf(61), 30);
    EXPECT_EQ(FxHalf(63), 32);
    EXPECT_EQ(FxHalf(5), 2);
    EXPECT_EQ(FxHalf(7), 4);
    EXPECT_EQ(FxHalf(1), 0);
    EXPECT_EQ(FxQuarter(10), 2);
    EXPECT_EQ(FxQuarter(14), 4);
    EXPECT_EQ(FxQuarter(2), 0);
    EXPECT_EQ(FxThird(10), 3);
    EXPECT_EQ(FxThird(11), 4);
}

TEST(FxEffectNames, NameEveryEffectAndItsGroup)
{
    EXPECT_EQ(FxEffectName(0), "No effect");
    EXPECT_EQ(FxEffectName(26), "Diagonal Quad");
    EXPECT_EQ(FxEffectName(41), "Vertical Snake");
    EXPECT_EQ(FxEffectName(42), "");
    EXPECT_EQ(FxEffectGroup(8), "Typical");
    EXPECT_EQ(FxEffectGroup(9), "Complex");
    EXPECT_EQ(FxEffectGroup(18), "Diagonal");
    EXPECT_EQ(FxEffectGroup(33), "Stripes");
    EXPECT_EQ(FxEffectGroup(34), "Special");
    EXPECT_EQ(FxBoxWidthName(15), "15 pixels box");
    EXPECT_EQ(FxBoxWidthName(3), "");
}

TEST(FxEffectOrder, NoEffectCopiesThePictureInOnePiece)
{
    const auto copies = Record(0, 30, 20, 5);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].Dest, Rect(0, 0, 30, 20));
    EXPECT_EQ(copies[0].Src, Rect(0, 0, 30, 20));
}

TEST(FxEffectOrder, SweepsGoColumnByColumnOrRowByRow)
{
    EXPECT_EQ(BoxOrder(1, 3, 2), (Boxes{{1, 1}, {1, 2}, {2, 1}, {2, 2}, {3, 1}, {3, 2}}));
    EXPECT_EQ(BoxOrder(2, 3, 2), (Boxes{{3, 1}, {3, 2}, {2, 1}, {2, 2}, {1, 1}, {1, 2}}));
    EXPECT_EQ(BoxOrder(3, 3, 2), (Boxes{{1, 1}, {2, 1}, {3, 1}, {1, 2}, {2, 2}, {3, 2}}));
    EXPECT_EQ(BoxOrder(4, 3, 2), (Boxes{{1, 2}, {2, 2}, {3, 2}, {1, 1}, {2, 1}, {3, 1}}));
}

TEST(FxEffectOrder, WipesCloseAndOpenWithTheMeetingLineDrawnTwice)
{
    // Effect 5 with 61 columns: 31 steps, meeting at column 31.
    const std::vector<int> in61 = ColumnsOf(BoxOrder(5, 61, 1));
    ASSERT_EQ(in61.size(), 62u);
    EXPECT_EQ(std::vector<int>(in61.begin(), in61.begin() + 4), (std::vector<int>{1, 61, 2, 60}));
    EXPECT_EQ(std::vector<int>(in61.end() - 2, in61.end()), (std::vector<int>{31, 31}));
    // With 63 columns, 33 steps.
    const std::vector<int> in63 = ColumnsOf(BoxOrder(5, 63, 1));
    ASSERT_EQ(in63.size(), 66u);
    EXPECT_EQ(std::vector<int>(in63.end() - 4, in63.end()), (std::vector<int>{32, 32, 33, 31}));

    // Effect 6 with 10 columns starts with column 5 twice and ends with column 10 alone.
    EXPECT_EQ(ColumnsOf(BoxOrder(6, 10, 1)), (std::vector<int>{5, 5, 6, 4, 7, 3, 8, 2, 9, 1, 10}));
    // Effect 8 draws the upper row of a step first, where effect 6 draws the right column first.
    EXPECT_EQ(ColumnsOf(BoxOrder(6, 4, 1)), (std::vector<int>{2, 2, 3, 1, 4}));
    EXPECT_EQ(RowsOf(BoxOrder(8, 1, 4)), (std::vector<int>{2, 2, 1, 3, 4}));
    EXPECT_EQ(RowsOf(BoxOrder(7, 1, 3)), (std::vector<int>{1, 3, 2, 2, 3, 1}));
    // Whole lines per step.
    EXPECT_EQ(BoxOrder(7, 2, 2), (Boxes{{1, 1}, {2, 1}, {1, 2}, {2, 2}, {1, 2}, {2, 2}, {1, 1}, {2, 1}}));
}

TEST(FxEffectOrder, InterlacesAndDoublePasses)
{
    EXPECT_EQ(BoxOrder(9, 3, 3),
              (Boxes{{1, 1}, {3, 2}, {1, 3}, {2, 1}, {2, 2}, {2, 3}, {3, 1}, {1, 2}, {3, 3}}));
    EXPECT_EQ(BoxOrder(10, 3, 2), (Boxes{{1, 1}, {2, 2}, {3, 1}, {1, 2}, {2, 1}, {3, 2}}));
    EXPECT_EQ(BoxOrder(11, 2, 4),
              (Boxes{{1, 1}, {1, 3}, {2, 1}, {2, 3}, {1, 2}, {1, 4}, {2, 2}, {2, 4}}));
    EXPECT_EQ(BoxOrder(13, 2, 4),
              (Boxes{{1, 1}, {1, 3}, {2, 1}, {2, 3}, {2, 2}, {2, 4}, {1, 2}, {1, 4}}));
    EXPECT_EQ(BoxOrder(12, 4, 2),
              (Boxes{{1, 1}, {3, 1}, {1, 2}, {3, 2}, {2, 1}, {4, 1}, {2, 2}, {4, 2}}));
    EXPECT_EQ(BoxOrder(14, 4, 2),
              (Boxes{{1, 1}, {3, 1}, {1, 2}, {3, 2}, {2, 2}, {4, 2}, {2, 1}, {4, 1}}));
}

TEST(FxEffectOrder, BlindsCopyOnePixelLinesSlatBySlat)
{
    // A 6 x 5 picture with box width 2: W' = 7, H' = 6.
    std::vector<TRect> rows;
    for (const TFxCopy& copy : Record(15, 6, 5, 2)) {
        EXPECT_EQ(copy.Dest, copy.Src);
        rows.push_back(copy.Dest);
    }
    EXPECT_EQ(rows, (std::vector<TRect>{Rect(0, 0, 7, 1), Rect(0, 2, 7, 3), Rect(0, 4, 7, 5), Rect(0, 6, 7, 7),
                                        Rect(0, 1, 7, 2), Rect(0, 3, 7, 4), Rect(0, 5, 7, 6)}));

    const auto columns = Record(16, 6, 5, 2);
    ASSERT_EQ(columns.size(), 8u);  // x = 0, 2, 4, 6, then 1, 3, 5, 7
    EXPECT_EQ(columns[0].Dest, Rect(0, 0, 1, 6));
    EXPECT_EQ(columns[4].Dest, Rect(1, 0, 2, 6));
    EXPECT_EQ(columns[7].Dest, Rect(7, 0, 8, 6));

    const auto both = Record(17, 6, 5, 2);
    ASSERT_EQ(both.size(), 16u);  // a column line and then a row line for every s up to 7
    EXPECT_EQ(both[0].Dest, Rect(0, 0, 1, 6));
    EXPECT_EQ(both[1].Dest, Rect(0, 0, 7, 1));
    EXPECT_EQ(both[2].Dest, Rect(2, 0, 3, 6));
    EXPECT_EQ(both[15].Dest, Rect(0, 7, 7, 8));
}

TEST(FxEffectOrder, SingleDiagonalsWalkOneDiagonalPerStep)
{
    EXPECT_EQ(BoxOrder(18, 3, 2), (Boxes{{1, 1}, {2, 1}, {1, 2}, {3, 1}, {2, 2}, {3, 2}}));
    EXPECT_EQ(BoxOrder(19, 3, 2), (Boxes{{1, 2}, {1, 1}, {2, 2}, {2, 1}, {3, 2}, {3, 1}}));
    EXPECT_EQ(BoxOrder(20, 3, 2), (Boxes{{3, 1}, {2, 1}, {3, 2}, {1, 1}, {2, 2}, {1, 2}}));
    EXPECT_EQ(BoxOrder(21, 3, 2), (Boxes{{3, 2}, {3, 1}, {2, 2}, {2, 1}, {1, 2}, {1, 1}}));
    // A single column is revealed from the bottom box up.
    EXPECT_EQ(BoxOrder(19, 1, 5), (Boxes{{1, 5}, {1, 4}, {1, 3}, {1, 2}, {1, 1}}));
}

TEST(FxEffectOrder, DoubleDiagonalsRunTwoFrontsInLockstep)
{
    const Boxes d22 = BoxOrder(22, 3, 2);
    EXPECT_EQ(Slice(d22, 0, 4), (Boxes{{1, 1}, {3, 2}, {2, 1}, {1, 2}}));
    std::map<BoxPos, int> times;
    for (const BoxPos& b : d22)
        ++times[b];
    EXPECT_EQ(times.size(), 6u);
    for (const auto& [box, count] : times)
        EXPECT_EQ(count, 2) << box.first << "," << box.second;

    EXPECT_EQ(Slice(BoxOrder(23, 3, 2), 0, 4), (Boxes{{3, 1}, {1, 2}, {2, 1}, {3, 2}}));
}

TEST(FxEffectOrder, OutwardDiagonalsStartOnOneLineAndOpenBothWays)
{
    EXPECT_EQ(BoxOrder(24, 3, 3), (Boxes{{3, 1}, {2, 2}, {1, 3}, {3, 1}, {2, 2}, {1, 3}, {2, 1}, {1, 2}, {3, 2},
                                         {2, 3}, {1, 1}, {3, 3}}));
    EXPECT_EQ(Slice(BoxOrder(25, 3, 3), 0, 6), (Boxes{{1, 1}, {2, 2}, {3, 3}, {1, 1}, {2, 2}, {3, 3}}));
    const Boxes wide = BoxOrder(25, 10, 4);
    EXPECT_EQ(Slice(wide, 0, 8), (Boxes{{7, 1}, {8, 2}, {9, 3}, {10, 4}, {7, 1}, {8, 2}, {9, 3}, {10, 4}}));
    // The second sweep ends at (10, 1) after four steps; the first goes on alone to (1, 4).
    EXPECT_EQ(wide.back(), BoxPos(1, 4));
    EXPECT_EQ(BoxOrder(24, 10, 4).back(), BoxPos(10, 4));
}

TEST(FxEffectOrder, DiagonalQuadEndsWhenEverySweepHasReachedTheCentre)
{
    const Boxes quad = BoxOrder(26, 4, 4);
    EXPECT_EQ(Slice(quad, 0, 4), (Boxes{{1, 1}, {4, 4}, {4, 1}, {1, 4}}));
    // The fifth step is the last: three sweeps on the centre box (2, 2), the fourth one past it.
    EXPECT_EQ(Slice(quad, quad.size() - 7, 7), (Boxes{{2, 2}, {2, 2}, {2, 2}, {3, 3}, {4, 4}, {3, 2}, {4, 3}}));
}

TEST(FxEffectOrder, BandsFillAlternatelyFromOppositeEnds)
{
    EXPECT_EQ(Slice(BoxOrder(27, 8, 2), 0, 8), (Boxes{{1, 1}, {3, 2}, {5, 1}, {7, 2}, {2, 1}, {4, 2}, {6, 1}, {8, 2}}));
    EXPECT_EQ(Slice(BoxOrder(28, 2, 8), 0, 4), (Boxes{{1, 1}, {2, 3}, {1, 5}, {2, 7}}));
    EXPECT_EQ(Slice(BoxOrder(30, 3, 4), 0, 4), (Boxes{{1, 1}, {3, 3}, {1, 2}, {3, 4}}));
    // Half of 5 columns is 2: the fifth column fills along with the second band, bottom up.
    EXPECT_EQ(BoxOrder(29, 5, 2), (Boxes{{1, 1}, {3, 2}, {2, 1}, {4, 2}, {5, 2}, {1, 2}, {3, 1}, {2, 2}, {4, 1}, {5, 1}}));
}

TEST(FxEffectOrder, KaleidoscopeFillsTheLeftHalfDownAndTheRightHalfUp)
{
    EXPECT_EQ(Slice(BoxOrder(31, 4, 4), 0, 8), (Boxes{{1, 1}, {1, 3}, {3, 2}, {3, 4}, {2, 1}, {2, 3}, {4, 2}, {4, 4}}));
}

TEST(FxEffectOrder, DoubleWipesSplitTheRowsInThirds)
{
    // Effect 33 with 10 rows: the outer bands, rows 1 to 3 and 8 to 10, then rows 3 to 7.
    const Boxes in = BoxOrder(33, 2, 10);
    ASSERT_EQ(in.size(), 12u + 20u);
    EXPECT_EQ(Slice(in, 0, 4), (Boxes{{1, 1}, {1, 10}, {2, 1}, {2, 10}}));
    const std::vector<int> outerRows = RowsOf(Slice(in, 0, 12));
    EXPECT_EQ(std::set<int>(outerRows.begin(), outerRows.end()), (std::set<int>{1, 2, 3, 8, 9, 10}));
    const std::vector<int> middleRows = RowsOf(Slice(in, 12, 20));
    EXPECT_EQ(std::set<int>(middleRows.begin(), middleRows.end()), (std::set<int>{3, 4, 5, 6, 7}));
    EXPECT_EQ(Slice(in, 12, 4), (Boxes{{1, 3}, {2, 3}, {1, 4}, {2, 4}}));

    // Effect 32 with 10 rows: the middle band (rows 3 to 6) opens sideways, then the outer
    // bands open away from it; the lower front goes on to row 10, past three thirds.
    const Boxes out = BoxOrder(32, 4, 10);
    EXPECT_EQ(Slice(out, 0, 4), (Boxes{{2, 3}, {3, 3}, {2, 4}, {3, 4}}));
    EXPECT_EQ(Slice(out, 8, 2), (Boxes{{1, 3}, {4, 3}}));
    std::vector<int> outerRows32 = RowsOf(Slice(out, 16, out.size()));
    EXPECT_EQ(Slice(out, 16, 2), (Boxes{{1, 3}, {1, 7}}));
    EXPECT_EQ(std::vector<int>(outerRows32.end() - 4, outerRows32.end()), (std::vector<int>{10, 10, 10, 10}));
}

// The lines that effect 34 drew: 'c' and a column number, or 'r' and a row number.
std::vector<std::pair<char, int>> LinesOf(const Boxes& boxes, int columns, int rows)
{
    std::vector<std::pair<char, int>> lines;
    for (size_t at = 0; at < boxes.size();) {
        const bool column = at + 1 < boxes.size() && boxes[at + 1].first == boxes[at].first;
        const int length = column ? rows : columns;
        for (int k = 0; k < length; ++k) {
            const BoxPos expected = column ? BoxPos(boxes[at].first, k + 1) : BoxPos(k + 1, boxes[at].second);
            EXPECT_EQ(boxes[at + size_t(k)], expected) << "a line drawn in pieces";
        }
        lines.emplace_back(column ? 'c' : 'r', column ? boxes[at].first : boxes[at].second);
        at += size_t(length);
    }
    return lines;
}

// Takes random entries out of an ordered list as the random effects do, with a plain list.
template <typename Entry>
std::vector<Entry> DrawInRandomOrder(std::vector<Entry> list)
{
    std::vector<Entry> order;
    while (!list.empty()) {
        const int k = Random(int(list.size()));
        order.push_back(list[size_t(k)]);
        list.erase(list.begin() + k);
    }
    return order;
}

TEST(FxEffectOrder, RandomLinesDrawEveryColumnAndRowOnceInTheGeneratorsOrder)
{
    SetRandSeed(1234);
    const auto lines = LinesOf(BoxOrder(34, 4, 3), 4, 3);
    ASSERT_EQ(lines.size(), 7u);

    SetRandSeed(1234);
    const std::vector<std::pair<char, int>> list{{'c', 1}, {'c', 2}, {'c', 3}, {'c', 4}, {'r', 1}, {'r', 2}, {'r', 3}};
    EXPECT_EQ(lines, DrawInRandomOrder(list));
}

TEST(FxEffectOrder, RandomBlockDrawsEveryBoxOnceAndReplaysWithTheSameSeed)
{
    SetRandSeed(77);
    const Boxes first = BoxOrder(35, 13, 7);
    SetRandSeed(77);
    EXPECT_EQ(BoxOrder(35, 13, 7), first);
    EXPECT_EQ(std::set<BoxPos>(first.begin(), first.end()).size(), 13u * 7u);
    EXPECT_EQ(first.size(), 13u * 7u);

    // The order is that of taking random entries out of the list of boxes, column by column.
    Boxes list;
    for (int i = 1; i <= 13; ++i)
        for (int j = 1; j <= 7; ++j)
            list.emplace_back(i, j);
    SetRandSeed(77);
    EXPECT_EQ(first, DrawInRandomOrder(list));
    SetRandSeed(78);
    EXPECT_NE(BoxOrder(35, 13, 7), first);
}

TEST(FxEffectOrder, SpecialPatterns)
{
    // Checkerboard: the black squares row by row, then the white ones.
    EXPECT_EQ(BoxOrder(36, 3, 3),
              (Boxes{{1, 1}, {3, 1}, {2, 2}, {1, 3}, {3, 3}, {2, 1}, {1, 2}, {3, 2}, {2, 3}}));
    // Spray: one position of every 3 x 3 cell per pass, the centre first.
    EXPECT_EQ(BoxOrder(38, 2, 2), (Boxes{{2, 2}, {2, 1}, {1, 2}, {1, 1}}));
    // Swirl: the outer ring clockwise, then the centre (its four edges are the one box).
    EXPECT_EQ(BoxOrder(39, 3, 3), (Boxes{{1, 1}, {2, 1}, {3, 1}, {3, 1}, {3, 2}, {3, 3}, {3, 3}, {2, 3}, {1, 3},
                                         {1, 3}, {1, 2}, {1, 1}, {2, 2}, {2, 2}, {2, 2}, {2, 2}}));
    const Boxes swirl4 = BoxOrder(39, 4, 4);
    ASSERT_EQ(swirl4.size(), 16u + 8u);  // two circuits
    EXPECT_EQ(Slice(swirl4, 16, 8), (Boxes{{2, 2}, {3, 2}, {3, 2}, {3, 3}, {3, 3}, {2, 3}, {2, 3}, {2, 2}}));
    // Snakes: the odd lines forwards, then the even lines backwards.
    EXPECT_EQ(BoxOrder(40, 3, 3),
              (Boxes{{1, 1}, {2, 1}, {3, 1}, {1, 3}, {2, 3}, {3, 3}, {3, 2}, {2, 2}, {1, 2}}));
    EXPECT_EQ(BoxOrder(41, 3, 3),
              (Boxes{{1, 1}, {1, 2}, {1, 3}, {3, 1}, {3, 2}, {3, 3}, {2, 3}, {2, 2}, {2, 1}}));
}

TEST(FxEffectOrder, ScreenDripSlidesEachStripDownToItsRow)
{
    // 3 rows; the last strip (y = 4) is one pixel high and stretches into the others.
    const TFxGrid grid = MakeFxGrid(Rect(0, 0, 4, 4), 2);
    ASSERT_EQ(grid.NY, 3);
    std::vector<std::pair<int, int>> strips;  // (source strip, destination row)
    for (const TFxCopy& copy : Record(37, 4, 4, 2)) {
        strips.emplace_back(copy.Src.Top / 2 + 1, copy.Dest.Top / 2 + 1);
        EXPECT_EQ(copy.Src, grid.Strip(copy.Src.Top / 2 + 1));
        EXPECT_EQ(copy.Dest, grid.Strip(copy.Dest.Top / 2 + 1));
    }
    EXPECT_EQ(strips, (std::vector<std::pair<int, int>>{{3, 1}, {3, 2}, {3, 3}, {2, 1}, {2, 2}, {1, 1}}));
}

// A picture in which every pixel differs from its neighbours.
TBitmap PatternPicture(int width, int height)
{
    TBitmap picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.Canvas().SetPixel(x, y, RGB(x * 7 + y, y * 5 + x * 3, (x ^ y) * 11));
    return picture;
}

TBitmap BlankLike(const TBitmap& picture, TColor color)
{
    TBitmap blank(picture.Width(), picture.Height());
    blank.Canvas().Brush.Color = color;
    blank.Canvas().FillRect(Rect(0, 0, picture.Width(), picture.Height()));
    return blank;
}

TEST(FxEffectProperties, EveryEffectEndsWithTheWholePictureOnTheDestination)
{
    const std::vector<std::pair<int, int>> sizes{{1, 1}, {1, 9}, {9, 1}, {2, 2}, {5, 3}, {3, 5},  {9, 9},
                                                 {17, 4}, {4, 17}, {33, 20}, {120, 136}, {520, 40}, {40, 600}};
    const std::vector<int> boxWidths{1, 2, 3, 5, 8, 255};
    for (const auto& [width, height] : sizes) {
        const TBitmap source = PatternPicture(width, height);
        for (int box : boxWidths) {
            for (int effect = 0; effect <= kFxLastEffect; ++effect) {
                TBitmap destination = BlankLike(source, clFuchsia);
                DrawFxEffect(effect, source.Canvas(), destination.Canvas(), box);
                EXPECT_EQ(destination.Image(), source.Image())
                    << "effect " << effect << ", " << width << " x " << height << ", box " << box;
            }
        }
    }
}

TEST(FxEffectProperties, SinglePassEffectsDrawEveryBoxOnceAndNothingElse)
{
    SetRandSeed(5);
    const std::vector<std::pair<int, int>> grids{{1, 1}, {1, 4}, {4, 1}, {3, 2}, {7, 5}, {6, 11}};
    for (int effect : {1, 2, 3, 4, 9, 10, 11, 12, 13, 14, 18, 19, 20, 21, 35, 36, 38, 40, 41}) {
        for (const auto& [columns, rows] : grids) {
            const Boxes order = BoxOrder(effect, columns, rows);
            EXPECT_EQ(order.size(), size_t(columns * rows)) << "effect " << effect;
            EXPECT_EQ(std::set<BoxPos>(order.begin(), order.end()).size(), size_t(columns * rows))
                << "effect " << effect << " on " << columns << " x " << rows;
        }
    }
}

TEST(FxEffectProperties, EffectsPast41AndBoxWidthsBelow1DrawNothing)
{
    const TBitmap source = PatternPicture(20, 10);
    for (int effect : {42, 100, 255, -1}) {
        TBitmap destination = BlankLike(source, clFuchsia);
        const QImage before = destination.Image();
        DrawFxEffect(effect, source.Canvas(), destination.Canvas(), 2);
        EXPECT_EQ(destination.Image(), before) << "effect " << effect;
        EXPECT_TRUE(Record(effect, 20, 10, 2).empty());
    }
    EXPECT_TRUE(Record(1, 20, 10, 0).empty());
}

} // namespace
