#pragma once
// Board positions as the solver sees them: N x N cells row by row, each holding the number of the
// tile shown there (0 for the gap). Tile t belongs in cell t - 1 and the gap in the last cell.
// Moves are named by the tile that slides into the gap.

#include <cstdint>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

constexpr int kSolverMinSize = 1;
constexpr int kSolverMaxSize = 7;

struct TPosition {
    int N = 0;
    std::vector<std::uint8_t> Cells;  // N * N entries, row by row

    friend bool operator==(const TPosition&, const TPosition&) = default;
};

// Tiles moved, in order.
using TMoves = std::vector<int>;

// Every tile home, the gap in the bottom-right corner.
TPosition GoalPosition(int n);

// What is wrong with the position (size out of 1..7, wrong cell count, a value out of range, a tile
// missing or repeated); nullopt when it is a well-formed board.
std::optional<std::string> PositionError(const TPosition& position);

// Whether moves can bring a well-formed position home: the permutation of the cells (the gap counted
// as the last number) must have the parity of the gap's distance from its home corner.
bool IsSolvable(const TPosition& position);

bool IsGoal(const TPosition& position);

// Cell index (0-based) of the gap.
int GapCell(const TPosition& position);

// Slides the tile into the gap when it lies beside it (never across a row's end); false, with the
// position unchanged, when it does not.
bool ApplyMove(TPosition& position, int tile);

// Applies the moves in order; false at the first one that is not possible (the moves before it
// stay applied).
bool ApplyMoves(TPosition& position, std::span<const int> tiles);

// Sum over the tiles of their row and column distances from home: a lower bound of the moves.
int ManhattanDistance(const TPosition& position);

// A position drawn uniformly from the solvable ones: a random permutation, with two tiles swapped
// when its parity is the wrong one.
TPosition RandomSolvablePosition(int n, std::mt19937& random);

// Reads "N c1 c2 ... cN*N" (whitespace separated, 0 for the gap) into a well-formed position, or
// says what is wrong with the text or the board. Solvability is not checked.
struct TParsedPosition {
    std::optional<TPosition> Position;
    std::string Error;  // set when Position is empty
};
TParsedPosition ParsePosition(std::string_view text);
