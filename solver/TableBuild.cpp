#include "solver/TableBuild.h"

#include "solver/PlacementSteps.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <utility>

namespace {

constexpr std::uint8_t kUnset = 0xFF;

// Number of cells of the mask below the cell, counted by halves, quarters, ...: the generic
// x86-64 target has no population-count instruction.
int CountBelow(std::uint32_t mask, int cell)
{
    std::uint32_t bits = mask & ((1u << cell) - 1);
    bits = bits - ((bits >> 1) & 0x55555555u);
    bits = (bits & 0x33333333u) + ((bits >> 2) & 0x33333333u);
    bits = (bits + (bits >> 4)) & 0x0F0F0F0Fu;
    return int((bits * 0x01010101u) >> 24);
}

// x / d for the numbers a build divides (x below 2^27, d from 2 to 16) by a multiplication:
// the error of the rounded-up reciprocal stays below 1/32 of a unit, less than any remainder
// leaves room for.
struct TDivisor {
    std::uint64_t magic = (std::uint64_t(1) << 32) + 1;
    TDivisor() = default;
    explicit TDivisor(std::uint32_t d) : magic((std::uint64_t(1) << 32) / d + 1) {}
    std::uint32_t Divide(std::uint64_t x) const { return std::uint32_t((x * magic) >> 32); }
};

// Cell sets of a board of up to 16 cells as bit masks, and for every set of free cells the pieces
// the gap can roam in: for each of its cells the piece's slot, the piece's place among the pieces
// ordered by their lowest cells (four bits a cell), so that the build names a gap's region without
// flooding it. A set in one piece has every cell in slot 0. The same for every group.
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
        slots_.assign(std::size_t(all_) + 1, 0);
        for (std::uint32_t free = 1; free <= all_; ++free) {
            if (free % kCheckInterval == 0 && cancel.Stopped(TSolverPhase::Build, free)) {
                stopped = true;
                return;
            }
            connected_[free] = Region(free & (~free + 1), free) == free;
            std::uint64_t slot = 0;
            for (std::uint32_t rest = free; rest; ++slot) {
                const std::uint32_t region = Region(rest & (~rest + 1), free);
                for (std::uint32_t left = region; left; left &= left - 1)
                    slots_[free] |= slot << (4 * std::countr_zero(left));
                rest &= ~region;
            }
            int& most = mostRegions_[std::size_t(CountBelow(free, 16))];
            most = std::max(most, int(slot));
        }
    }

    std::uint32_t All() const { return all_; }
    std::uint32_t NeighboursOf(int cell) const { return neighbours_[std::size_t(cell)]; }
    bool Connected(std::uint32_t free) const { return connected_[free] != 0; }
    int SlotOf(std::uint32_t free, int cell) const { return int((slots_[free] >> (4 * cell)) & 15); }
    // The cells of the free cells' piece in the slot.
    std::uint32_t Piece(std::uint32_t free, int slot) const
    {
        std::uint32_t piece = 0;
        for (std::uint32_t left = free; left; left &= left - 1)
            piece |= std::uint32_t(SlotOf(free, std::countr_zero(left)) == slot) << std::countr_zero(left);
        return piece;
    }
    // The most pieces that so many free cells make.
    int MostPieces(int freeCells) const { return mostRegions_[std::size_t(freeCells)]; }
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
    std::vector<std::uint64_t> slots_;
    std::array<int, 17> mostRegions_{};
};

// The cell of the nth (from 0) of the cells of a 16-cell mask that has more than n, by a byte at a
// time from two small tables instead of a loop of n steps, whose end no branch can foretell.
class TNthCell {
public:
    TNthCell()
    {
        for (int byte = 0; byte < 256; ++byte)
            for (int bit = 0; bit < 8; ++bit)
                if (byte >> bit & 1)
                    nth_[std::size_t(byte)][std::size_t(count_[std::size_t(byte)]++)] = std::uint8_t(bit);
    }
    int operator()(std::uint32_t mask, int n) const
    {
        const int low = count_[mask & 255];
        const bool high = n >= low;
        return (high ? 8 : 0) + nth_[high ? mask >> 8 & 255 : mask & 255][std::size_t(high ? n - low : n)];
    }

private:
    std::array<std::uint8_t, 256> count_{};
    std::array<std::array<std::uint8_t, 8>, 256> nth_{};
};

