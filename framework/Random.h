#pragma once
// Pseudo-random numbers. The rules that need them (the shuffle, the random effects) take a
// generator as an argument; the program has one, seeded from the clock at start-up and by every
// Start, which tests seed to replay an order.

#include <cstdint>
#include <random>

class TRandom {
public:
    explicit TRandom(std::uint32_t seed = 5489u) : generator_(seed) {}

    void Randomize();  // seeds from the clock
    void SetSeed(std::uint32_t seed) { generator_.seed(seed); }
    // A uniformly distributed k with 0 <= k < n; 0 when n <= 0.
    int Random(int n);

private:
    std::mt19937 generator_;
};

// The program's one generator.
TRandom& ProgramRandom();
