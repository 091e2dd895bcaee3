#pragma once
// Where to click to bring a game home, for the game's tests.

#include "game/Game.h"
#include "tests/support/CoreSupport.h"

#include <vector>

// The positions to click in turn (each beside the gap at its turn), found by the solver without
// its 4 x 4 tables, so that tests stay quick.
std::vector<int> SolutionClicks(const TGame& game);
