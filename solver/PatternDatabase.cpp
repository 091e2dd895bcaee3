#include "solver/PatternDatabase.h"

#include <algorithm>
#include <bit>
#include <memory>
#include <new>
#include <stdexcept>
#include <system_error>
#include <thread>

namespace {

constexpr std::uint64_t kMaxTableEntries = 6'000'000;
constexpr std::uint8_t kUnset = 0xFF;

// Number of cells of the mask below the cell, counted by halves, quarters, ...: the generic
// x86-64 target has no population-count instruction, and the library call is slow in the build's
// inner loop.
int CountBelow(std::uint32_t mask, int cell)
{
    std::uint32_t bits = mask & ((1u << cell) - 1);
    bits = bits - ((bits >> 1) & 0x55555555u);
    bits = (bits & 0x33333333u) + ((bits >> 2) & 0x33333333u);
    bits = (bits + (bits >> 4)) & 0x0F0F0F0Fu;
    return int((bits * 0x01010101u) >> 24);
}

// Cell sets of a board of up to 16 cells as bit masks, and for every set of free cells the pieces
// the gap can roam in: whether the set is one piece, and for each of its cells the lowest cell of
// its piece (four bits a cell), so that the build names a gap's region without flooding it.
// The same for every group, so it is made once per build.
class TRegions {
public:
    TRegions(int n, const TCancel& cancel, bool& stopped) : n_(n), all_((1u << (n * n)) - 1)
    {
        for (int row = 0; row < n_; ++row) {
            notFirstColumn_ |= ((1u << n_) - 2) << (row * n_);
            notLastColumn_ |= ((1u << (n_ - 1)) - 1) << (row * n_);
        }
        for (int cell = 0; cell < n * n; ++cell)
            neighbours_[std::size_t(cell)] = Neighbours(1u << cell);
        connected_.assign(std::size_t(all_) + 1, 0);
        lowest_.assign(std::size_t(all_) + 1, 0);
        for (std::uint32_t free = 1; free <= all_; ++free) {
            if (free % kCheckInterval == 0 && cancel.Stopped(TSolverPhase::Build, free)) {
                stopped = true;
                return;
            }
            connected_[free] = Region(free & (~free + 1), free) == free;
            for (std::uint32_t rest = free; rest;) {
                const std::uint32_t region = Region(rest & (~rest + 1), free);
                const auto lowest = std::uint64_t(std::countr_zero(region));
                for (std::uint32_t left = region; left; left &= left - 1)
                    lowest_[free] |= lowest << (4 * std::countr_zero(left));
                rest &= ~region;
            }
        }
    }

    std::uint32_t All() const { return all_; }
    std::uint32_t NeighboursOf(int cell) const { return neighbours_[std::size_t(cell)]; }
    bool Connected(std::uint32_t free) const { return connected_[free] != 0; }
    int LowestOfRegion(std::uint32_t free, int cell) const { return int((lowest_[free] >> (4 * cell)) & 15); }
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

private:
    std::uint32_t Neighbours(std::uint32_t cells) const
    {
        return (((cells & notFirstColumn_) >> 1) | ((cells & notLastColumn_) << 1) | (cells >> n_) | (cells << n_)) & all_;
    }

    int n_;
    std::uint32_t all_;
    std::uint32_t notFirstColumn_ = 0, notLastColumn_ = 0;
    std::array<std::uint32_t, 16> neighbours_{};
    std::vector<std::uint8_t> connected_;
    std::vector<std::uint64_t> lowest_;
};

// Breadth-first search backwards from the goal over placements of one group's tiles. The gap is
// kept only as the region of free cells it can reach (named by its lowest cell), since moving it
// inside that region costs nothing; a placement's cost is the layer in which it is first reached.
// Queued states carry their cells packed four bits each with the region's cell above them, and
// their placement's number in the upper half, so that it is never worked out from the cells.
class TTableBuild {
public:
    TTableBuild(const TTileGroup& tiles, int n, const TRegions& regions)
        : k_(int(tiles.size())), cells_(n * n), regions_(regions)
    {
        for (int i = k_ - 1; i >= 0; --i)
            weight_[std::size_t(i)] = i == k_ - 1 ? 1 : weight_[std::size_t(i + 1)] * (cells_ - i - 1);
        for (int i = 0; i < k_; ++i) {
            keep_[std::size_t(i)] = ~(15u << (4 * i)) & ((1u << (4 * k_)) - 1);
            home_[std::size_t(i)] = std::uint8_t(tiles[std::size_t(i)] - 1);
        }
    }

