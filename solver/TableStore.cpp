#include "solver/TableStore.h"

#include "files/UserFile.h"
#include "solver/TableFile.h"

#include <new>
#include <sys/resource.h>
#include <unistd.h>

TPrepareResult TTableStore::Prepare(const TCancel& cancel, int threads, TPrepareWay* way)
{
    TPrepareWay how = TPrepareWay::Already;
    if (!IsReady() && !file_.empty()) {
        TLoadResult loaded = TLoadResult::Rebuild;
        try {
            loaded = LoadTables(tables_, file_, cancel);
        } catch (const std::bad_alloc&) {
            // no room to read them: a build will tell whether there is room to make them
        }
        if (loaded == TLoadResult::Stopped)
            return TPrepareResult::Stopped;
        how = TPrepareWay::Read;
    }
    if (!IsReady()) {
        switch (tables_.Build(cancel, threads)) {
        case TBuildResult::Stopped:
            return TPrepareResult::Stopped;
        case TBuildResult::Failed:
            return TPrepareResult::Failed;
        case TBuildResult::Built:
            break;
        }
        how = TPrepareWay::Built;
        try {
            // A file that cannot be written leaves them in memory only; one asked to stop (the
            // program ends) is not written, rather than hold the end up for the disk.
            if (!file_.empty() && !cancel.StopRequested())
                StoreTables(tables_, file_);
        } catch (const std::bad_alloc&) {
            // not stored this time; the tables are ready all the same
        }
    }
    if (way)
        *way = how;
    return TPrepareResult::Ready;
}

std::string TTableStore::DefaultFile()
{
    const std::optional<std::string> folder = XdgFolder(TXdgFolder::Cache);
    return folder ? *folder + "/Mozik/solver-tables-4x4.bin" : std::string();
}

TTableStore& TTableStore::Shared()
{
    static TTableStore store(TPatternDatabase::Shared(4), DefaultFile());
    return store;
}

void LowerThreadPriority()
{
    // On Linux the nice value belongs to the thread; 10 is the usual one of background work.
    setpriority(PRIO_PROCESS, id_t(gettid()), 10);
}
