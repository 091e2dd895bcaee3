#include "solver/PlacingSearch.h"

#include <limits>

std::optional<std::vector<int>> TPlacingSearch::GapPath(const TPosition& board, const std::vector<int>& homes,
                                                        std::uint64_t frozen, std::uint64_t nodeLimit,
                                                        const TCancel& cancel, std::uint64_t& nodes)
{
    count_ = int(homes.size());
    for (int i = 0; i < count_; ++i)
        home_[std::size_t(i)] = homes[std::size_t(i)];
    TCells cells{};
    cells[0] = GapCell(board);
    for (int i = 0; i < count_; ++i) {
        const int tile = homes[std::size_t(i)] + 1;
        cells[std::size_t(i + 1)] =
            int(std::find(board.Cells.begin(), board.Cells.end(), std::uint8_t(tile)) - board.Cells.begin());
    }
    for (int i = 0; i < count_; ++i)
        MeasureAlone(i, frozen);
    pairs_.clear();
    MarkOpenNeighbours(frozen);
    if (count_ >= 3)
        for (int i = 0; i < count_; ++i)
            for (int j = i + 1; j < count_; ++j)
                if (!MeasureTogether(i, j, frozen, cancel, nodes))
                    return std::nullopt;
    const std::uint64_t start = Pack(cells);
    table_.Clear();
    for (auto& bucket : open_)
        bucket.clear();
    table_.Set(table_.Slot(start), start, 0, TPlacingStateTable::kFirstStep);
    Push(start, std::size_t(Bound(cells)));

    std::uint64_t expanded = 0;
    for (std::size_t f = 0; f < open_.size(); ++f) {
        // Last in, first out within a cost: the deepest states first. Entries carry the cost
        // so far above the key; one queued again with a smaller cost meanwhile is expanded
        // twice, the second time to no effect.
        while (!open_[f].empty()) {
            const std::uint64_t entry = open_[f].back();
            open_[f].pop_back();
            const std::uint64_t key = entry & TPlacingStateTable::kKeyBits;
            const int g = int(entry >> 48);
            const TCells at = Unpack(key);
            if (std::size_t(g) == f) {  // h == 0
                nodes += expanded;
                return PathTo(key);
            }
            // Checked on the count of every step of this placing, the pairs' tables' included.
            if (++expanded > nodeLimit
                || ((nodes + expanded) % kCheckInterval == 0 && cancel.Stopped(TSolverPhase::Place, nodes + expanded))) {
                nodes += expanded;
                return std::nullopt;
            }
            // The children first, their slots fetched ahead so that the table reads overlap.
            std::array<TCells, 4> children;
            std::array<std::uint64_t, 4> childKeys{};
            std::array<int, 4> childSteps{};
            int count = 0;
            const int gap = at[0];
            for (int step = 0; step < 4; ++step) {
                const int to = gap + steps_[std::size_t(step)];
                if (to < 0 || to >= n_ * n_ || (step < 2 && to / n_ != gap / n_) || (frozen >> to & 1))
                    continue;
                TCells& next = children[std::size_t(count)];
                next = at;
                next[0] = to;
                for (int i = 1; i <= count_; ++i)
                    if (next[std::size_t(i)] == to)
                        next[std::size_t(i)] = gap;
                childKeys[std::size_t(count)] = Pack(next);
                childSteps[std::size_t(count)] = step;
                table_.Prefetch(childKeys[std::size_t(count)]);
                ++count;
            }
            for (int c = 0; c < count; ++c) {
                const std::uint64_t nextKey = childKeys[std::size_t(c)];
                const std::size_t slot = table_.Slot(nextKey);
                if (table_.Has(slot) && table_.Cost(slot) <= g + 1)
                    continue;
                table_.Set(slot, nextKey, g + 1, childSteps[std::size_t(c)]);
                Push(nextKey | std::uint64_t(g + 1) << 48, std::size_t(g + 1 + Bound(children[std::size_t(c)])));
            }
        }
    }
    nodes += expanded;
    return std::nullopt;  // not reached: every placing has a way
}

std::uint64_t TPlacingSearch::Pack(const TCells& cells) const
{
    std::uint64_t key = 0;
    for (int i = count_; i >= 0; --i)
        key = key << 6 | std::uint64_t(cells[std::size_t(i)]);
    return key;
}

TPlacingSearch::TCells TPlacingSearch::Unpack(std::uint64_t key) const
{
    TCells cells{};
    for (int i = 0; i <= count_; ++i, key >>= 6)
        cells[std::size_t(i)] = int(key & 63);
    return cells;
}

int TPlacingSearch::Bound(const TCells& cells) const
{
    int sum = 0, nearest = 1 << 20, alone = 0;
    for (int i = 0; i < count_; ++i) {
        const int cell = cells[std::size_t(i + 1)];
        const int distance = Distance(cell, home_[std::size_t(i)]);
        sum += distance;
        if (distance > 0)
            nearest = std::min(nearest, Distance(cells[0], cell));
        alone = std::max(alone, int(alone_[std::size_t(i)][std::size_t(cell * kCells + cells[0])]));
    }
    const std::size_t size = std::size_t(n_ * n_);
    for (std::size_t p = 0; p < pairs_.size(); ++p) {
        const auto [i, j] = pairs_[p];
        const std::size_t index =
            (std::size_t(cells[0]) * size + std::size_t(cells[std::size_t(i + 1)])) * size + std::size_t(cells[std::size_t(j + 1)]);
        alone = std::max(alone, int(together_[p][index]));
    }
    return sum == 0 ? 0 : std::max(sum + nearest - 1, alone);
}

