// mozik-solve: reads boards from standard input, one a line ("N" and the N * N numbers row by
// row, 0 for the gap), and writes for each the number of moves and the tiles moved, or
// "error: <reason>" (the reason, the help and the refusals in the environment's language: Russian
// or English; what they repeat of the input shown escaped, files/ShownText.h). Blank lines and lines starting with '#' are skipped. Exits with 0 when every
// board was solved, 1 when one was not or the input or output failed, 2 for an unknown option.

#include "files/ShownText.h"
#include "solver/FastSolver.h"
#include "solver/Messages.h"
#include "solver/OptimalSolver.h"
#include "solver/Position.h"
#include "solver/TableStore.h"

#include "MozikVersion.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <variant>

namespace {

// Longer lines cannot be boards (49 numbers of at most three digits and their spaces fit in far
// less); the rest of such a line is read and dropped, never stored.
constexpr std::size_t kMaxLineLength = 4096;

// An error of reading standard input, 0 while there was none.
int inputError = 0;

// One line of standard input; false at the end of the input. `tooLong` tells that the line went
// past the limit (its text is then cut).
bool ReadLine(std::string& line, bool& tooLong)
{
    line.clear();
    tooLong = false;
    int c = 0;
    bool any = false;
    errno = 0;
    while ((c = std::getchar()) != EOF) {
        any = true;
        if (c == '\n')
            return true;
        if (line.size() < kMaxLineLength)
            line.push_back(char(c));
        else
            tooLong = true;
    }
    if (std::ferror(stdin))
        inputError = errno ? errno : EIO;
    return any && !inputError;
}

// Seconds with three decimals, as the statistics show them.
std::string Seconds(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    return text;
}

bool IsSkipped(const std::string& line)
{
    const std::size_t first = line.find_first_not_of(" \t\n\v\f\r");
    return first == std::string::npos || line[first] == '#';
}

// Writes one line of the answers and makes sure it went out; false when standard output cannot
// take it (a full disk, a closed pipe), which has then been told on standard error.
bool Answer(const std::string& line)
{
    errno = 0;
    if (std::fputs((line + '\n').c_str(), stdout) >= 0 && std::fflush(stdout) == 0 && !std::ferror(stdout))
        return true;
    const int error = errno ? errno : EIO;
    std::fputs(("mozik-solve: " + Say(TSolverText::CannotWrite, {std::strerror(error)}) + '\n').c_str(), stderr);
    return false;
}

struct TOptions {
    bool Fast = false, Stats = false, Cache = true;
};

// The options, or the exit status when the command line ends the program (--help, --version,
// an unknown option).
std::variant<TOptions, int> ParseOptions(int argc, char** argv)
{
    TOptions options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--fast") == 0) {
            options.Fast = true;
        } else if (std::strcmp(argv[i], "--stats") == 0) {
            options.Stats = true;
        } else if (std::strcmp(argv[i], "--no-cache") == 0) {
            options.Cache = false;
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            const std::string usage = Say(TSolverText::Usage);
            return Answer(usage.substr(0, usage.size() - 1)) ? 0 : 1;
        } else if (std::strcmp(argv[i], "--version") == 0) {
            return Answer("mozik-solve " MOZIK_VERSION) ? 0 : 1;
        } else {
            std::fputs(("mozik-solve: " + Say(TSolverText::UnknownOption, {Shown(argv[i], 100)}) + '\n' + Say(TSolverText::Usage)).c_str(), stderr);
            return 2;
        }
    }
    return options;
}

class TLineSolver {
public:
    explicit TLineSolver(const TOptions& options)
        : options_(options), tables4_(TPatternDatabase::Shared(4), options.Cache ? TTableStore::DefaultFile() : std::string())
    {
    }

