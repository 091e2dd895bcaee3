#pragma once
// How a step of one of a group's tiles changes the number of the group's placement (RankCells):
// by its own digit's weight times the cells it goes, and for each cell it passes over in cell
// numbers (none along a row, N - 1 along a column), by the order of the group's tile standing
// there: its own weight less (an earlier tile's cell is not counted in its digit), or the later
// tile's weight more (that tile's digit counts one free cell more or less); nothing for a cell
// without one. From tables of these every step's change is the same few lookups, so that no
// branch depends on where the tiles stand: the search and the table build both step this way.

#include "solver/PatternDatabase.h"

#include <array>
#include <cstdint>

// The ways a tile steps, by the cells it goes: up (-N), left, right, down (+N), and a step that
// moves nothing.
enum TWay : std::int8_t { kUp, kLeft, kRight, kDown, kStill, kWays };

constexpr int kMaxPassed = kPatternMaxSize - 1;   // cells a step along a column passes over
constexpr std::int8_t kNoTile = kMaxGroupTiles;  // the order of a cell without one of the group's tiles

struct TSlotStep {
    std::int32_t along = 0;
    std::array<std::int32_t, kMaxGroupTiles + 1> passed{};  // by the order of the tile passed; 0 for kNoTile
};

// By the tile's order in the group and the way, for a group of `tiles` tiles on an n x n board.
using TSlotSteps = std::array<std::array<TSlotStep, kWays>, kMaxGroupTiles>;
TSlotSteps MakeSlotSteps(int n, int tiles);

// The way of a step of `cells` (-n, -1, 1 or n) cell numbers on an n x n board.
TWay WayOf(int n, int cells);

// The cells between a and b in cell numbers; the places left over hold `none`, a cell that never
// has a tile on it.
std::array<std::int8_t, kMaxPassed> CellsBetween(int a, int b, int none);

// The placement's number `index` after the step: `orderAt` gives the order of the tile on each
// cell (kNoTile where there is none), `passed` the cells the step passes over.
inline std::uint32_t Stepped(const TSlotStep& step, std::uint32_t index, const std::int8_t* orderAt,
                             const std::array<std::int8_t, kMaxPassed>& passed)
{
    std::int32_t moved = std::int32_t(index) + step.along;
    for (const std::int8_t cell : passed)
        moved += step.passed[std::size_t(orderAt[cell])];
    return std::uint32_t(moved);
}
