#pragma once

#include "game/Game.h"
#include "tests/support/CoreSupport.h"

#include <future>
#include <vector>

// The positions to click in turn (each beside the gap at its turn) to bring the game's board
// home, found by the solver without its 4 x 4 tables, so that tests stay quick.
std::vector<int> SolutionClicks(const TGame& game);

// While alive, every picture file read waits, once its length is checked, until LetGo. Every
// reading must have ended before it goes.
struct ScopedPictureReadsHeld {
    ScopedPictureReadsHeld();
    ~ScopedPictureReadsHeld();
    void LetGo() { letGo.set_value(); }
    std::promise<void> letGo;
};
