// mozik-solve: reads boards from standard input, one a line ("N" and the N * N numbers row by
// row, 0 for the gap), and writes for each the number of moves and the tiles moved, or
// "error: <reason>". Blank lines and lines starting with '#' are skipped.

#include "solver/FastSolver.h"
#include "solver/OptimalSolver.h"
#include "solver/Position.h"
#include "solver/TableStore.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

namespace {

// Longer lines cannot be boards (49 numbers of at most three digits and their spaces fit in far
// less); the rest of such a line is read and dropped, never stored.
constexpr std::size_t kMaxLineLength = 4096;

const char* const kUsage =
    "usage: mozik-solve [--fast] [--stats] [--no-cache]\n"
    "Reads boards from standard input, one a line: N, then the N*N numbers row by row, 0 for the gap.\n"
    "Writes for each line the number of moves and the tiles moved, or 'error: <reason>'.\n"
    "  --fast   use the fast solver at every size (default: shortest solutions up to 4 x 4)\n"
    "  --stats  write the time, the nodes searched and the lower bound of each board to standard error\n"
    "  --no-cache  build the 4 x 4 tables in memory only; without it they are read from, or\n"
    "           after their first build kept in, the cache folder $XDG_CACHE_HOME/Mozik/\n"
    "           (normally ~/.cache/Mozik/)\n";

// One line of standard input; false at the end of the input. `tooLong` tells that the line went
// past the limit (its text is then cut).
bool ReadLine(std::string& line, bool& tooLong)
{
    line.clear();
    tooLong = false;
    int c = 0;
    bool any = false;
    while ((c = std::getchar()) != EOF) {
        any = true;
        if (c == '\n')
            return true;
        if (line.size() < kMaxLineLength)
            line.push_back(char(c));
        else
            tooLong = true;
    }
    return any;
}

bool IsSkipped(const std::string& line)
{
    const std::size_t first = line.find_first_not_of(" \t\r");
    return first == std::string::npos || line[first] == '#';
}

}  // namespace

int main(int argc, char** argv)
{
    bool fast = false, stats = false, cache = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--fast") == 0) {
            fast = true;
        } else if (std::strcmp(argv[i], "--stats") == 0) {
            stats = true;
        } else if (std::strcmp(argv[i], "--no-cache") == 0) {
            cache = false;
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        } else {
            std::fprintf(stderr, "mozik-solve: unknown option '%.100s'\n%s", argv[i], kUsage);
            return 2;
        }
    }

    TFastSolver fastSolver;
    TTableStore tables4(TPatternDatabase::Shared(4), cache ? TTableStore::DefaultFile() : std::string());
    bool allSolved = true;
    std::string line;
    bool tooLong = false;
    for (long lineNumber = 1; ReadLine(line, tooLong); ++lineNumber) {
        if (!tooLong && IsSkipped(line))
            continue;
        const TParsedPosition parsed =
            tooLong ? TParsedPosition{std::nullopt, "line longer than " + std::to_string(kMaxLineLength) + " characters"}
                    : ParsePosition(line);
        std::string error = parsed.Error;
        if (parsed.Position && !IsSolvable(*parsed.Position))
            error = "not solvable: no moves bring this board home";
        if (!error.empty()) {
            std::printf("error: %s\n", error.c_str());
            std::fflush(stdout);
            allSolved = false;
            continue;
        }

        const TPosition& position = *parsed.Position;
        // The tables this board needs are made ready before its clock starts (once per process),
        // and their time is told on its own.
        if (!fast && !IsGoal(position) && position.N >= 2 && position.N <= kPatternMaxSize
            && !TPatternDatabase::Shared(position.N).IsBuilt()) {
            const auto preparing = std::chrono::steady_clock::now();
            TPrepareWay way = TPrepareWay::Built;
            const bool ready = position.N == 4 ? tables4.Prepare({}, 0, &way) == TPrepareResult::Ready
                                               : TPatternDatabase::Shared(position.N).Build() == TBuildResult::Built;
            if (!ready) {
                std::printf("error: out of memory for the solver's tables\n");
                std::fflush(stdout);
                allSolved = false;
                continue;
            }
            if (stats)
                std::fprintf(stderr, "tables for %dx%d %s in %.3f s\n", position.N, position.N,
                             way == TPrepareWay::Read ? "read" : "built",
                             std::chrono::duration<double>(std::chrono::steady_clock::now() - preparing).count());
        }
        const auto started = std::chrono::steady_clock::now();
        std::optional<TSolution> solution;
        try {
            if (!fast && position.N <= kPatternMaxSize)
                solution = TOptimalSolver(TPatternDatabase::Shared(position.N)).Solve(position);
            else
                solution = fastSolver.Solve(position);
        } catch (const std::exception& failure) {
            std::printf("error: %s\n", failure.what());
            std::fflush(stdout);
            allSolved = false;
            continue;
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

        std::string out = std::to_string(solution->Tiles.size());
        for (int tile : solution->Tiles)
            out += ' ' + std::to_string(tile);
        std::printf("%s\n", out.c_str());
        std::fflush(stdout);
        if (stats)
            std::fprintf(stderr, "line %ld: %dx%d, %zu moves, %.3f s, %llu nodes, lower bound %d\n", lineNumber,
                         position.N, position.N, solution->Tiles.size(), seconds,
                         static_cast<unsigned long long>(solution->Nodes), solution->LowerBound);
    }
    return allSolved ? 0 : 1;
}
