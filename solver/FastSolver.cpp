#include "solver/FastSolver.h"

#include "solver/PlacingSearch.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>
#include <vector>

namespace {

constexpr int kMaxCells = kSolverMaxSize * kSolverMaxSize;

// Random keys for every (cell, tile): a board's key is the exclusive or of its tiles' keys, so
// that a move changes it by two keys (Zobrist hashing).
struct TKeys {
    TKeys()
    {
        std::uint64_t state = 0x9E3779B97F4A7C15ull;
        for (auto& row : key)
            for (std::uint64_t& value : row) {
                // splitmix64
                std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
                z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
                z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
                value = z ^ (z >> 31);
            }
    }
    std::array<std::array<std::uint64_t, kMaxCells>, kMaxCells> key{};
};

const TKeys& Keys()
{
    static const TKeys keys;
    return keys;
}

// The keys of the boards met so far: open addressing, grown at half full. Key 0 marks a free slot.
class TSeen {
public:
    TSeen() : slots_(std::size_t(1) << 16, 0) {}

    bool Has(std::uint64_t key) const { return slots_[Find(Fix(key))] != 0; }
    // false when the key was there already.
    bool Insert(std::uint64_t key)
    {
        key = Fix(key);
        std::size_t slot = Find(key);
        if (slots_[slot] != 0)
            return false;
        slots_[slot] = key;
        if (2 * ++size_ > slots_.size()) {
            std::vector<std::uint64_t> old(slots_.size() * 2, 0);
            old.swap(slots_);
            for (std::uint64_t kept : old)
                if (kept != 0)
                    slots_[Find(kept)] = kept;
        }
        return true;
    }

private:
    static std::uint64_t Fix(std::uint64_t key) { return key == 0 ? 1 : key; }
    std::size_t Find(std::uint64_t key) const
    {
        const std::size_t mask = slots_.size() - 1;
        std::size_t slot = std::size_t(key >> 20) & mask;
        while (slots_[slot] != 0 && slots_[slot] != key)
            slot = (slot + 1) & mask;
        return slot;
    }

    std::vector<std::uint64_t> slots_;
    std::size_t size_ = 0;
};

// One board of the beam. Lines are the rows (0 .. N-1) and then the columns (N .. 2N-1).
struct TBoard {
    std::array<std::uint8_t, kMaxCells> cells;
    std::array<std::uint8_t, 2 * kSolverMaxSize> conflicts;  // moves each line's conflicts add
    std::uint64_t key;
    int manhattan, conflictSum;
    std::uint64_t estimate;  // what the board was ranked by
    std::uint8_t gap, cameFrom;
};

// A move from a board of the beam, ranked before the board it leads to is made.
struct TCandidate {
    std::uint64_t rank;  // the estimate above, key bits below: ties broken at random
    std::uint64_t key;
    std::uint32_t parent;
    std::uint8_t from;
    std::uint8_t lineA, lineB;  // the two lines whose conflicts change, and their new values
    std::uint8_t conflictA, conflictB;
};

// How each board came about: its board on the depth before, and the tile moved.
struct TStepBack {
    std::uint32_t parent;
    std::uint8_t tile;
};

struct TBeamResult {
    TMoves Moves;        // home, or, when stuck, to the board nearest home the beam met
    bool Home = false;
    bool Stopped = false;
};

class TBeam {
public:
    TBeam(const TPosition& start, int width, const TPatternDatabase* tables, const TCancel& cancel)
        : n_(start.N), cells_(n_ * n_), width_(std::size_t(width)), cancel_(cancel), keys_(Keys()),
          tables_(tables && tables->N() == n_ && tables->IsBuilt() ? tables : nullptr)
    {
        for (int tile = 1; tile < cells_; ++tile)
            for (int cell = 0; cell < cells_; ++cell)
                distance_[std::size_t(tile)][std::size_t(cell)] =
                    std::uint8_t(std::abs(cell / n_ - (tile - 1) / n_) + std::abs(cell % n_ - (tile - 1) % n_));
        TBoard board{};
        std::copy(start.Cells.begin(), start.Cells.end(), board.cells.begin());
        board.gap = std::uint8_t(GapCell(start));
        board.cameFrom = std::uint8_t(cells_);
        board.key = 0;
        board.manhattan = 0;
        for (int cell = 0; cell < cells_; ++cell)
            if (const int tile = board.cells[std::size_t(cell)]) {
                board.key ^= keys_.key[std::size_t(cell)][std::size_t(tile)];
                board.manhattan += distance_[std::size_t(tile)][std::size_t(cell)];
            }
        board.conflictSum = 0;
        for (int line = 0; line < 2 * n_; ++line) {
            board.conflicts[std::size_t(line)] = std::uint8_t(LineConflicts(board.cells, line));
            board.conflictSum += board.conflicts[std::size_t(line)];
        }
        seen_.Insert(board.key);
        layer_.push_back(board);
    }

