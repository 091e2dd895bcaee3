#pragma once
// Short (not always shortest) solutions for boards of any size, found quickly. The board is
// brought home from the top-left: the top row and the left column of what is left are put in
// place a few tiles at a time, each few by a shortest search that leaves the tiles already placed
// alone (several orders are tried, the shortest kept), until a 4 x 4 block remains
// in the bottom-right corner; that block is solved optimally (or, when that search grows too
// large, reduced once more to 3 x 3, which always is quick).

#include "solver/OptimalSolver.h"
#include "solver/PatternDatabase.h"
#include "solver/Position.h"

#include <cstdint>
#include <optional>
#include <stop_token>

struct TFastSolverOptions {
    // Tables for the last 4 x 4 block; null for the shared ones (built at first use).
    TPatternDatabase* FinishTables = nullptr;
    // Whether the last 4 x 4 block is searched for a shortest solution at all.
    bool FinishOptimally = true;
    // Nodes the last block's search may expand before it gives way to the reduction to 3 x 3.
    std::uint64_t FinishNodeLimit = 1'500'000;
    // Tiles a line's placing searches take at once (2 or more; the last two of a line always go
    // together, since the line's last cell can only be filled together with the one before it);
    // 0 chooses by the size of the unsolved block: 5 up to 5 x 5, 4 on 6 x 6, 3 on 7 x 7.
    int TilesPerSearch = 0;
    // Expansions a placing search of three or more tiles may make before its tiles are split into
    // smaller searches.
    std::uint64_t PlacingNodeLimit = 200'000;
    // Ways each row and column are tried (1 to 4: row or column first, larger searches first or
    // last); the shortest is kept.
    int RoundVariants = 4;
    // Nodes of one solve (the placing searches' and those of the tables they are bounded by) past
    // which it takes the cheapest way to the end: placing searches of two tiles, one way for each
    // row and column.
    std::uint64_t NodeBudget = 6'000'000;
};

class TFastSolver {
public:
    explicit TFastSolver(TFastSolverOptions options = {});

    // A solution of a solvable position of any size from 1 to 7; nullopt only when stopped. Nodes
    // counts the nodes of every search, LowerBound is the Manhattan distance. Throws
    // std::invalid_argument for a malformed or unsolvable position.
    std::optional<TSolution> Solve(const TPosition& position, std::stop_token stop = {});

private:
    TFastSolverOptions options_;
};
