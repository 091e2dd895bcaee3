#include "tests/game/GameTestSupport.h"

#include "framework/PictureFile.h"
#include "solver/FastSolver.h"

#include <algorithm>

std::vector<int> SolutionClicks(const TGame& game)
{
    return ClicksTo(game, GoalPosition(game.BoardSize()));
}

std::vector<int> ClicksTo(const TGame& game, const TPosition& target)
{
    // Each tile named by the cell it holds on the target: the way home of that board is the way
    // to the target.
    TPosition board = game.Position(), named = board;
    std::vector<int> name(board.Cells.size());
    for (std::size_t cell = 0; cell < target.Cells.size(); ++cell)
        name[target.Cells[cell]] = target.Cells[cell] ? int(cell) + 1 : 0;
    for (std::uint8_t& tile : named.Cells)
        tile = std::uint8_t(name[tile]);
    const std::optional<TSolution> solution = TFastSolver().Solve(named);
    std::vector<int> clicks;
    for (int step : solution->Tiles) {
        const int tile = target.Cells[std::size_t(step - 1)];
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
