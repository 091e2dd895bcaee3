#include "solver/PatternDatabase.h"

#include <algorithm>
#include <array>
#include <bit>
#include <exception>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <system_error>
#include <thread>

namespace {

constexpr std::uint64_t kMaxTableEntries = 6'000'000;
constexpr std::uint8_t kUnset = 0xFF;

std::uint64_t TableEntries(int cells, std::size_t tiles)
{
    std::uint64_t entries = 1;
    for (std::size_t i = 0; i < tiles; ++i)
        entries *= std::uint64_t(cells) - i;
    return entries;
}

// Cell sets of a board of up to 16 cells as bit masks, with the steps of the gap between them.
struct TCellMasks {
    explicit TCellMasks(int n) : n(n), all((1u << (n * n)) - 1)
    {
        for (int row = 0; row < n; ++row) {
            notFirstColumn |= ((1u << n) - 2) << (row * n);
            notLastColumn |= ((1u << (n - 1)) - 1) << (row * n);
        }
    }
    std::uint32_t Neighbours(std::uint32_t cells) const
    {
        return (((cells & notFirstColumn) >> 1) | ((cells & notLastColumn) << 1) | (cells >> n) | (cells << n)) & all;
    }
    // The cells of `open` that the gap at `seed` reaches without moving a tile of the group.
    std::uint32_t Region(std::uint32_t seed, std::uint32_t open) const
    {
        std::uint32_t region = seed;
        for (;;) {
            const std::uint32_t grown = region | (Neighbours(region) & open);
            if (grown == region)
                return region;
            region = grown;
        }
    }
    int n;
    std::uint32_t all;
    std::uint32_t notFirstColumn = 0, notLastColumn = 0;
};

// Number of cells of the mask below the cell.
int CountBelow(std::uint32_t mask, int cell)
{
    // Counted by halves, quarters, ... here: the generic x86-64 target has no population-count
    // instruction, and the library call is slow in the table build's inner loop.
    std::uint32_t bits = mask & ((1u << cell) - 1);
    bits = bits - ((bits >> 1) & 0x55555555u);
    bits = (bits & 0x33333333u) + ((bits >> 2) & 0x33333333u);
    bits = (bits + (bits >> 4)) & 0x0F0F0F0Fu;
    return int((bits * 0x01010101u) >> 24);
}

}  // namespace

TPartition DefaultPartition(int n)
{
    switch (n) {
    case 2:
        return {{1, 2, 3}};
    case 3:
        return {{1, 2, 3, 4, 5, 6, 7}, {8}};
    case 4:
        return {{1, 2, 3, 4, 6, 7}, {8, 10, 11, 12, 14, 15}, {5, 9, 13}};
    default:
        return {};
    }
}

std::optional<std::string> PartitionError(int n, const TPartition& partition)
{
    if (n < 1 || n > kPatternMaxSize)
        return "pattern tables exist for boards of 1 x 1 to 4 x 4, not " + std::to_string(n) + " x " + std::to_string(n);
    std::vector<bool> used(std::size_t(n * n), false);
    for (const TTileGroup& group : partition) {
        if (group.empty())
            return std::string("a group has no tiles");
        if (group.size() > kMaxGroupTiles - 1)
            return "a group of " + std::to_string(group.size()) + " tiles is too large";
        if (TableEntries(n * n, group.size()) > kMaxTableEntries)
            return "a group of " + std::to_string(group.size()) + " tiles needs too large a table";
        for (int tile : group) {
            if (tile < 1 || tile >= n * n)
                return "tile " + std::to_string(tile) + " is not on the board";
            if (used[std::size_t(tile)])
                return "tile " + std::to_string(tile) + " is in two groups";
            used[std::size_t(tile)] = true;
        }
    }
    return std::nullopt;
}

