#include "tests/solver/SolverTestSupport.h"

#include <algorithm>
#include <array>
#include <deque>
#include <limits>
#include <utility>
#include <vector>

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

namespace {

// Distance from `start` of every board within `maxDepth` moves of it, breadth first.
std::unordered_map<std::uint64_t, int> Distances(const TPosition& start, int maxDepth)
{
    std::unordered_map<std::uint64_t, int> distance{{PackBoard(start), 0}};
    std::vector<TPosition> layer{start};
    for (int depth = 1; depth <= maxDepth && !layer.empty(); ++depth) {
        std::vector<TPosition> next;
        for (const TPosition& position : layer)
            for (const TPosition& moved : Neighbours(position))
                if (distance.try_emplace(PackBoard(moved), depth).second)
                    next.push_back(moved);
        layer.swap(next);
    }
    return distance;
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
    return Distances(GoalPosition(n), std::numeric_limits<int>::max());
}

// A shortest way meets the boards within half of it from either end.
int BidirectionalDistance(const TPosition& position, int maxDepth)
{
    const auto fromStart = Distances(position, (maxDepth + 1) / 2);
    const auto fromGoal = Distances(GoalPosition(position.N), maxDepth / 2);
    int shortest = -1;
    for (const auto& [key, depth] : fromStart)
        if (auto it = fromGoal.find(key); it != fromGoal.end() && (shortest < 0 || depth + it->second < shortest))
            shortest = depth + it->second;
    return shortest;
}

TPosition UnpackBoard(int n, std::uint64_t key)
{
    TPosition board{n, std::vector<std::uint8_t>(std::size_t(n * n))};
    for (int c = n * n - 1; c >= 0; --c, key >>= 4)
        board.Cells[std::size_t(c)] = std::uint8_t(key & 15);
    return board;
}

std::vector<std::uint8_t> PlainTable(int n, const TTileGroup& group)
{
    const int cells = n * n, k = int(group.size());
    // A state is the group's cells, four bits each, and the gap's cell above them.
    std::unordered_map<std::uint64_t, int> cost;
    std::deque<std::uint64_t> queue;
    const auto visit = [&](std::uint64_t state, int value, bool front) {
        auto [it, added] = cost.try_emplace(state, value);
        if (!added && it->second <= value)
            return;
        it->second = value;
        front ? queue.push_front(state) : queue.push_back(state);
    };
    std::uint64_t goal = std::uint64_t(cells - 1) << (4 * k);
    for (int i = 0; i < k; ++i)
        goal |= std::uint64_t(group[std::size_t(i)] - 1) << (4 * i);
    visit(goal, 0, true);
    std::vector<std::uint8_t> table(TableEntries(cells, group.size()), 0xFF);
    while (!queue.empty()) {
        const std::uint64_t state = queue.front();
        queue.pop_front();
        const int value = cost[state], gap = int(state >> (4 * k));
        std::array<std::uint8_t, kMaxGroupTiles> at{};
        for (int i = 0; i < k; ++i)
            at[std::size_t(i)] = std::uint8_t(state >> (4 * i) & 15);
        std::uint8_t& entry = table[RankCells(at.data(), k, cells)];
        entry = std::uint8_t(std::min(int(entry), value));
        for (int to : {gap - 1, gap + 1, gap - n, gap + n}) {
            if (to < 0 || to >= cells || (to / n != gap / n && to % n != gap % n))
                continue;
            std::uint64_t next = (state & ((std::uint64_t(1) << (4 * k)) - 1)) | std::uint64_t(to) << (4 * k);
            int step = 0;
            for (int i = 0; i < k; ++i)
                if (at[std::size_t(i)] == to) {  // the group's tile slides into the gap
                    next = (next & ~(std::uint64_t(15) << (4 * i))) | std::uint64_t(gap) << (4 * i);
                    step = 1;
                }
            visit(next, value + step, step == 0);
        }
    }
    return table;
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
    TPosition position = GoalPosition(n), before = position;
    for (; steps > 0; --steps) {
        auto next = Neighbours(position);
        std::erase(next, before);
        before = std::exchange(position, next[random() % next.size()]);
    }
    return position;
}

bool Solves(const TPosition& position, const TMoves& moves)
{
    TPosition board = position;
    return ApplyMoves(board, moves) && IsGoal(board);
}
