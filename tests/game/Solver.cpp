#include "tests/game/Solver.h"

#include <cstdint>
#include <cstdlib>
#include <queue>
#include <unordered_map>

namespace {

using State = std::vector<int>;

int Distance(const State& cells, int n)
{
    int sum = 0;
    for (int p = 0; p < int(cells.size()); ++p)
        if (cells[size_t(p)] != 0) {
            const int home = cells[size_t(p)] - 1;
            sum += std::abs(home % n - p % n) + std::abs(home / n - p / n);
        }
    return sum;
}

std::uint64_t Key(const State& cells)
{
    std::uint64_t key = 1469598103934665603ull;
    for (int c : cells)
        key = (key ^ std::uint64_t(c)) * 1099511628211ull;
    return key;
}

} // namespace

std::vector<int> SolvePuzzle(const std::vector<int>& start, int n)
{
    // Weighted best-first search: far from optimal, but quick for boards a test shuffles.
    struct Entry {
        int priority;
        int cost;
        State cells;
    };
    auto worse = [](const Entry& a, const Entry& b) { return a.priority > b.priority; };
    std::priority_queue<Entry, std::vector<Entry>, decltype(worse)> open(worse);
    std::unordered_map<std::uint64_t, std::pair<std::uint64_t, int>> cameFrom;  // key -> (parent, clicked)
    std::unordered_map<std::uint64_t, int> bestCost;

    const std::uint64_t startKey = Key(start);
    open.push({3 * Distance(start, n), 0, start});
    bestCost[startKey] = 0;
    cameFrom[startKey] = {startKey, 0};
    while (!open.empty() && cameFrom.size() < 3'000'000) {
        Entry entry = open.top();
        open.pop();
        const std::uint64_t key = Key(entry.cells);
        if (Distance(entry.cells, n) == 0) {
            std::vector<int> clicks;
            for (std::uint64_t k = key; k != startKey; k = cameFrom[k].first)
                clicks.insert(clicks.begin(), cameFrom[k].second);
            return clicks;
        }
        int gap = 0;
        while (entry.cells[size_t(gap)] != 0)
            ++gap;
        const int gapColumn = gap % n, gapRow = gap / n;
        const int steps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
        for (const auto& step : steps) {
            const int column = gapColumn + step[0], row = gapRow + step[1];
            if (column < 0 || column >= n || row < 0 || row >= n)
                continue;
            const int tile = row * n + column;
            State next = entry.cells;
            std::swap(next[size_t(gap)], next[size_t(tile)]);
            const std::uint64_t nextKey = Key(next);
            const int cost = entry.cost + 1;
            const auto known = bestCost.find(nextKey);
            if (known != bestCost.end() && known->second <= cost)
                continue;
            bestCost[nextKey] = cost;
            cameFrom[nextKey] = {key, tile + 1};
            open.push({cost + 3 * Distance(next, n), cost, std::move(next)});
        }
    }
    return {};
}
