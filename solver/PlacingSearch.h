#pragma once
// The searches the fast solver places tiles with: the fewest moves that bring a few tiles home
// while the tiles already placed (the frozen cells) stay where they are.

#include "solver/Cancel.h"
#include "solver/Position.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

constexpr int kMaxPlacedAtOnce = 7;

// Search states seen: one 64-bit word each, the state's key in the low 48 bits, its cost so far
// and the step that reached it above. Open addressing, grown at half full.
class TPlacingStateTable {
public:
    static constexpr std::uint64_t kKeyBits = (std::uint64_t(1) << 48) - 1;
    static constexpr int kFirstStep = 7;  // the start, reached by no step

    void Clear()
    {
        if (words_.size() > (std::size_t(1) << 16) || words_.empty())
            words_.assign(std::size_t(1) << 12, kEmpty);
        else
            std::fill(words_.begin(), words_.end(), kEmpty);
        size_ = 0;
    }

    // Slot of the key, or of the empty word where it would go.
    std::size_t Slot(std::uint64_t key) const
    {
        std::size_t i = Home(key);
        while (words_[i] != kEmpty && (words_[i] & kKeyBits) != key)
            i = (i + 1) & (words_.size() - 1);
        return i;
    }
    void Prefetch(std::uint64_t key) const { __builtin_prefetch(&words_[Home(key)]); }
    bool Has(std::size_t slot) const { return words_[slot] != kEmpty; }
    int Cost(std::size_t slot) const { return int(words_[slot] >> 48 & 0xFFF); }
    int Step(std::size_t slot) const { return int(words_[slot] >> 60); }

    // Stores the key's cost and step; the slot is the key's own when it is there already.
    void Set(std::size_t slot, std::uint64_t key, int cost, int step)
    {
        if (words_[slot] == kEmpty)
            ++size_;
        words_[slot] = key | std::uint64_t(cost) << 48 | std::uint64_t(step) << 60;
        if (2 * size_ > words_.size())
            Grow();
    }

private:
    static constexpr std::uint64_t kEmpty = ~std::uint64_t(0);

    // Multiplicative hashing: the product's top bits are the well-mixed ones.
    std::size_t Home(std::uint64_t key) const
    {
        return std::size_t((key * 0x9E3779B97F4A7C15ull) >> (64 - std::countr_zero(words_.size())));
    }

    void Grow()
    {
        std::vector<std::uint64_t> old(words_.size() * 2, kEmpty);
        old.swap(words_);
        for (std::uint64_t word : old)
            if (word != kEmpty)
                words_[Slot(word & kKeyBits)] = word;
    }

    std::vector<std::uint64_t> words_;
    std::size_t size_ = 0;
};

// A* for the fewest moves that bring a few tiles home without moving the frozen cells. The other
// tiles are all alike to it, so a state is the gap's cell and the cells of the tiles, six bits
// each. Kept from one placing to the next, so that its memory is reused.
class TPlacingSearch {
public:
    explicit TPlacingSearch(int n) : n_(n), steps_{-1, 1, -n, n} {}

    // The gap's cells along a shortest way that brings the tiles of the `homes` cells (0-based)
    // home, the start left out; nullopt when the search would go over the node limit or is
    // stopped. `nodes` grows by the nodes expanded and the states of the bounding tables.
    std::optional<std::vector<int>> GapPath(const TPosition& board, const std::vector<int>& homes, std::uint64_t frozen,
                                            std::uint64_t nodeLimit, const TCancel& cancel, std::uint64_t& nodes);

private:
    using TCells = std::array<int, kMaxPlacedAtOnce + 1>;  // the gap's, then the tiles'

    std::uint64_t Pack(const TCells& cells) const;

    TCells Unpack(std::uint64_t key) const;

    int Distance(int a, int b) const { return std::abs(a / n_ - b / n_) + std::abs(a % n_ - b % n_); }

    // The largest of three bounds: the tiles' Manhattan distances plus the gap's walk to the nearest
    // one away from home; the most any one tile needs when it alone had to be brought home; and,
    // in searches of three or more tiles, the most any two need together.
    int Bound(const TCells& cells) const;

    // Fewest moves that bring tile i home from every (tile cell, gap cell) pair, the frozen cells
    // left alone: a breadth-first search backwards from the tile at home with the gap anywhere.
    // Moving one tile a long way costs about five moves a cell, which Manhattan distances miss.
    void MeasureAlone(int i, std::uint64_t frozen);

    void Push(std::uint64_t entry, std::size_t f);

    // Walks the steps back from the key to the start: before each step the gap was one step
    // back, and a tile now on that cell was where the gap is.
    std::vector<int> PathTo(std::uint64_t key);

    // Fewest moves that bring tiles i and j home together, from every (gap, tile i, tile j) cells:
    // the same search for a pair. It sees the gap shared by the two, which single tiles miss.
    // The states reached are added to `nodes`; false when stopped.
    bool MeasureTogether(int i, int j, std::uint64_t frozen, const TCancel& cancel, std::uint64_t& nodes);

    // Which of the four steps from each cell lead to a cell that is not frozen, a bit each.
    void MarkOpenNeighbours(std::uint64_t frozen);

    static constexpr int kCells = 64;
    static constexpr std::uint8_t kFar = 255;

    int n_;
    std::array<int, 4> steps_;
    std::array<std::array<std::uint8_t, kCells * kCells>, kMaxPlacedAtOnce> alone_{};
    std::vector<std::pair<int, int>> pairs_;
    std::vector<std::vector<std::uint8_t>> together_;
    std::array<std::uint64_t, kCells> openNeighbours_{};
    std::vector<std::uint32_t> layer_, nextLayer_;
    int count_ = 0;
    std::array<int, kMaxPlacedAtOnce> home_{};
    TPlacingStateTable table_;
    std::vector<std::vector<std::uint64_t>> open_;
};