TPatternDatabase::TPatternDatabase(int n, TPartition partition) : n_(n), partition_(std::move(partition))
{
    if (auto error = PartitionError(n_, partition_))
        throw std::invalid_argument(*error);
    groupOf_.assign(std::size_t(n_ * n_), -1);
    for (std::size_t g = 0; g < partition_.size(); ++g)
        for (int tile : partition_[g])
            groupOf_[std::size_t(tile)] = int(g);
    tables_.resize(partition_.size());
}

void TPatternDatabase::Build()
{
    std::call_once(buildOnce_, [this] {
        // Largest tables first, each on a thread of its own while cores are free.
        std::vector<int> order(partition_.size());
        for (std::size_t g = 0; g < order.size(); ++g)
            order[g] = int(g);
        std::stable_sort(order.begin(), order.end(),
                         [this](int a, int b) { return partition_[std::size_t(a)].size() > partition_[std::size_t(b)].size(); });
        const std::size_t workers = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, order.size() + 1);
        std::atomic<std::size_t> next{0};
        // A failure on any thread (memory running out) stops the others taking more tables and
        // is thrown here once they are done; the tables stay unbuilt, to be tried again.
        std::mutex failing;
        std::exception_ptr failure;
        auto work = [&] {
            try {
                for (std::size_t k; (k = next.fetch_add(1)) < order.size();)
                    BuildTable(order[k]);
            } catch (...) {
                next = order.size();
                const std::lock_guard lock(failing);
                if (!failure)
                    failure = std::current_exception();
            }
        };
        {
            std::vector<std::jthread> threads;
            try {
                for (std::size_t w = 1; w < workers && w < order.size(); ++w)
                    threads.emplace_back(work);
            } catch (const std::system_error&) {
                // No more threads to be had: the ones there are do the work.
            }
            work();
        }
        if (failure)
            std::rethrow_exception(failure);
        built_.store(true, std::memory_order_release);
    });
}

