#pragma once
// The board's pure rules: positions, which click or arrow key moves tiles, the shuffle and
// completion. Positions run 1..N*N row by row from the top-left; the grid holds the home number
// of the piece shown in each cell, 0 at the gap.

#include "framework/Random.h"

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

constexpr int kMaxBoardSize = 7;

int ColumnOf(int p, int n);
int RowOf(int p, int n);
constexpr int PositionOf(int column, int row, int n) { return (row - 1) * n + column; }

// Home numbers by [column][row], both 1-based; only [1..N][1..N] is used.
class TGrid {
public:
    std::uint8_t& At(int column, int row) { return cells_[size_t(column)][size_t(row)]; }
    std::uint8_t At(int column, int row) const { return cells_[size_t(column)][size_t(row)]; }
    std::uint8_t& AtPosition(int p, int n) { return At(ColumnOf(p, n), RowOf(p, n)); }
    std::uint8_t AtPosition(int p, int n) const { return At(ColumnOf(p, n), RowOf(p, n)); }
    // Every piece home, the gap at [N, N].
    void Reset(int n);
    friend bool operator==(const TGrid&, const TGrid&) = default;

private:
    std::array<std::array<std::uint8_t, kMaxBoardSize + 1>, kMaxBoardSize + 1> cells_{};
};

// The step from p toward the gap along p's row or column (-1, +1, -N or +N), or 0 when p is the
// gap or lies in neither: a click on p slides every tile from p up to the gap one cell that way.
// Rows never wrap: a tile at a row's end is not in line with a gap in the neighbouring row.
int StepTowardGap(int p, int gapPos, int n);

// Where an arrow key sends a tile: the one on the other side of the gap slides towards it (Left
// moves the tile right of the gap to the left).
enum class TDirection { Left, Right, Up, Down };
// The position of the tile that slides into the gap in that direction, 0 when none lies there.
int TileToward(TDirection direction, int gapPos, int n);

// Every position 1..N*N-1 holds its own number (the gap is then at N*N).
bool IsSolved(const TGrid& grid, int n);

// Random passes of a shuffle: round(0.8 * N * N).
int ShufflePasses(int n);

// The swaps of one shuffle of positions 1..N*N-1 (the corner stays put), drawn from the
// generator: a swap for each pass whose two draws differ, and one more swap of two distinct
// tiles when their number is odd, so that moves can always bring the picture home.
std::vector<std::pair<int, int>> ShuffleSwaps(int n, TRandom& random);
