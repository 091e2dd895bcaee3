#include "solver/OptimalSolver.h"

#include "solver/PlacementSteps.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace {

constexpr int kMaxCells = kPatternMaxSize * kPatternMaxSize;
constexpr int kMaxGroups = kMaxCells;

// What the search keeps of one group's tiles, on the board or on its mirror image: which of the
// group's tiles stands on each cell (kNoTile on the others, and on one cell past the board that
// stands for no cell), and the number of their placement, which a move changes by a sum of the
// group's digit weights.
struct TGroupState {
    TGroupState() { slotAt.fill(kNoTile); }
    std::uint32_t index = 0;
    int cost = 0;
    std::array<std::int8_t, kMaxCells + 1> slotAt;
};

// A tile's part in one lookup: its group and its place in the group's order. Tiles in no group
// belong to an extra group of their own whose table is one entry of 0 and whose weights are 0,
// so that every move is looked up alike.
struct TMember {
    std::int8_t group = 0;
    std::int8_t slot = 0;
};

// A move of the tile on `from` into the gap, on the board and on its mirror image: the way it
// goes, and the cells it passes over in cell numbers (those between the two cells: none for a
// step along a row, N - 1 along a column; the cell past the board stands for the rest).
struct TStep {
    std::int8_t from, mirrorFrom, mirrorGap;
    TWay way, mirrorWay;
    std::array<std::int8_t, kMaxPassed> crossed, mirrorCrossed;
};

// Each cell's steps into the gap there, leaving out the one that undoes the move before (counted
// by the cell the gap came from; N * N when none).
template <int N>
struct TSteps {
    std::array<std::array<std::array<TStep, 4>, N * N + 1>, N * N> step{};
    std::array<std::array<std::int8_t, N * N + 1>, N * N> count{};
};

// One iterative-deepening search. The position is kept as the tiles on the cells, and, for the
// board and for its mirror image, each group's placement number; a move changes one group's
// number on each side, and only those two entries are looked up again.
template <int N>
class TSearch {
public:
    TSearch(const TPatternDatabase& tables, const TPosition& start, const TCancel& cancel, std::uint64_t nodeLimit)
        : cancel_(cancel), nodeLimit_(nodeLimit)
    {
        const TPartition& partition = tables.Partition();
        const int none = int(partition.size());  // the extra group of the tiles in none
        table_[std::size_t(none)] = &kNothing;
        member_.fill({std::int8_t(none), 0});
        mirrorMember_ = member_;
        for (std::size_t g = 0; g < partition.size(); ++g) {
            const TTileGroup& tiles = partition[g];
            table_[g] = tables.Table(int(g));
            for (std::size_t i = 0; i < tiles.size(); ++i)
                member_[std::size_t(tiles[i])] = {std::int8_t(g), std::int8_t(i)};
            slotSteps_[g] = MakeSlotSteps(N, int(tiles.size()));
        }
        std::array<std::uint8_t, kCells> mirrorCell{};
        for (int c = 0; c < kCells; ++c) {
            mirrorCell[std::size_t(c)] = std::uint8_t(tables.MirrorCell(c));
            const int tile = start.Cells[std::size_t(c)];
            tileAt_[std::size_t(c)] = std::uint8_t(tile);
            if (tile == 0)
                gap_ = c;
            else
                mirrorMember_[std::size_t(tile)] = member_[std::size_t(tables.MirrorTile(tile))];
        }
        MakeSteps(mirrorCell);
        for (int c = 0; c < kCells; ++c) {
            memberAt_[std::size_t(c)] = member_[tileAt_[std::size_t(c)]];
            mirrorMemberAt_[std::size_t(c)] = mirrorMember_[tileAt_[std::size_t(c)]];
        }
        for (int c = 0; c < kCells; ++c) {
            const int tile = tileAt_[std::size_t(c)];
            if (tile == 0)
                continue;
            Place(board_[std::size_t(member_[std::size_t(tile)].group)], member_[std::size_t(tile)].slot, c);
            Place(mirror_[std::size_t(mirrorMember_[std::size_t(tile)].group)], mirrorMember_[std::size_t(tile)].slot,
                  mirrorCell[std::size_t(c)]);
        }
        for (int g = 0; g < none; ++g) {
            for (TGroupState* state : {&board_[std::size_t(g)], &mirror_[std::size_t(g)]}) {
                std::array<std::uint8_t, kMaxGroupTiles> cells{};
                for (int cell = 0; cell < kCells; ++cell)
                    if (state->slotAt[std::size_t(cell)] != kNoTile)
                        cells[std::size_t(state->slotAt[std::size_t(cell)])] = std::uint8_t(cell);
                state->index = RankCells(cells.data(), int(partition[std::size_t(g)].size()), kCells);
                state->cost = table_[std::size_t(g)][state->index];
            }
            sum_ += board_[std::size_t(g)].cost;
            mirrorSum_ += mirror_[std::size_t(g)].cost;
        }
        // The extra group's tiles take no part in the numbers.
        board_[std::size_t(none)] = mirror_[std::size_t(none)] = TGroupState{};
    }

