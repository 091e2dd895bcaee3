// The rules every file of the user shares; the kinds of file refused are the score file's test.

#include "files/UserFile.h"
#include "tests/support/WriteLimit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
constexpr uid_t kNobody = 65534;

void Put(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

class UserFileTest : public ::testing::Test {
protected:
    ~UserFileTest() override { fs::remove_all(dir); }
    std::string At(const std::string& name) const { return dir + "/" + name; }
    std::string pattern = ::testing::TempDir() + "user_files_XXXXXX";
    const std::string dir = mkdtemp(pattern.data());
};

// This suite alone reads these variables: they are not restored.
TEST_F(UserFileTest, XdgFoldersTakeOnlyAbsoluteVariablesAndAUsableHome)
{
    setenv("HOME", (dir + "/").c_str(), 1);
    setenv("XDG_DATA_HOME", "/data", 1);
    setenv("XDG_CONFIG_HOME", "relative", 1);
    unsetenv("XDG_CACHE_HOME");
    setenv("XDG_STATE_HOME", "", 1);
    EXPECT_EQ((std::vector{XdgFolder(TXdgFolder::Data), XdgFolder(TXdgFolder::Config), XdgFolder(TXdgFolder::Cache),
                           XdgFolder(TXdgFolder::State)}),
              (std::vector<std::optional<std::string>>{"/data", dir + "/.config", dir + "/.cache", dir + "/.local/state"}));
    for (const char* unusable : {"relative/home", "/no/such/home"}) {
        setenv("HOME", unusable, 1);
        EXPECT_EQ(XdgFolder(TXdgFolder::Config), std::nullopt) << unusable;
    }
    unsetenv("HOME");
    EXPECT_EQ(XdgFolder(TXdgFolder::Cache), std::nullopt);
}

TEST_F(UserFileTest, AFileIsReplacedWholeInPrivateFoldersOnlyWhereItMayBe)
{
    const std::string deep = At("a/b/file");
    ASSERT_TRUE(ReplaceUserFile(deep, "first").Ok());
    EXPECT_EQ(fs::status(At("a")).permissions() & fs::perms::all, fs::perms::owner_all);
    chmod(deep.c_str(), 0640);
    ASSERT_TRUE(ReplaceUserFile(deep, "second").Ok());
    EXPECT_EQ(fs::status(deep).permissions(), fs::perms(0640));  // kept
    EXPECT_EQ(ReplaceUserFile(deep, "x", TLeafLink::FollowOwn, TReplace::IfMissing).Problem, TFileProblem::Exists);
    // A link is followed only where allowed; a write-protected file is read, never replaced.
    ASSERT_EQ(symlink("a/b/file", At("link").c_str()), 0);
    EXPECT_EQ(ReplaceUserFile(At("link"), "x", TLeafLink::Refuse).Problem, TFileProblem::Link);
    EXPECT_EQ(ReadUserFile(At("link"), 9, TLeafLink::Refuse).Status.Problem, TFileProblem::Link);
    chmod(deep.c_str(), 0440);
    EXPECT_EQ((std::pair{ReadUserFile(At("link"), 9).WriteProtected, ReplaceUserFile(At("link"), "x").Problem}),
              std::pair(true, TFileProblem::WriteProtected));
    chmod(deep.c_str(), 0640);
    ASSERT_TRUE(ReplaceUserFile(At("link"), "third").Ok());
    EXPECT_TRUE(fs::is_symlink(At("link")));

    // A write that fails leaves the file as it was, and nothing beside it.
    const TFileStatus failed = [&] {
        const ScopedWriteLimit limit(3);
        return ReplaceUserFile(deep, "too long");
    }();
    EXPECT_EQ(failed, (TFileStatus{TFileProblem::System, EFBIG}));
    EXPECT_EQ(ReadUserFile(deep, 99).Bytes, "third");
    EXPECT_EQ(std::distance(fs::directory_iterator(At("a/b")), fs::directory_iterator()), 1);
}

TEST_F(UserFileTest, ASaveRemovesTheTemporaryFilesOfKilledSavesAndNothingElseNorOneOnItsWay)
{
    std::set<std::string> kept = {"Mozik.ini.mozik-save-Folder", "Mozik.ini.mozik-save-LinkAb"};
    for (const char* name : {"Mozik.ini", "Mozik.ini.mozik-save-AbCdE", "Mozik.ini.mozik-save-AbCdE1",
                             "Mozik.ini.mozik-save-AbCdEfg", "Other.ini.mozik-save-AbCdEf", "Mozik.ini.AbCdEf"})
        Put(At(*kept.insert(name).first), "x");
    fs::create_directory(At("Mozik.ini.mozik-save-Folder"));
    fs::create_symlink("Mozik.ini", At("Mozik.ini.mozik-save-LinkAb"));
    if (geteuid() == 0) {  // one of the right shape, but another user's
        Put(At(*kept.insert("Mozik.ini.mozik-save-NobodY").first), "x");
        ASSERT_EQ(chown(At("Mozik.ini.mozik-save-NobodY").c_str(), kNobody, kNobody), 0);
    }
    Put(At("Mozik.ini.mozik-save-QwErTy"), "left by a killed save");
    Put(At(*kept.insert("Mozik.ini.mozik-save-OnWayY").first), "another process's save on its way");
    const int onItsWay = open(At("Mozik.ini.mozik-save-OnWayY").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(flock(onItsWay, LOCK_EX), 0);  // as its save holds it until the rename
    ASSERT_TRUE(ReplaceUserFile(At("Mozik.ini"), "table").Ok());
    close(onItsWay);
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.insert(entry.path().filename());
    EXPECT_EQ(names, kept);
}

TEST_F(UserFileTest, NoFolderLinkOfAnotherUserIsFollowed)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can make a link owned by another user";
    fs::create_directories(At("real/data"));
    Put(At("real/data/file"), "mine");
    fs::create_directory_symlink("real", At("own"));
    fs::create_directory_symlink("real", At("planted"));
    ASSERT_EQ(lchown(At("planted").c_str(), kNobody, kNobody), 0);
    EXPECT_EQ(ReadUserFile(At("own/data/file"), 9).Bytes, "mine");
    EXPECT_EQ(ReadUserFile(At("planted/data/file"), 9).Status.Problem, TFileProblem::ForeignFolderLink);
    EXPECT_EQ(ReplaceUserFile(At("planted/new/file"), "x").Problem, TFileProblem::ForeignFolderLink);
    EXPECT_FALSE(fs::exists(At("real/new")));
}

TEST_F(UserFileTest, ALockIsHeldAgainstOtherProcessesAndTakenOverFromOneThatDied)
{
    const std::string file = At("Mozik.ini"), lockFile = file + ".lock";
    int ready[2], finish[2];
    ASSERT_TRUE(pipe(ready) == 0 && pipe(finish) == 0);
    const pid_t holder = fork();
    if (holder == 0) {  // another window: takes the lock, holds it until told, then dies holding it
        close(finish[1]);
        TUserFileLock lock;
        const char taken = lock.Acquire(file, 0).Ok() ? '1' : '0';
        char done = 0;
        (void)!write(ready[1], &taken, 1);
        (void)!read(finish[0], &done, 1);
        _exit(0);
    }
    char taken = 0;
    ASSERT_TRUE(read(ready[0], &taken, 1) == 1 && taken == '1');
    TUserFileLock lock;
    EXPECT_EQ(lock.Acquire(file, 0).Problem, TFileProblem::Busy);
    for (int fd : {finish[1], ready[0], ready[1], finish[0]})  // the first lets the holder go
        close(fd);
    waitpid(holder, nullptr, 0);
    ASSERT_TRUE(fs::exists(lockFile));  // left behind by the dead holder
    ASSERT_TRUE(lock.Acquire(file, 0).Ok());
    TUserFileLock second;
    EXPECT_EQ(second.Acquire(file, 0).Problem, TFileProblem::Busy);
    lock.Release();
    EXPECT_FALSE(fs::exists(lockFile));
    EXPECT_TRUE(second.Acquire(file, 0).Ok());
    second.Release();
    fs::create_symlink("elsewhere", lockFile);  // never opened through
    EXPECT_EQ(lock.Acquire(file, 0).Problem, TFileProblem::Link);
    EXPECT_FALSE(fs::exists(At("elsewhere")));
}

TEST_F(UserFileTest, ALockFileThatCannotBeUsedGivesWayToTheFoldersLockWhichKeepsEveryHolderApart)
{
    const std::string file = At("data/Mozik.ini"), lockFile = file + ".lock";
    fs::create_directories(At("data"));
    Put(file, "scores");
    fs::create_directory(lockFile);
    TUserFileLock plain, first, second;
    EXPECT_EQ(plain.Acquire(file, 0).Problem, TFileProblem::Folder);
    EXPECT_EQ(std::pair(plain.LockPath(), plain.LockProblem().Problem), std::pair(lockFile, TFileProblem::Folder));
    // A link to the file: the lock is named beside the file it leads to.
    fs::create_symlink("data/Mozik.ini", At("scores.ini"));
    ASSERT_TRUE(first.Acquire(At("scores.ini"), 0, TLockFallback::Folder).Ok());
    EXPECT_EQ(std::tuple(first.Held(), first.LockPath(), first.LockProblem().Problem), std::tuple(true, lockFile, TFileProblem::Folder));
    EXPECT_EQ(second.Acquire(file, 0, TLockFallback::Folder).Problem, TFileProblem::Busy);
    fs::remove(lockFile);  // mended meanwhile: a holder of the lock file still waits for the folder
    EXPECT_EQ(second.Acquire(file, 0, TLockFallback::Folder).Problem, TFileProblem::Busy);
    first.Release();
    ASSERT_TRUE(second.Acquire(file, 0, TLockFallback::Folder).Ok());
    EXPECT_TRUE(second.LockProblem().Ok() && fs::is_regular_file(lockFile));
    // A fault on the way to the file is the file's, not the lock's.
    Put(At("plain"), "");
    EXPECT_EQ(std::pair(plain.Acquire(At("plain/Mozik.ini"), 0, TLockFallback::Folder).Ok(), plain.LockPath()),
              std::pair(false, std::string()));
}

} // namespace
