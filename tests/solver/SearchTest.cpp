#include "solver/FastSolver.h"
#include "solver/HintPlanner.h"
#include "solver/OptimalSolver.h"
#include "solver/PatternDatabase.h"
#include "tests/solver/SolverTestSupport.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

// Small 4 x 4 tables (five groups of three tiles): quick to build, weak enough that the searches
// work hard.
TPatternDatabase& SmallTables4()
{
    static TPatternDatabase tables(4, {{1, 2, 3}, {4, 7, 8}, {5, 6, 9}, {10, 13, 14}, {11, 12, 15}});
    return tables;
}

TFastSolverOptions SmallFinish()
{
    TFastSolverOptions options;
    options.FinishTables = &SmallTables4();
    options.FinishNodeLimit = 20'000;
    options.TilesPerSearch = 2;  // small placing searches keep the sanitizer run quick
    return options;
}

TEST(SolverTables, GroupsAreCheckedAndBuiltOnceOnDemand)
{
    EXPECT_FALSE(PartitionError(4, DefaultPartition(4)));
    EXPECT_TRUE(PartitionError(4, {{1, 2}, {2, 3}}));
    EXPECT_TRUE(PartitionError(4, {{16}}));
    EXPECT_TRUE(PartitionError(4, {{}}));
    EXPECT_TRUE(PartitionError(4, {{1, 2, 3, 4, 5, 6, 7, 8}}));
    EXPECT_TRUE(PartitionError(5, {{1}}));
    EXPECT_THROW(TPatternDatabase(3, {{0}}), std::invalid_argument);

    // Nothing is built until asked for, and two threads asking at once get one build.
    EXPECT_FALSE(TPatternDatabase::IsSharedBuilt(4));
    TPatternDatabase tables(3, {{1, 2, 3, 4}, {5, 6, 7, 8}});
    EXPECT_FALSE(tables.IsBuilt());
    std::jthread other([&] { tables.Build(); });
    tables.Build();
    other.join();
    EXPECT_TRUE(tables.IsBuilt());
    EXPECT_EQ(tables.TableBytes(), 2u * 9 * 8 * 7 * 6);
    EXPECT_EQ(tables.LowerBound(GoalPosition(3)), 0);
}

// Against a breadth-first search over every 3 x 3 board: the bound never overestimates, and the
// solutions are shortest, with the shared tables and with two groups of four tiles.
TEST(SolverOptimal, ThreeByThreeLengthsMatchBreadthFirstSearch)
{
    const auto distance = DistancesFromGoal(3);
    TPatternDatabase fours(3, {{1, 2, 3, 4}, {5, 6, 7, 8}});
    TOptimalSolver withShared(TPatternDatabase::Shared(3)), withFours(fours);
    std::mt19937 random(3);
    int checked = 0;
    for (const auto& [key, moves] : distance) {
        // Every board far from home, and a sample of the rest.
        if (moves < 30 && random() % 400 != 0)
            continue;
        TPosition board{3, std::vector<std::uint8_t>(9)};
        for (int c = 8; c >= 0; --c)
            board.Cells[std::size_t(c)] = std::uint8_t(key >> (4 * (8 - c)) & 15);
        for (TOptimalSolver* solver : {&withShared, &withFours}) {
            const auto solution = solver->Solve(board);
            ASSERT_TRUE(solution);
            EXPECT_EQ(int(solution->Tiles.size()), moves);
            EXPECT_LE(solution->LowerBound, moves);
            EXPECT_TRUE(Solves(board, solution->Tiles));
        }
        ++checked;
    }
    EXPECT_GT(checked, 400);
}

TEST(SolverOptimal, FourByFourLengthsMatchASearchFromBothEnds)
{
    TOptimalSolver solver(SmallTables4());
    std::mt19937 random(4);
    for (int k = 0; k < 12; ++k) {
        const TPosition board = RandomWalk(4, 14 + k % 5 * 2, random);
        const int moves = BidirectionalDistance(board, 22);
        ASSERT_GE(moves, 0);
        const auto solution = solver.Solve(board);
        ASSERT_TRUE(solution);
        EXPECT_EQ(int(solution->Tiles.size()), moves);
        EXPECT_TRUE(Solves(board, solution->Tiles));
    }
}

