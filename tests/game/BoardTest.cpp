#include "game/Board.h"
#include "solver/Position.h"

#include <gtest/gtest.h>

namespace {

bool Solvable(const TGrid& grid, int n)
{
    TPosition position{n, {}};
    for (int p = 1; p <= n * n; ++p)
        position.Cells.push_back(grid.AtPosition(p, n));
    return IsSolvable(position);
}

TEST(BoardGeometry, PiecesAreWholeFractionsOfThePicture)
{
    // 100 x 100 on 7 x 7: 14 x 14 pieces; the last two rows and columns are never shown.
    EXPECT_EQ(SourceRect(1, 1, 7, 100, 100), Rect(0, 0, 14, 14));
    EXPECT_EQ(SourceRect(7, 7, 7, 100, 100), Rect(84, 84, 98, 98));
    // 640 x 480 on 5 x 5: 128 x 96 pieces, the board square whatever the proportions.
    EXPECT_EQ(SourceRect(5, 2, 5, 640, 480), Rect(512, 96, 640, 192));
}

TEST(BoardPositions, ColumnsAndRowsRunRowByRow)
{
    EXPECT_EQ(ColumnOf(1, 5), 1);
    EXPECT_EQ(RowOf(1, 5), 1);
    EXPECT_EQ(ColumnOf(5, 5), 5);
    EXPECT_EQ(RowOf(5, 5), 1);
    EXPECT_EQ(ColumnOf(6, 5), 1);
    EXPECT_EQ(RowOf(6, 5), 2);
    EXPECT_EQ(ColumnOf(49, 7), 7);
    EXPECT_EQ(RowOf(49, 7), 7);
    for (int n : {1, 4, 5, 6, 7})
        for (int p = 1; p <= n * n; ++p)
            EXPECT_EQ(PositionOf(ColumnOf(p, n), RowOf(p, n), n), p);
}

TEST(BoardMoves, OnlyATileBesideTheGapMoves)
{
    // Row ends: position 6 (column 1) never slides into a gap at 5 (end of row 1) ...
    EXPECT_EQ(GapBeside(6, 5, 5), 0);
    // ... nor 5 into a gap at 6.
    EXPECT_EQ(GapBeside(5, 6, 5), 0);
    EXPECT_EQ(GapBeside(7, 6, 5), 6);   // left
    EXPECT_EQ(GapBeside(6, 7, 5), 7);   // right
    EXPECT_EQ(GapBeside(8, 3, 5), 3);   // up
    EXPECT_EQ(GapBeside(3, 8, 5), 8);   // down
    EXPECT_EQ(GapBeside(20, 25, 5), 25);
    EXPECT_EQ(GapBeside(24, 25, 5), 25);
    EXPECT_EQ(GapBeside(23, 25, 5), 0);  // two cells away in a line
    EXPECT_EQ(GapBeside(15, 25, 5), 0);
    EXPECT_EQ(GapBeside(19, 25, 5), 0);  // diagonal
    EXPECT_EQ(GapBeside(25, 25, 5), 0);  // the gap itself
}

TEST(BoardGrid, ResetPutsEveryPieceHomeAndTheGapInTheCorner)
{
    TGrid grid;
    grid.Reset(5);
    EXPECT_EQ(grid.At(1, 1), 1);
    EXPECT_EQ(grid.At(5, 1), 5);
    EXPECT_EQ(grid.At(1, 2), 6);
    EXPECT_EQ(grid.At(5, 5), 0);
    EXPECT_TRUE(IsSolved(grid, 5));
    std::swap(grid.At(1, 1), grid.At(2, 1));
    EXPECT_FALSE(IsSolved(grid, 5));
    TGrid single;
    single.Reset(1);
    EXPECT_EQ(single.At(1, 1), 0);
    EXPECT_TRUE(IsSolved(single, 1));
}

TEST(BoardShuffle, PassesAreFourFifthsOfTheCellsRounded)
{
    EXPECT_EQ(TileSize(6), 41);  // sizes truncate too: not 42 and 36
    EXPECT_EQ(TileSize(7), 35);
    EXPECT_EQ(ShufflePasses(4), 13);
    EXPECT_EQ(ShufflePasses(5), 20);
    EXPECT_EQ(ShufflePasses(6), 29);
    EXPECT_EQ(ShufflePasses(7), 39);
    TRandom random;
    EXPECT_TRUE(ShuffleSwaps(1, random).empty());
}

TEST(BoardShuffle, EveryShuffleCanBeBroughtHome)
{
    for (int n : {4, 5, 6, 7})
        for (std::uint32_t seed = 1; seed <= 400; ++seed) {
            TRandom random(seed);
            const auto swaps = ShuffleSwaps(n, random);
            ASSERT_EQ(swaps.size() % 2, 0u);
            ASSERT_LE(int(swaps.size()), ShufflePasses(n) + 1);
            TGrid grid;
            grid.Reset(n);
            for (const auto& [a, b] : swaps) {
                ASSERT_NE(a, b);
                ASSERT_GE(std::min(a, b), 1);
                ASSERT_LE(std::max(a, b), n * n - 1);  // the corner is never part of a swap
                std::swap(grid.AtPosition(a, n), grid.AtPosition(b, n));
            }
            EXPECT_EQ(grid.At(n, n), 0);
            EXPECT_TRUE(Solvable(grid, n)) << "size " << n << " seed " << seed;
        }
}

TEST(BoardShuffle, PassesWithEqualDrawsMakeNoSwap)
{
    // Over many shuffles some passes draw the same tile twice, and then swap nothing.
    int shortShuffles = 0;
    for (std::uint32_t seed = 1; seed <= 200; ++seed) {
        TRandom random(seed);
        if (int(ShuffleSwaps(4, random).size()) < ShufflePasses(4))
            ++shortShuffles;
    }
    EXPECT_GT(shortShuffles, 0);
}

} // namespace
