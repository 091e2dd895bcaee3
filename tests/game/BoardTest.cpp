#include "game/Board.h"
#include "solver/Position.h"

#include <gtest/gtest.h>

namespace {

TEST(Board, PositionsRunRowByRowAndATileInTheGapsLineMovesTowardIt)
{
    EXPECT_EQ(std::pair(ColumnOf(5, 5), RowOf(5, 5)), std::pair(5, 1));
    EXPECT_EQ(std::pair(ColumnOf(6, 5), RowOf(6, 5)), std::pair(1, 2));
    EXPECT_EQ(PositionOf(1, 2, 5), 6);

    // {tile, gap, step}: along a row or a column however far, never across a row's end,
    // diagonally, onto itself or from off the board.
    const int moves[][3] = {{6, 5, 0},   {5, 6, 0},  {7, 6, -1},  {6, 7, 1},  {8, 3, -5},  {3, 8, 5},  {21, 25, 1},
                            {5, 25, 5},  {24, 21, -1}, {19, 25, 0}, {25, 25, 0}, {0, 5, 0}, {26, 25, 0}};
    for (const auto& [p, gap, step] : moves)
        EXPECT_EQ(StepTowardGap(p, gap, 5), step) << p << " to " << gap;

    // An arrow sends the tile on the other side of the gap towards it; none lies beyond an edge.
    using enum TDirection;
    EXPECT_EQ(std::vector({TileToward(Left, 13, 5), TileToward(Right, 13, 5), TileToward(Up, 13, 5), TileToward(Down, 13, 5)}),
              std::vector({14, 12, 18, 8}));
    EXPECT_EQ(std::vector({TileToward(Left, 25, 5), TileToward(Up, 25, 5), TileToward(Right, 1, 5), TileToward(Down, 1, 5)}),
              std::vector({0, 0, 0, 0}));
}

TEST(Board, EveryShuffleSwapsTilesOutsideTheCornerAndCanBeBroughtHome)
{
    int shortShuffles = 0;  // passes that draw the same tile twice swap nothing
    for (int n : {4, 5, 6, 7})
        for (std::uint32_t seed = 1; seed <= 400; ++seed) {
            TRandom random(seed);
            const auto swaps = ShuffleSwaps(n, random);
            ASSERT_EQ(swaps.size() % 2, 0u);
            ASSERT_LE(int(swaps.size()), ShufflePasses(n) + 1);
            shortShuffles += int(swaps.size()) < ShufflePasses(n);
            TPosition position = GoalPosition(n);
            for (const auto& [a, b] : swaps) {
                ASSERT_NE(a, b);
                ASSERT_GE(std::min(a, b), 1);
                ASSERT_LE(std::max(a, b), n * n - 1);  // the corner is never part of a swap
                std::swap(position.Cells[size_t(a - 1)], position.Cells[size_t(b - 1)]);
            }
            EXPECT_TRUE(IsSolvable(position)) << "size " << n << " seed " << seed;
        }
    EXPECT_GT(shortShuffles, 0);
}

} // namespace
