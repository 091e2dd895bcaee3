// The game model alone, without a window: a shuffle of each size, and 10,000 legal moves with
// the completion check.

#include "game/Game.h"

#include <benchmark/benchmark.h>

namespace {

void BM_Shuffle(benchmark::State& state)
{
    TGame game(int(state.range(0)));
    TRandom random(11);
    for (auto _ : state) {
        game.Start(random);
        benchmark::DoNotOptimize(game.Grid());
    }
}
BENCHMARK(BM_Shuffle)->DenseRange(4, 7)->Unit(benchmark::kMicrosecond);

// Each move slides a random neighbour of the gap into it; a finished game starts again.
void BM_TenThousandMoves(benchmark::State& state)
{
    TGame game(5);
    TRandom random(7);
    game.Start(random);
    int solved = 0;
    for (auto _ : state) {
        for (int move = 0; move < 10000; ++move) {
            const int n = game.BoardSize(), gap = game.GapPos();
            const int candidates[] = {gap - 1, gap + 1, gap - n, gap + n};
            for (int offset = random.Random(4), tries = 0; tries < 4; ++tries) {
                const TMoveResult result = game.Move(candidates[(offset + tries) % 4]);
                if (result.Moved) {
                    if (result.Solved) {
                        ++solved;
                        game.Start(random);
                    }
                    break;
                }
            }
        }
    }
    benchmark::DoNotOptimize(solved);
}
BENCHMARK(BM_TenThousandMoves)->Unit(benchmark::kMicrosecond);

} // namespace
