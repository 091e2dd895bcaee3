// Table build, optimal 4 x 4 solving, fast solving of 5 x 5 to 7 x 7 (time and length against the
// Manhattan bound), and the first hint from a fresh board. Searches run on one core; the table
// build may use two.

#include "solver/FastSolver.h"
#include "solver/HintPlanner.h"
#include "solver/OptimalSolver.h"
#include "solver/PatternDatabase.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <sys/resource.h>

namespace {

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Processor time of the calling thread: what a solve costs, whatever else the machine runs.
double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

std::vector<TPosition> Positions(int n, int count, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<TPosition> positions;
    for (int i = 0; i < count; ++i)
        positions.push_back(RandomSolvablePosition(n, random));
    return positions;
}

void BM_BuildTables4(benchmark::State& state)
{
    for (auto _ : state) {
        TPatternDatabase tables(4, DefaultPartition(4));
        const auto started = std::chrono::steady_clock::now();
        tables.Build();
        state.counters["build_s"] = Seconds(started);
        state.counters["tables_MiB"] = double(tables.TableBytes()) / (1 << 20);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MiB"] = double(usage.ru_maxrss) / 1024;
}
BENCHMARK(BM_BuildTables4)->Iterations(1)->Unit(benchmark::kMillisecond);

// Solves every position once per iteration and reports per-position figures.
template <typename TSolve>
void SolveAll(benchmark::State& state, const std::vector<TPosition>& positions, TSolve solve)
{
    double total = 0, worst = 0, worstCpu = 0, nodes = 0, ratio = 0, length = 0;
    for (auto _ : state) {
        for (const TPosition& position : positions) {
            const auto started = std::chrono::steady_clock::now();
            const double cpu = ThreadSeconds();
            const std::optional<TSolution> solution = solve(position);
            const double seconds = Seconds(started);
            worstCpu = std::max(worstCpu, ThreadSeconds() - cpu);
            total += seconds;
            worst = std::max(worst, seconds);
            nodes += double(solution->Nodes);
            length += double(solution->Tiles.size());
            ratio += double(solution->Tiles.size()) / std::max(1, ManhattanDistance(position));
        }
    }
    const double count = double(positions.size() * state.iterations());
    state.counters["mean_ms"] = 1000 * total / count;
    state.counters["worst_ms"] = 1000 * worst;
    state.counters["worst_cpu_ms"] = 1000 * worstCpu;
    state.counters["mean_nodes"] = nodes / count;
    state.counters["mean_length"] = length / count;
    state.counters["length_per_manhattan"] = ratio / count;
}

void BM_Optimal4(benchmark::State& state)
{
    TPatternDatabase::Shared(4).Build();
    TOptimalSolver solver(TPatternDatabase::Shared(4));
    SolveAll(state, Positions(4, 100, 2024), [&](const TPosition& position) { return solver.Solve(position); });
}
BENCHMARK(BM_Optimal4)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_Fast(benchmark::State& state)
{
    TPatternDatabase::Shared(4).Build();
    TFastSolver solver;
    const int n = int(state.range(0));
    SolveAll(state, Positions(n, 200, 2024 + unsigned(n)), [&](const TPosition& position) { return solver.Solve(position); });
}
BENCHMARK(BM_Fast)->Arg(5)->Arg(6)->Arg(7)->Iterations(1)->Unit(benchmark::kMillisecond);

// The first hint on a board the planner has not seen: a whole solve.
void BM_FirstHint(benchmark::State& state)
{
    const int n = int(state.range(0));
    TPatternDatabase::Shared(std::min(n, kPatternMaxSize)).Build();
    std::mt19937 random(99);
    for (auto _ : state) {
        state.PauseTiming();
        THintPlanner planner;
        const TPosition position = RandomSolvablePosition(n, random);
        state.ResumeTiming();
        benchmark::DoNotOptimize(planner.NextMove(position));
    }
}
BENCHMARK(BM_FirstHint)->DenseRange(3, 7)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
