#pragma once
// The next move for the game's hint. The planner solves once and keeps the solution: while the
// board stays on it (the player follows the hints, makes the same moves by hand, or takes some of
// them back) the answer comes from the plan; a board off the plan is solved anew. Following the
// hints therefore always reaches home. On boards up to 4 x 4 the plan is a shortest solution; on
// larger ones a short one from the fast solver.
//
// One planner serves one thread at a time; any number of planners may share the tables.

#include "solver/FastSolver.h"
#include "solver/Position.h"

#include <cstddef>
#include <optional>
#include <stop_token>
#include <vector>

class THintPlanner {
public:
    // The options' tables serve 4 x 4 boards and the last block of larger ones.
    explicit THintPlanner(TFastSolverOptions options = {}) : options_(options) {}

    // The tile to move now, 0 when the board is home; nullopt when stopped before a plan was made.
    // Throws std::invalid_argument for a malformed or unsolvable position.
    std::optional<int> NextMove(const TPosition& position, std::stop_token stop = {});

    // The rest of the way home: the plan's moves from the board on, planning anew when the board
    // is off the plan; empty when the board is home, nullopt when stopped before a plan was made.
    // Throws as NextMove does.
    std::optional<TMoves> Solution(const TPosition& position, std::stop_token stop = {});

    // Whether the next move can be answered from the plan, without a search.
    bool IsOnPlan(const TPosition& position) const { return PlanIndex(position).has_value(); }

    // Drops the plan (the next question is solved anew).
    void Forget();

private:
    std::optional<std::size_t> PlanIndex(const TPosition& position) const;

    TFastSolverOptions options_;
    TMoves plan_;
    std::vector<TPosition> along_;  // the board before each planned move, and home at the end
    mutable std::size_t lastIndex_ = 0;
};