void TPlacingSearch::MeasureAlone(int i, std::uint64_t frozen)
{
    auto& distance = alone_[std::size_t(i)];
    distance.fill(kFar);
    std::vector<int> layer, next;
    const int home = home_[std::size_t(i)];
    for (int gap = 0; gap < n_ * n_; ++gap)
        if (gap != home && !(frozen >> gap & 1)) {
            distance[std::size_t(home * kCells + gap)] = 0;
            layer.push_back(home * kCells + gap);
        }
    for (int depth = 1; !layer.empty(); ++depth) {
        next.clear();
        for (int state : layer) {
            const int tile = state / kCells, gap = state % kCells;
            for (int step = 0; step < 4; ++step) {
                // Backwards: the gap was on `from`; when the tile is there now, it moved
                // from where the gap is.
                const int from = gap + steps_[std::size_t(step)];
                if (from < 0 || from >= n_ * n_ || (step < 2 && from / n_ != gap / n_) || (frozen >> from & 1))
                    continue;
                const int before = (from == tile ? gap : tile) * kCells + from;
                if (distance[std::size_t(before)] != kFar)
                    continue;
                distance[std::size_t(before)] = std::uint8_t(std::min(depth, 254));
                next.push_back(before);
            }
        }
        layer.swap(next);
    }
}

void TPlacingSearch::Push(std::uint64_t entry, std::size_t f)
{
    if (f >= open_.size())
        open_.resize(f + 1);
    open_[f].push_back(entry);
}

std::vector<int> TPlacingSearch::PathTo(std::uint64_t key)
{
    std::vector<int> path;
    for (;;) {
        const int step = table_.Step(table_.Slot(key));
        if (step == TPlacingStateTable::kFirstStep)
            break;
        TCells at = Unpack(key);
        path.push_back(at[0]);
        const int before = at[0] - steps_[std::size_t(step)];
        for (int i = 1; i <= count_; ++i)
            if (at[std::size_t(i)] == before)
                at[std::size_t(i)] = at[0];
        at[0] = before;
        key = Pack(at);
    }
    std::reverse(path.begin(), path.end());
    return path;
}

bool TPlacingSearch::MeasureTogether(int i, int j, std::uint64_t frozen, const TCancel& cancel, std::uint64_t& nodes)
{
    const int size = n_ * n_;
    const std::size_t p = pairs_.size();
    pairs_.emplace_back(i, j);
    if (together_.size() <= p)
        together_.emplace_back();
    auto& distance = together_[p];
    distance.assign(std::size_t(size) * std::size_t(size) * std::size_t(size), kFar);
    // States as (gap * size + a) * size + b, queued as such.
    std::vector<std::uint32_t>& layer = layer_;
    std::vector<std::uint32_t>& next = nextLayer_;
    layer.clear();
    const int homeA = home_[std::size_t(i)], homeB = home_[std::size_t(j)];
    for (int gap = 0; gap < size; ++gap)
        if (gap != homeA && gap != homeB && !(frozen >> gap & 1)) {
            const std::uint32_t state = std::uint32_t((gap * size + homeA) * size + homeB);
            distance[state] = 0;
            layer.push_back(state);
        }
    for (int depth = 1; !layer.empty(); ++depth) {
        next.clear();
        const auto value = std::uint8_t(std::min(depth, 254));
        for (const std::uint32_t state : layer) {
            if (++nodes % kCheckInterval == 0 && cancel.Stopped(TSolverPhase::Place, nodes))
                return false;
            const int b = int(state % std::uint32_t(size)), rest = int(state / std::uint32_t(size));
            const int a = rest % size, gap = rest / size;
            const std::uint64_t open = openNeighbours_[std::size_t(gap)];
            for (int k = 0; k < 4; ++k) {
                const int from = gap + steps_[std::size_t(k)];
                if (!(open >> k & 1))
                    continue;
                const int beforeA = from == a ? gap : a, beforeB = from == b ? gap : b;
                const std::uint32_t before = std::uint32_t((from * size + beforeA) * size + beforeB);
                if (distance[before] != kFar)
                    continue;
                distance[before] = value;
                next.push_back(before);
            }
        }
        layer.swap(next);
    }
    return true;
}

void TPlacingSearch::MarkOpenNeighbours(std::uint64_t frozen)
{
    for (int cell = 0; cell < n_ * n_; ++cell) {
        std::uint64_t open = 0;
        for (int k = 0; k < 4; ++k) {
            const int to = cell + steps_[std::size_t(k)];
            if (to >= 0 && to < n_ * n_ && (k >= 2 || to / n_ == cell / n_) && !(frozen >> to & 1))
                open |= std::uint64_t(1) << k;
        }
        openNeighbours_[std::size_t(cell)] = open;
    }
}
