#pragma once
// The build of the pattern tables: a breadth-first search backwards from the goal over the
// placements of each group's tiles, all groups at once and each search's layers split into
// pieces, on as many threads as are given. The tables come out the same byte for byte whatever
// the number of threads.

#include "solver/Cancel.h"
#include "solver/PatternDatabase.h"

#include <cstdint>
#include <vector>

// Builds the table of every group of the partition (checked already) for an n x n board on up to
// `threads` threads (at least one: the caller's), into `tables`. A stop request ends every thread
// at its next check point, a few thousand states apart: Stopped, the tables left empty; Failed
// when a thread's work threw. Returns only when every thread it started has ended. Throws
// std::bad_alloc when there is no room for the searches.
TBuildResult BuildTables(int n, const TPartition& partition, const TCancel& cancel, int threads,
                         std::vector<std::vector<std::uint8_t>>& tables);