const TNthCell NthCell;

// Bits that several threads set at once: each is tested first, and set with an atomic operation
// only when it was clear, which is rare next to the tests. They come cleared from calloc, which
// for sets this large hands over pages the system clears when first touched: by the threads that
// work on them, not by the one that makes every search before the others start.
class TBits {
public:
    void Assign(std::uint64_t bits)
    {
        words_.reset();
        count_ = std::size_t((bits + 63) / 64);
        words_.reset(static_cast<std::uint64_t*>(std::calloc(count_, sizeof(std::uint64_t))));
        if (!words_)
            throw std::bad_alloc();
    }
    std::size_t Words() const { return count_; }
    std::uint64_t& Word(std::size_t w) { return words_[w]; }
    void Prefetch(std::uint64_t bit) const { __builtin_prefetch(&words_[bit / 64]); }
    // Sets the bit; true when this call set it.
    bool Set(std::uint64_t bit)
    {
        std::atomic_ref<std::uint64_t> word(words_[bit / 64]);
        const std::uint64_t mask = std::uint64_t(1) << (bit % 64);
        return (word.load(std::memory_order_relaxed) & mask) == 0 && (word.fetch_or(mask, std::memory_order_relaxed) & mask) == 0;
    }

private:
    struct TFree {
        void operator()(std::uint64_t* words) const { std::free(words); }
    };
    std::unique_ptr<std::uint64_t[], TFree> words_;
    std::size_t count_ = 0;
};

// Breadth-first search backwards from the goal over placements of one group's tiles. The gap is
// kept only as the region of free cells it can reach, since moving it inside that region costs
// nothing: a state is a placement and the slot of its gap's region, bit placement * pieces + slot
// of the bit sets, where pieces is the most regions the free cells ever make. A placement's cost is the layer in which one of its states is first reached.
// A layer is the set bits of `current_`, taken in pieces of kPieceWords words in the order of the
// placements' numbers (so that the successors' bits, for each tile and direction, are met in
// order too). The states it reaches for the first time are marked in `seen_` alone: the next
// layer is what `seen_` gained meanwhile, found once the layer is done by comparing it with
// `layerStart_`, a word at a time, which costs less than marking each new state twice.
class TGroupSearch {
public:
    static constexpr std::size_t kPieceWords = 1024;

    TGroupSearch(const TTileGroup& tiles, int n, const TRegions& regions)
        : k_(int(tiles.size())), cells_(n * n), pieces_(regions.MostPieces(cells_ - k_)), regions_(regions),
          perPlacement_(std::uint32_t(pieces_))
    {
        for (int i = 0; i < k_; ++i)
            radix_[std::size_t(i)] = TDivisor(std::uint32_t(cells_ - i));
        MakeSteps(n);
        std::array<std::uint8_t, kMaxGroupTiles> home{};
        std::uint32_t free = regions_.All();
        for (int i = 0; i < k_; ++i) {
            home[std::size_t(i)] = std::uint8_t(tiles[std::size_t(i)] - 1);
            free &= ~(1u << home[std::size_t(i)]);
        }
        const std::uint64_t entries = TableEntries(cells_, tiles.size());
        table_.assign(entries, kUnset);
        for (TBits* bits : {&seen_, &current_, &layerStart_})
            bits->Assign(entries * std::uint64_t(pieces_));
        // The start: every tile home, the gap in its home corner's region.
        const std::uint64_t start = std::uint64_t(RankCells(home.data(), k_, cells_)) * std::uint64_t(pieces_)
                                    + std::uint64_t(regions_.SlotOf(free, cells_ - 1));
        seen_.Set(start);
        current_.Set(start);
        layerStart_.Set(start);
    }

