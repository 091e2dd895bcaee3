#include "files/UserFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
constexpr uid_t kNobody = 65534;

std::string Slurp(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void Put(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

mode_t Mode(const std::string& path)
{
    struct stat st {};
    lstat(path.c_str(), &st);
    return st.st_mode;
}

// An environment variable set (or unset, for nullptr) while alive.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

class UserFileTest : public ::testing::Test {
protected:
    UserFileTest()
    {
        std::string pattern = ::testing::TempDir() + "user_files_XXXXXX";
        dir = mkdtemp(pattern.data());
    }
    ~UserFileTest() override { fs::remove_all(dir); }
    std::string At(const std::string& name) const { return dir + "/" + name; }
    std::string dir;
};

TEST_F(UserFileTest, XdgFoldersTakeOnlyAbsoluteVariablesAndAUsableHome)
{
    fs::create_directory(At("home"));
    ScopedEnv home("HOME", (At("home") + "/").c_str());
    ScopedEnv data("XDG_DATA_HOME", "/absolute/data");
    ScopedEnv config("XDG_CONFIG_HOME", "relative/config");
    ScopedEnv cache("XDG_CACHE_HOME", nullptr);
    EXPECT_EQ(XdgFolder(TXdgFolder::Data), "/absolute/data");
    EXPECT_EQ(XdgFolder(TXdgFolder::Config), At("home") + "/.config");  // a relative variable counts for nothing
    EXPECT_EQ(XdgFolder(TXdgFolder::Cache), At("home") + "/.cache");
    for (const char* unusable : {static_cast<const char*>(nullptr), "", "relative/home", "/no/such/home"}) {
        ScopedEnv noHome("HOME", unusable);
        EXPECT_EQ(XdgFolder(TXdgFolder::Config), std::nullopt) << (unusable ? unusable : "unset");
        EXPECT_EQ(XdgFolder(TXdgFolder::Data), "/absolute/data");
    }
}

TEST_F(UserFileTest, OnlyASmallRegularFileOfTheUsersOwnIsRead)
{
    Put(At("scores"), "12345");
    ASSERT_EQ(symlink("scores", At("own-link").c_str()), 0);
    EXPECT_EQ(ReadUserFile(At("scores"), 5).Bytes, "12345");
    EXPECT_EQ(ReadUserFile(At("own-link"), 5).Bytes, "12345");
    EXPECT_EQ(ReadUserFile(At("own-link"), 5, TLeafLink::Refuse).Status.Problem, TFileProblem::Link);
    EXPECT_EQ(ReadUserFile(At("scores"), 4).Status.Problem, TFileProblem::TooBig);
    EXPECT_TRUE(ReadUserFile(At("scores"), 4).Bytes.empty());
    EXPECT_FALSE(ReadUserFile(At("scores"), 5).WriteProtected);
    chmod(At("scores").c_str(), 0444);
    const TFileRead protectedFile = ReadUserFile(At("scores"), 5);
    EXPECT_TRUE(protectedFile.Status.Ok() && protectedFile.WriteProtected);

    ASSERT_EQ(mkfifo(At("pipe").c_str(), 0600), 0);  // read with no writer: refused, never waited on
    ASSERT_EQ(symlink("/dev/zero", At("device").c_str()), 0);
    ASSERT_EQ(symlink("nothing", At("dangling").c_str()), 0);
    ASSERT_EQ(symlink("loop", At("loop").c_str()), 0);
    fs::create_directory(At("folder"));
    const std::pair<const char*, TFileStatus> refused[] = {
        {"pipe", {TFileProblem::Pipe}},         {"device", {TFileProblem::Device}},
        {"dangling", {TFileProblem::DanglingLink}}, {"folder", {TFileProblem::Folder}},
        {"missing", {TFileProblem::Missing}},   {"no-folder/scores", {TFileProblem::Missing}},
        {"loop", {TFileProblem::System, ELOOP}}, {"scores/below-a-file", {TFileProblem::System, ENOTDIR}},
    };
    for (const auto& [name, status] : refused)
        EXPECT_EQ(ReadUserFile(At(name), 100).Status, status) << name;
}

TEST_F(UserFileTest, AFileIsReplacedWholeKeepingItsPermissionsAndFoldersAreMadePrivate)
{
    const std::string deep = At("a/b/scores");
    ASSERT_TRUE(ReplaceUserFile(deep, "first").Ok());
    EXPECT_EQ(Slurp(deep), "first");
    EXPECT_EQ(Mode(At("a")) & 0777, 0700u);
    EXPECT_EQ(Mode(At("a/b")) & 0777, 0700u);
    chmod(deep.c_str(), 0640);
    ASSERT_TRUE(ReplaceUserFile(deep, "second").Ok());
    EXPECT_EQ(Slurp(deep), "second");
    EXPECT_EQ(Mode(deep) & 0777, 0640u);
    // Made only where nothing is there by then.
    EXPECT_EQ(ReplaceUserFile(deep, "third", TLeafLink::FollowOwn, TReplace::IfMissing).Problem, TFileProblem::Exists);
    EXPECT_TRUE(ReplaceUserFile(At("a/new"), "made", TLeafLink::FollowOwn, TReplace::IfMissing).Ok());
    EXPECT_EQ(Slurp(At("a/new")), "made");

    // A write that fails leaves the file as it was, and no temporary file behind.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limit = saved;
    limit.rlim_cur = 3;
    setrlimit(RLIMIT_FSIZE, &limit);
    const TFileStatus failed = ReplaceUserFile(deep, "too long to be written");
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(failed, (TFileStatus{TFileProblem::System, EFBIG}));
    EXPECT_EQ(Slurp(deep), "second");
    EXPECT_EQ(std::distance(fs::directory_iterator(At("a/b")), fs::directory_iterator()), 1);
}

TEST_F(UserFileTest, NothingButAnOwnWritableFileIsReplacedAndLinksOnlyWhereAllowed)
{
    Put(At("target"), "old");
    ASSERT_EQ(symlink("target", At("link").c_str()), 0);
    EXPECT_EQ(ReplaceUserFile(At("link"), "new", TLeafLink::Refuse).Problem, TFileProblem::Link);
    EXPECT_EQ(Slurp(At("target")), "old");
    ASSERT_TRUE(ReplaceUserFile(At("link"), "new").Ok());  // an own link leads to the file it names
    EXPECT_EQ(Slurp(At("target")), "new");
    EXPECT_TRUE(fs::is_symlink(At("link")));

    ASSERT_EQ(mkfifo(At("pipe").c_str(), 0600), 0);
    ASSERT_EQ(symlink("/dev/null", At("device").c_str()), 0);
    fs::create_directory(At("folder"));
    Put(At("protected"), "kept");
    chmod(At("protected").c_str(), 0444);
    const std::pair<const char*, TFileProblem> refused[] = {{"pipe", TFileProblem::Pipe},
                                                            {"device", TFileProblem::Device},
                                                            {"folder", TFileProblem::Folder},
                                                            {"protected", TFileProblem::WriteProtected}};
    for (const auto& [name, problem] : refused)
        EXPECT_EQ(ReplaceUserFile(At(name), "x").Problem, problem) << name;
    EXPECT_TRUE(fs::is_fifo(At("pipe")) && fs::is_directory(At("folder")) && fs::is_symlink(At("device")));
    EXPECT_EQ(Slurp(At("protected")), "kept");
}

TEST_F(UserFileTest, ASaveRemovesTheTemporaryFilesOfKilledSavesAndNothingElse)
{
    std::vector<std::string> kept = {"Mozik.ini", "Mozik.ini.mozik-save-AbCdE", "Mozik.ini.mozik-save-AbCdE1",
                                     "Mozik.ini.mozik-save-AbCdEfg", "Other.ini.mozik-save-AbCdEf", "Mozik.ini.AbCdEf",
                                     "Mozik.ini.mozik-save-Folder", "Mozik.ini.mozik-save-LinkAb"};
    for (std::size_t i = 1; i <= 5; ++i)
        Put(At(kept[i]), "x");
    fs::create_directory(At(kept[6]));
    ASSERT_EQ(symlink("Mozik.ini", At(kept[7]).c_str()), 0);
    if (geteuid() == 0) {  // one of the right shape, but another user's
        kept.push_back("Mozik.ini.mozik-save-NobodY");
        Put(At(kept.back()), "x");
        ASSERT_EQ(chown(At(kept.back()).c_str(), kNobody, kNobody), 0);
    }
    Put(At("Mozik.ini.mozik-save-QwErTy"), "left by a killed save");
    ASSERT_TRUE(ReplaceUserFile(At("Mozik.ini"), "table").Ok());
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(names, kept);
}

// Links and files of another user: only root can make them.
TEST_F(UserFileTest, NoLinkOrFileOfAnotherUserIsFollowedReadOrReplaced)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can make a file or link owned by another user";
    fs::create_directories(At("real/data"));
    Put(At("real/data/scores"), "mine");
    ASSERT_EQ(symlink("real", At("own").c_str()), 0);
    ASSERT_EQ(symlink("real", At("planted").c_str()), 0);
    ASSERT_EQ(lchown(At("planted").c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(symlink("real/data/scores", At("planted-file").c_str()), 0);
    ASSERT_EQ(lchown(At("planted-file").c_str(), kNobody, kNobody), 0);
    Put(At("theirs"), "theirs");
    ASSERT_EQ(chown(At("theirs").c_str(), kNobody, kNobody), 0);

    EXPECT_EQ(ReadUserFile(At("own/data/scores"), 10).Bytes, "mine");  // an own folder link is followed
    EXPECT_EQ(ReadUserFile(At("planted/data/scores"), 10).Status.Problem, TFileProblem::ForeignFolderLink);
    EXPECT_EQ(ReplaceUserFile(At("planted/data/scores"), "x").Problem, TFileProblem::ForeignFolderLink);
    EXPECT_EQ(ReplaceUserFile(At("planted/new/scores"), "x").Problem, TFileProblem::ForeignFolderLink);
    EXPECT_EQ(ReadUserFile(At("planted-file"), 10).Status.Problem, TFileProblem::ForeignLink);
    EXPECT_EQ(ReplaceUserFile(At("planted-file"), "x").Problem, TFileProblem::ForeignLink);
    EXPECT_EQ(ReadUserFile(At("theirs"), 10).Status.Problem, TFileProblem::Foreign);
    EXPECT_EQ(ReplaceUserFile(At("theirs"), "x").Problem, TFileProblem::Foreign);
    EXPECT_EQ(Slurp(At("real/data/scores")), "mine");
    EXPECT_EQ(Slurp(At("theirs")), "theirs");
    EXPECT_FALSE(fs::exists(At("real/new")));
}

TEST_F(UserFileTest, ALockIsHeldAgainstOthersAndTakenOverFromAProcessThatDied)
{
    const std::string file = At("Mozik.ini");
    const std::string lockFile = file + ".lock";
    int ready[2], finish[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(finish), 0);
    const pid_t holder = fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {  // another window: takes the lock, holds it until told, then dies without letting it go
        close(finish[1]);
        TUserFileLock lock;
        const char taken = lock.Acquire(file, 0).Ok() ? '1' : '0';
        (void)!write(ready[1], &taken, 1);
        char done = 0;
        (void)!read(finish[0], &done, 1);
        _exit(0);
    }
    char taken = 0;
    ASSERT_EQ(read(ready[0], &taken, 1), 1);
    ASSERT_EQ(taken, '1');
    TUserFileLock lock;
    EXPECT_EQ(lock.Acquire(file, 0).Problem, TFileProblem::Busy);
    EXPECT_FALSE(lock.Held());
    close(finish[1]);
    int status = 0;
    waitpid(holder, &status, 0);
    for (int fd : {ready[0], ready[1], finish[0]})
        close(fd);
    ASSERT_TRUE(fs::exists(lockFile));  // left behind by the dead holder
    ASSERT_TRUE(lock.Acquire(file, 0).Ok());
    EXPECT_TRUE(lock.Held());
    TUserFileLock second;
    EXPECT_EQ(second.Acquire(file, 0).Problem, TFileProblem::Busy);
    lock.Release();
    EXPECT_FALSE(fs::exists(lockFile));
    EXPECT_TRUE(second.Acquire(file, 0).Ok());
    second.Release();

    // A lock file that is no file of the user's is never opened through.
    ASSERT_EQ(symlink("elsewhere", lockFile.c_str()), 0);
    EXPECT_EQ(lock.Acquire(file, 0).Problem, TFileProblem::Link);
    EXPECT_FALSE(fs::exists(At("elsewhere")));
    fs::remove(lockFile);
    ASSERT_EQ(mkfifo(lockFile.c_str(), 0600), 0);
    EXPECT_EQ(lock.Acquire(file, 0).Problem, TFileProblem::Pipe);
}

} // namespace
