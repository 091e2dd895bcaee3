#pragma once
// Pattern tables together with the file that keeps them between runs: made ready by reading the
// file, or, when it cannot be used, by building them and storing them in it. A caller that must
// never wait runs Prepare on a thread of its own (see LowerThreadPriority) and learns that the
// tables are ready when it returns Ready, or from IsReady().

#include "solver/Cancel.h"
#include "solver/PatternDatabase.h"

#include <string>

enum class TPrepareResult { Ready, Stopped, Failed };

// How the tables were made ready, for the command's statistics.
enum class TPrepareWay { Already, Read, Built };

class TTableStore {
public:
    // An empty file name keeps the tables in memory only. The tables must outlive the store.
    TTableStore(TPatternDatabase& tables, std::string file) : tables_(tables), file_(std::move(file)) {}

    // Ready at once when the tables are built; otherwise reads them from the file, or builds them
    // (on up to `threads` threads, 0: one per core) and writes the file. A stop request returns
    // Stopped within a few thousand entries, the tables not ready; Failed when they could be
    // neither read nor built (out of memory). `way`, when given, tells how they were made ready.
    TPrepareResult Prepare(const TCancel& cancel = {}, int threads = 0, TPrepareWay* way = nullptr);

    bool IsReady() const { return tables_.IsBuilt(); }
    TPatternDatabase& Tables() const { return tables_; }

    // The file for the shared 4 x 4 tables in the user's cache folder, $XDG_CACHE_HOME/Mozik (see
    // files/UserFile.h); empty when there is none.
    static std::string DefaultFile();
    // The shared 4 x 4 tables with that file, for the game.
    static TTableStore& Shared();

private:
    TPatternDatabase& tables_;
    std::string file_;
};

// Lowers the calling thread's scheduling priority for good (threads it starts afterwards, such as
// a table build's, inherit it); meant for a thread of its own that prepares tables while the
// program goes on.
void LowerThreadPriority();