// Breadth-first search backwards from the goal over placements of the group's tiles. The gap is
// kept only as the region of free cells it can reach (named by its lowest cell), since moving it
// inside that region costs nothing; a placement's cost is the layer in which it is first reached.
// Queued states carry their cells packed four bits each, so nothing is unpacked from a table index.
void TPatternDatabase::BuildTable(int group)
{
    const TTileGroup& tiles = partition_[std::size_t(group)];
    const int k = int(tiles.size());
    const int cells = n_ * n_;
    const int freeCells = cells - k;
    const TCellMasks masks(n_);
    std::vector<std::uint8_t> table(TableEntries(cells, tiles.size()), kUnset);
    // For every set of free cells: whether it is in one piece, and the lowest cell of the region of
    // each of its cells (four bits a cell), so that a successor's region is named without flooding.
    std::vector<bool> connected(std::size_t(masks.all) + 1);
    std::vector<std::uint64_t> lowestOfRegion(std::size_t(masks.all) + 1, 0);
    for (std::uint32_t free = 1; free <= masks.all; ++free) {
        connected[free] = masks.Region(free & (~free + 1), free) == free;
        for (std::uint32_t rest = free; rest;) {
            const std::uint32_t region = masks.Region(rest & (~rest + 1), free);
            const auto lowest = std::uint64_t(std::countr_zero(region));
            for (std::uint32_t cellsLeft = region; cellsLeft; cellsLeft &= cellsLeft - 1)
                lowestOfRegion[free] |= lowest << (4 * std::countr_zero(cellsLeft));
            rest &= ~region;
        }
    }
    // A placement whose free cells are in one piece is a single state: its bit in `reached` (small
    // enough to stay in the cache) tells whether it was reached. Placements that cut the free
    // cells apart need a bit for each (placement, region) state in `seen`.
    std::vector<std::uint64_t> seen((table.size() * std::size_t(freeCells) + 63) / 64, 0);
    std::vector<std::uint64_t> reached((table.size() + 63) / 64, 0);

    auto pack = [k](const std::array<int, 16>& at, int seed) {
        std::uint32_t packed = 0;
        for (int i = 0; i < k; ++i)
            packed |= std::uint32_t(at[std::size_t(i)]) << (4 * i);
        return packed | std::uint32_t(seed) << (4 * k);
    };

    std::array<int, 16> at{};
    for (int i = 0; i < k; ++i)
        at[std::size_t(i)] = tiles[std::size_t(i)] - 1;
    std::vector<std::uint32_t> layer, nextLayer;
    {
        // The search starts with the gap in its home corner's region.
        const std::uint32_t goal = RankCells(at.data(), k, cells);
        table[goal] = 0;
        reached[goal / 64] |= std::uint64_t(1) << (goal % 64);
        std::uint32_t free = masks.all;
        for (int i = 0; i < k; ++i)
            free &= ~(1u << at[std::size_t(i)]);
        const int seed = std::countr_zero(masks.Region(1u << (cells - 1), free));
        const std::uint64_t state = std::uint64_t(goal) * std::uint64_t(freeCells) + std::uint64_t(CountBelow(free, seed));
        seen[state / 64] |= std::uint64_t(1) << (state % 64);
        layer.push_back(pack(at, seed));
    }

    constexpr std::size_t kBatch = 64;
    struct TStep {
        std::uint32_t placement, packed;
        std::uint64_t state;  // in `seen`, for placements whose free cells are cut apart
        bool single;
    };
    std::vector<TStep> steps(kBatch * std::size_t(k) * 4);
    // Weight of each tile's digit in a placement's number, the group order of the tile on a cell,
    // and the packed bits that a move of each tile keeps.
    std::array<std::int64_t, kMaxGroupTiles> weight{};
    for (int i = k - 1; i >= 0; --i)
        weight[std::size_t(i)] = i == k - 1 ? 1 : weight[std::size_t(i + 1)] * (cells - i - 1);
    std::array<int, 16> orderAt{};
    std::array<std::uint32_t, kMaxGroupTiles> keepMask{};
    for (int i = 0; i < k; ++i)
        keepMask[std::size_t(i)] = ~(15u << (4 * i)) & ((1u << (4 * k)) - 1);
    for (int depth = 1; !layer.empty(); ++depth) {
        nextLayer.clear();
        // States are expanded in batches: their successors are gathered first with their bits
        // fetched ahead, so that the scattered reads overlap.
        for (std::size_t first = 0; first < layer.size(); first += kBatch) {
            std::size_t stepCount = 0;
            for (std::size_t s = first; s < std::min(layer.size(), first + kBatch); ++s) {
                const std::uint32_t packed = layer[s];
                std::uint32_t occupied = 0;
                for (int i = 0; i < k; ++i) {
                    at[std::size_t(i)] = int((packed >> (4 * i)) & 15);
                    occupied |= 1u << at[std::size_t(i)];
                    orderAt[std::size_t(at[std::size_t(i)])] = i;
                }
                const std::uint32_t free = masks.all & ~occupied;
                const std::uint32_t region = connected[free] ? free : masks.Region(1u << (packed >> (4 * k)), free);
                const std::int64_t index = RankCells(at.data(), k, cells);
                for (int i = 0; i < k; ++i) {
                    const int from = at[std::size_t(i)];
                    std::uint32_t targets = masks.Neighbours(1u << from) & region;
                    while (targets) {
                        const int to = std::countr_zero(targets);
                        targets &= targets - 1;
                        // The tile's own digit moves by the cells crossed, less the earlier tiles'
                        // cells among them; each later tile whose cell lies in between changes its
                        // digit by one.
                        const int low = std::min(from, to), high = std::max(from, to);
                        const int direction = to > from ? 1 : -1;
                        std::int64_t moved = index + std::int64_t(to - from) * weight[std::size_t(i)];
                        for (std::uint32_t between = occupied & ((1u << high) - (2u << low)); between;
                             between &= between - 1) {
                            const int j = orderAt[std::size_t(std::countr_zero(between))];
                            moved += j < i ? -direction * weight[std::size_t(i)] : direction * weight[std::size_t(j)];
                        }
                        const std::uint32_t movedFree = (free | (1u << from)) & ~(1u << to);
                        TStep& step = steps[stepCount++];
                        step.placement = std::uint32_t(moved);
                        step.single = connected[movedFree];
                        const int seed = step.single ? std::countr_zero(movedFree)
                                                     : int((lowestOfRegion[movedFree] >> (4 * from)) & 15);
                        step.packed = (packed & keepMask[std::size_t(i)]) | std::uint32_t(to) << (4 * i)
                                      | std::uint32_t(seed) << (4 * k);
                        if (step.single) {
                            __builtin_prefetch(&reached[step.placement / 64]);
                        } else {
                            step.state = std::uint64_t(step.placement) * std::uint64_t(freeCells)
                                         + std::uint64_t(CountBelow(movedFree, seed));
                            __builtin_prefetch(&seen[step.state / 64]);
                        }
                    }
                }
            }
            for (std::size_t stepIndex = 0; stepIndex < stepCount; ++stepIndex) {
                const TStep& step = steps[stepIndex];
                std::uint64_t& reachedWord = reached[step.placement / 64];
                const std::uint64_t reachedBit = std::uint64_t(1) << (step.placement % 64);
                if (!step.single) {
                    std::uint64_t& word = seen[step.state / 64];
                    const std::uint64_t bit = std::uint64_t(1) << (step.state % 64);
                    if (word & bit)
                        continue;
                    word |= bit;
                } else if (reachedWord & reachedBit) {
                    continue;
                }
                if (!(reachedWord & reachedBit)) {
                    reachedWord |= reachedBit;
                    table[step.placement] = std::uint8_t(depth);
                }
                nextLayer.push_back(step.packed);
            }
        }
        std::swap(layer, nextLayer);
    }
    tables_[std::size_t(group)] = std::move(table);
}