    // Runs until home, stopped, or stuck: the beam's best estimate not bettered for a while
    // (the boards left in it have tiles in each other's way that the ranking cannot see past).
    TBeamResult Run()
    {
        if (layer_.front().manhattan == 0)
            return {{}, true, false};
        const std::size_t patience = std::min<std::size_t>(4 * std::size_t(cells_), 120);
        std::uint64_t best = ~std::uint64_t(0);
        std::size_t bestDepth = 0, bestIndex = 0;
        while (history_.size() - bestDepth <= patience) {
            candidates_.clear();
            for (std::size_t p = 0; p < layer_.size(); ++p) {
                if (p % (kCheckInterval / 4) == 0 && cancel_.Stopped(TSolverPhase::Beam, nodes_))
                    return {{}, false, true};
                if (auto solved = AddMoves(std::uint32_t(p))) {
                    const TCandidate& last = candidates_[*solved];
                    TMoves moves = PathTo(history_.size(), last.parent);
                    moves.push_back(layer_[last.parent].cells[last.from]);
                    return {std::move(moves), true, false};
                }
            }
            if (candidates_.empty())
                break;  // not reached: a solvable board always has a way on
            if (candidates_.size() > width_)
                std::nth_element(candidates_.begin(), candidates_.begin() + std::ptrdiff_t(width_), candidates_.end(),
                                 [](const TCandidate& a, const TCandidate& b) { return a.rank < b.rank; });
            NextLayer();
            for (std::size_t b = 0; b < layer_.size(); ++b)
                if (layer_[b].estimate < best) {
                    best = layer_[b].estimate;
                    bestDepth = history_.size();
                    bestIndex = b;
                }
        }
        return {PathTo(bestDepth, std::uint32_t(bestIndex)), false, false};
    }

    std::uint64_t Nodes() const { return nodes_; }

private:
    // Moves each line's tiles that belong in it add: two for every tile that must leave the line
    // so that the others can pass each other (the tiles less the longest run already in order).
    int LineConflicts(const std::array<std::uint8_t, kMaxCells>& cells, int line) const
    {
        const bool row = line < n_;
        const int index = row ? line : line - n_;
        std::array<int, kSolverMaxSize> tails{};  // least last home of an ordered run of each length
        int longest = 0, count = 0;
        for (int k = 0; k < n_; ++k) {
            const int tile = cells[std::size_t(row ? index * n_ + k : k * n_ + index)];
            if (tile == 0 || (row ? (tile - 1) / n_ : (tile - 1) % n_) != index)
                continue;
            const int home = row ? (tile - 1) % n_ : (tile - 1) / n_;
            ++count;
            int at = 0;
            while (at < longest && tails[std::size_t(at)] < home)
                ++at;
            tails[std::size_t(at)] = home;
            longest = std::max(longest, at + 1);
        }
        return 2 * (count - longest);
    }