    bool Done() const { return done_; }
    std::size_t Pieces() const { return (current_.Words() + kPieceWords - 1) / kPieceWords; }
    // The next layer, once every piece of this one is done.
    void Advance()
    {
        done_ = found_.exchange(0) == 0;
        for (std::size_t w = 0; w < seen_.Words(); ++w) {
            current_.Word(w) = seen_.Word(w) ^ layerStart_.Word(w);
            layerStart_.Word(w) = seen_.Word(w);
        }
        ++depth_;
    }
    std::vector<std::uint8_t> Take() { return std::move(table_); }

    // Expands the states of one piece of the layer; false when stopped or abandoned. `steps`
    // counts the states this thread expanded, and the stop request is looked at every
    // kCheckInterval of them.
    bool RunPiece(std::size_t piece, const TCancel& cancel, const std::atomic<bool>& abandon, std::uint64_t& steps)
    {
        const std::size_t first = piece * kPieceWords, last = std::min(current_.Words(), first + kPieceWords);
        TPlacement at;
        std::uint32_t placement = ~0u;
        std::uint64_t found = 0;
        TBatch batch;
        for (std::size_t w = first; w < last; ++w) {
            std::uint64_t bits = current_.Word(w);
            for (; bits; bits &= bits - 1) {
                if (++steps % kCheckInterval == 0
                    && (cancel.Stopped(TSolverPhase::Build, steps) || abandon.load(std::memory_order_relaxed)))
                    return false;
                const std::uint64_t state = std::uint64_t(w) * 64 + std::uint64_t(std::countr_zero(bits));
                const std::uint32_t p = perPlacement_.Divide(state);
                if (p != placement) {
                    placement = p;
                    Unrank(p, at);
                    // A placement on a piece's edge may be another thread's too: the same value
                    // is written by both.
                    std::atomic_ref<std::uint8_t> cost(table_[p]);
                    if (cost.load(std::memory_order_relaxed) > depth_)
                        cost.store(std::uint8_t(depth_), std::memory_order_relaxed);
                }
                Expand(p, int(state - std::uint64_t(p) * std::uint64_t(pieces_)), at, batch);
                if (batch.count > batch.states.size() - 4 * kMaxGroupTiles)
                    found += Reach(batch);
            }
        }
        found += Reach(batch);
        found_.fetch_add(found, std::memory_order_relaxed);
        return true;
    }

private:
    static constexpr int kPast = 16;  // a cell past the board: no tile on it

    // The cells of a placement's tiles, which tile is on each cell (kNoTile on the others and on
    // kPast), and the cells they cover; and to make the next placement from it, its digits and
    // the cells the tiles before each one cover.
    struct TPlacement {
        TPlacement() { order.fill(kNoTile); }
        std::array<std::uint8_t, kMaxGroupTiles> cell{};
        std::array<std::int8_t, 17> order;
        std::uint32_t occupied = 0;
        std::array<std::uint32_t, kMaxGroupTiles> digit{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};  // none yet
        std::array<std::uint32_t, kMaxGroupTiles + 1> before{};
    };

    // The steps' tables (PlacementSteps.h), and the way of a step by the cells it goes (plus 4,
    // a lookup where a chain of comparisons would branch).
    void MakeSteps(int n)
    {
        slotSteps_ = MakeSlotSteps(n, k_);
        for (const int cells : {-n, -1, 1, n}) {
            const TWay way = WayOf(n, cells);
            wayOf_[std::size_t(cells + 4)] = way;
            for (int from = std::max(0, -cells); from < std::min(cells_, cells_ - cells); ++from)  // to on the board
                crossed_[std::size_t(from)][std::size_t(way)] = CellsBetween(from, from + cells, kPast);
        }
    }

