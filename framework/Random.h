#pragma once
// The program's one pseudo-random generator. Randomize() seeds it from the clock; tests seed it
// with SetRandSeed() to replay an order.

#include <cstdint>

void Randomize();
void SetRandSeed(std::uint32_t seed);
// A uniformly distributed k with 0 <= k < n; 0 when n <= 0.
int Random(int n);
