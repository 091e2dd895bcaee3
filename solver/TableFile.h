#pragma once
// The file that keeps pattern tables between runs. Little-endian throughout:
//   8 bytes   magic "MOZIKPDB"
//   4 bytes   format version (kTableFormatVersion)
//   4 bytes   board size N
//   4 bytes   group count G
//   G times:  4 bytes tile count K, then the K tile numbers, a byte each
//   G times:  8 bytes table size in entries
//   the G tables, a byte an entry
//   8 bytes   checksum: 64-bit FNV-1a over the 64-bit little-endian words of everything before
//             it (the last word filled with zeros)
// A file that is short or long, of another format version, for other groups or sizes, whose
// checksum is wrong, or whose tables fail TableMakesSense is not used: the tables are built again.

#include "solver/Cancel.h"
#include "solver/PatternDatabase.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr std::uint32_t kTableFormatVersion = 1;

// The file's bytes for built tables.
std::vector<std::uint8_t> EncodeTables(const TPatternDatabase& tables);

// The size of the file for the tables' groups.
std::uint64_t TableFileSize(const TPatternDatabase& tables);

enum class TLoadResult { Loaded, Rebuild, Stopped };

// Reads the tables from the cache file into the database (which takes them unless it is built
// already): Rebuild when the file is missing, not a regular file of the user's own (see
// files/UserFile.h), or not exactly the tables' file. Looks at the stop request every few
// thousand bytes.
TLoadResult LoadTables(TPatternDatabase& tables, const std::string& path, const TCancel& cancel = {});

// Writes built tables to the cache file, replacing it whole (see ReplaceUserFile); false when it
// was not written.
bool StoreTables(const TPatternDatabase& tables, const std::string& path);