    int Bound() const { return std::max(sum_, mirrorSum_); }
    std::uint64_t Nodes() const { return nodes_; }
    bool Aborted() const { return aborted_; }
    TMoves Path() const { return TMoves(path_.begin(), path_.begin() + length_); }

    // Depth-first search below the bound; true when a solution is on path_. Sets next_ to the least
    // f-value that went over the bound.
    bool Iterate(int bound)
    {
        next_ = std::numeric_limits<int>::max();
        length_ = 0;
        return Expand(0, std::min(bound, kMaxDepth), gap_, kCells, sum_, mirrorSum_);
    }
    int Next() const { return next_; }

private:
    static constexpr int kCells = N * N;
    static constexpr std::uint8_t kNothing = 0;

    static void Place(TGroupState& state, int slot, int cell)
    {
        state.slotAt[std::size_t(cell)] = std::int8_t(slot);
    }

    void MakeSteps(const std::array<std::uint8_t, kCells>& mirrorCell)
    {
        auto between = [](int a, int b) { return CellsBetween(a, b, kCells); };
        for (int gap = 0; gap < kCells; ++gap) {
            const int beside[] = {gap % N > 0 ? gap - 1 : -1, gap % N < N - 1 ? gap + 1 : -1, gap >= N ? gap - N : -1,
                                  gap < kCells - N ? gap + N : -1};
            for (int came = 0; came <= kCells; ++came) {
                std::int8_t& count = steps_.count[std::size_t(gap)][std::size_t(came)];
                // Places left over hold a step that moves nothing (from the gap, over no tile), so
                // that the first three places can always be looked at.
                const int mirrorGap = mirrorCell[std::size_t(gap)];
                steps_.step[std::size_t(gap)][std::size_t(came)].fill(
                    TStep{std::int8_t(gap), std::int8_t(mirrorGap), std::int8_t(mirrorGap), kStill, kStill, between(0, 0),
                          between(0, 0)});
                for (int from : beside) {
                    if (from < 0 || from == came)
                        continue;
                    const int mirrorFrom = mirrorCell[std::size_t(from)];
                    steps_.step[std::size_t(gap)][std::size_t(came)][std::size_t(count++)] =
                        TStep{std::int8_t(from), std::int8_t(mirrorFrom), std::int8_t(mirrorGap), WayOf(N, gap - from),
                              WayOf(N, mirrorGap - mirrorFrom), between(from, gap), between(mirrorFrom, mirrorGap)};
                }
            }
        }
    }

