#include "solver/OptimalSolver.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace {

constexpr int kMaxCells = kPatternMaxSize * kPatternMaxSize;
constexpr std::uint64_t kStopCheckInterval = 1 << 14;

// One iterative-deepening search. The position is kept as tile-at-cell and cell-of-tile arrays for
// the board and for its mirror image; a move changes one group's entry in each, so only those two
// are looked up again.
class TSearch {
public:
    TSearch(const TPatternDatabase& tables, const TPosition& start, std::stop_token stop, std::uint64_t nodeLimit)
        : n_(tables.N()), cells_(n_ * n_), groups_(tables.GroupCount()), stop_(std::move(stop)),
          nodeLimit_(nodeLimit)
    {
        for (int c = 0; c < cells_; ++c) {
            const int tile = start.Cells[std::size_t(c)];
            tileAt_[std::size_t(c)] = std::uint8_t(tile);
            cellOf_[std::size_t(tile)] = std::uint8_t(c);
            mirrorCellOf_[std::size_t(tables.MirrorTile(tile))] = std::uint8_t(tables.MirrorCell(c));
            if (tile == 0)
                gap_ = c;
            int count = 0;
            if (c % n_ > 0)
                neighbours_[std::size_t(c)][std::size_t(count++)] = std::int8_t(c - 1);
            if (c % n_ < n_ - 1)
                neighbours_[std::size_t(c)][std::size_t(count++)] = std::int8_t(c + 1);
            if (c >= n_)
                neighbours_[std::size_t(c)][std::size_t(count++)] = std::int8_t(c - n_);
            if (c < cells_ - n_)
                neighbours_[std::size_t(c)][std::size_t(count++)] = std::int8_t(c + n_);
            neighbourCount_[std::size_t(c)] = count;
        }
        for (int tile = 0; tile < cells_; ++tile) {
            group_[std::size_t(tile)] = std::int8_t(tile == 0 ? -1 : tables.GroupOf(tile));
            mirrorTile_[std::size_t(tile)] = std::uint8_t(tables.MirrorTile(tile));
            mirrorCell_[std::size_t(tile)] = std::uint8_t(tables.MirrorCell(tile));
        }
        for (int g = 0; g < groups_; ++g) {
            const TTileGroup& tiles = tables.Partition()[std::size_t(g)];
            groupSize_[std::size_t(g)] = int(tiles.size());
            for (std::size_t i = 0; i < tiles.size(); ++i)
                groupTiles_[std::size_t(g)][i] = std::uint8_t(tiles[i]);
            table_[std::size_t(g)] = tables.Table(g);
            cost_[std::size_t(g)] = table_[std::size_t(g)][Index(g, cellOf_)];
            mirrorCost_[std::size_t(g)] = table_[std::size_t(g)][Index(g, mirrorCellOf_)];
            sum_ += cost_[std::size_t(g)];
            mirrorSum_ += mirrorCost_[std::size_t(g)];
        }
    }

    int Bound() const { return std::max(sum_, mirrorSum_); }
    std::uint64_t Nodes() const { return nodes_; }
    bool Aborted() const { return aborted_; }
    const TMoves& Path() const { return path_; }

    // Depth-first search below the bound; true when a solution is on path_. Sets next_ to the least
    // f-value that went over the bound.
    bool Iterate(int bound)
    {
        next_ = std::numeric_limits<int>::max();
        return Expand(0, bound, -1);
    }
    int Next() const { return next_; }

    bool IsGoal() const
    {
        for (int c = 0; c + 1 < cells_; ++c)
            if (tileAt_[std::size_t(c)] != c + 1)
                return false;
        return true;
    }

private:
    // Table entry of a group for the current cells (board or mirror image).
    std::uint32_t Index(int group, const std::array<std::uint8_t, kMaxCells>& cellOf) const
    {
        std::array<int, kMaxGroupTiles> cells{};
        const int size = groupSize_[std::size_t(group)];
        for (int i = 0; i < size; ++i)
            cells[std::size_t(i)] = cellOf[groupTiles_[std::size_t(group)][std::size_t(i)]];
        return RankCells(cells.data(), size, cells_);
    }

