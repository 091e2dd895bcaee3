#include "solver/PlacementSteps.h"

#include <algorithm>

TSlotSteps MakeSlotSteps(int n, int tiles)
{
    std::array<std::int32_t, kMaxGroupTiles> weight{};  // of each tile's digit
    for (int i = 0; i < tiles; ++i)
        weight[std::size_t(i)] = std::int32_t(TableEntries(n * n - i - 1, std::size_t(tiles - i - 1)));
    const std::array<std::int32_t, kWays> cells = {-n, -1, 1, n, 0};
    TSlotSteps steps{};
    for (int i = 0; i < tiles; ++i)
        for (int way = 0; way < kStill; ++way) {
            TSlotStep& step = steps[std::size_t(i)][std::size_t(way)];
            const std::int32_t sign = cells[std::size_t(way)] > 0 ? 1 : -1;
            step.along = cells[std::size_t(way)] * weight[std::size_t(i)];
            for (int j = 0; j < tiles; ++j)
                if (j != i)
                    step.passed[std::size_t(j)] = sign * (j < i ? -weight[std::size_t(i)] : weight[std::size_t(j)]);
        }
    return steps;
}

TWay WayOf(int n, int cells)
{
    return cells == -n ? kUp : cells == -1 ? kLeft : cells == 1 ? kRight : kDown;
}

std::array<std::int8_t, kMaxPassed> CellsBetween(int a, int b, int none)
{
    std::array<std::int8_t, kMaxPassed> cells;
    cells.fill(std::int8_t(none));
    for (int cell = std::min(a, b) + 1, k = 0; cell < std::max(a, b) && k < kMaxPassed; ++cell)
        cells[std::size_t(k++)] = std::int8_t(cell);
    return cells;
}