    // Ranks the moves from the board; the index of a move that brings it home, if one does.
    std::optional<std::size_t> AddMoves(std::uint32_t parent)
    {
        TBoard& board = layer_[parent];
        const int gap = board.gap;
        const int beside[] = {gap % n_ > 0 ? gap - 1 : -1, gap % n_ < n_ - 1 ? gap + 1 : -1, gap - n_, gap + n_};
        for (int from : beside) {
            if (from < 0 || from >= cells_ || from == board.cameFrom)
                continue;
            const int tile = board.cells[std::size_t(from)];
            const std::uint64_t key =
                board.key ^ keys_.key[std::size_t(from)][std::size_t(tile)] ^ keys_.key[std::size_t(gap)][std::size_t(tile)];
            ++nodes_;
            if (seen_.Has(key))
                continue;
            const int manhattan = board.manhattan - distance_[std::size_t(tile)][std::size_t(from)]
                                  + distance_[std::size_t(tile)][std::size_t(gap)];
            // A move along a row changes the conflicts of the two columns, one along a column those
            // of the two rows.
            const bool alongRow = from / n_ == gap / n_;
            const int lineA = alongRow ? n_ + from % n_ : from / n_, lineB = alongRow ? n_ + gap % n_ : gap / n_;
            board.cells[std::size_t(gap)] = std::uint8_t(tile);
            board.cells[std::size_t(from)] = 0;
            const int conflictA = LineConflicts(board.cells, lineA), conflictB = LineConflicts(board.cells, lineB);
            const int bound = tables_ ? tables_->LowerBound(board.cells.data()) : 0;
            board.cells[std::size_t(from)] = std::uint8_t(tile);
            board.cells[std::size_t(gap)] = 0;
            const int conflictSum = board.conflictSum - board.conflicts[std::size_t(lineA)]
                                    - board.conflicts[std::size_t(lineB)] + conflictA + conflictB;
            const auto estimate = std::uint64_t(tables_ ? bound : manhattan + conflictSum);
            candidates_.push_back({estimate << 40 | (key >> 24), key, parent, std::uint8_t(from), std::uint8_t(lineA),
                                   std::uint8_t(lineB), std::uint8_t(conflictA), std::uint8_t(conflictB)});
            if (manhattan == 0)
                return candidates_.size() - 1;
        }
        return std::nullopt;
    }

    // The best candidates become the next depth's boards.
    void NextLayer()
    {
        const std::size_t kept = std::min(width_, candidates_.size());
        next_.clear();
        std::vector<TStepBack>& back = history_.emplace_back();
        for (std::size_t c = 0; c < kept; ++c) {
            const TCandidate& candidate = candidates_[c];
            if (!seen_.Insert(candidate.key))
                continue;  // reached twice at this depth
            const TBoard& parent = layer_[candidate.parent];
            TBoard& board = next_.emplace_back(parent);
            const int tile = board.cells[candidate.from];
            board.cells[parent.gap] = std::uint8_t(tile);
            board.cells[candidate.from] = 0;
            board.cameFrom = parent.gap;
            board.gap = candidate.from;
            board.key = candidate.key;
            board.estimate = candidate.rank >> 40;
            board.manhattan = parent.manhattan - distance_[std::size_t(tile)][candidate.from]
                              + distance_[std::size_t(tile)][parent.gap];
            board.conflictSum += candidate.conflictA + candidate.conflictB - parent.conflicts[candidate.lineA]
                                 - parent.conflicts[candidate.lineB];
            board.conflicts[candidate.lineA] = candidate.conflictA;
            board.conflicts[candidate.lineB] = candidate.conflictB;
            back.push_back({candidate.parent, std::uint8_t(tile)});
        }
        layer_.swap(next_);
    }

    // The moves to the board at this index of the beam `depth` moves from the start.
    TMoves PathTo(std::size_t depth, std::uint32_t index) const
    {
        TMoves moves;
        for (std::uint32_t at = index; depth > 0; --depth) {
            const TStepBack& step = history_[depth - 1][at];
            moves.push_back(step.tile);
            at = step.parent;
        }
        std::reverse(moves.begin(), moves.end());
        return moves;
    }

    const int n_, cells_;
    const std::size_t width_;
    const TCancel& cancel_;
    const TKeys& keys_;
    const TPatternDatabase* tables_;  // to rank the boards by, when given
    std::array<std::array<std::uint8_t, kMaxCells>, kMaxCells> distance_{};  // by tile and cell
    TSeen seen_;
    std::vector<TBoard> layer_, next_;
    std::vector<TCandidate> candidates_;
    std::vector<std::vector<TStepBack>> history_;
    std::uint64_t nodes_ = 0;
};

}  // namespace

int DefaultBeamWidth(int n)
{
    switch (n) {
    case 4: return 2000;
    case 5: return 6000;
    case 6: return 4000;
    default: return 2000;
    }
}

