#pragma once
// The game itself, without a window: a board of one size, its gap, the clock, whether a game
// runs and whether it is paused, and the moves made. A window draws this state and forwards
// the player's commands to it; everything here is plain data changed by plain calls.

#include "framework/Random.h"
#include "game/Board.h"
#include "solver/Position.h"

#include <cstdint>
#include <vector>

// One slide: the tile at From and every tile between it and the gap at To, in one row or column,
// each one cell toward To. Beside the gap, that is the one tile.
struct TMove {
    int From = 0;  // the tile clicked; the gap is there afterwards
    int To = 0;    // the gap the line slid into
    friend bool operator==(const TMove&, const TMove&) = default;
};

struct TMoveResult {
    bool Moved = false;   // false: no game is being played, or the tile is not in the gap's line
    TMove Move;
    bool Solved = false;  // the move brought every piece home, which ended the game
};

// The board as the solver reads it.
TPosition PositionOf(const TGrid& grid, int n);

// A game in progress as it can be taken up again later: the board's size, the board it began
// with, the moves that stand and those taken back (as History and the take-backs give them), the
// tiles slid and the seconds played.
struct TGameRecord {
    int BoardSize = 0;
    TGrid Start;
    std::vector<TMove> History;
    std::vector<TMove> Undone;
    int Moves = 0;
    int Seconds = 0;
    int Undos = 0;  // moves taken back, and hints asked for, so far
    int Hints = 0;
    std::int64_t StartedUtc = 0;  // when it began on the wall clock (ms since the epoch; 0: not known), which the session keeps
    friend bool operator==(const TGameRecord&, const TGameRecord&) = default;
};

class TGame {
public:
    explicit TGame(int boardSize = 5);

    int BoardSize() const { return n_; }
    // Home number of the piece shown in each cell, 0 at the gap.
    const TGrid& Grid() const { return grid_; }
    int GapPos() const { return gapPos_; }
    bool Running() const { return running_; }
    // Survives a new board: only Start clears it (and only a running game acts on it).
    bool Paused() const { return paused_; }
    // The player gave the game up to the solver: the clock stands, and the moves that bring the
    // picture home end the game without a result. Cleared by Start and by a new board.
    bool GivenUp() const { return givenUp_; }
    // The player plays: moves, take-backs and the clock count.
    bool Playing() const { return running_ && !paused_ && !givenUp_; }
    int Seconds() const { return seconds_; }
    // Tiles slid in this game, by the player or the solver, taken back and made again included;
    // each tile of a line counts.
    int Moves() const { return moves_; }
    // Moves taken back, and hints asked for, in this game.
    int Undos() const { return undos_; }
    int Hints() const { return hints_; }
    // The moves of the game in progress (or of the last one) that stand, in order, and those
    // taken back that can be made again, the next one last; a line's slide is one move.
    const std::vector<TMove>& History() const { return history_; }
    // The board as the solver reads it, and where a tile stands on it (0 for none).
    TPosition Position() const;
    int PositionOfTile(int tile) const;
    // The board the game in progress (or the last one) began with.
    const TGrid& StartGrid() const { return start_; }
    bool CanUndo() const { return Playing() && !history_.empty(); }
    bool CanRedo() const { return Playing() && !undone_.empty(); }

    // A whole board of n x n (1, 4, 5, 6 or 7): every piece home, the gap's cell in the
    // bottom-right corner, no game, the clock at 0.
    void NewBoard(int n);
    // Takes the corner piece out, shuffles the others from the whole picture with the
    // generator, clears a pause and starts the clock at 0. A 1 x 1 board is only shown: Start
    // does nothing there and answers false.
    bool Start(TRandom& random);
    // Slides the tile at position p and those between it and the gap toward the gap, when a game
    // runs, is not paused and p is in the gap's row or column; the move that brings every piece
    // home ends the game. A new move forgets the moves taken back.
    TMoveResult Move(int p);
    // Takes the last move back, or makes the last one taken back again; the clock runs on.
    TMoveResult Undo();
    TMoveResult Redo();
    // Gives the running game up: the clock stops, and only the solution's moves follow.
    bool GiveUp();
    // Pauses a running game, or lets it go on; nothing without a game.
    void TogglePause();
    // One second of play; ignored unless the player plays.
    void Tick();
    // The player asked for a hint; counted while the player plays.
    void CountHint();

    // The game as it stands, to be taken up again with Resume.
    TGameRecord Record() const;
    // Takes a recorded game up again, paused, with its moves to take back and to make again. False,
    // and nothing changed, when the record is no game that could have been played: a size that is
    // not played, a start that is no board or cannot be brought home, a move that is no slide of
    // its board or that would have ended the game, fewer tiles slid than its moves hold.
    bool Resume(const TGameRecord& record);

private:
    TMoveResult Slide(int p);
    // Makes the moves again in order, each one that slides exactly so; false at the first that
    // does not, or that ends the game.
    bool Replay(const std::vector<TMove>& moves);

    int n_ = 5;
    TGrid start_;
    TGrid grid_;
    int gapPos_ = 25;
    bool running_ = false;
    bool paused_ = false;
    bool givenUp_ = false;
    int seconds_ = 0;
    int moves_ = 0;
    int undos_ = 0;
    int hints_ = 0;
    std::vector<TMove> history_;
    std::vector<TMove> undone_;
};
