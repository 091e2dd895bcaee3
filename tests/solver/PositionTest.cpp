#include "solver/Position.h"
#include "tests/solver/SolverTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace {

TPosition Board(int n, std::vector<std::uint8_t> cells) { return TPosition{n, std::move(cells)}; }

TEST(SolverPosition, TextIsReadOrRefusedWithItsReason)
{
    EXPECT_EQ(ParsePosition("  2\t1\v2\r 0\f3 ").Position, Board(2, {1, 2, 0, 3}));
    const std::pair<const char*, const char*> refused[] = {
        {"", "no board size"}, {"x", "not a number"}, {"0", "between 1 and 7"}, {"9 0", "between 1 and 7"},
        {"2 1 2 0", "needs 4 numbers"}, {"2 1 2 3 4", "out of range"}, {"2 1 2 3 -1", "out of range"},
        {"2 1 2 3 99999999999999999999", "out of range"}, {"2 1 1 3 0", "tile 1 appears more than once"},
        {"2 0 1 0 3", "gap"}, {"2 1 2 3 0 1", "more numbers"}};
    for (const auto& [text, reason] : refused) {
        const TParsedPosition bad = ParsePosition(text);
        EXPECT_FALSE(bad.Position) << text;
        EXPECT_NE(bad.Error.find(reason), std::string::npos) << text << ": " << bad.Error;
    }
}

TEST(SolverPosition, MovesSlideOnlyTilesBesideTheGap)
{
    TPosition board = Board(3, {1, 2, 3, 4, 5, 6, 7, 8, 0});
    // Diagonal, no such tile, from above, from the left.
    EXPECT_EQ((std::vector<bool>{ApplyMove(board, 5), ApplyMove(board, 9), ApplyMove(board, 6), ApplyMove(board, 5)}),
              (std::vector<bool>{false, false, true, true}));
    EXPECT_EQ(board, Board(3, {1, 2, 3, 4, 0, 5, 7, 8, 6}));
    // The first cell of a row never slides into a gap at the end of the row above.
    TPosition rowEnd = Board(3, {1, 2, 0, 3, 4, 5, 6, 7, 8});
    EXPECT_FALSE(ApplyMove(rowEnd, 3));
    EXPECT_EQ(ManhattanDistance(GoalPosition(5)), 0);
    EXPECT_EQ(ManhattanDistance(Board(2, {3, 2, 1, 0})), 2);
}

// Solvable means reachable from home, for every arrangement of 2 x 2 and 3 x 3 and any gap cell.
TEST(SolverPosition, SolvabilityMatchesTheBoardsReachableFromHome)
{
    for (int n : {2, 3}) {
        const auto reachable = DistancesFromGoal(n);
        std::vector<std::uint8_t> cells(std::size_t(n * n));
        std::iota(cells.begin(), cells.end(), 0);
        int solvable = 0;
        do {
            const TPosition board = Board(n, cells);
            const bool reached = reachable.count(PackBoard(board)) > 0;
            ASSERT_EQ(IsSolvable(board), reached) << PackBoard(board);
            solvable += reached;
        } while (std::next_permutation(cells.begin(), cells.end()));
        EXPECT_EQ(solvable, n == 2 ? 12 : 181440);
    }
    EXPECT_TRUE(IsSolvable(GoalPosition(1)));
}

}  // namespace
