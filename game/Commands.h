#pragma once
// Which of the main window's commands can act, and what the clock shows of itself, for each
// state of the game: idle, playing, paused, given up to the solver, and the 1 x 1 board that is
// only shown; and for the window's peek at the whole picture.

#include "game/Game.h"

struct TCommandStates {
    bool StartButton = false;  // the tool button; off on a 1 x 1 board
    bool StartItem = false;    // the menu item stays on there, and Start then does nothing
    bool NewGame = false;      // a fresh shuffle at any time, but for the 1 x 1 board
    bool Pause = false;        // the tool button and the menu item
    bool PauseSaysContinue = false;  // the Pause button's hint offers to go on
    bool TimeHint = false;     // "А время идет ..." while the clock runs
    bool TimeEnabled = true;   // the clock greys out during a pause
    bool ClockRuns = false;    // the one-second timer
    bool Hint = false;         // the Game menu
    bool Solve = false;
    bool Undo = false;
    bool Redo = false;
    bool Peek = false;
    friend bool operator==(const TCommandStates&, const TCommandStates&) = default;
};

TCommandStates CommandStates(const TGame& game, bool peeking = false);

// Whether a command that ends the game would throw the player's work away, so that it asks
// first: a game runs that the player has made a move in, and has not given up to the solver.
bool GameAtStake(const TGame& game);
