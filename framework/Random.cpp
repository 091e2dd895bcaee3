#include "framework/Random.h"

#include <chrono>
#include <random>

namespace {

std::mt19937& Generator()
{
    static std::mt19937 generator(5489u);
    return generator;
}

} // namespace

void Randomize()
{
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    Generator().seed(std::uint32_t(ticks) ^ std::uint32_t(std::uint64_t(ticks) >> 32));
}

void SetRandSeed(std::uint32_t seed)
{
    Generator().seed(seed);
}

int Random(int n)
{
    if (n <= 0)
        return 0;
    std::uniform_int_distribution<int> distribution(0, n - 1);
    return distribution(Generator());
}
