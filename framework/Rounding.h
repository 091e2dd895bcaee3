#pragma once
// Rounding as the game's arithmetic means it: to the nearest integer, halves to the even
// neighbour (0.5 -> 0, 1.5 -> 2, 2.5 -> 2), whatever the floating-point rounding mode is.

#include <cmath>

inline int RoundHalfEven(double value)
{
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    return int(whole);
}
