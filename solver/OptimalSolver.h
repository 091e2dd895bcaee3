#pragma once
// Shortest solutions for boards of up to 4 x 4: iterative-deepening A* guided by additive pattern
// tables (and their mirror lookup).

#include "solver/PatternDatabase.h"
#include "solver/Position.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <stop_token>

struct TSolution {
    TMoves Tiles;             // tiles moved, in order
    std::uint64_t Nodes = 0;  // search nodes expanded
    int LowerBound = 0;       // the search's bound on the length at the start
};

class TOptimalSolver {
public:
    // The tables are built at the first Solve when they are not yet; they must outlive the solver.
    explicit TOptimalSolver(TPatternDatabase& tables) : tables_(tables) {}

    // A shortest solution of a solvable position of the tables' size; nullopt when stopped or when
    // the search would expand more than nodeLimit nodes. Throws std::invalid_argument for a
    // malformed or unsolvable position, or one of another size.
    std::optional<TSolution> Solve(const TPosition& position, std::stop_token stop = {},
                                   std::uint64_t nodeLimit = std::numeric_limits<std::uint64_t>::max());

private:
    TPatternDatabase& tables_;
};

// Throws std::invalid_argument with the reason when the position is malformed or unsolvable.
void RequireSolvable(const TPosition& position);
