#pragma once
// Reference searches for the solver's tests: plain breadth-first searches over whole boards.

#include "solver/HintPlanner.h"
#include "solver/PatternDatabase.h"
#include "solver/Position.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

// The boards one move away.
std::vector<TPosition> Neighbours(const TPosition& position);

// Boards of up to 4 x 4 packed four bits a cell, and back.
std::uint64_t PackBoard(const TPosition& position);
TPosition UnpackBoard(int n, std::uint64_t key);

// Distance from home of every board reachable from it (all of them for 3 x 3 and smaller).
std::unordered_map<std::uint64_t, int> DistancesFromGoal(int n);

// Fewest moves between the board and home, searching from both ends; -1 beyond maxDepth.
int BidirectionalDistance(const TPosition& position, int maxDepth);

// The board after a random walk of `steps` moves from home that never undoes the move before.
TPosition RandomWalk(int n, int steps, std::mt19937& random);

// Whether the moves are legal and bring the board home.
bool Solves(const TPosition& position, const TMoves& moves);

// A group's table worked out the plain way, by a search over the group's placements with the
// gap's own cell, where the gap's steps onto other cells cost nothing: entry 0xFF where no
// placement is reached.
std::vector<std::uint8_t> PlainTable(int n, const TTileGroup& group);

// Small 4 x 4 tables (five groups of three): quick to build, weak enough that searches work hard.
TPatternDatabase& SmallTables4();

// Hint options on the small tables, built, kept in memory only, with narrow beams.
THintOptions SmallHints();