namespace {

// The line's cells split into searches of at most `size` tiles, the last search taking at least
// the line's last two cells (the last cell of a line can only be filled together with the one
// before it).
std::vector<std::vector<int>> SplitLine(const std::vector<int>& cells, int size)
{
    std::vector<std::vector<int>> parts;
    for (std::size_t first = 0; first < cells.size();) {
        std::size_t take = std::min(std::size_t(size), cells.size() - first);
        if (cells.size() - first - take == 1)
            --take;
        parts.emplace_back(cells.begin() + std::ptrdiff_t(first), cells.begin() + std::ptrdiff_t(first + take));
        first += take;
    }
    return parts;
}

// The way on for a board the beam could not bring home: the top row and the left column of what
// is left are put in place a few tiles at a time, each few by a shortest search that leaves the
// tiles already placed alone, until a 3 x 3 block remains, which is solved at once (its tables
// are small). Slower and longer than the beam, but sure to end.
class TReduction {
public:
    TReduction(TPosition& board, TMoves& moves, std::uint64_t& nodes, const TCancel& cancel)
        : board_(board), n_(board.N), moves_(moves), nodes_(nodes), cancel_(cancel), search_(n_)
    {
    }

    bool Run()
    {
        for (int solved = 0; n_ - solved > 3; ++solved) {
            std::vector<int> row, column;
            for (int k = solved; k < n_; ++k)
                row.push_back(solved * n_ + k);
            for (int k = solved + 1; k < n_; ++k)
                column.push_back(k * n_ + solved);
            for (const std::vector<int>* line : {&row, &column})
                for (const std::vector<int>& part : SplitLine(*line, 3))
                    if (!Place(part, solved))
                        return false;
            placed_ = 0;
        }
        const int rest = std::min(n_, 3);
        if (rest < 2)
            return true;
        TOptimalSolver solver(TPatternDatabase::Shared(rest));
        std::optional<TSolution> block = solver.Solve(Block(rest), cancel_);
        if (!block)
            return false;
        nodes_ += block->Nodes;
        const int offset = n_ - rest;
        for (int tile : block->Tiles) {
            const int bigTile = ((tile - 1) / rest + offset) * n_ + (tile - 1) % rest + offset + 1;
            ApplyMove(board_, bigTile);
            moves_.push_back(bigTile);
        }
        return true;
    }

private:
    // Brings the tiles of these cells home, leaving the solved rows and columns and the cells
    // placed before alone.
    bool Place(const std::vector<int>& cells, int solved)
    {
        std::uint64_t frozen = 0;
        for (int c = 0; c < n_ * n_; ++c)
            if (c / n_ < solved || c % n_ < solved || placed_ >> c & 1)
                frozen |= std::uint64_t(1) << c;
        // Searches of one or two tiles have at most 49^3 states: they run to the end.
        const std::uint64_t limit = cells.size() <= 2 ? std::numeric_limits<std::uint64_t>::max() : 200'000;
        std::optional<std::vector<int>> path = search_.GapPath(board_, cells, frozen, limit, cancel_, nodes_);
        if (!path) {
            if (cancel_.StopRequested() || cells.size() <= 2)
                return false;
            // Too large a search: the first tile alone, then the others.
            return Place({cells.front()}, solved) && Place(std::vector<int>(cells.begin() + 1, cells.end()), solved);
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

    TPosition& board_;
    const int n_;
    TMoves& moves_;
    std::uint64_t& nodes_;
    const TCancel& cancel_;
    TPlacingSearch search_;
    std::uint64_t placed_ = 0;  // cells of the line being placed that are home
};

}  // namespace

std::optional<TSolution> TFastSolver::Solve(const TPosition& position, const TCancel& cancel)
{
    RequireSolvable(position);
    const int width = options_.BeamWidth > 0 ? options_.BeamWidth : DefaultBeamWidth(position.N);
    TSolution solution;
    solution.LowerBound = ManhattanDistance(position);
    // A beam eight times as wide is tried once when a 4 x 4 solution is longer than any needs to be.
    for (int wider = 1; wider <= 8; wider *= 8) {
        TBeam beam(position, width * wider, options_.Tables, cancel);
        TBeamResult result = beam.Run();
        solution.Nodes += beam.Nodes();
        if (result.Stopped)
            return std::nullopt;
        if (!result.Home) {
            // Stuck: from the board nearest home, the reduction finishes.
            TPosition board = position;
            ApplyMoves(board, result.Moves);
            if (!TReduction(board, result.Moves, solution.Nodes, cancel).Run())
                return std::nullopt;
        }
        if (wider == 1 || result.Moves.size() < solution.Tiles.size())
            solution.Tiles = std::move(result.Moves);
        if (position.N != 4 || int(solution.Tiles.size()) <= kLongestFourByFour)
            break;
    }
    return solution;
}
