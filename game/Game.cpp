#include "game/Game.h"

#include <utility>

TGame::TGame(int boardSize)
{
    NewBoard(boardSize);
}

void TGame::NewBoard(int n)
{
    n_ = n;
    grid_.Reset(n);
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

TPosition TGame::Position() const
{
    TPosition position{n_, {}};
    for (int p = 1; p <= n_ * n_; ++p)
        position.Cells.push_back(grid_.AtPosition(p, n_));
    return position;
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