    // The group's placement number after its tile `slot` steps `way`, passing over the cells
    // `crossed`.
    std::uint32_t Moved(const TGroupState& state, int group, int slot, TWay way,
                        const std::array<std::int8_t, kMaxPassed>& crossed) const
    {
        return Stepped(slotSteps_[std::size_t(group)][std::size_t(slot)][std::size_t(way)], state.index,
                       state.slotAt.data(), crossed);
    }

    static void Move(TGroupState& state, int slot, int from, int to, std::uint32_t index, int cost)
    {
        state.slotAt[std::size_t(from)] = kNoTile;
        state.slotAt[std::size_t(to)] = std::int8_t(slot);
        state.index = index;
        state.cost = cost;
    }

    // The board's state lives in the members; what changes with every move (the gap, the two
    // sums) is passed along, so that it stays in registers.
    bool Expand(int depth, int bound, int gap, int cameFrom, int sum, int mirrorSum)
    {
        if (++nodes_ % kCheckInterval == 0 && (cancel_.Stopped(TSolverPhase::Search, nodes_) || nodes_ > nodeLimit_)) {
            aborted_ = true;
            return false;
        }
        const TStep* steps = steps_.step[std::size_t(gap)][std::size_t(cameFrom)].data();
        const int count = steps_.count[std::size_t(gap)][std::size_t(cameFrom)];
        // Look the children's entries up first and fetch them ahead, so that the table reads of
        // the children (three at most, four at the start) overlap; the first three places are
        // always looked at (a place without a child holds a step that moves nothing), so that the
        // loop has no branch to guess. The mirror image's entry is looked up only for a child that
        // the board's own does not cut off.
        std::array<TMember, 4> member, mirror;
        std::array<std::uint32_t, 4> index;
        auto lookAhead = [&](int c) {
            const TStep& step = steps[c];
            const TMember m = memberAt_[std::size_t(step.from)];
            member[std::size_t(c)] = m;
            mirror[std::size_t(c)] = mirrorMemberAt_[std::size_t(step.from)];
            index[std::size_t(c)] = Moved(board_[std::size_t(m.group)], m.group, m.slot, step.way, step.crossed);
            __builtin_prefetch(table_[std::size_t(m.group)] + index[std::size_t(c)]);
        };
        for (int c = 0; c < 3; ++c)
            lookAhead(c);
        if (count == 4)
            lookAhead(3);
        for (int c = 0; c < count; ++c) {
            const TStep& step = steps[c];
            const TMember m = member[std::size_t(c)], r = mirror[std::size_t(c)];
            TGroupState& board = board_[std::size_t(m.group)];
            const int cost = table_[std::size_t(m.group)][index[std::size_t(c)]];
            const int childSum = sum + cost - board.cost;
            if (depth + 1 + childSum > bound) {
                next_ = std::min(next_, depth + 1 + childSum);
                continue;
            }
            TGroupState& image = mirror_[std::size_t(r.group)];
            const std::uint32_t imageIndex = Moved(image, r.group, r.slot, step.mirrorWay, step.mirrorCrossed);
            const int mirrorCost = table_[std::size_t(r.group)][imageIndex];
            const int childMirrorSum = mirrorSum + mirrorCost - image.cost;
            if (depth + 1 + childMirrorSum > bound) {
                next_ = std::min(next_, depth + 1 + childMirrorSum);
                continue;
            }
            // Make the move.
            const int from = step.from, tile = tileAt_[std::size_t(from)];
            const std::uint32_t oldIndex = board.index, oldMirrorIndex = image.index;
            const int oldCost = board.cost, oldMirrorCost = image.cost;
            Move(board, m.slot, from, gap, index[std::size_t(c)], cost);
            Move(image, r.slot, step.mirrorFrom, step.mirrorGap, imageIndex, mirrorCost);
            tileAt_[std::size_t(gap)] = std::uint8_t(tile);
            tileAt_[std::size_t(from)] = 0;
            memberAt_[std::size_t(gap)] = m;
            mirrorMemberAt_[std::size_t(gap)] = r;
            path_[std::size_t(depth)] = std::uint8_t(tile);
            if ((childSum == 0 && childMirrorSum == 0 && IsHome())
                || Expand(depth + 1, bound, from, gap, childSum, childMirrorSum)) {
                length_ = std::max(length_, depth + 1);
                return true;
            }
            // Take it back.
            tileAt_[std::size_t(from)] = std::uint8_t(tile);
            tileAt_[std::size_t(gap)] = 0;
            memberAt_[std::size_t(from)] = m;
            mirrorMemberAt_[std::size_t(from)] = r;
            Move(board, m.slot, gap, from, oldIndex, oldCost);
            Move(image, r.slot, step.mirrorGap, step.mirrorFrom, oldMirrorIndex, oldMirrorCost);
            if (aborted_)
                return false;
        }
        return false;
    }