    // The table; empty when stopped or abandoned (another thread failed).
    std::vector<std::uint8_t> Run(const TCancel& cancel, const std::atomic<bool>& abandon)
    {
        const std::size_t entries = TableEntries(cells_, std::size_t(k_));
        const int freeCells = cells_ - k_;
        table_.assign(entries, kUnset);
        reached_.assign((entries + 63) / 64, 0);
        seen_.assign((entries * std::size_t(freeCells) + 63) / 64, 0);

        // The start: every tile home, the gap anywhere in its home corner's region.
        const std::uint32_t goal = RankCells(home_.data(), k_, cells_);
        std::uint32_t free = regions_.All(), packed = 0;
        for (int i = 0; i < k_; ++i) {
            free &= ~(1u << home_[std::size_t(i)]);
            packed |= std::uint32_t(home_[std::size_t(i)]) << (4 * i);
        }
        const int seed = regions_.LowestOfRegion(free, cells_ - 1);
        Mark(goal, free, seed);
        table_[goal] = 0;
        layer_.push_back(std::uint64_t(goal) << 32 | packed | std::uint32_t(seed) << (4 * k_));

        std::uint64_t expanded = 0;
        for (int depth = 1; !layer_.empty(); ++depth) {
            next_.clear();
            for (std::size_t first = 0; first < layer_.size(); first += kBatch) {
                if ((first / kBatch) % (kCheckInterval / kBatch) == 0
                    && (cancel.Stopped(TSolverPhase::Build, expanded) || abandon.load(std::memory_order_relaxed)))
                    return {};
                const std::size_t last = std::min(layer_.size(), first + kBatch);
                expanded += last - first;
                ExpandBatch(first, last);
            }
            std::swap(layer_, next_);
            MarkLayer(std::uint8_t(depth));
        }
        return std::move(table_);
    }

private:
    static constexpr std::size_t kBatch = 64;

    struct TStep {
        std::uint64_t entry;  // the queued state it would be
        std::uint64_t* word;  // the word of its bit in reached_ or seen_
        std::uint64_t bit;
    };

    // A state whose free cells are cut apart has a bit of its own in seen_: the placement's
    // number times the free cells, plus the region's lowest cell counted among them.
    std::uint64_t StateBit(std::uint32_t placement, std::uint32_t free, int seed) const
    {
        return std::uint64_t(placement) * std::uint64_t(cells_ - k_) + std::uint64_t(CountBelow(free, seed));
    }
    void Mark(std::uint32_t placement, std::uint32_t free, int seed)
    {
        reached_[placement / 64] |= std::uint64_t(1) << (placement % 64);
        if (!regions_.Connected(free)) {
            const std::uint64_t state = StateBit(placement, free, seed);
            seen_[state / 64] |= std::uint64_t(1) << (state % 64);
        }
    }

    // Gathers the successors of a batch of states with their bits fetched ahead, so that the
    // scattered reads overlap, then queues the new ones. Neither pass branches on what it
    // finds, since that cannot be foretold.
    void ExpandBatch(std::size_t first, std::size_t last)
    {
        std::size_t count = 0;
        for (std::size_t s = first; s < last; ++s)
            count = Successors(layer_[s], count);
        std::size_t queued = next_.size();
        next_.resize(queued + count);
        for (std::size_t i = 0; i < count; ++i) {
            const TStep& step = steps_[i];
            const std::uint64_t word = *step.word;
            *step.word = word | step.bit;
            next_[queued] = step.entry;
            queued += (word & step.bit) == 0;
        }
        next_.resize(queued);
    }

    // A placement's cost is the first layer that holds one of its states.
    void MarkLayer(std::uint8_t depth)
    {
        for (const std::uint64_t entry : layer_) {
            std::uint8_t& cost = table_[entry >> 32];
            cost = std::min(cost, depth);
        }
    }

