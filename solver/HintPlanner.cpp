#include "solver/HintPlanner.h"

#include "solver/OptimalSolver.h"

std::optional<int> THintPlanner::NextMove(const TPosition& position, std::stop_token stop)
{
    RequireSolvable(position);
    if (IsGoal(position))
        return 0;
    if (auto index = PlanIndex(position))
        return plan_[*index];

    std::optional<TSolution> solution;
    if (position.N <= 4) {
        TPatternDatabase& tables = position.N == 4 && options_.FinishTables ? *options_.FinishTables
                                                                            : TPatternDatabase::Shared(position.N);
        solution = TOptimalSolver(tables).Solve(position, stop);
    } else {
        solution = TFastSolver(options_).Solve(position, stop);
    }
    if (!solution)
        return std::nullopt;
    Forget();
    plan_ = std::move(solution->Tiles);
    along_.reserve(plan_.size() + 1);
    TPosition board = position;
    along_.push_back(board);
    for (int tile : plan_) {
        ApplyMove(board, tile);
        along_.push_back(board);
    }
    return plan_.front();
}

std::optional<TMoves> THintPlanner::Solution(const TPosition& position, std::stop_token stop)
{
    const std::optional<int> next = NextMove(position, stop);
    if (!next)
        return std::nullopt;
    if (*next == 0)
        return TMoves{};
    const std::size_t index = *PlanIndex(position);
    return TMoves(plan_.begin() + std::ptrdiff_t(index), plan_.end());
}

void THintPlanner::Forget()
{
    plan_.clear();
    along_.clear();
    lastIndex_ = 0;
}

std::optional<std::size_t> THintPlanner::PlanIndex(const TPosition& position) const
{
    // The board is most often where the last answer left it, or a few moves further on.
    const std::size_t count = plan_.size();
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t i = (lastIndex_ + k) % count;
        if (along_[i] == position) {
            lastIndex_ = i;
            return i;
        }
    }
    return std::nullopt;
}
