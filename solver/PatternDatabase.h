#pragma once
// Additive pattern tables for boards of up to 4 x 4. The tiles are split into disjoint groups; a
// group's table holds, for every placement of its tiles, the fewest moves of those tiles (other
// tiles moving for free) that bring them home. Moves of different groups' tiles are different
// moves, so the groups' costs add up to a lower bound of the solution length.
//
// The same tables also bound the position mirrored about the main diagonal (the gap's home lies
// on it, so the mirrored goal is the goal); the larger of the two sums is used.

#include "solver/Cancel.h"
#include "solver/Position.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

constexpr int kPatternMaxSize = 4;

constexpr int kMaxGroupTiles = 7;

using TTileGroup = std::vector<int>;
using TPartition = std::vector<TTileGroup>;

// The groups the shared tables use: all three tiles of 2 x 2, 7 + 1 tiles on 3 x 3; on 4 x 4 the
// top row with 6 and 7, the bottom-right six (8, 10, 11, 12, 14, 15) and the left column's 5, 9
// and 13 (of the 6 + 6 + 3 splits tried, this one expands the fewest nodes). No group is its own
// mirror image, so the mirror lookup adds what the groups alone miss. None on 1 x 1.
TPartition DefaultPartition(int n);

// What is wrong with the groups for an n x n board (a tile out of range or in two groups, an empty
// group, more than 7 tiles in a group, a table larger than 6 million entries); nullopt when they
// are usable. Tiles in no group are allowed (they add nothing to the bound).
std::optional<std::string> PartitionError(int n, const TPartition& partition);

// Entries of a table for `tiles` tiles on a board of `cells` cells.
std::uint64_t TableEntries(int cells, std::size_t tiles);

// The numbering of a group's placements (see TPatternDatabase::Index) for the cells of its K
// tiles in group order: a mixed-radix number whose digit for each tile is its cell counted among
// the cells the earlier tiles leave free. The group's size is known when compiled, so the loops
// unroll.
template <int K>
inline std::uint32_t RankCells(const std::uint8_t* cells, int boardCells)
{
    std::uint32_t index = 0;
    for (int i = 0; i < K; ++i) {
        int digit = cells[i];
        for (int j = 0; j < i; ++j)
            digit -= cells[j] < cells[i];
        index = index * std::uint32_t(boardCells - i) + std::uint32_t(digit);
    }
    return index;
}

// The same for a size known only when run.
std::uint32_t RankCells(const std::uint8_t* cells, int count, int boardCells);

// Whether a table read from elsewhere can be the group's table, by checks that every table built
// here passes: the goal placement's entry is 0, and for a sample of the placements whose free cells
// are in one piece, the entry is within the most moves any board of the size needs, no placement
// one move away is more than one move further, and unless the entry is the goal's, one of them is
// nearer. A table that is all zeros, all 0xFF or noise fails; it costs a few thousand lookups.
bool TableMakesSense(int n, const TTileGroup& tiles, const std::vector<std::uint8_t>& table);

// How a table build ended.
enum class TBuildResult { Built, Stopped, Failed };

class TPatternDatabase {
public:
    // Throws std::invalid_argument for n outside 1..4 or groups that PartitionError rejects.
    // Nothing is built here.
    TPatternDatabase(int n, TPartition partition);
    TPatternDatabase(const TPatternDatabase&) = delete;
    TPatternDatabase& operator=(const TPatternDatabase&) = delete;

    // Builds every table unless they are built already, on up to `threads` threads (0: one per
    // core); Built at once when they are. A stop request ends the build within a few thousand
    // entries and leaves the tables unbuilt, to be built again later; so does a failure (out of
    // memory, or no thread to be had but the caller's). Several threads may call it at once: one
    // builds, the others wait for it (each until its own stop request) and build themselves
    // when it gave up.
    TBuildResult Build(const TCancel& cancel = {}, int threads = 0);
    // Takes tables made elsewhere (read from a file): false, with nothing changed, unless there
    // is one table of the right size for every group. Built when it returns true.
    bool Adopt(std::vector<std::vector<std::uint8_t>> tables);
    bool IsBuilt() const { return built_.load(std::memory_order_acquire); }

    int N() const { return n_; }
    const TPartition& Partition() const { return partition_; }
    int GroupCount() const { return int(partition_.size()); }
    // Tile mirrored about the main diagonal (0, the gap, stays 0), and likewise for cells.
    int MirrorTile(int tile) const { return tile == 0 ? 0 : MirrorCell(tile - 1) + 1; }
    int MirrorCell(int cell) const { return (cell % n_) * n_ + cell / n_; }

    // Table entry of the group for the cells of its tiles; cellOfTile is indexed by tile number.
    std::uint32_t Index(int group, const std::uint8_t* cellOfTile) const;
    // The group's table; needs IsBuilt().
    const std::uint8_t* Table(int group) const { return tables_[std::size_t(group)].data(); }
    std::size_t TableSize(int group) const { return tables_[std::size_t(group)].size(); }
    // The larger of the groups' costs summed for the position and for its mirror image; needs
    // IsBuilt(). The cells are the position's, N * N of them.
    int LowerBound(const std::uint8_t* cells) const;
    int LowerBound(const TPosition& position) const { return LowerBound(position.Cells.data()); }

    // Memory the built tables hold.
    std::size_t TableBytes() const;

    // The tables of DefaultPartition(n), one set per size, shared by every user in the process;
    // nothing is built before the first Build().
    static TPatternDatabase& Shared(int n);

private:
    TBuildResult BuildAll(const TCancel& cancel, int threads);

    int n_;
    TPartition partition_;
    std::vector<std::vector<std::uint8_t>> tables_;
    std::mutex mutex_;                 // guards building_ and the tables while not built
    std::condition_variable_any done_;  // a build ended
    bool building_ = false;
    std::atomic<bool> built_{false};
};
