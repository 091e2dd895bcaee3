#include "tests/solver/SolverTestSupport.h"

#include <vector>

namespace {

std::vector<TPosition> Neighbours(const TPosition& position)
{
    std::vector<TPosition> next;
    const int n = position.N, gap = GapCell(position);
    for (int cell : {gap - 1, gap + 1, gap - n, gap + n}) {
        TPosition moved = position;
        if (cell >= 0 && cell < n * n && ApplyMove(moved, position.Cells[std::size_t(cell)]))
            next.push_back(moved);
    }
    return next;
}

// Expands one layer of a breadth-first search; true when it meets the other side's boards.
bool ExpandLayer(std::vector<TPosition>& layer, std::unordered_map<std::uint64_t, int>& seen,
                 const std::unordered_map<std::uint64_t, int>& other, int depth, int& meeting)
{
    std::vector<TPosition> next;
    meeting = -1;
    for (const TPosition& position : layer)
        for (const TPosition& moved : Neighbours(position)) {
            const std::uint64_t key = PackBoard(moved);
            if (seen.count(key))
                continue;
            seen[key] = depth;
            if (auto it = other.find(key); it != other.end() && (meeting < 0 || depth + it->second < meeting))
                meeting = depth + it->second;
            next.push_back(moved);
        }
    layer.swap(next);
    return meeting >= 0;
}

}  // namespace

std::uint64_t PackBoard(const TPosition& position)
{
    std::uint64_t key = 0;
    for (std::uint8_t cell : position.Cells)
        key = key << 4 | cell;
    return key;
}

std::unordered_map<std::uint64_t, int> DistancesFromGoal(int n)
{
    std::unordered_map<std::uint64_t, int> distance{{PackBoard(GoalPosition(n)), 0}}, none;
    std::vector<TPosition> layer{GoalPosition(n)};
    int meeting = 0;
    for (int depth = 1; !layer.empty(); ++depth)
        ExpandLayer(layer, distance, none, depth, meeting);
    return distance;
}

int BidirectionalDistance(const TPosition& position, int maxDepth)
{
    if (IsGoal(position))
        return 0;
    std::unordered_map<std::uint64_t, int> fromStart{{PackBoard(position), 0}};
    std::unordered_map<std::uint64_t, int> fromGoal{{PackBoard(GoalPosition(position.N)), 0}};
    std::vector<TPosition> startLayer{position}, goalLayer{GoalPosition(position.N)};
    int meeting = 0;
    for (int depth = 1; 2 * depth - 1 <= maxDepth; ++depth) {
        if (ExpandLayer(startLayer, fromStart, fromGoal, depth, meeting))
            return meeting;
        if (2 * depth <= maxDepth && ExpandLayer(goalLayer, fromGoal, fromStart, depth, meeting))
            return meeting;
    }
    return -1;
}

TPosition UnpackBoard(int n, std::uint64_t key)
{
    TPosition board{n, std::vector<std::uint8_t>(std::size_t(n * n))};
    for (int c = n * n - 1; c >= 0; --c, key >>= 4)
        board.Cells[std::size_t(c)] = std::uint8_t(key & 15);
    return board;
}

TPatternDatabase& SmallTables4()
{
    static TPatternDatabase tables(4, {{1, 2, 3}, {4, 7, 8}, {5, 6, 9}, {10, 13, 14}, {11, 12, 15}});
    return tables;
}

THintOptions SmallHints()
{
    static TTableStore store(SmallTables4(), "");
    store.Prepare();
    THintOptions options;
    options.Tables = &store;
    options.Fast.BeamWidth = 300;
    return options;
}

TPosition RandomWalk(int n, int steps, std::mt19937& random)
{
    TPosition position = GoalPosition(n);
    int before = -1;
    while (steps > 0) {
        const int gap = GapCell(position);
        const int cells[] = {gap - 1, gap + 1, gap - n, gap + n};
        const int cell = cells[random() % 4];
        if (cell < 0 || cell >= n * n || cell == before || !ApplyMove(position, position.Cells[std::size_t(cell)]))
            continue;
        before = gap;
        --steps;
    }
    return position;
}

bool Solves(const TPosition& position, const TMoves& moves)
{
    TPosition board = position;
    return ApplyMoves(board, moves) && IsGoal(board);
}
