#include "solver/FastSolver.h"
#include "solver/HintPlanner.h"
#include "solver/OptimalSolver.h"
#include "solver/PatternDatabase.h"
#include "tests/solver/SolverTestSupport.h"

#include <gtest/gtest.h>

#include <span>
#include <thread>

namespace {

TEST(SolverTables, GroupsAreCheckedAndBuiltOnceOnDemand)
{
    EXPECT_FALSE(PartitionError(4, DefaultPartition(4)));
    for (const TPartition& bad : std::vector<TPartition>{{{1, 2}, {2, 3}}, {{16}}, {{}}, {{1, 2, 3, 4, 5, 6, 7, 8}}})
        EXPECT_TRUE(PartitionError(4, bad));
    EXPECT_TRUE(PartitionError(5, {{1}}));
    EXPECT_THROW(TPatternDatabase(3, {{0}}), std::invalid_argument);

    // Nothing is built until asked for, and two threads asking at once get one build.
    TPatternDatabase tables(3, {{1, 2, 3, 4}, {5, 6, 7, 8}});
    EXPECT_FALSE(TPatternDatabase::Shared(4).IsBuilt() || tables.IsBuilt());
    TBuildResult other = TBuildResult::Failed;
    std::jthread thread([&] { other = tables.Build(); });
    EXPECT_EQ(tables.Build(), TBuildResult::Built);
    thread.join();
    EXPECT_EQ(std::tuple(other, tables.TableBytes(), tables.LowerBound(GoalPosition(3))),
              std::tuple(TBuildResult::Built, 2u * 9 * 8 * 7 * 6, 0));
}

// The build's tables are those of a plain search, and the same byte for byte on one thread and on
// several (the groups built at once and each layer split between the threads).
TEST(SolverTables, EveryThreadCountBuildsThePlainSearchsTables)
{
    const std::pair<int, TPartition> cases[] = {{2, DefaultPartition(2)},
                                                {3, DefaultPartition(3)},
                                                {3, {{1, 2, 3, 4}, {5, 6, 7, 8}}},
                                                {4, {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15}}},
                                                {4, {{1, 6, 11}, {15}}}};
    for (const auto& [n, partition] : cases) {
        TPatternDatabase one(n, partition), three(n, partition);
        ASSERT_EQ(std::pair(one.Build({}, 1), three.Build({}, 3)), std::pair(TBuildResult::Built, TBuildResult::Built));
        for (int g = 0; g < one.GroupCount(); ++g) {
            const std::vector<std::uint8_t> plain = PlainTable(n, partition[std::size_t(g)]);
            EXPECT_TRUE(std::equal(plain.begin(), plain.end(), one.Table(g))) << n << " " << g;
            EXPECT_TRUE(std::equal(plain.begin(), plain.end(), three.Table(g))) << n << " " << g;
        }
    }
}

// Against a breadth-first search over every 2 x 2 and 3 x 3 board: the bound never overestimates,
// and the solutions are shortest, with the shared tables and with two groups of four tiles.
TEST(SolverOptimal, TwoAndThreeByThreeLengthsMatchBreadthFirstSearch)
{
    // Tiles 5, 6 and 7 in no group: 3 and 8 count on the board, while their mirror images, 7 and 6,
    // do not.
    TPatternDatabase fours(3, {{1, 2, 3, 4}, {5, 6, 7, 8}}), partial(3, {{1, 2, 3, 4, 8}});
    TOptimalSolver withTwo(TPatternDatabase::Shared(2)), withShared(TPatternDatabase::Shared(3));
    TOptimalSolver withFours(fours), withPartial(partial);
    // Every board with the game's tables; with the others, every 3 x 3 board far from home and a
    // sample of the rest.
    std::mt19937 random(3);
    int checked = 0;
    for (int n : {2, 3})
        for (const auto& [key, moves] : DistancesFromGoal(n)) {
            const TPosition board = UnpackBoard(n, key);
            const bool sampled = n == 3 && (moves >= 30 || random() % 400 == 0);
            TOptimalSolver* const solvers[] = {n == 2 ? &withTwo : &withShared, &withFours, &withPartial};
            for (TOptimalSolver* solver : std::span(solvers).first(sampled ? 3 : 1)) {
                const auto solution = solver->Solve(board);
                ASSERT_TRUE(solution);
                const int length = int(solution->Tiles.size());
                if (length != moves || solution->LowerBound > moves || !Solves(board, solution->Tiles))
                    ADD_FAILURE() << key << ": " << length << " moves, at least " << solution->LowerBound
                                  << ", where " << moves << " are fewest";
            }
            checked += sampled;
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
        EXPECT_EQ(std::pair(int(solution->Tiles.size()), Solves(board, solution->Tiles)), std::pair(moves, true));
    }
}

TEST(SolverOptimal, RefusesBadBoardsAndGivesUpPastItsNodeLimit)
{
    TOptimalSolver solver(TPatternDatabase::Shared(3));
    for (const TPosition& bad : {TPosition{3, {1, 2, 3, 4, 5, 6, 8, 7, 0}}, TPosition{3, {1, 2, 3}}, GoalPosition(2)})
        EXPECT_THROW(solver.Solve(bad), std::invalid_argument);  // unsolvable, short, of another size
    std::mt19937 random(5);
    EXPECT_FALSE(TOptimalSolver(SmallTables4()).Solve(RandomSolvablePosition(4, random), {}, 1000));
}

