#pragma once
// Finds moves that bring a sliding puzzle home, for tests that play a whole game.

#include <vector>

// cells[p - 1] is the home number shown at position p, 0 at the gap. Returns the positions to
// click in order (each one beside the gap at its turn); empty when none was found.
std::vector<int> SolvePuzzle(const std::vector<int>& cells, int n);
