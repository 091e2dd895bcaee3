#include "solver/FastSolver.h"

#include "solver/PlacingSearch.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <stdexcept>

namespace {

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
