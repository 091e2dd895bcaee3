#pragma once
// Additive pattern tables for boards of up to 4 x 4. The tiles are split into disjoint groups; a
// group's table holds, for every placement of its tiles, the fewest moves of those tiles (other
// tiles moving for free) that bring them home. Moves of different groups' tiles are different
// moves, so the groups' costs add up to a lower bound of the solution length.
//
// The same tables also bound the position mirrored about the main diagonal (the gap's home lies
// on it, so the mirrored goal is the goal); the larger of the two sums is used.

#include "solver/Position.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

constexpr int kPatternMaxSize = 4;

constexpr int kMaxGroupTiles = 8;

using TTileGroup = std::vector<int>;
using TPartition = std::vector<TTileGroup>;

// The groups the shared tables use: all three tiles of 2 x 2, 7 + 1 tiles on 3 x 3; on 4 x 4 the
// top row with 6 and 7, the bottom-right six (8, 10, 11, 12, 14, 15) and the left column's 5, 9
// and 13 (of the 6 + 6 + 3 splits tried, this one expands the fewest nodes). No group is its own
// mirror image, so the mirror lookup adds what the groups alone miss. None on 1 x 1.
TPartition DefaultPartition(int n);

// What is wrong with the groups for an n x n board (a tile out of range or in two groups, an empty
// group, more than 7 tiles in a group, a table larger than 6 million entries); nullopt when they are usable. Tiles in no group
// are allowed (they add nothing to the bound).
std::optional<std::string> PartitionError(int n, const TPartition& partition);

// The numbering of a group's placements (see TPatternDatabase::Index), for the cells of its tiles
// in group order.
inline std::uint32_t RankCells(const int* cells, int count, int boardCells)
{
    std::uint32_t index = 0;
    for (int i = 0; i < count; ++i) {
        int digit = cells[i];
        for (int j = 0; j < i; ++j)
            digit -= cells[j] < cells[i];
        index = index * std::uint32_t(boardCells - i) + std::uint32_t(digit);
    }
    return index;
}

class TPatternDatabase {
public:
    // Throws std::invalid_argument for n outside 1..4 or groups that PartitionError rejects.
    // Nothing is built here.
    TPatternDatabase(int n, TPartition partition);
    TPatternDatabase(const TPatternDatabase&) = delete;
    TPatternDatabase& operator=(const TPatternDatabase&) = delete;

    // Builds every table unless they are built already, one thread per table up to the number of
    // cores. Safe to call from several threads at once: the tables are built once and every caller
    // returns when they are ready.
    void Build();
    bool IsBuilt() const { return built_.load(std::memory_order_acquire); }

    int N() const { return n_; }
    const TPartition& Partition() const { return partition_; }
    int GroupCount() const { return int(partition_.size()); }
    // Group of the tile, -1 when it is in none.
    int GroupOf(int tile) const { return groupOf_[std::size_t(tile)]; }
    // Tile mirrored about the main diagonal (0, the gap, stays 0), and likewise for cells.
    int MirrorTile(int tile) const { return tile == 0 ? 0 : MirrorCell(tile - 1) + 1; }
    int MirrorCell(int cell) const { return (cell % n_) * n_ + cell / n_; }

    // Table entry of the group for the cells of its tiles; cellOfTile is indexed by tile number.
    // Placements are numbered by the cells of the group's tiles in group order, each counted among
    // the cells the earlier tiles leave free: a mixed-radix number with digits below C, C - 1, ...
    std::uint32_t Index(int group, const std::uint8_t* cellOfTile) const
    {
        const TTileGroup& tiles = partition_[std::size_t(group)];
        std::array<int, kMaxGroupTiles> cells{};
        for (std::size_t i = 0; i < tiles.size(); ++i)
            cells[i] = cellOfTile[tiles[i]];
        return RankCells(cells.data(), int(tiles.size()), n_ * n_);
    }
    int Cost(int group, std::uint32_t index) const { return tables_[std::size_t(group)][index]; }
    const std::uint8_t* Table(int group) const { return tables_[std::size_t(group)].data(); }
    // Sum of the groups' costs for the position, and the same for its mirror image; needs Build().
    int PartitionCost(const TPosition& position) const;
    int LowerBound(const TPosition& position) const;

    // Memory the built tables hold.
    std::size_t TableBytes() const;

    // The tables of DefaultPartition(n), one set per size, shared by every user in the process;
    // they are built by the first Build(), never before.
    static TPatternDatabase& Shared(int n);
    // Whether the shared tables for this size are built, without building them.
    static bool IsSharedBuilt(int n);

private:
    void BuildTable(int group);

    int n_;
    TPartition partition_;
    std::vector<int> groupOf_;
    std::vector<std::vector<std::uint8_t>> tables_;
    std::once_flag buildOnce_;
    std::atomic<bool> built_{false};
};
