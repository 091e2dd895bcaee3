// Prints random solvable boards, one a line, as mozik-solve reads them: random_boards N COUNT SEED.

#include "solver/Position.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fputs("usage: random_boards N COUNT SEED\n", stderr);
        return 2;
    }
    const int n = std::atoi(argv[1]), count = std::atoi(argv[2]);
    if (n < kSolverMinSize || n > kSolverMaxSize)
        return 2;
    std::mt19937 random(unsigned(std::atoi(argv[3])));
    for (int k = 0; k < count; ++k) {
        std::printf("%d", n);
        for (int cell : RandomSolvablePosition(n, random).Cells)
            std::printf(" %d", cell);
        std::printf("\n");
    }
}