    // The answer to one line of the input: the moves, or "error: " and why.
    std::string Answer(long lineNumber, const std::string& line, bool tooLong)
    {
        const TParsedPosition parsed =
            tooLong ? TParsedPosition{std::nullopt, Say(TSolverText::LineTooLong, {std::to_string(kMaxLineLength)})}
                    : ParsePosition(line);
        if (!parsed.Position)
            return "error: " + parsed.Error;
        const TPosition& position = *parsed.Position;
        if (!IsSolvable(position))
            return "error: " + Say(TSolverText::NotSolvable);
        std::optional<TSolution> solution;
        double seconds = 0;
        try {
            PrepareTables(position);
            const auto started = std::chrono::steady_clock::now();
            if (!options_.Fast && position.N <= kPatternMaxSize)
                solution = TOptimalSolver(TPatternDatabase::Shared(position.N)).Solve(position);
            else
                solution = fastSolver_.Solve(position);
            if (!solution)
                throw std::bad_alloc();  // the tables were ready; nothing else stops these searches
            seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        } catch (const std::bad_alloc&) {
            return "error: " + Say(TSolverText::NoMemory);
        } catch (const std::exception& failure) {
            return "error: " + Shown(failure.what());
        }
        if (options_.Stats)
            std::fputs((Say(TSolverText::LineStats, {std::to_string(lineNumber), std::to_string(position.N),
                                                     std::to_string(solution->Tiles.size()), Seconds(seconds),
                                                     std::to_string(solution->Nodes), std::to_string(solution->LowerBound)})
                        + '\n').c_str(), stderr);
        std::string out = std::to_string(solution->Tiles.size());
        for (int tile : solution->Tiles)
            out += ' ' + std::to_string(tile);
        return out;
    }

private:
    // The tables this board needs are made ready before its clock starts (once per process), and
    // their time is told on its own; they fail only for want of memory.
    void PrepareTables(const TPosition& position)
    {
        if (options_.Fast || IsGoal(position) || position.N < 2 || position.N > kPatternMaxSize
            || TPatternDatabase::Shared(position.N).IsBuilt())
            return;
        const auto preparing = std::chrono::steady_clock::now();
        TPrepareWay way = TPrepareWay::Built;
        const bool ready = position.N == 4 ? tables4_.Prepare({}, 0, &way) == TPrepareResult::Ready
                                           : TPatternDatabase::Shared(position.N).Build() == TBuildResult::Built;
        if (!ready)
            throw std::bad_alloc();
        if (options_.Stats)
            std::fputs((Say(way == TPrepareWay::Read ? TSolverText::TablesRead : TSolverText::TablesBuilt,
                            {std::to_string(position.N),
                             Seconds(std::chrono::duration<double>(std::chrono::steady_clock::now() - preparing).count())})
                        + '\n').c_str(), stderr);
    }

    TOptions options_;
    TFastSolver fastSolver_;
    TTableStore tables4_;
};

int Run(int argc, char** argv)
{
    const std::variant<TOptions, int> options = ParseOptions(argc, argv);
    if (const int* status = std::get_if<int>(&options))
        return *status;
    TLineSolver solver(std::get<TOptions>(options));
    bool allSolved = true;
    std::string line;
    bool tooLong = false;
    for (long lineNumber = 1; ReadLine(line, tooLong); ++lineNumber) {
        if (tooLong || !IsSkipped(line)) {
            const std::string answer = solver.Answer(lineNumber, line, tooLong);
            if (!Answer(answer))
                return 1;
            allSolved = allSolved && answer.rfind("error: ", 0) != 0;
        }
    }
    if (inputError) {
        Answer("error: " + Say(TSolverText::CannotRead, {std::strerror(inputError)}));
        return 1;
    }
    return allSolved ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    // A closed pipe is a write error like any other: told, and the program ends with 1.
    std::signal(SIGPIPE, SIG_IGN);
    SpeakRussian(EnvironmentSpeaksRussian(std::getenv("LANGUAGE"), std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"),
                                          std::getenv("LANG")));
    try {
        return Run(argc, argv);
    } catch (const std::bad_alloc&) {
        Answer("error: " + Say(TSolverText::NoMemory));
    } catch (const std::exception& failure) {
        Answer("error: " + Shown(failure.what()));
    }
    return 1;
}