TEST(SolverOptimal, RefusesBadBoardsAndStopsWhenAsked)
{
    TOptimalSolver solver(TPatternDatabase::Shared(3));
    EXPECT_THROW(solver.Solve(TPosition{3, {1, 2, 3, 4, 5, 6, 8, 7, 0}}), std::invalid_argument);
    EXPECT_THROW(solver.Solve(TPosition{3, {1, 2, 3}}), std::invalid_argument);
    EXPECT_THROW(solver.Solve(GoalPosition(2)), std::invalid_argument);  // tables of another size
    EXPECT_TRUE(solver.Solve(GoalPosition(3))->Tiles.empty());

    std::mt19937 random(5);
    const TPosition far = RandomSolvablePosition(4, random);
    std::stop_source stop;
    stop.request_stop();
    EXPECT_FALSE(TOptimalSolver(SmallTables4()).Solve(far, stop.get_token()));
    EXPECT_FALSE(TOptimalSolver(SmallTables4()).Solve(far, {}, 1000));
    EXPECT_FALSE(TFastSolver(SmallFinish()).Solve(RandomSolvablePosition(6, random), stop.get_token()));
}

TEST(SolverFast, SolvesEverySize)
{
    std::mt19937 random(6);
    TFastSolver solver(SmallFinish());
    TFastSolverOptions noFinish = SmallFinish();
    noFinish.FinishOptimally = false;
    TFastSolver reducing(noFinish);
    for (int n = 1; n <= 7; ++n)
        for (int k = 0; k < 2; ++k) {
            const TPosition board = RandomSolvablePosition(n, random);
            for (TFastSolver* fast : {&solver, &reducing}) {
                const auto solution = fast->Solve(board);
                ASSERT_TRUE(solution);
                EXPECT_TRUE(Solves(board, solution->Tiles)) << n;
                EXPECT_EQ(solution->LowerBound, ManhattanDistance(board));
            }
        }
    // The placing searches of the usual size are the game's hint and solve tests.
    EXPECT_FALSE(TPatternDatabase::IsSharedBuilt(4));
}

// Follows hints to the end; with detours the player makes a few moves of their own on the way.
int FollowHints(THintPlanner& planner, TPosition board, bool detours, std::mt19937& random)
{
    int moves = 0;
    for (int asked = 1; asked < 2000; ++asked) {
        if (detours && (asked == 3 || asked == 30 || asked == 31 || asked == 60)) {
            const int gap = GapCell(board);
            const int beside[] = {gap - 1, gap + 1, gap - board.N, gap + board.N};
            const int cell = beside[random() % 4];
            if (cell >= 0 && cell < board.N * board.N && ApplyMove(board, board.Cells[std::size_t(cell)]))
                ++moves;
        }
        const auto tile = planner.NextMove(board);
        if (!tile)
            return -1;
        if (*tile == 0)
            return IsGoal(board) ? moves : -1;
        if (!ApplyMove(board, *tile))
            return -1;
        ++moves;
    }
    return -1;
}

TEST(SolverHints, FollowingHintsReachesHome)
{
    std::mt19937 random(7);
    for (int n : {5, 7}) {
        THintPlanner planner(SmallFinish());
        const TPosition board = RandomSolvablePosition(n, random);
        EXPECT_GT(FollowHints(planner, board, false, random), 0);
        EXPECT_GT(FollowHints(planner, board, true, random), 0);
    }
}

TEST(SolverHints, HintsKeepToThePlanAndFollowAShortestWayOnFourByFour)
{
    std::mt19937 random(8);
    TFastSolverOptions options = SmallFinish();
    THintPlanner planner(options);
    const TPosition board = RandomWalk(4, 18, random);
    const int shortest = BidirectionalDistance(board, 20);
    EXPECT_EQ(FollowHints(planner, board, false, random), shortest);

    // Moves made by hand along the plan, or taken back, are still on it; a move off it is not.
    TPosition along = board;
    const int first = *planner.NextMove(along);
    ApplyMove(along, first);
    EXPECT_TRUE(planner.IsOnPlan(along));
    EXPECT_TRUE(planner.IsOnPlan(board));
    EXPECT_EQ(*planner.NextMove(board), first);
    TPosition off = board;
    for (int tile = 1; tile < 16; ++tile)
        if (tile != first && ApplyMove(off, tile))
            break;
    EXPECT_FALSE(planner.IsOnPlan(off));
    EXPECT_EQ(planner.NextMove(GoalPosition(4)), 0);
    EXPECT_THROW(planner.NextMove(TPosition{2, {2, 1, 3, 0}}), std::invalid_argument);
}

}  // namespace
