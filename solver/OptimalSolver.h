#pragma once
// Shortest solutions for boards of up to 4 x 4: iterative-deepening A* guided by additive pattern
// tables (and their mirror lookup).

#include "solver/Cancel.h"
#include "solver/PatternDatabase.h"
#include "solver/Position.h"

#include <cstdint>
#include <limits>
#include <optional>

struct TSolution {
    TMoves Tiles;             // tiles moved, in order
    std::uint64_t Nodes = 0;  // search nodes expanded
    int LowerBound = 0;       // the search's bound on the length at the start
};

class TOptimalSolver {
public:
    // The tables must outlive the solver.
    explicit TOptimalSolver(TPatternDatabase& tables) : tables_(tables) {}

    // A shortest solution of a solvable position of the tables' size; nullopt when stopped, when
    // the search would expand more than nodeLimit nodes, or when the tables, not yet built, could
    // not be built (stopped or out of memory). Throws std::invalid_argument for a malformed or
    // unsolvable position, or one of another size.
    std::optional<TSolution> Solve(const TPosition& position, const TCancel& cancel = {},
                                   std::uint64_t nodeLimit = std::numeric_limits<std::uint64_t>::max());

private:
    TPatternDatabase& tables_;
};

// Throws std::invalid_argument with the reason when the position is malformed or unsolvable.
void RequireSolvable(const TPosition& position);
