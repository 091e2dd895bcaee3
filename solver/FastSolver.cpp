#include "solver/FastSolver.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <limits>
#include <stdexcept>

namespace {

constexpr int kMaxPlacedAtOnce = 7;

// Search states seen: one 64-bit word each, the state's key in the low 48 bits, its cost so far
// and the step that reached it above. Open addressing, grown at half full.
class TStateTable {
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

    // The gap's cells along a shortest way, the start left out; nullopt when the search would go
    // over the node limit or is stopped.
    std::optional<std::vector<int>> GapPath(const TPosition& board, const std::vector<int>& homes, std::uint64_t frozen,
                                            std::uint64_t nodeLimit, const std::stop_token& stop, std::uint64_t& nodes)
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
                    nodes += MeasureTogether(i, j, frozen);
        const std::uint64_t start = Pack(cells);
        table_.Clear();
        for (auto& bucket : open_)
            bucket.clear();
        table_.Set(table_.Slot(start), start, 0, TStateTable::kFirstStep);
        Push(start, std::size_t(Bound(cells)));

        std::uint64_t expanded = 0;
        for (std::size_t f = 0; f < open_.size(); ++f) {
            // Last in, first out within a cost: the deepest states first. Entries carry the cost
            // so far above the key; one queued again with a smaller cost meanwhile is expanded
            // twice, the second time to no effect.
            while (!open_[f].empty()) {
                const std::uint64_t entry = open_[f].back();
                open_[f].pop_back();
                const std::uint64_t key = entry & TStateTable::kKeyBits;
                const int g = int(entry >> 48);
                const TCells at = Unpack(key);
                if (std::size_t(g) == f) {  // h == 0
                    nodes += expanded;
                    return PathTo(key);
                }
                if (++expanded > nodeLimit || (expanded % 1024 == 0 && stop.stop_requested())) {
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

private:
    using TCells = std::array<int, kMaxPlacedAtOnce + 1>;  // the gap's, then the tiles'

    std::uint64_t Pack(const TCells& cells) const
    {
        std::uint64_t key = 0;
        for (int i = count_; i >= 0; --i)
            key = key << 6 | std::uint64_t(cells[std::size_t(i)]);
        return key;
    }

    TCells Unpack(std::uint64_t key) const
    {
        TCells cells{};
        for (int i = 0; i <= count_; ++i, key >>= 6)
            cells[std::size_t(i)] = int(key & 63);
        return cells;
    }

    int Distance(int a, int b) const { return std::abs(a / n_ - b / n_) + std::abs(a % n_ - b % n_); }

    // The largest of three bounds: the tiles' Manhattan distances plus the gap's walk to the nearest
    // one away from home; the most any one tile needs when it alone had to be brought home; and,
    // in searches of three or more tiles, the most any two need together.
    int Bound(const TCells& cells) const
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

    // Fewest moves that bring tile i home from every (tile cell, gap cell) pair, the frozen cells
    // left alone: a breadth-first search backwards from the tile at home with the gap anywhere.
    // Moving one tile a long way costs about five moves a cell, which Manhattan distances miss.
    void MeasureAlone(int i, std::uint64_t frozen)
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

    void Push(std::uint64_t entry, std::size_t f)
    {
        if (f >= open_.size())
            open_.resize(f + 1);
        open_[f].push_back(entry);
    }

    // Walks the steps back from the key to the start: before each step the gap was one step
    // back, and a tile now on that cell was where the gap is.
    std::vector<int> PathTo(std::uint64_t key)
    {
        std::vector<int> path;
        for (;;) {
            const int step = table_.Step(table_.Slot(key));
            if (step == TStateTable::kFirstStep)
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

    // Fewest moves that bring tiles i and j home together, from every (gap, tile i, tile j) cells:
    // the same search for a pair. It sees the gap shared by the two, which single tiles miss.
    // The states reached are returned: they count as nodes searched.
    std::uint64_t MeasureTogether(int i, int j, std::uint64_t frozen)
    {
        std::uint64_t reached = 0;
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
            reached += next.size();
            layer.swap(next);
        }
        return reached;
    }

    // Which of the four steps from each cell lead to a cell that is not frozen, a bit each.
    void MarkOpenNeighbours(std::uint64_t frozen)
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
    TStateTable table_;
    std::vector<std::vector<std::uint64_t>> open_;
};

// The line's cells split into searches of at most `size` tiles, the last search taking at least
// the line's last two cells; the larger searches come first, or with `fromEnd` last.
std::vector<std::vector<int>> SplitLine(const std::vector<int>& cells, int size, bool fromEnd)
{
    std::vector<std::size_t> sizes;
    for (std::size_t left = cells.size(); left > 0;) {
        std::size_t take = std::min(std::size_t(size), left);
        if (left - take == 1)
            --take;
        sizes.push_back(take);
        left -= take;
    }
    if (fromEnd) {
        std::reverse(sizes.begin(), sizes.end());
        if (sizes.size() > 1 && sizes.back() == 1)
            std::swap(sizes.back(), sizes[sizes.size() - 2]);  // the line's last cell never alone
    }
    std::vector<std::vector<int>> parts;
    std::size_t first = 0;
    for (std::size_t take : sizes) {
        parts.emplace_back(cells.begin() + std::ptrdiff_t(first), cells.begin() + std::ptrdiff_t(first + take));
        first += take;
    }
    return parts;
}

// The solving of one position: the board as it goes, the moves so far.
class TReduction {
public:
    TReduction(const TPosition& position, const TFastSolverOptions& options, std::stop_token stop)
        : board_(position), n_(position.N), options_(options), stop_(std::move(stop)), search_(n_)
    {
    }

    bool Run()
    {
        const int n = n_;
        const bool tryOptimal4 = options_.FinishOptimally;
        while (n - solved_ > (tryOptimal4 ? 4 : 3))
            if (!ReduceOnce())
                return false;
        if (n - solved_ == 4) {
            TPatternDatabase& tables = options_.FinishTables ? *options_.FinishTables : TPatternDatabase::Shared(4);
            TOptimalSolver solver(tables);
            if (auto block = solver.Solve(Block(4), stop_, options_.FinishNodeLimit)) {
                nodes_ += block->Nodes;
                ApplyBlock(block->Tiles, 4);
                return true;
            }
            if (stop_.stop_requested())
                return false;
            nodes_ += options_.FinishNodeLimit;
            if (!ReduceOnce())
                return false;
        }
        const int rest = n - solved_;
        if (rest >= 2) {
            TOptimalSolver solver(TPatternDatabase::Shared(rest));
            auto block = solver.Solve(Block(rest), stop_);
            if (!block)
                return false;
            nodes_ += block->Nodes;
            ApplyBlock(block->Tiles, rest);
        }
        return true;
    }

    const TMoves& Moves() const { return moves_; }
    std::uint64_t Nodes() const { return nodes_; }

private:
    // Puts the top row and the left column of the unsolved block home. Several ways are tried (row
    // or column first, larger searches first or last) and the shortest kept.
    bool ReduceOnce()
    {
        const int n = n_, top = solved_;
        std::vector<int> row, column, rowAfter, columnAfter;
        for (int c = top; c < n; ++c)
            row.push_back(top * n + c);
        for (int r = top + 1; r < n; ++r)
            columnAfter.push_back(r * n + top);
        for (int r = top; r < n; ++r)
            column.push_back(r * n + top);
        for (int c = top + 1; c < n; ++c)
            rowAfter.push_back(top * n + c);

        const TPosition start = board_;
        const std::size_t movesBefore = moves_.size();
        TPosition bestBoard;
        TMoves bestMoves;
        bool haveBest = false;
        const int variants = options_.RoundVariants;
        for (int variant = 0; variant < variants; ++variant) {
            if (variant > 0) {
                if (nodes_ > options_.NodeBudget)
                    break;  // a long search already: keep the best way so far
                if (!haveBest || moves_.size() < bestMoves.size()) {
                    bestBoard = board_;
                    bestMoves = moves_;
                    haveBest = true;
                }
                board_ = start;
                moves_.resize(movesBefore);
                placed_ = 0;
            }
            splitFromEnd_ = variant >= 2;
            const bool rowFirst = variant % 2 == 0;
            if (rowFirst ? !PlaceLine(row) || !PlaceLine(columnAfter) : !PlaceLine(column) || !PlaceLine(rowAfter))
                return false;
        }
        if (haveBest && moves_.size() > bestMoves.size()) {
            board_ = std::move(bestBoard);
            moves_ = std::move(bestMoves);
        }
        ++solved_;
        placed_ = 0;
        return true;
    }

    bool PlaceLine(const std::vector<int>& cells)
    {
        for (const std::vector<int>& part : SplitLine(cells, TilesPerSearch(), splitFromEnd_))
            if (!Place(part))
                return false;
        return true;
    }

    // Larger searches place tiles better but cost more: the smaller the unsolved block, the more
    // tiles a search can take.
    int TilesPerSearch() const
    {
        if (nodes_ > options_.NodeBudget)
            return 2;  // a long search already: the smallest searches from here on
        const int block = n_ - solved_;
        const int tiles = options_.TilesPerSearch > 0 ? options_.TilesPerSearch : block <= 5 ? 5 : block == 6 ? 4 : 3;
        return std::clamp(tiles, 2, kMaxPlacedAtOnce);
    }

    // Brings the tiles of these cells home; frozen are the solved rows and columns and the cells of
    // the line placed before.
    bool Place(const std::vector<int>& cells)
    {
        std::uint64_t frozen = 0;
        for (int c = 0; c < n_ * n_; ++c)
            if (c / n_ < solved_ || c % n_ < solved_ || placed_ >> c & 1)
                frozen |= std::uint64_t(1) << c;
        // Searches of one or two tiles have at most 50^3 states: they run to the end.
        const std::uint64_t limit = cells.size() <= 2 ? std::numeric_limits<std::uint64_t>::max() : options_.PlacingNodeLimit;
        auto path = search_.GapPath(board_, cells, frozen, limit, stop_, nodes_);
        if (!path) {
            if (stop_.stop_requested())
                return false;
            if (cells.size() <= 2)
                throw std::logic_error("a placing search found no way");
            // Too large a search: the first tile alone, then the others.
            return Place({cells.front()}) && Place(std::vector<int>(cells.begin() + 1, cells.end()));
        }
        for (int to : *path) {
            const int tile = board_.Cells[std::size_t(to)];
            std::swap(board_.Cells[std::size_t(to)], board_.Cells[std::size_t(GapCell(board_))]);
            moves_.push_back(tile);
        }
        for (int c : cells)
            placed_ |= std::uint64_t(1) << c;
        return true;
    }

    // The unsolved bottom-right block as a board of its own, tiles renumbered.
    TPosition Block(int size) const
    {
        TPosition block{size, std::vector<std::uint8_t>(std::size_t(size * size))};
        const int offset = n_ - size;
        for (int r = 0; r < size; ++r)
            for (int c = 0; c < size; ++c) {
                const int tile = board_.Cells[std::size_t((r + offset) * n_ + c + offset)];
                block.Cells[std::size_t(r * size + c)] =
                    tile == 0 ? 0 : std::uint8_t(((tile - 1) / n_ - offset) * size + (tile - 1) % n_ - offset + 1);
            }
        return block;
    }

    void ApplyBlock(const TMoves& blockMoves, int size)
    {
        const int offset = n_ - size;
        for (int tile : blockMoves) {
            const int bigTile = ((tile - 1) / size + offset) * n_ + (tile - 1) % size + offset + 1;
            ApplyMove(board_, bigTile);
            moves_.push_back(bigTile);
        }
    }

    TPosition board_;
    int n_;
    const TFastSolverOptions& options_;
    std::stop_token stop_;
    TPlacingSearch search_;
    int solved_ = 0;           // rows and columns home at the top and left
    std::uint64_t placed_ = 0;
    bool splitFromEnd_ = false;  // larger searches last rather than first  // cells of the line being placed that are home
    TMoves moves_;
    std::uint64_t nodes_ = 0;
};

}  // namespace

TFastSolver::TFastSolver(TFastSolverOptions options) : options_(options)
{
    if (options_.FinishTables && options_.FinishTables->N() != 4)
        throw std::invalid_argument("the last block's tables must be for 4 x 4");
}

std::optional<TSolution> TFastSolver::Solve(const TPosition& position, std::stop_token stop)
{
    RequireSolvable(position);
    TReduction reduction(position, options_, std::move(stop));
    if (!reduction.Run())
        return std::nullopt;
    return TSolution{reduction.Moves(), reduction.Nodes(), ManhattanDistance(position)};
}