    // Turns `at` into the placement of a number (see RankCells): its digits, last first, then
    // each tile's cell as the digit-th of the cells the earlier tiles left free. The placements
    // of a layer come in order, and mostly differ in their last digits only: the tiles before
    // the first digit that changed stay where they are.
    void Unrank(std::uint32_t index, TPlacement& at) const
    {
        std::array<std::uint32_t, kMaxGroupTiles> digit{};
        for (int i = k_ - 1; i >= 0; --i) {
            const std::uint32_t quotient = radix_[std::size_t(i)].Divide(index);
            digit[std::size_t(i)] = index - quotient * std::uint32_t(cells_ - i);
            index = quotient;
        }
        int first = 0;
        while (first < k_ && digit[std::size_t(first)] == at.digit[std::size_t(first)])
            ++first;
        for (int i = first; i < k_; ++i)
            at.order[at.cell[std::size_t(i)]] = kNoTile;
        for (int i = first; i < k_; ++i) {
            const std::uint32_t before = at.before[std::size_t(i)];
            const int cell = NthCell(~before & regions_.All(), int(digit[std::size_t(i)]));
            at.digit[std::size_t(i)] = digit[std::size_t(i)];
            at.cell[std::size_t(i)] = std::uint8_t(cell);
            at.order[std::size_t(cell)] = std::int8_t(i);
            at.before[std::size_t(i + 1)] = before | 1u << cell;
        }
        at.occupied = at.before[std::size_t(k_)];
    }

    // The states one move from some states of the layer, their bits fetched ahead as they are
    // found, so that the scattered reads overlap before they are tested.
    struct TBatch {
        std::array<std::uint64_t, 512> states;
        std::size_t count = 0;
    };

    // Marks the batch's states reached; how many were new.
    std::uint64_t Reach(TBatch& batch)
    {
        std::uint64_t found = 0;
        for (std::size_t i = 0; i < batch.count; ++i)
            found += seen_.Set(batch.states[i]);
        batch.count = 0;
        return found;
    }

    // Adds the states one move from the placement's state to the batch.
    void Expand(std::uint32_t index, int slot, const TPlacement& at, TBatch& batch)
    {
        const std::uint32_t free = regions_.All() & ~at.occupied;
        const std::uint32_t region = regions_.Connected(free) ? free : regions_.Piece(free, slot);
        for (int i = 0; i < k_; ++i) {
            const int from = at.cell[std::size_t(i)];
            for (std::uint32_t targets = regions_.NeighboursOf(from) & region; targets; targets &= targets - 1) {
                const int to = std::countr_zero(targets);
                // The same three lookups for every step (a step along a row passes over no cell),
                // so that no branch depends on where the tiles stand.
                const int way = wayOf_[std::size_t(to - from + 4)];
                const std::uint32_t moved = Stepped(slotSteps_[std::size_t(i)][std::size_t(way)], index, at.order.data(),
                                                    crossed_[std::size_t(from)][std::size_t(way)]);
                // The gap is left in the region of the tile's old cell.
                const std::uint32_t movedFree = free ^ (1u << from) ^ (1u << to);
                const std::uint64_t state = std::uint64_t(moved) * std::uint64_t(pieces_) + std::uint64_t(regions_.SlotOf(movedFree, from));
                seen_.Prefetch(state);
                batch.states[batch.count++] = state;
            }
        }
    }

    const int k_, cells_, pieces_;  // pieces_: the most the free cells ever make
    const TRegions& regions_;
    const TDivisor perPlacement_;
    std::array<TDivisor, kMaxGroupTiles> radix_{};
    TSlotSteps slotSteps_{};                                                          // by tile and way
    std::array<std::array<std::array<std::int8_t, kMaxPassed>, kStill>, 16> crossed_{};  // by cell and way
    std::array<TWay, 9> wayOf_{};                                                    // by cells gone, plus 4
    std::vector<std::uint8_t> table_;
    TBits seen_, current_, layerStart_;
    int depth_ = 0;
    bool done_ = false;
    std::atomic<std::uint64_t> found_{0};  // states first reached in this layer
};

