#include "game/Commands.h"

TCommandStates CommandStates(const TGame& game, bool peeking)
{
    TCommandStates states;
    states.NewGame = game.BoardSize() != 1;
    if (!game.Running()) {
        // Idle, whether the last game ended, was interrupted by a new board, or never began.
        states.StartButton = game.BoardSize() != 1;
        states.StartItem = true;
        return states;
    }
    // Given up, the game only waits for the solution's moves: the clock stands, nothing acts.
    states.Pause = !game.GivenUp();
    states.PauseSaysContinue = game.Paused();
    states.TimeEnabled = !game.Paused();
    states.ClockRuns = states.TimeHint = game.Playing();
    // The Game menu acts on a game being played, and not on the board hidden by a peek.
    const bool onTheBoard = game.Playing() && !peeking;
    states.Hint = states.Solve = states.Peek = onTheBoard;
    states.Undo = onTheBoard && game.CanUndo();
    states.Redo = onTheBoard && game.CanRedo();
    return states;
}

bool GameAtStake(const TGame& game)
{
    return game.Running() && !game.GivenUp() && game.Moves() > 0;
}