// Plain, and ranked by 4 x 4 tables as a hint past its search's budget is: every board comes home,
// no 4 x 4 one in more moves than any needs, and one the beam gets stuck on is finished row by row.
TEST(SolverFast, SolvesEverySizeWithinTheLongestFourByFourNeedsAndWhereTheBeamGetsStuck)
{
    ASSERT_EQ(SmallTables4().Build(), TBuildResult::Built);
    std::mt19937 random(6);
    for (const TPatternDatabase* tables : std::initializer_list<const TPatternDatabase*>{nullptr, &SmallTables4()})
        for (int n = tables ? 4 : 1; n <= (tables ? 4 : 7); ++n)
            for (int k = 0; k < (n == 4 ? 15 : 2); ++k) {
                const TPosition board = RandomSolvablePosition(n, random);
                const auto solution = TFastSolver(TFastSolverOptions{tables ? 300 : 400, tables}).Solve(board);
                ASSERT_TRUE(solution);
                EXPECT_TRUE(Solves(board, solution->Tiles)) << n;
                EXPECT_TRUE(tables || solution->LowerBound == ManhattanDistance(board));
                EXPECT_TRUE(n != 4 || int(solution->Tiles.size()) <= kLongestFourByFour) << solution->Tiles.size();
            }
    // Two tiles of the bottom row swapped and two of the top: no move gains anything for a beam this wide.
    TPosition stuck = GoalPosition(7);
    std::swap(stuck.Cells[44], stuck.Cells[45]);
    std::swap(stuck.Cells[2], stuck.Cells[3]);
    const auto finished = TFastSolver(TFastSolverOptions{2500, nullptr}).Solve(stuck);
    EXPECT_TRUE(finished && Solves(stuck, finished->Tiles));
}

// Follows hints to the end; with detours the player makes a few moves of their own on the way.
int FollowHints(THintPlanner& planner, TPosition board, bool detours, std::mt19937& random)
{
    int moves = 0;
    for (int asked = 1; asked < 2000; ++asked) {
        if (detours && (asked == 3 || asked == 30 || asked == 31 || asked == 60)) {
            const auto next = Neighbours(board);
            board = next[random() % next.size()];
            ++moves;
        }
        const auto tile = planner.NextMove(board);
        if (!tile || *tile == 0)  // no answer, or home
            return tile && IsGoal(board) ? moves : -1;
        if (!ApplyMove(board, *tile))
            return -1;
        ++moves;
    }
    return -1;
}

TEST(SolverHints, FollowingHintsReachesHome)
{
    std::mt19937 random(7);
    for (int n : {3, 5, 7}) {
        THintPlanner planner(SmallHints());
        const TPosition board = RandomSolvablePosition(n, random);
        EXPECT_GT(FollowHints(planner, board, false, random), 0);
        EXPECT_GT(FollowHints(planner, board, true, random), 0);
    }
}

TEST(SolverHints, HintsKeepToThePlanAndFollowAShortestWayOnFourByFour)
{
    std::mt19937 random(8);
    THintPlanner planner(SmallHints());
    const TPosition board = RandomWalk(4, 18, random);
    EXPECT_EQ(FollowHints(planner, board, false, random), BidirectionalDistance(board, 20));

    // Moves made by hand along the plan, or taken back, are still on it; a move off it is not.
    TPosition along = board;
    const int first = *planner.NextMove(along);
    ApplyMove(along, first);
    EXPECT_TRUE(planner.IsOnPlan(along) && planner.IsOnPlan(board));
    EXPECT_EQ(*planner.NextMove(board), first);
    for (const TPosition& next : Neighbours(board))
        EXPECT_EQ(planner.IsOnPlan(next), next == along);
    EXPECT_EQ(planner.NextMove(GoalPosition(4)), 0);
    EXPECT_THROW(planner.NextMove(TPosition{2, {2, 1, 3, 0}}), std::invalid_argument);
}

// A 4 x 4 search past its budget answers with the fast solver at once, then goes on to a shortest
// way, which it keeps; larger boards get one answer, at once.
TEST(SolverHints, ASearchPastItsBudgetAnswersFastThenShortest)
{
    THintOptions options = SmallHints();
    options.NodeBudget = 1;  // the search gives up at its first check point
    THintPlanner hurried(options);
    std::mt19937 random(9);
    const TPosition board = RandomWalk(4, 60, random);
    const auto shortest = TOptimalSolver(SmallTables4()).Solve(board);
    ASSERT_GT(shortest->Nodes, kCheckInterval);  // enough for a budget of one node to end it
    std::vector<THint> answers;
    const auto take = [&](const THint& hint) { answers.push_back(hint); };
    EXPECT_TRUE(hurried.Answer(board, {}, take));
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_TRUE(!answers[0].Shortest && Solves(board, answers[0].Moves));
    EXPECT_EQ(std::pair(answers[1].Shortest, answers[1].Moves.size()), std::pair(true, shortest->Tiles.size()));
    EXPECT_TRUE(hurried.Quick(board)->Shortest);  // the shortest plan is kept

    const TPosition five = RandomSolvablePosition(5, random);
    EXPECT_FALSE(hurried.Shortest(five));
    answers.clear();
    EXPECT_TRUE(hurried.Answer(five, {}, take));
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_TRUE(!answers[0].Shortest && Solves(five, answers[0].Moves));
}

}  // namespace
