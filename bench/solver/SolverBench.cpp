// The 4 x 4 tables' build and their reading from the cache file, shortest 4 x 4 solving (time,
// nodes and nanoseconds a node on one core), fast solving of 4 x 4 to 7 x 7 (time and length
// against the Manhattan bound), and the first hint from a fresh board. Searches run on one core;
// the table build on one and on every core. bench/solver/fresh.sh times the fast solver in fresh
// processes, bench/solver/cold.sh mozik-solve's shortest answers from a cold start against
// another build.

#include "solver/FastSolver.h"
#include "solver/HintPlanner.h"
#include "solver/OptimalSolver.h"
#include "solver/PatternDatabase.h"
#include "solver/TableFile.h"
#include "solver/TableStore.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

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

// The shared 4 x 4 tables, built once for the benchmarks that search with them.
TPatternDatabase& Tables4()
{
    TPatternDatabase& tables = TPatternDatabase::Shared(4);
    tables.Build();
    return tables;
}

// On one thread, and on one per core (argument 0).
void BM_BuildTables4(benchmark::State& state)
{
    for (auto _ : state) {
        TPatternDatabase tables(4, DefaultPartition(4));
        const auto started = std::chrono::steady_clock::now();
        tables.Build({}, int(state.range(0)));
        state.counters["build_s"] = Seconds(started);
        state.counters["tables_MiB"] = double(tables.TableBytes()) / (1 << 20);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MiB"] = double(usage.ru_maxrss) / 1024;
}
BENCHMARK(BM_BuildTables4)->Arg(1)->Arg(0)->Iterations(1)->Unit(benchmark::kMillisecond);

// Reading the stored tables back, checksum and all, as a program started later does.
void BM_LoadTables4(benchmark::State& state)
{
    const std::string folder = "/tmp/mozik_bench_tables_" + std::to_string(getpid());
    const std::string path = folder + "/Mozik/tables.bin";
    if (!StoreTables(Tables4(), path)) {
        state.SkipWithError("the tables could not be written");
        return;
    }
    double worst = 0;
    for (auto _ : state) {
        TPatternDatabase tables(4, DefaultPartition(4));
        const auto started = std::chrono::steady_clock::now();
        const TLoadResult result = LoadTables(tables, path);
        worst = std::max(worst, Seconds(started));
        if (result != TLoadResult::Loaded)
            state.SkipWithError("the tables were not read back");
    }
    state.counters["worst_load_ms"] = 1000 * worst;
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LoadTables4)->Iterations(10)->Unit(benchmark::kMillisecond);

// Solves every position once per iteration and reports per-position figures.
template <typename TSolve>
void SolveAll(benchmark::State& state, const std::vector<TPosition>& positions, TSolve solve)
{
    double total = 0, worst = 0, cpu = 0, worstCpu = 0, nodes = 0, worstNodes = 0, ratio = 0, length = 0, longest = 0;
    for (auto _ : state) {
        for (const TPosition& position : positions) {
            const auto started = std::chrono::steady_clock::now();
            const double startedCpu = ThreadSeconds();
            const std::optional<TSolution> solution = solve(position);
            const double seconds = Seconds(started), cpuSeconds = ThreadSeconds() - startedCpu;
            total += seconds;
            worst = std::max(worst, seconds);
            cpu += cpuSeconds;
            worstCpu = std::max(worstCpu, cpuSeconds);
            nodes += double(solution->Nodes);
            worstNodes = std::max(worstNodes, double(solution->Nodes));
            length += double(solution->Tiles.size());
            longest = std::max(longest, double(solution->Tiles.size()));
            ratio += double(solution->Tiles.size()) / std::max(1, ManhattanDistance(position));
        }
    }
    const double count = double(positions.size() * state.iterations());
    state.counters["mean_ms"] = 1000 * total / count;
    state.counters["worst_ms"] = 1000 * worst;
    state.counters["worst_cpu_ms"] = 1000 * worstCpu;
    state.counters["mean_nodes"] = nodes / count;
    state.counters["worst_nodes"] = worstNodes;
    state.counters["ns_per_node"] = 1e9 * cpu / std::max(1.0, nodes);
    state.counters["mean_length"] = length / count;
    state.counters["longest"] = longest;
    state.counters["length_per_manhattan"] = ratio / count;
}

void BM_Optimal4(benchmark::State& state)
{
    TOptimalSolver solver(Tables4());
    SolveAll(state, Positions(4, 100, 2024), [&](const TPosition& position) { return solver.Solve(position); });
}
BENCHMARK(BM_Optimal4)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_Fast(benchmark::State& state)
{
    TFastSolver solver;
    const int n = int(state.range(0));
    SolveAll(state, Positions(n, n == 7 ? 100 : 200, 2024 + unsigned(n)),
             [&](const TPosition& position) { return solver.Solve(position); });
}
BENCHMARK(BM_Fast)->DenseRange(4, 7)->Iterations(1)->Unit(benchmark::kMillisecond);

// A board that needs the most moves any 4 x 4 board needs, 80, and its mirror image: what the fast
// solver answers for it, ranked by the tables as a hint past its search's budget is, and without.
void BM_FastHardest4(benchmark::State& state)
{
    const TPosition hardest{4, {0, 12, 9, 13, 15, 11, 10, 14, 3, 7, 2, 5, 4, 8, 6, 1}};
    TPosition mirror = hardest;
    for (int c = 0; c < 16; ++c)
        mirror.Cells[std::size_t(Tables4().MirrorCell(c))] = std::uint8_t(Tables4().MirrorTile(hardest.Cells[std::size_t(c)]));
    TFastSolverOptions options;
    options.Tables = state.range(0) ? &Tables4() : nullptr;
    TFastSolver solver(options);
    SolveAll(state, {hardest, mirror}, [&](const TPosition& position) { return solver.Solve(position); });
}
BENCHMARK(BM_FastHardest4)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

// The first hint on a board the planner has not seen: a whole solve, the 4 x 4 tables ready.
void BM_FirstHint(benchmark::State& state)
{
    const int n = int(state.range(0));
    TTableStore store(Tables4(), "");
    THintOptions options;
    options.Tables = &store;
    std::mt19937 random(99);
    for (auto _ : state) {
        state.PauseTiming();
        THintPlanner planner(options);
        const TPosition position = RandomSolvablePosition(n, random);
        state.ResumeTiming();
        benchmark::DoNotOptimize(planner.Quick(position));
    }
}
BENCHMARK(BM_FirstHint)->DenseRange(3, 7)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