    std::size_t Successors(std::uint64_t entry, std::size_t count)
    {
        const auto packed = std::uint32_t(entry);
        const auto index = std::int64_t(entry >> 32);
        std::array<int, kMaxGroupTiles> at{};
        std::array<std::int8_t, 16> orderAt{};
        std::uint32_t occupied = 0;
        for (int i = 0; i < k_; ++i) {
            at[std::size_t(i)] = int((packed >> (4 * i)) & 15);
            occupied |= 1u << at[std::size_t(i)];
            orderAt[std::size_t(at[std::size_t(i)])] = std::int8_t(i);
        }
        const std::uint32_t free = regions_.All() & ~occupied;
        const std::uint32_t region =
            regions_.Connected(free) ? free : regions_.Region(1u << ((packed >> (4 * k_)) & 15), free);
        for (int i = 0; i < k_; ++i) {
            const int from = at[std::size_t(i)];
            const std::int64_t weight = weight_[std::size_t(i)];
            for (std::uint32_t targets = regions_.NeighboursOf(from) & region; targets; targets &= targets - 1) {
                const int to = std::countr_zero(targets);
                // The tile's own digit moves by the cells crossed, less the earlier tiles' cells
                // among them; each later tile whose cell lies in between changes its digit by
                // one. A step along a row crosses no cell.
                std::int64_t moved = index + std::int64_t(to - from) * weight;
                const int low = std::min(from, to), high = std::max(from, to);
                if (high - low > 1) {
                    const int direction = to > from ? 1 : -1;
                    for (std::uint32_t between = occupied & ((1u << high) - (2u << low)); between; between &= between - 1) {
                        const int j = orderAt[std::size_t(std::countr_zero(between))];
                        moved += j < i ? -direction * weight : direction * weight_[std::size_t(j)];
                    }
                }
                const std::uint32_t movedFree = free ^ (1u << from) ^ (1u << to);
                TStep& step = steps_[count++];
                // The free cells in one piece: the placement is the state, and its seed the lowest
                // free cell; otherwise the region the gap left the tile's old cell in.
                const bool single = regions_.Connected(movedFree);
                const int seed = regions_.LowestOfRegion(movedFree, from);
                step.entry = std::uint64_t(moved) << 32 | (packed & keep_[std::size_t(i)]) | std::uint32_t(to) << (4 * i) | std::uint32_t(seed) << (4 * k_);
                const std::uint64_t state = single ? std::uint64_t(moved) : StateBit(std::uint32_t(moved), movedFree, seed);
                step.word = (single ? reached_.data() : seen_.data()) + state / 64;
                step.bit = std::uint64_t(1) << (state % 64);
                __builtin_prefetch(step.word);
            }
        }
        return count;
    }

    const int k_, cells_;
    const TRegions& regions_;
    std::array<std::int64_t, kMaxGroupTiles> weight_{};  // of each tile's digit in a placement's number
    std::array<std::uint32_t, kMaxGroupTiles> keep_{};   // packed bits a move of each tile keeps
    std::array<std::uint8_t, kMaxGroupTiles> home_{};
    std::vector<std::uint8_t> table_;
    // A placement whose free cells are in one piece is a single state: its bit in reached_
    // (small enough to stay in the cache) tells whether it was reached. Placements that cut the
    // free cells apart need a bit for each (placement, region) state in seen_.
    std::vector<std::uint64_t> reached_, seen_;
    std::vector<std::uint64_t> layer_, next_;
    std::array<TStep, kBatch * kMaxGroupTiles * 4> steps_{};
};

}  // namespace

std::uint64_t TableEntries(int cells, std::size_t tiles)
{
    std::uint64_t entries = 1;
    for (std::size_t i = 0; i < tiles; ++i)
        entries *= std::uint64_t(cells) - i;
    return entries;
}

std::uint32_t RankCells(const std::uint8_t* cells, int count, int boardCells)
{
    switch (count) {
    case 1: return RankCells<1>(cells, boardCells);
    case 2: return RankCells<2>(cells, boardCells);
    case 3: return RankCells<3>(cells, boardCells);
    case 4: return RankCells<4>(cells, boardCells);
    case 5: return RankCells<5>(cells, boardCells);
    case 6: return RankCells<6>(cells, boardCells);
    default: return RankCells<7>(cells, boardCells);
    }
}

