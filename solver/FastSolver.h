#pragma once
// Short (not always shortest) solutions for boards of any size, found at once and without any
// tables to build: a beam search. It goes forward one move at a time, keeping at each depth only
// the boards that look closest to home, ranked by the Manhattan distance plus the linear
// conflicts (two tiles in their home row or column in each other's way cost two moves more);
// boards met before are not kept again. The wider the beam, the shorter the solutions and the
// longer the search. Should the beam get stuck (the boards in it all have tiles in each other's
// way that the ranking cannot see past), the board nearest home it met is finished by placing
// the rows and columns a few tiles at a time.

#include "solver/Cancel.h"
#include "solver/OptimalSolver.h"
#include "solver/PatternDatabase.h"
#include "solver/Position.h"

#include <optional>

// No 4 x 4 position needs more moves than this.
constexpr int kLongestFourByFour = 80;

struct TFastSolverOptions {
    // Boards kept at each depth; 0 chooses by the board's size (see DefaultBeamWidth).
    int BeamWidth = 0;
    // Built 4 x 4 tables, which rank 4 x 4 boards better than the distances do; null for none.
    const TPatternDatabase* Tables = nullptr;
};

// The widths that keep a solution within a fraction of a second: wider on smaller boards.
int DefaultBeamWidth(int n);

class TFastSolver {
public:
    explicit TFastSolver(TFastSolverOptions options = {}) : options_(options) {}

    // A solution of a solvable position of any size from 1 to 7; nullopt when stopped. On 4 x 4
    // a solution longer than any position needs is sought again with a wider beam. Nodes counts
    // the boards ranked, LowerBound is the Manhattan distance. Throws std::invalid_argument for a
    // malformed or unsolvable position, std::bad_alloc when out of memory.
    std::optional<TSolution> Solve(const TPosition& position, const TCancel& cancel = {});

private:
    TFastSolverOptions options_;
};
