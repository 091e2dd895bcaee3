#include "solver/Position.h"

#include "files/ShownText.h"
#include "solver/Messages.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

namespace {

// A word of the input is shown in an error line escaped (files/ShownText.h), and cut this short.
constexpr std::size_t kMaxShown = 20;

} // namespace

TPosition GoalPosition(int n)
{
    TPosition goal{n, std::vector<std::uint8_t>(std::size_t(n * n))};
    for (int c = 0; c + 1 < n * n; ++c)
        goal.Cells[std::size_t(c)] = std::uint8_t(c + 1);
    return goal;
}

std::optional<std::string> PositionError(const TPosition& position)
{
    const int n = position.N;
    if (n < kSolverMinSize || n > kSolverMaxSize)
        return Say(TSolverText::SizeOutOfRange, {std::to_string(n), std::to_string(kSolverMinSize), std::to_string(kSolverMaxSize)});
    const std::size_t cells = std::size_t(n * n);
    if (position.Cells.size() != cells)
        return Say(TSolverText::WrongCount, {std::to_string(n), std::to_string(cells), std::to_string(position.Cells.size())});
    std::vector<bool> seen(cells, false);
    for (std::uint8_t value : position.Cells) {
        if (value >= cells)
            return Say(TSolverText::NumberOutOfRange, {std::to_string(value), std::to_string(cells - 1)});
        if (seen[value])
            return value == 0 ? Say(TSolverText::GapTwice) : Say(TSolverText::TileTwice, {std::to_string(value)});
        seen[value] = true;
    }
    // With the right count and no repeats, every value is present.
    return std::nullopt;
}

bool IsSolvable(const TPosition& position)
{
    const int n = position.N;
    const int cells = n * n;
    // Parity of the permutation that maps each cell to its piece's home, by counting cycles.
    std::vector<bool> visited(std::size_t(cells), false);
    int transpositions = 0;
    for (int start = 0; start < cells; ++start) {
        int length = 0;
        for (int c = start; !visited[std::size_t(c)]; ++length) {
            visited[std::size_t(c)] = true;
            const int value = position.Cells[std::size_t(c)];
            c = value == 0 ? cells - 1 : value - 1;
        }
        if (length > 0)
            transpositions += length - 1;
    }
    // Every move is one transposition and moves the gap one cell, so both parities change together.
    const int gap = GapCell(position);
    const int gapDistance = (n - 1 - gap / n) + (n - 1 - gap % n);
    return (transpositions - gapDistance) % 2 == 0;
}

bool IsGoal(const TPosition& position)
{
    return position == GoalPosition(position.N);
}

int GapCell(const TPosition& position)
{
    const auto it = std::find(position.Cells.begin(), position.Cells.end(), 0);
    return int(it - position.Cells.begin());
}

bool ApplyMove(TPosition& position, int tile)
{
    const int n = position.N;
    if (tile <= 0 || tile >= n * n)
        return false;
    const int gap = GapCell(position);
    const auto it = std::find(position.Cells.begin(), position.Cells.end(), std::uint8_t(tile));
    const int cell = int(it - position.Cells.begin());
    const bool sameRowBeside = cell / n == gap / n && std::abs(cell - gap) == 1;
    const bool sameColumnBeside = std::abs(cell - gap) == n;
    if (!sameRowBeside && !sameColumnBeside)
        return false;
    std::swap(position.Cells[std::size_t(cell)], position.Cells[std::size_t(gap)]);
    return true;
}

bool ApplyMoves(TPosition& position, std::span<const int> tiles)
{
    for (int tile : tiles)
        if (!ApplyMove(position, tile))
            return false;
    return true;
}

int ManhattanDistance(const TPosition& position)
{
    const int n = position.N;
    int sum = 0;
    for (int c = 0; c < n * n; ++c) {
        const int tile = position.Cells[std::size_t(c)];
        if (tile != 0)
            sum += std::abs(c / n - (tile - 1) / n) + std::abs(c % n - (tile - 1) % n);
    }
    return sum;
}

TPosition RandomSolvablePosition(int n, std::mt19937& random)
{
    TPosition position = GoalPosition(n);
    // Fisher-Yates with our own draws, so that a seed gives the same board with every library.
    for (int i = n * n - 1; i > 0; --i) {
        const int j = int(random() % std::uint32_t(i + 1));
        std::swap(position.Cells[std::size_t(i)], position.Cells[std::size_t(j)]);
    }
    if (!IsSolvable(position)) {
        // Swapping two tiles (never the gap) flips the parity.
        int first = 0;
        while (position.Cells[std::size_t(first)] == 0)
            ++first;
        int second = first + 1;
        while (position.Cells[std::size_t(second)] == 0)
            ++second;
        std::swap(position.Cells[std::size_t(first)], position.Cells[std::size_t(second)]);
    }
    return position;
}

TParsedPosition ParsePosition(std::string_view text)
{
    auto fail = [](std::string error) { return TParsedPosition{std::nullopt, std::move(error)}; };
    // Any ASCII white space separates numbers.
    auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    std::vector<long> numbers;
    std::size_t i = 0;
    while (i < text.size()) {
        if (isSpace(text[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && !isSpace(text[end]))
            ++end;
        const std::string_view token = text.substr(i, end - i);
        i = end;
        // The size comes first, and says how many numbers follow it.
        if (numbers.size() == 1 && (numbers[0] < kSolverMinSize || numbers[0] > kSolverMaxSize))
            break;
        if (numbers.size() > 1 && numbers.size() == std::size_t(numbers[0] * numbers[0] + 1))
            return fail(Say(TSolverText::TooManyNumbers, {std::to_string(numbers[0]), std::to_string(numbers[0] * numbers[0]),
                                                          std::to_string(kSolverMinSize), std::to_string(kSolverMaxSize)}));
        long value = 0;
        const auto [next, error] = std::from_chars(token.data(), token.data() + token.size(), value);
        if (error == std::errc::result_out_of_range || (error == std::errc() && next == token.data() + token.size()
                                                        && (value < 0 || value > 255)))
            return fail(Say(TSolverText::HugeNumber, {Shown(token, kMaxShown)}));
        if (error != std::errc() || next != token.data() + token.size())
            return fail(Say(TSolverText::NotANumber, {Shown(token, kMaxShown)}));
        numbers.push_back(value);
    }
    if (numbers.empty())
        return fail(Say(TSolverText::NoSize));
    TPosition position;
    position.N = int(numbers[0]);
    for (std::size_t k = 1; k < numbers.size(); ++k)
        position.Cells.push_back(std::uint8_t(numbers[k]));
    if (auto error = PositionError(position))
        return fail(*error);
    return {std::move(position), {}};
}