int TPatternDatabase::PartitionCost(const TPosition& position) const
{
    std::array<std::uint8_t, 16> cellOfTile{};
    for (int c = 0; c < n_ * n_; ++c)
        cellOfTile[position.Cells[std::size_t(c)]] = std::uint8_t(c);
    int sum = 0;
    for (int g = 0; g < GroupCount(); ++g)
        sum += Cost(g, Index(g, cellOfTile.data()));
    return sum;
}

int TPatternDatabase::LowerBound(const TPosition& position) const
{
    TPosition mirror = position;
    for (int c = 0; c < n_ * n_; ++c)
        mirror.Cells[std::size_t(MirrorCell(c))] = std::uint8_t(MirrorTile(position.Cells[std::size_t(c)]));
    return std::max(PartitionCost(position), PartitionCost(mirror));
}

std::size_t TPatternDatabase::TableBytes() const
{
    std::size_t bytes = 0;
    for (const auto& table : tables_)
        bytes += table.size();
    return bytes;
}

TPatternDatabase& TPatternDatabase::Shared(int n)
{
    if (n < 1 || n > kPatternMaxSize)
        throw std::invalid_argument("pattern tables exist for boards of 1 x 1 to 4 x 4");
    // Created on first use (cheap: nothing is built until Build()), kept for the process.
    static const auto databases = [] {
        std::array<std::unique_ptr<TPatternDatabase>, kPatternMaxSize + 1> all;
        for (int size = 1; size <= kPatternMaxSize; ++size)
            all[std::size_t(size)] = std::make_unique<TPatternDatabase>(size, DefaultPartition(size));
        return all;
    }();
    return *databases[std::size_t(n)];
}

bool TPatternDatabase::IsSharedBuilt(int n)
{
    return n >= 1 && n <= kPatternMaxSize && Shared(n).IsBuilt();
}