namespace {

// The cells of a group's K tiles for a placement's number: RankCells undone.
std::array<std::uint8_t, kMaxGroupTiles> UnrankCells(std::uint32_t index, int k, int boardCells)
{
    std::array<int, kMaxGroupTiles> digit{};
    for (int i = k - 1; i >= 0; --i) {
        digit[std::size_t(i)] = int(index % std::uint32_t(boardCells - i));
        index /= std::uint32_t(boardCells - i);
    }
    std::array<std::uint8_t, kMaxGroupTiles> cells{};
    std::uint32_t taken = 0;
    for (int i = 0; i < k; ++i) {
        int cell = 0;
        for (int left = digit[std::size_t(i)];; ++cell)
            if (!(taken >> cell & 1) && left-- == 0)
                break;
        cells[std::size_t(i)] = std::uint8_t(cell);
        taken |= 1u << cell;
    }
    return cells;
}

// The cells beside a cell of an n x n board, as a bit mask.
std::uint32_t Beside(int n, int cell)
{
    std::uint32_t beside = 0;
    if (cell % n > 0)
        beside |= 1u << (cell - 1);
    if (cell % n < n - 1)
        beside |= 1u << (cell + 1);
    if (cell >= n)
        beside |= 1u << (cell - n);
    if (cell < n * n - n)
        beside |= 1u << (cell + n);
    return beside;
}

bool InOnePiece(int n, std::uint32_t free)
{
    std::uint32_t piece = free & (~free + 1), grown = piece;
    do {
        piece = grown;
        for (std::uint32_t rest = piece; rest; rest &= rest - 1)
            grown |= Beside(n, std::countr_zero(rest)) & free;
    } while (grown != piece);
    return piece == free;
}

// The checks of TableMakesSense on one placement whose free cells are in one piece: from it every
// tile may step into any free cell beside it, and the build reached it from one such step away.
bool PlacementMakesSense(int n, int k, const std::vector<std::uint8_t>& table, std::uint32_t index, bool goal)
{
    const int cells = n * n;
    const int longest[kPatternMaxSize + 1] = {0, 0, 6, 31, 80};  // the most moves a board needs
    const int cost = table[index];
    if (cost > longest[n] || (cost == 0) != goal)
        return false;
    std::array<std::uint8_t, kMaxGroupTiles> at = UnrankCells(index, k, cells);
    std::uint32_t occupied = 0;
    for (int i = 0; i < k; ++i)
        occupied |= 1u << at[std::size_t(i)];
    bool nearer = goal;
    for (int i = 0; i < k; ++i) {
        const std::uint8_t from = at[std::size_t(i)];
        for (std::uint32_t to = Beside(n, from) & ~occupied; to; to &= to - 1) {
            at[std::size_t(i)] = std::uint8_t(std::countr_zero(to));
            const int next = table[RankCells(at.data(), k, cells)];
            if (next > cost + 1)
                return false;
            nearer = nearer || next < cost;
        }
        at[std::size_t(i)] = from;
    }
    return nearer;
}

}  // namespace

bool TableMakesSense(int n, const TTileGroup& tiles, const std::vector<std::uint8_t>& table)
{
    const int cells = n * n, k = int(tiles.size());
    if (n < 2 || n > kPatternMaxSize || k < 1 || k > kMaxGroupTiles || table.size() != TableEntries(cells, tiles.size()))
        return false;
    std::array<std::uint8_t, kMaxGroupTiles> home{};
    for (int i = 0; i < k; ++i)
        home[std::size_t(i)] = std::uint8_t(tiles[std::size_t(i)] - 1);
    const std::uint32_t goal = RankCells(home.data(), k, cells);
    if (table[goal] != 0)
        return false;
    // Placements spread over the whole table. Where the group leaves fewer than two other tiles,
    // these cannot set the board's parity right, so some placements are never reached and their
    // entries stay unset.
    constexpr std::uint64_t kSamples = 2048;
    const std::uint64_t entries = table.size();
    const std::uint32_t all = (1u << cells) - 1;
    for (std::uint64_t s = 0; s <= kSamples; ++s) {
        const auto index = std::uint32_t(s == kSamples ? goal : (s * entries + s % 61) / kSamples % entries);
        const std::array<std::uint8_t, kMaxGroupTiles> at = UnrankCells(index, k, cells);
        std::uint32_t free = all;
        for (int i = 0; i < k; ++i)
            free &= ~(1u << at[std::size_t(i)]);
        if (table[index] == kUnset && cells - k <= 2)
            continue;
        if (InOnePiece(n, free) && !PlacementMakesSense(n, k, table, index, index == goal))
            return false;
    }
    return true;
}

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
        if (group.size() > kMaxGroupTiles)
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
    tables_.resize(partition_.size());
}

