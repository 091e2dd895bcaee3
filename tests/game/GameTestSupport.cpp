#include "tests/game/GameTestSupport.h"

#include "framework/PictureFile.h"
#include "solver/FastSolver.h"

#include <algorithm>

std::vector<int> SolutionClicks(const TGame& game)
{
    TPosition board = game.Position();
    const std::optional<TSolution> solution = TFastSolver().Solve(board);
    std::vector<int> clicks;
    for (int tile : solution->Tiles) {
        clicks.push_back(int(std::ranges::find(board.Cells, tile) - board.Cells.begin()) + 1);
        ApplyMove(board, tile);
    }
    return clicks;
}

ScopedPictureReadsHeld::ScopedPictureReadsHeld()
{
    SetPictureReadHook([held = letGo.get_future().share()](const QString&) { held.wait(); });
}

ScopedPictureReadsHeld::~ScopedPictureReadsHeld()
{
    SetPictureReadHook({});
}
