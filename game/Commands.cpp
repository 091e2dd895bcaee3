#include "game/Commands.h"

TCommandStates CommandStates(const TGame& game)
{
    TCommandStates states;
    if (!game.Running()) {
        // Idle, whether the last game ended, was interrupted by a new board, or never began.
        states.StartButton = game.BoardSize() != 1;
        states.StartItem = true;
        return states;
    }
    states.Pause = true;
    states.PauseSaysContinue = game.Paused();
    states.TimeHint = !game.Paused();
    states.TimeEnabled = !game.Paused();
    states.ClockRuns = !game.Paused();
    return states;
}
