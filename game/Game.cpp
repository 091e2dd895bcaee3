#include "game/Game.h"

#include <cstdlib>
#include <numeric>
#include <utility>

namespace {

// The tiles a slide moves: the cells between its two ends, along a row or a column.
int TilesOf(const TMove& move, int n)
{
    const int distance = std::abs(move.To - move.From);
    return distance >= n ? distance / n : distance;
}

} // namespace

TGame::TGame(int boardSize)
{
    NewBoard(boardSize);
}

void TGame::NewBoard(int n)
{
    n_ = n;
    grid_.Reset(n);
    start_ = grid_;
    gapPos_ = n * n;
    running_ = false;
    givenUp_ = false;
    seconds_ = 0;
    moves_ = 0;
    undos_ = 0;
    hints_ = 0;
    history_.clear();
    undone_.clear();
}

bool TGame::Start(TRandom& random)
{
    if (n_ == 1)
        return false;
    grid_.Reset(n_);
    gapPos_ = n_ * n_;
    for (const auto& [a, b] : ShuffleSwaps(n_, random))
        std::swap(grid_.AtPosition(a, n_), grid_.AtPosition(b, n_));
    start_ = grid_;
    running_ = true;
    paused_ = false;
    givenUp_ = false;
    seconds_ = 0;
    moves_ = 0;
    undos_ = 0;
    hints_ = 0;
    history_.clear();
    undone_.clear();
    return true;
}

TMoveResult TGame::Move(int p)
{
    if (!running_ || paused_)
        return {};
    const TMoveResult result = Slide(p);
    if (result.Moved) {
        history_.push_back(result.Move);
        undone_.clear();
    }
    return result;
}

TMoveResult TGame::Undo()
{
    if (!CanUndo())
        return {};
    const TMove last = history_.back();
    const TMoveResult result = Slide(last.To);  // the tile slides back where it came from
    history_.pop_back();
    undone_.push_back(last);
    ++undos_;
    return result;
}

TMoveResult TGame::Redo()
{
    if (!CanRedo())
        return {};
    const TMoveResult result = Slide(undone_.back().From);
    undone_.pop_back();
    history_.push_back(result.Move);
    return result;
}

bool TGame::GiveUp()
{
    if (!Playing())
        return false;
    givenUp_ = true;
    return true;
}

TMoveResult TGame::Slide(int p)
{
    TMoveResult result;
    const int step = StepTowardGap(p, gapPos_, n_);
    if (step == 0)
        return result;
    result.Move = {p, gapPos_};
    for (int cell = gapPos_; cell != p; cell -= step, ++moves_)
        grid_.AtPosition(cell, n_) = grid_.AtPosition(cell - step, n_);
    grid_.AtPosition(p, n_) = 0;
    gapPos_ = p;
    result.Moved = true;
    if (IsSolved(grid_, n_)) {
        running_ = false;
        result.Solved = true;
    }
    return result;
}

TPosition PositionOf(const TGrid& grid, int n)
{
    TPosition position{n, {}};
    for (int p = 1; p <= n * n; ++p)
        position.Cells.push_back(grid.AtPosition(p, n));
    return position;
}

TPosition TGame::Position() const
{
    return PositionOf(grid_, n_);
}

int TGame::PositionOfTile(int tile) const
{
    for (int p = 1; p <= n_ * n_; ++p)
        if (grid_.AtPosition(p, n_) == tile)
            return p;
    return 0;
}

void TGame::TogglePause()
{
    if (running_)
        paused_ = !paused_;
}

void TGame::Tick()
{
    if (Playing())
        ++seconds_;
}

void TGame::CountHint()
{
    if (Playing())
        ++hints_;
}

TGameRecord TGame::Record() const
{
    return {n_, start_, history_, undone_, moves_, seconds_, undos_, hints_};
}

bool TGame::Resume(const TGameRecord& record)
{
    const int n = record.BoardSize;
    if (n < 4 || n > kMaxBoardSize || record.Seconds < 0 || record.Undos < 0 || record.Hints < 0)
        return false;
    TGame game(n);
    game.start_ = game.grid_ = record.Start;
    const TPosition start = PositionOf(record.Start, n);
    if (PositionError(start) || !IsSolvable(start))
        return false;
    game.gapPos_ = game.PositionOfTile(0);
    game.running_ = true;
    // The moves taken back are made again from the board the moves that stand reach, the next one
    // first, and taken back once more.
    const std::vector<TMove> redone(record.Undone.rbegin(), record.Undone.rend());
    if (!game.Replay(record.History) || !game.Replay(redone))
        return false;
    for (const TMove& move : record.Undone) {
        game.Slide(move.To);
        game.history_.pop_back();
    }
    // Every move that stands was made once at least, each tile of it counted.
    const int made = std::accumulate(record.History.begin(), record.History.end(), 0,
                                     [n](int sum, const TMove& move) { return sum + TilesOf(move, n); });
    if (!game.running_ || record.Moves < made)
        return false;
    game.undone_ = record.Undone;
    game.moves_ = record.Moves;
    game.seconds_ = record.Seconds;
    game.undos_ = record.Undos;
    game.hints_ = record.Hints;
    game.paused_ = true;
    *this = std::move(game);
    return true;
}

bool TGame::Replay(const std::vector<TMove>& moves)
{
    for (const TMove& move : moves) {
        if (move.To != gapPos_)
            return false;
        const TMoveResult result = Slide(move.From);
        if (!result.Moved || result.Solved)
            return false;
        history_.push_back(move);
    }
    return true;
}