TBuildResult TPatternDatabase::Build(const TCancel& cancel, int threads)
{
    std::unique_lock lock(mutex_);
    while (building_) {
        // Another thread builds: wait for it to end, or for this caller's own stop request.
        if (!done_.wait(lock, cancel.Token(), [this] { return !building_; }))
            return TBuildResult::Stopped;
    }
    if (IsBuilt())
        return TBuildResult::Built;
    building_ = true;
    lock.unlock();
    TBuildResult result = TBuildResult::Failed;
    try {
        result = BuildAll(cancel, threads);
    } catch (...) {
        // Out of memory, or a watcher's failure: no tables now, another try later.
    }
    lock.lock();
    building_ = false;
    if (result == TBuildResult::Built)
        built_.store(true, std::memory_order_release);
    else
        tables_.assign(partition_.size(), {});
    done_.notify_all();
    return result;
}

TBuildResult TPatternDatabase::BuildAll(const TCancel& cancel, int threads)
{
    bool stopped = false;
    const TRegions regions(n_, cancel, stopped);
    if (stopped)
        return TBuildResult::Stopped;
    // Largest tables first, each on a thread of its own while threads are free.
    std::vector<int> order(partition_.size());
    for (std::size_t g = 0; g < order.size(); ++g)
        order[g] = int(g);
    std::stable_sort(order.begin(), order.end(),
                     [this](int a, int b) { return partition_[std::size_t(a)].size() > partition_[std::size_t(b)].size(); });
    std::vector<std::vector<std::uint8_t>> built(partition_.size());
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false}, abandon{false};
    auto work = [&]() noexcept {
        try {
            for (std::size_t k; !abandon.load() && (k = next.fetch_add(1)) < order.size();) {
                const int group = order[k];
                built[std::size_t(group)] = TTableBuild(partition_[std::size_t(group)], n_, regions).Run(cancel, abandon);
                if (built[std::size_t(group)].empty())
                    abandon = true;  // stopped
            }
        } catch (...) {
            failed = true;
            abandon = true;
        }
    };
    const std::size_t wanted = threads > 0 ? std::size_t(threads) : std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::jthread> helpers;
    for (std::size_t w = 1; w < std::min(wanted, order.size()); ++w) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break;  // no more threads to be had: the ones running build the rest
        }
    }
    work();
    helpers.clear();
    if (failed)
        return TBuildResult::Failed;
    if (abandon)
        return TBuildResult::Stopped;
    tables_ = std::move(built);
    return TBuildResult::Built;
}

bool TPatternDatabase::Adopt(std::vector<std::vector<std::uint8_t>> tables)
{
    if (tables.size() != partition_.size())
        return false;
    for (std::size_t g = 0; g < tables.size(); ++g)
        if (tables[g].size() != TableEntries(n_ * n_, partition_[g].size()))
            return false;
    std::unique_lock lock(mutex_);
    if (IsBuilt() || building_)
        return IsBuilt();  // tables of one's own are as good; a build going on finishes them
    tables_ = std::move(tables);
    built_.store(true, std::memory_order_release);
    done_.notify_all();
    return true;
}

std::uint32_t TPatternDatabase::Index(int group, const std::uint8_t* cellOfTile) const
{
    const TTileGroup& tiles = partition_[std::size_t(group)];
    std::array<std::uint8_t, kMaxGroupTiles> cells{};
    for (std::size_t i = 0; i < tiles.size(); ++i)
        cells[i] = cellOfTile[tiles[i]];
    return RankCells(cells.data(), int(tiles.size()), n_ * n_);
}

int TPatternDatabase::LowerBound(const std::uint8_t* cells) const
{
    std::array<std::uint8_t, 16> cellOfTile{}, mirrorCellOfTile{};
    for (int c = 0; c < n_ * n_; ++c) {
        cellOfTile[cells[c]] = std::uint8_t(c);
        mirrorCellOfTile[std::size_t(MirrorTile(cells[c]))] = std::uint8_t(MirrorCell(c));
    }
    int sum = 0, mirrorSum = 0;
    for (int g = 0; g < GroupCount(); ++g) {
        sum += Table(g)[Index(g, cellOfTile.data())];
        mirrorSum += Table(g)[Index(g, mirrorCellOfTile.data())];
    }
    return std::max(sum, mirrorSum);
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