// Hands the searches' pieces to the threads: of the searches with a piece of their layer left,
// the one the fewest threads work on, the largest group first among equals. So the groups are
// built at once, each by a thread of its own while there are enough of them (threads on one
// search set bits in the same words), and every thread works while any piece is left. The
// thread that ends a layer's last piece opens the next layer.
class TScheduler {
public:
    TScheduler(std::vector<std::unique_ptr<TGroupSearch>>& searches, const TCancel& cancel)
        : searches_(searches), cancel_(cancel)
    {
        for (auto& search : searches_)
            layers_.push_back({search.get(), 0, 0, 0});
    }

    // One thread's work until every table is built, or the build stopped or failed.
    void Work() noexcept
    {
        std::uint64_t steps = 0;
        std::unique_lock lock(mutex_);
        while (!abandon_) {
            TLayer* layer = nullptr;
            for (TLayer& candidate : layers_)
                if (!candidate.search->Done() && candidate.taken < candidate.search->Pieces()
                    && (!layer || candidate.working < layer->working))
                    layer = &candidate;
            if (!layer) {
                if (std::all_of(layers_.begin(), layers_.end(), [](const TLayer& l) { return l.search->Done(); }))
                    return;
                ready_.wait(lock);
                continue;
            }
            const std::size_t piece = layer->taken++;
            ++layer->working;
            lock.unlock();
            bool ran = false, failed = false;
            try {
                ran = layer->search->RunPiece(piece, cancel_, abandon_, steps);
            } catch (...) {
                failed = true;  // a watcher's failure
            }
            lock.lock();
            --layer->working;
            failed_ = failed_ || failed;
            if (!ran) {
                abandon_ = true;
                ready_.notify_all();
                return;
            }
            if (++layer->ended == layer->search->Pieces()) {
                layer->search->Advance();
                layer->taken = layer->ended = 0;
                ready_.notify_all();
            }
        }
    }

    bool Failed() const { return failed_; }
    bool Abandoned() const { return abandon_; }

private:
    struct TLayer {
        TGroupSearch* search;
        std::size_t taken, ended;  // pieces of the current layer
        int working;               // threads on its pieces now
    };

    std::vector<std::unique_ptr<TGroupSearch>>& searches_;
    const TCancel& cancel_;
    std::vector<TLayer> layers_;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::atomic<bool> abandon_{false};
    bool failed_ = false;
};

}  // namespace

TBuildResult BuildTables(int n, const TPartition& partition, const TCancel& cancel, int threads,
                         std::vector<std::vector<std::uint8_t>>& tables)
{
    bool stopped = false;
    const TRegions regions(n, cancel, stopped);
    if (stopped)
        return TBuildResult::Stopped;
    std::vector<std::size_t> order(partition.size());
    for (std::size_t g = 0; g < order.size(); ++g)
        order[g] = g;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return partition[a].size() > partition[b].size(); });
    std::vector<std::unique_ptr<TGroupSearch>> searches;
    for (std::size_t g : order)
        searches.push_back(std::make_unique<TGroupSearch>(partition[g], n, regions));
    TScheduler scheduler(searches, cancel);
    {
        std::vector<std::jthread> helpers;
        for (int t = 1; t < threads; ++t) {
            try {
                helpers.emplace_back([&scheduler] { scheduler.Work(); });
            } catch (const std::system_error&) {
                break;  // no more threads to be had: the ones running build the rest
            }
        }
        scheduler.Work();
    }
    if (scheduler.Failed())
        return TBuildResult::Failed;
    if (scheduler.Abandoned())
        return TBuildResult::Stopped;
    tables.assign(partition.size(), {});
    for (std::size_t k = 0; k < order.size(); ++k)
        tables[order[k]] = searches[k]->Take();
    return TBuildResult::Built;
}
