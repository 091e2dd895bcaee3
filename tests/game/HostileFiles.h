#pragma once
// What may lie where the game looks for a file of the player's own, for the tests of the files
// that must leave such things alone (the score file, the settings): each kind, made under a name,
// and how to see that nothing was touched and that nothing waits on a pipe.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <chrono>
#include <fcntl.h>
#include <future>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

constexpr uid_t kNobody = 65534;

inline QByteArray Name(const QString& path)
{
    return QFile::encodeName(path);
}

enum class TNeeds { Anyone, Root, NotRoot };

struct THostileFile {
    const char* Kind;
    TNeeds Needs;
    void (*Make)(const QString& file);
};

// A pipe, a link to a device, a folder, a dangling link, a file one byte over 64 KiB, another
// user's link to a file of the user's and the user's link to another's file (root only), and an
// unreadable file (not for root).
extern const std::vector<THostileFile> kHostileFiles;
// Skips the test where this user cannot make the kind.
#define SKIP_UNLESS_MADE_BY_THIS_USER(kind)                                                              \
    if ((kind).Needs == TNeeds::Root && geteuid() != 0)                                                  \
        GTEST_SKIP() << "only root can make a file or link owned by another user";                       \
    if ((kind).Needs == TNeeds::NotRoot && geteuid() == 0)                                               \
        GTEST_SKIP() << "permission bits do not stop root from reading"

// Each entry of the folder, links not followed: kind, owner, size, inode and times of change (a
// folder's change with its entries'). Equal snapshots: nothing was touched.
std::map<std::string, std::vector<long>> Snapshot(const QString& folder);

// Runs `step` on another thread, so that one that waits on a pipe's writer fails the test instead
// of hanging it: the pipe then gets a writer that leaves at once, which ends any wait on it.
template <class F>
auto Unblocked(F step, const QString& pipe)
{
    auto done = std::async(std::launch::async, step);
    if (done.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
        ADD_FAILURE() << "blocked on " << pipe.toStdString();
        close(open(Name(pipe), O_RDWR | O_NONBLOCK | O_CLOEXEC));
    }
    return done.get();
}

// The name given to a kind's test.
inline std::string KindName(const ::testing::TestParamInfo<THostileFile>& info)
{
    return info.param.Kind;
}
