#include "solver/PatternDatabase.h"

#include "solver/TableBuild.h"

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
    const int wanted = threads > 0 ? threads : int(std::max(1u, std::thread::hardware_concurrency()));
    std::vector<std::vector<std::uint8_t>> built;
    const TBuildResult result = BuildTables(n_, partition_, cancel, wanted, built);
    if (result == TBuildResult::Built)
        tables_ = std::move(built);
    return result;
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
