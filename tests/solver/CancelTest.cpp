// Every phase of the solver stops within one check interval of a stop request, and a failure inside
// it comes back as "no answer"; counted by a watcher, never timed.

#include "solver/FastSolver.h"
#include "solver/OptimalSolver.h"
#include "solver/PlacingSearch.h"
#include "solver/TableFile.h"
#include "solver/TableStore.h"
#include "tests/solver/SolverTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <mutex>
#include <new>
#include <thread>
#include <unistd.h>

namespace {

// At the given check point of the phase it requests the stop (or throws std::bad_alloc), and
// from then on counts the check points still reached. Records, per thread, the most steps
// between two check points.
class TStopAtCheck : public TCheckWatcher {
public:
    TStopAtCheck(TSolverPhase phase, int at, bool fail = false) : phase_(phase), at_(at), fail_(fail) {}

    TCancel Cancel() { return TCancel(source_.get_token(), this); }

    void Checked(TSolverPhase phase, std::uint64_t steps) override
    {
        std::lock_guard lock(mutex_);
        if (phase != phase_)
            return;
        std::uint64_t& last = last_[std::this_thread::get_id()];
        // A count that starts again (the next table) is a new run of steps.
        widest_ = std::max(widest_, steps >= last ? steps - last : steps);
        last = steps;
        if (source_.stop_requested()) {
            ++afterStop_;
        } else if (++checks_ == at_) {
            if (fail_)
                throw std::bad_alloc();
            source_.request_stop();
        }
    }

    // The phase reached the stop and ended at its next check point on every thread it ran on,
    // having done at most one check point's steps on each since the one before.
    void ExpectStoppedPromptly(int threads) const
    {
        EXPECT_TRUE(source_.stop_requested());
        EXPECT_LE(afterStop_, threads);
        EXPECT_LE(widest_, kCheckInterval);
    }

private:
    TSolverPhase phase_;
    int at_;
    bool fail_;
    std::stop_source source_;
    std::mutex mutex_;
    std::map<std::thread::id, std::uint64_t> last_;
    int checks_ = 0, afterStop_ = 0;
    std::uint64_t widest_ = 0;
};

// Groups of four tiles: many check points in the build, yet built again in a moment.
TPartition Fours() { return {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15}}; }

// On three threads, which build the four groups at once and share their layers: each of them
// ends at its next check point (the build returns when all have ended).
TEST(SolverCancel, ATableBuildStopsPromptlyOrFailsAndCanBeBuiltLater)
{
    TPatternDatabase tables(4, Fours());
    TStopAtCheck watcher(TSolverPhase::Build, 40), failing(TSolverPhase::Build, 40, true);
    EXPECT_EQ(tables.Build(watcher.Cancel(), 3), TBuildResult::Stopped);
    watcher.ExpectStoppedPromptly(3);
    EXPECT_EQ(tables.Build(failing.Cancel(), 3), TBuildResult::Failed);
    EXPECT_FALSE(tables.IsBuilt());
    // A caller whose own stop is requested never waits for another's build.
    std::stop_source stopped;
    stopped.request_stop();
    EXPECT_EQ(tables.Build(stopped.get_token()), TBuildResult::Stopped);
    EXPECT_EQ((std::pair{tables.Build(), tables.LowerBound(GoalPosition(4))}), std::pair(TBuildResult::Built, 0));
}

TEST(SolverCancel, LoadingStopsPromptlyAndAFailureThereFallsBackToABuild)
{
    TPatternDatabase built(4, Fours());
    ASSERT_EQ(built.Build(), TBuildResult::Built);
    const std::string path = ::testing::TempDir() + "mozik_cancel_" + std::to_string(getpid()) + "/tables.bin";
    ASSERT_TRUE(StoreTables(built, path));
    TPatternDatabase loaded(4, Fours());
    TStopAtCheck watcher(TSolverPhase::Load, 5);
    EXPECT_EQ(LoadTables(loaded, path, watcher.Cancel()), TLoadResult::Stopped);
    watcher.ExpectStoppedPromptly(1);
    EXPECT_FALSE(loaded.IsBuilt());
    TStopAtCheck failing(TSolverPhase::Load, 5, true);
    EXPECT_EQ(TTableStore(loaded, path).Prepare(failing.Cancel()), TPrepareResult::Ready);
    EXPECT_EQ(loaded.TableBytes(), built.TableBytes());
    std::remove(path.c_str());
}

TEST(SolverCancel, SearchesStopPromptly)
{
    std::mt19937 random(11);
    TStopAtCheck search(TSolverPhase::Search, 3);
    EXPECT_FALSE(TOptimalSolver(SmallTables4()).Solve(RandomSolvablePosition(4, random), search.Cancel()));
    search.ExpectStoppedPromptly(1);
    TStopAtCheck beam(TSolverPhase::Beam, 3);
    EXPECT_FALSE(TFastSolver().Solve(RandomSolvablePosition(7, random), beam.Cancel()));
    beam.ExpectStoppedPromptly(1);
    // Placing four tiles of a 7 x 7 board: the pairs' tables and the search itself.
    const TPosition seven = RandomSolvablePosition(7, random);
    for (int at : {2, 200}) {
        TStopAtCheck place(TSolverPhase::Place, at);
        TPlacingSearch placing(7);
        std::uint64_t nodes = 0;
        EXPECT_FALSE(placing.GapPath(seven, {0, 1, 2, 3}, 0, 1'000'000'000, place.Cancel(), nodes));
        place.ExpectStoppedPromptly(1);
    }
}

// The planner answers nothing when stopped or out of memory, in the search or in the beam, and
// answers again afterwards.
TEST(SolverCancel, ThePlannerGivesNoAnswerWhenStoppedOrOutOfMemory)
{
    std::mt19937 random(12);
    const TPosition four = RandomWalk(4, 60, random), five = RandomSolvablePosition(5, random);
    THintPlanner planner(SmallHints());
    for (bool fail : {false, true}) {
        TStopAtCheck search(TSolverPhase::Search, 1, fail);
        EXPECT_FALSE(planner.Quick(four, search.Cancel()));
        TStopAtCheck beam(TSolverPhase::Beam, 2, fail);
        EXPECT_FALSE(planner.Quick(five, beam.Cancel()));
    }
    EXPECT_TRUE(planner.Quick(four) && planner.Quick(five));
}

}  // namespace
