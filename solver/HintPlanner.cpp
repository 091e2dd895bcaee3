#include "solver/HintPlanner.h"

#include "solver/OptimalSolver.h"

#include <limits>
#include <new>

std::optional<THint> THintPlanner::Quick(const TPosition& position, const TCancel& cancel)
{
    RequireSolvable(position);
    if (IsGoal(position))
        return THint{{}, true};
    try {
        const std::optional<std::size_t> index = PlanIndex(position);
        // A plan that is not shortest is kept unless a shortest one may be found within the budget.
        if (index && (planShortest_ || overBudget_ || !ShortestAvailable(position)))
            return FromPlan(*index);
        if (ShortestAvailable(position)) {
            const std::uint64_t budget = position.N == 4 ? options_.NodeBudget : std::numeric_limits<std::uint64_t>::max();
            if (std::optional<TSolution> solution = SolveShortest(position, cancel, budget))
                return MakePlan(position, std::move(solution->Tiles), true);
            if (cancel.StopRequested())
                return std::nullopt;
            if (index) {
                overBudget_ = true;
                return FromPlan(*index);
            }
        }
        // Past the budget the tables are ready, and they rank the beam's boards best.
        TFastSolverOptions fast = options_.Fast;
        if (position.N == 4 && Store().IsReady())
            fast.Tables = &Store().Tables();
        std::optional<TSolution> solution = TFastSolver(fast).Solve(position, cancel);
        if (!solution)
            return std::nullopt;
        THint hint = MakePlan(position, std::move(solution->Tiles), false);
        // Had the tables been ready, the search went over its budget: Quick does not try again.
        overBudget_ = ShortestAvailable(position);
        return hint;
    } catch (const std::bad_alloc&) {
        Forget();
        return std::nullopt;
    }
}

std::optional<THint> THintPlanner::Shortest(const TPosition& position, const TCancel& cancel)
{
    RequireSolvable(position);
    if (!ShortestAvailable(position))
        return std::nullopt;
    if (IsGoal(position))
        return THint{{}, true};
    try {
        if (const std::optional<std::size_t> index = PlanIndex(position); index && planShortest_)
            return FromPlan(*index);
        std::optional<TSolution> solution = SolveShortest(position, cancel, std::numeric_limits<std::uint64_t>::max());
        if (!solution)
            return std::nullopt;
        return MakePlan(position, std::move(solution->Tiles), true);
    } catch (const std::bad_alloc&) {
        Forget();
        return std::nullopt;
    }
}

bool THintPlanner::Answer(const TPosition& position, const TCancel& cancel, const std::function<void(const THint&)>& answer)
{
    const std::optional<THint> quick = Quick(position, cancel);
    if (!quick)
        return false;
    answer(*quick);
    if (quick->Shortest || !ShortestAvailable(position))
        return true;
    const std::optional<THint> shortest = Shortest(position, cancel);
    if (!shortest)
        return false;
    answer(*shortest);
    return true;
}

std::optional<int> THintPlanner::NextMove(const TPosition& position, const TCancel& cancel)
{
    const std::optional<TMoves> moves = Solution(position, cancel);
    if (!moves)
        return std::nullopt;
    return moves->empty() ? 0 : moves->front();
}

std::optional<TMoves> THintPlanner::Solution(const TPosition& position, const TCancel& cancel)
{
    RequireSolvable(position);
    if (position.N == 4 && !IsGoal(position) && Store().Prepare(cancel) != TPrepareResult::Ready)
        return std::nullopt;
    std::optional<THint> hint = Quick(position, cancel);
    if (!hint)
        return std::nullopt;
    return std::move(hint->Moves);
}

void THintPlanner::Forget()
{
    plan_.clear();
    along_.clear();
    planShortest_ = false;
    overBudget_ = false;
    lastIndex_ = 0;
}

std::optional<TSolution> THintPlanner::SolveShortest(const TPosition& position, const TCancel& cancel,
                                                     std::uint64_t nodeLimit)
{
    TPatternDatabase& tables = position.N == 4 ? Store().Tables() : TPatternDatabase::Shared(position.N);
    return TOptimalSolver(tables).Solve(position, cancel, nodeLimit);
}

THint THintPlanner::FromPlan(std::size_t index) const
{
    return THint{TMoves(plan_.begin() + std::ptrdiff_t(index), plan_.end()), planShortest_};
}

THint THintPlanner::MakePlan(const TPosition& position, TMoves moves, bool shortest)
{
    Forget();
    plan_ = std::move(moves);
    planShortest_ = shortest;
    along_.reserve(plan_.size() + 1);
    TPosition board = position;
    along_.push_back(board);
    for (int tile : plan_) {
        ApplyMove(board, tile);
        along_.push_back(board);
    }
    return FromPlan(0);
}

std::optional<std::size_t> THintPlanner::PlanIndex(const TPosition& position) const
{
    // The board is most often where the last answer left it, or a few moves further on. Home,
    // the end of the plan, has no move to give.
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