    bool Expand(int depth, int bound, int cameFrom)
    {
        if (++nodes_ % kStopCheckInterval == 0 && (stop_.stop_requested() || nodes_ > nodeLimit_)) {
            aborted_ = true;
            return false;
        }
        const int gap = gap_;
        // Look the children's entries up first and fetch them ahead, so that the table reads of
        // the (at most three) children overlap.
        struct TChild {
            int from, tile, group, mirror, mirrorGroup;
            std::uint32_t index, mirrorIndex;
        };
        std::array<TChild, 4> children;
        int count = 0;
        for (int k = 0; k < neighbourCount_[std::size_t(gap)]; ++k) {
            const int from = neighbours_[std::size_t(gap)][std::size_t(k)];
            if (from == cameFrom)
                continue;  // never undo the previous move
            TChild& child = children[std::size_t(count++)];
            child.from = from;
            child.tile = tileAt_[std::size_t(from)];
            child.group = group_[std::size_t(child.tile)];
            child.mirror = mirrorTile_[std::size_t(child.tile)];
            child.mirrorGroup = group_[std::size_t(child.mirror)];
            if (child.group >= 0) {
                cellOf_[std::size_t(child.tile)] = std::uint8_t(gap);
                child.index = Index(child.group, cellOf_);
                cellOf_[std::size_t(child.tile)] = std::uint8_t(from);
                __builtin_prefetch(table_[std::size_t(child.group)] + child.index);
            }
            if (child.mirrorGroup >= 0) {
                mirrorCellOf_[std::size_t(child.mirror)] = mirrorCell_[std::size_t(gap)];
                child.mirrorIndex = Index(child.mirrorGroup, mirrorCellOf_);
                mirrorCellOf_[std::size_t(child.mirror)] = mirrorCell_[std::size_t(from)];
                __builtin_prefetch(table_[std::size_t(child.mirrorGroup)] + child.mirrorIndex);
            }
        }
        for (int c = 0; c < count; ++c) {
            const TChild& child = children[std::size_t(c)];
            const int group = child.group, mirrorGroup = child.mirrorGroup;
            int cost = 0, mirrorCost = 0, sum = sum_, mirrorSum = mirrorSum_;
            if (group >= 0) {
                cost = table_[std::size_t(group)][child.index];
                sum += cost - cost_[std::size_t(group)];
            }
            if (mirrorGroup >= 0) {
                mirrorCost = table_[std::size_t(mirrorGroup)][child.mirrorIndex];
                mirrorSum += mirrorCost - mirrorCost_[std::size_t(mirrorGroup)];
            }
            const int f = depth + 1 + std::max(sum, mirrorSum);
            if (f > bound) {
                next_ = std::min(next_, f);
                continue;
            }
            // Make the move.
            const int from = child.from, tile = child.tile, mirror = child.mirror;
            const int oldCost = group >= 0 ? cost_[std::size_t(group)] : 0;
            const int oldMirrorCost = mirrorGroup >= 0 ? mirrorCost_[std::size_t(mirrorGroup)] : 0;
            const int oldSum = sum_, oldMirrorSum = mirrorSum_;
            if (group >= 0)
                cost_[std::size_t(group)] = cost;
            if (mirrorGroup >= 0)
                mirrorCost_[std::size_t(mirrorGroup)] = mirrorCost;
            sum_ = sum;
            mirrorSum_ = mirrorSum;
            tileAt_[std::size_t(gap)] = std::uint8_t(tile);
            tileAt_[std::size_t(from)] = 0;
            cellOf_[std::size_t(tile)] = std::uint8_t(gap);
            mirrorCellOf_[std::size_t(mirror)] = mirrorCell_[std::size_t(gap)];
            gap_ = from;
            path_.push_back(tile);
            if ((sum == 0 && mirrorSum == 0 && IsGoal()) || Expand(depth + 1, bound, gap))
                return true;
            path_.pop_back();
            // Take it back.
            gap_ = gap;
            tileAt_[std::size_t(from)] = std::uint8_t(tile);
            tileAt_[std::size_t(gap)] = 0;
            cellOf_[std::size_t(tile)] = std::uint8_t(from);
            mirrorCellOf_[std::size_t(mirror)] = mirrorCell_[std::size_t(from)];
            sum_ = oldSum;
            mirrorSum_ = oldMirrorSum;
            if (group >= 0)
                cost_[std::size_t(group)] = oldCost;
            if (mirrorGroup >= 0)
                mirrorCost_[std::size_t(mirrorGroup)] = oldMirrorCost;
            if (aborted_)
                return false;
        }
        return false;
    }

    const int n_, cells_, groups_;
    std::stop_token stop_;
    std::uint64_t nodeLimit_;
    std::array<std::uint8_t, kMaxCells> tileAt_{}, cellOf_{}, mirrorCellOf_{}, mirrorTile_{}, mirrorCell_{};
    std::array<std::array<std::uint8_t, kMaxGroupTiles>, kMaxCells> groupTiles_{};
    std::array<int, kMaxCells> groupSize_{};
    std::array<const std::uint8_t*, kMaxCells> table_{};
    std::array<std::int8_t, kMaxCells> group_{};
    std::array<std::array<std::int8_t, 4>, kMaxCells> neighbours_{};
    std::array<int, kMaxCells> neighbourCount_{};
    std::array<int, kMaxCells> cost_{}, mirrorCost_{};
    int sum_ = 0, mirrorSum_ = 0;
    int gap_ = 0;
    int next_ = 0;
    std::uint64_t nodes_ = 0;
    bool aborted_ = false;
    TMoves path_;
};

}  // namespace

void RequireSolvable(const TPosition& position)
{
    if (auto error = PositionError(position))
        throw std::invalid_argument(*error);
    if (!IsSolvable(position))
        throw std::invalid_argument("no moves bring this board home (two tiles are swapped)");
}

std::optional<TSolution> TOptimalSolver::Solve(const TPosition& position, std::stop_token stop, std::uint64_t nodeLimit)
{
    RequireSolvable(position);
    if (position.N != tables_.N())
        throw std::invalid_argument("the board is not the size of the tables");
    if (IsGoal(position))
        return TSolution{};  // no tables needed
    tables_.Build();
    TSearch search(tables_, position, std::move(stop), nodeLimit);
    TSolution solution;
    solution.LowerBound = search.Bound();
    // Every move moves the gap one cell, so a solution's length has the parity of the gap's
    // distance from home; bounds of the other parity are skipped.
    const int gap = GapCell(position);
    const int parity = ((position.N - 1 - gap / position.N) + (position.N - 1 - gap % position.N)) % 2;
    auto withParity = [parity](int bound) { return bound % 2 == parity ? bound : bound + 1; };
    for (int bound = withParity(search.Bound());; bound = withParity(search.Next())) {
        const bool found = search.Iterate(bound);
        if (search.Aborted())
            return std::nullopt;
        if (found) {
            solution.Tiles = search.Path();
            solution.Nodes = search.Nodes();
            return solution;
        }
    }
}
