#include "windows/TileSlide.h"

#include "game/Board.h"

#include <algorithm>

TTileSlide::TTileSlide(const TMove& move, int n, std::int64_t start, int durationMs)
    : move_(move), n_(n), start_(start), duration_(std::max(0, durationMs))
{
    // The tiles move the way the clicked tile went: toward the gap it slid into.
    const int step = StepTowardGap(move.From, move.To, n);
    dx_ = step == 1 ? 1 : step == -1 ? -1 : 0;
    dy_ = step == n ? 1 : step == -n ? -1 : 0;
}

bool TTileSlide::Carries(int p) const
{
    // The cells from the one after the clicked tile's up to the old gap, in the move's line.
    const int step = StepTowardGap(move_.From, move_.To, n_);
    return step != 0 && p != move_.From && StepTowardGap(p, move_.From, n_) == -step
        && (p == move_.To || StepTowardGap(p, move_.To, n_) == step);
}

double TTileSlide::Remaining(std::int64_t now) const
{
    if (duration_ == 0 || now >= start_ + duration_)
        return 0;
    const double left = 1 - double(std::max<std::int64_t>(0, now - start_)) / duration_;
    return left * left * left;  // the cubic ease out
}
