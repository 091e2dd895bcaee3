#include "framework/Random.h"

#include <chrono>

void TRandom::Randomize()
{
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    generator_.seed(std::uint32_t(ticks) ^ std::uint32_t(std::uint64_t(ticks) >> 32));
}

int TRandom::Random(int n)
{
    if (n <= 0)
        return 0;
    std::uniform_int_distribution<int> distribution(0, n - 1);
    return distribution(generator_);
}

TRandom& ProgramRandom()
{
    static TRandom generator;
    return generator;
}
