#pragma once
// The moves for the game's hints and its Solve. The planner solves once and keeps the solution:
// while the board stays on it (the player follows the hints, makes the same moves by hand, or
// takes some of them back) the answer comes from the plan; a board off the plan is solved anew.
// Following the hints therefore always reaches home.
//
// Answers come at once: on boards up to 3 x 3 they are shortest; on 4 x 4 they are shortest when
// the tables are ready and the search stays within its budget (about half a second of work), and
// otherwise the fast solver's, which Shortest() or Answer() then better in a longer search; on
// larger boards they are the fast solver's. Quick and Shortest never load or build the tables:
// the caller makes them ready (TTableStore::Prepare) on a thread of its own.
//
// One planner serves one thread at a time; any number of planners may share the tables.

#include "solver/Cancel.h"
#include "solver/FastSolver.h"
#include "solver/Position.h"
#include "solver/TableStore.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

struct THintOptions {
    // The 4 x 4 tables; null for the shared ones, kept in the user's cache folder.
    TTableStore* Tables = nullptr;
    // Nodes a 4 x 4 search for a quick answer may expand (about half a second of work) before
    // the fast solver answers instead.
    std::uint64_t NodeBudget = 10'000'000;
    TFastSolverOptions Fast;

    TTableStore& Store() const { return Tables ? *Tables : TTableStore::Shared(); }
};

struct THint {
    TMoves Moves;           // the way home from the board asked about; empty when it is home
    bool Shortest = false;  // no way home is shorter
};

class THintPlanner {
public:
    explicit THintPlanner(THintOptions options = {}) : options_(options) {}

    // An answer at once. nullopt when stopped, or when the solver ran out of memory. Throws
    // std::invalid_argument for a malformed or unsolvable position.
    std::optional<THint> Quick(const TPosition& position, const TCancel& cancel = {});

    // A shortest way for a board of up to 4 x 4, searched without a budget; it becomes the plan.
    // nullopt when stopped, out of memory, for a larger board, or while the 4 x 4 tables are not
    // ready. Throws as Quick does.
    std::optional<THint> Shortest(const TPosition& position, const TCancel& cancel = {});

    // Quick, and then, when its answer is not shortest but a shortest one can be had now,
    // Shortest: each answer is handed to `answer` on the calling thread as soon as it is found.
    // false when stopped or out of memory before the last answer. Throws as Quick does.
    bool Answer(const TPosition& position, const TCancel& cancel, const std::function<void(const THint&)>& answer);

    // The tile to move now, 0 when the board is home: Quick, after making the 4 x 4 tables
    // ready (read or built, which waits; stoppable). nullopt when stopped or out of memory.
    std::optional<int> NextMove(const TPosition& position, const TCancel& cancel = {});
    // The rest of the way home in the same way; empty when the board is home.
    std::optional<TMoves> Solution(const TPosition& position, const TCancel& cancel = {});

    // Whether the next move can be answered from the plan, without a search.
    bool IsOnPlan(const TPosition& position) const { return PlanIndex(position).has_value(); }

    // Drops the plan (the next question is solved anew).
    void Forget();

private:
    TTableStore& Store() const { return options_.Store(); }
    // Whether a shortest way for the board could be had now without a wait for tables.
    bool ShortestAvailable(const TPosition& position) const { return position.N < 4 || (position.N == 4 && Store().IsReady()); }
    // A shortest solution; nullopt when stopped or over the node limit.
    std::optional<TSolution> SolveShortest(const TPosition& position, const TCancel& cancel, std::uint64_t nodeLimit);
    THint FromPlan(std::size_t index) const;
    THint MakePlan(const TPosition& position, TMoves moves, bool shortest);
    std::optional<std::size_t> PlanIndex(const TPosition& position) const;

    THintOptions options_;
    TMoves plan_;
    std::vector<TPosition> along_;  // the board before each planned move, and home at the end
    bool planShortest_ = false;
    bool overBudget_ = false;       // the plan's board took a shortest search past its budget
    mutable std::size_t lastIndex_ = 0;
};