    bool IsHome() const
    {
        for (int c = 0; c + 1 < kCells; ++c)
            if (tileAt_[std::size_t(c)] != c + 1)
                return false;
        return true;
    }

    const TCancel& cancel_;
    std::uint64_t nodeLimit_;
    TSteps<N> steps_;
    std::array<std::uint8_t, kCells> tileAt_{};
    std::array<TMember, kCells> member_{}, mirrorMember_{};        // by tile
    std::array<TMember, kCells> memberAt_{}, mirrorMemberAt_{};    // of the tile on each cell
    std::array<const std::uint8_t*, kMaxGroups + 1> table_{};
    std::array<TSlotSteps, kMaxGroups + 1> slotSteps_{};  // by group
    std::array<TGroupState, kMaxGroups + 1> board_{}, mirror_{};
    int sum_ = 0, mirrorSum_ = 0;
    int gap_ = 0;
    int next_ = 0;
    std::uint64_t nodes_ = 0;
    bool aborted_ = false;
    static constexpr int kMaxDepth = 255;  // more than any board of up to 4 x 4 needs
    std::array<std::uint8_t, kMaxDepth> path_{};
    int length_ = 0;
};

template <int N>
std::optional<TSolution> Search(const TPatternDatabase& tables, const TPosition& position, const TCancel& cancel, std::uint64_t nodeLimit)
{
    TSearch<N> search(tables, position, cancel, nodeLimit);
    TSolution solution;
    solution.LowerBound = search.Bound();
    // Every move moves the gap one cell, so a solution's length has the parity of the gap's
    // distance from home; bounds of the other parity are skipped.
    const int gap = GapCell(position);
    const int parity = ((position.N - 1 - gap / position.N) + (position.N - 1 - gap % position.N)) % 2;
    auto withParity = [parity](int bound) { return bound % 2 == parity ? bound : bound + 1; };
    for (int bound = withParity(search.Bound());; bound = withParity(search.Next())) {
        const bool found = search.Iterate(bound);
        if (search.Aborted())
            return std::nullopt;
        if (found) {
            solution.Tiles = search.Path();
            solution.Nodes = search.Nodes();
            return solution;
        }
    }
}


}  // namespace

void RequireSolvable(const TPosition& position)
{
    if (auto error = PositionError(position))
        throw std::invalid_argument(*error);
    if (!IsSolvable(position))
        throw std::invalid_argument("no moves bring this board home (two tiles are swapped)");
}

std::optional<TSolution> TOptimalSolver::Solve(const TPosition& position, const TCancel& cancel, std::uint64_t nodeLimit)
{
    RequireSolvable(position);
    if (position.N != tables_.N())
        throw std::invalid_argument("the board is not the size of the tables");
    if (IsGoal(position))
        return TSolution{};  // no tables needed
    if (tables_.Build(cancel) != TBuildResult::Built)
        return std::nullopt;
    switch (position.N) {
    case 2: return Search<2>(tables_, position, cancel, nodeLimit);
    case 3: return Search<3>(tables_, position, cancel, nodeLimit);
    default: return Search<4>(tables_, position, cancel, nodeLimit);
    }
}
