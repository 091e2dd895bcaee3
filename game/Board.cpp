#include "game/Board.h"

#include "framework/Rounding.h"

int ColumnOf(int p, int n)
{
    return p % n != 0 ? p % n : n;
}

int RowOf(int p, int n)
{
    return p % n != 0 ? p / n + 1 : p / n;
}

void TGrid::Reset(int n)
{
    cells_ = {};
    for (int p = 1; p <= n * n; ++p)
        AtPosition(p, n) = std::uint8_t(p);
    At(n, n) = 0;
}

int StepTowardGap(int p, int gapPos, int n)
{
    const int cells = n * n;
    if (p < 1 || p > cells || gapPos < 1 || gapPos > cells || p == gapPos)
        return 0;
    if (RowOf(p, n) == RowOf(gapPos, n))
        return gapPos > p ? 1 : -1;
    if (ColumnOf(p, n) == ColumnOf(gapPos, n))
        return gapPos > p ? n : -n;
    return 0;
}

int TileToward(TDirection direction, int gapPos, int n)
{
    const int column = ColumnOf(gapPos, n), row = RowOf(gapPos, n);
    switch (direction) {
    case TDirection::Left: return column < n ? gapPos + 1 : 0;
    case TDirection::Right: return column > 1 ? gapPos - 1 : 0;
    case TDirection::Up: return row < n ? gapPos + n : 0;
    case TDirection::Down: return row > 1 ? gapPos - n : 0;
    }
    return 0;
}

bool IsSolved(const TGrid& grid, int n)
{
    for (int p = 1; p < n * n; ++p)
        if (grid.AtPosition(p, n) != p)
            return false;
    return true;
}

int ShufflePasses(int n)
{
    return RoundHalfEven(n * n * 0.8);
}

std::vector<std::pair<int, int>> ShuffleSwaps(int n, TRandom& random)
{
    std::vector<std::pair<int, int>> swaps;
    const int tiles = n * n - 1;
    if (tiles < 2)
        return swaps;
    for (int pass = ShufflePasses(n); pass > 0; --pass) {
        const int a = random.Random(tiles);
        const int b = random.Random(tiles);
        if (a != b)
            swaps.emplace_back(a + 1, b + 1);
    }
    if (swaps.size() % 2 != 0) {
        // An odd permutation cannot be solved: one more transposition makes it even.
        const int a = random.Random(tiles);
        int b = random.Random(tiles - 1);
        if (b >= a)
            ++b;
        swaps.emplace_back(a + 1, b + 1);
    }
    return swaps;
}
