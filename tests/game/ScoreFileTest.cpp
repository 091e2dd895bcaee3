#include "files/UserFile.h"
#include "game/ScoreFile.h"
#include "tests/support/CoreSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <chrono>
#include <fcntl.h>
#include <future>
#include <map>
#include <string>
#include <vector>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;

constexpr auto Name = &QFile::encodeName;  // a path in the file system's own bytes

TScoreTable Record()
{
    TScoreTable table;
    table.Place(5, "Anna", 20);
    return table;
}

// Each entry of the folder, links not followed: kind, owner, size, inode and times of change (a
// folder's change with its entries'). Equal snapshots: nothing was touched.
std::map<std::string, std::vector<long>> Snapshot(const QString& folder)
{
    std::map<std::string, std::vector<long>> entries;
    for (const QString& name : QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        struct stat st {};
        lstat(Name(folder + '/' + name), &st);
        entries[name.toStdString()] = {long(st.st_mode), long(st.st_uid), st.st_size, long(st.st_ino), st.st_mtim.tv_sec,
                         st.st_mtim.tv_nsec, st.st_ctim.tv_sec, st.st_ctim.tv_nsec};
    }
    return entries;
}

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

enum class TNeeds { Anyone, Root, NotRoot };

struct THostileFile {
    const char* Kind;
    TNeeds Needs;
    void (*Make)(const QString& file);
};

// The file becomes a link to a score file beside it; the link, or else that file, is another user's.
void LinkToVictim(const QString& file, bool othersLink)
{
    const QString victim = QFileInfo(file).dir().filePath("victim.ini");
    WriteFile(victim, Record().ToFileText());
    ASSERT_EQ(symlink("victim.ini", Name(file)), 0);
    ASSERT_EQ(lchown(Name(othersLink ? file : victim), kNobody, kNobody), 0);
}

const THostileFile kHostileFiles[] = {
    {"Pipe", TNeeds::Anyone, [](const QString& file) { ASSERT_EQ(mkfifo(Name(file), 0600), 0); }},
    {"LinkToDevice", TNeeds::Anyone, [](const QString& file) { ASSERT_EQ(symlink("/dev/zero", Name(file)), 0); }},
    {"Folder", TNeeds::Anyone, [](const QString& file) { ASSERT_TRUE(QDir().mkdir(file)); }},
    {"DanglingLink", TNeeds::Anyone, [](const QString& file) { ASSERT_EQ(symlink("none", Name(file)), 0); }},
    {"OneByteTooLarge", TNeeds::Anyone,
     [](const QString& file) { WriteFile(file, Record().ToFileText().leftJustified(64 * 1024 + 1, '\n')); }},
    {"OthersLinkToOwnFile", TNeeds::Root, [](const QString& file) { LinkToVictim(file, true); }},
    {"OwnLinkToOthersFile", TNeeds::Root, [](const QString& file) { LinkToVictim(file, false); }},
    {"Unreadable", TNeeds::NotRoot, [](const QString& file) { WriteFile(file, Record().ToFileText()); ASSERT_EQ(chmod(Name(file), 0), 0); }},
};

class ScoreFileTest : public ::testing::Test {
protected:
    ScoreFileTest() { QDir().mkpath(start); }
    // The data folder's file as a window has it once it is shown: read, and made if it was missing.
    TScoreFile Made(int lockWaitMs = 1000)
    {
        TScoreFile file(dataFile);
        file.Load();
        file.CreateIfMissing();
        file.LockWaitMs = lockWaitMs;
        return file;
    }
    QTemporaryDir dir;
    const QString start = dir.filePath("start");
    const QString startFile = start + "/Mozik.ini";
    const QString data = dir.filePath("data/Mozik");
    const QString dataFile = data + "/Mozik.ini";
    const QString lockFile = dataFile + ".lock";
    QString error;
    TScoreTable table;
};

class HostileScoreFile : public ScoreFileTest, public ::testing::WithParamInterface<THostileFile> {};

TEST_P(HostileScoreFile, IsLeftAloneAndTheScoresLiveInTheDataFolder)
{
    if (GetParam().Needs == TNeeds::Root && geteuid() != 0)
        GTEST_SKIP() << "only root can make a file or link owned by another user";
    if (GetParam().Needs == TNeeds::NotRoot && geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop root from reading";
    GetParam().Make(startFile);
    const auto before = Snapshot(start);

    // Passed over for the data folder's file, which is made there with its folders.
    TScoreFile located = Unblocked([&] { return TScoreFile::Locate(start, data); }, startFile);
    EXPECT_EQ(std::tuple(located.Path(), located.Load(), located.Refused()), std::tuple(dataFile, TScoreTable(), false));
    EXPECT_TRUE(located.Problem().contains(startFile) && located.Problem().contains(dataFile));
    EXPECT_TRUE(located.Place(5, "Anna", 20, &table, &error));
    EXPECT_EQ(TScoreFile(dataFile).Load(), Record());
    EXPECT_EQ(Snapshot(start), before);
}

INSTANTIATE_TEST_SUITE_P(Kinds, HostileScoreFile, ::testing::ValuesIn(kHostileFiles),
                         [](const auto& info) { return std::string(info.param.Kind); });

TEST_F(ScoreFileTest, TheStartFoldersOwnFileIsUsedWhereItIsOtherwiseTheDataFoldersIsMade)
{
    TScoreFile file = TScoreFile::Locate(start, data);
    EXPECT_EQ(std::tuple(file.Path(), file.Load(), file.Problem()), std::tuple(dataFile, TScoreTable(), QString()));
    TScoreFile late = file;  // another window, as far as its first paint
    file.CreateIfMissing();
    WriteFile(dataFile, Record().ToFileText());
    late.CreateIfMissing();  // never replaces a file made meanwhile
    EXPECT_EQ(ReadFile(dataFile), Record().ToFileText());

    const QByteArray text = Record().ToFileText() + "trailing lines are left alone\r\n";
    WriteFile(startFile, text);
    file = TScoreFile::Locate(start, data);
    EXPECT_EQ(std::tuple(file.Path(), file.Load(), file.Problem()), std::tuple(startFile, Record(), QString()));
    EXPECT_EQ(ReadFile(startFile), text);  // reading never rewrites
    ASSERT_TRUE(file.Clear(&table, &error));
    EXPECT_EQ(ReadFile(startFile), TScoreTable().ToFileText());
}

TEST_F(ScoreFileTest, AnOwnLinkIsWrittenThroughToItsTargetWhileThatStaysAnOwnFile)
{
    QDir().mkpath(dir.filePath("elsewhere"));
    const QString target = dir.filePath("elsewhere/scores.ini");
    WriteFile(target, Record().ToFileText());
    ASSERT_EQ(symlink("../elsewhere/scores.ini", Name(startFile)), 0);
    TScoreFile file = TScoreFile::Locate(start, data);
    EXPECT_EQ(std::pair(file.Path(), file.Load()), std::pair(startFile, Record()));
    ASSERT_TRUE(file.Clear(&table, &error));
    EXPECT_EQ(ReadFile(target), TScoreTable().ToFileText());
    EXPECT_EQ(QFileInfo(startFile).symLinkTarget(), target);
    // Something else put in the target's place since the start is not replaced.
    QFile::remove(target);
    ASSERT_EQ(mkfifo(Name(target), 0600), 0);
    const auto before = Snapshot(dir.path());
    EXPECT_TRUE(!file.Place(5, "Anna", 20, &table, &error) && error.contains(startFile) && error.contains("канал")) << error.toStdString();
    EXPECT_EQ(Snapshot(dir.path()), before);
}

struct THostileLock {
    const char* Kind;
    const char* Told;  // the words that say what is wrong with it
    void (*Make)(const QString& lock);
};

const THostileLock kHostileLocks[] = {
    {"LinkToTheScoreFile", "ссылка", [](const QString& lock) { ASSERT_EQ(symlink("Mozik.ini", Name(lock)), 0); }},
    {"Pipe", "канал", [](const QString& lock) { ASSERT_EQ(mkfifo(Name(lock), 0600), 0); }},
    {"Folder", "папка", [](const QString& lock) { ASSERT_TRUE(QDir().mkdir(lock)); }},
    {"OthersFile", "другому пользователю", [](const QString& lock) {
         WriteFile(lock, "");
         ASSERT_EQ(chown(Name(lock), kNobody, kNobody), 0);
     }},
};

class HostileScoreLock : public ScoreFileTest, public ::testing::WithParamInterface<THostileLock> {};

// The score file itself may be written: the record is, and the player hears once which file is at
// fault and what to do; the lock file is left as it is.
TEST_P(HostileScoreLock, CostsNoRecordAndIsNamedOnce)
{
    if (std::string(GetParam().Kind) == "OthersFile" && geteuid() != 0)
        GTEST_SKIP() << "only root can make a file owned by another user";
    TScoreFile file = Made();
    GetParam().Make(lockFile);
    const auto before = Snapshot(data);
    QString tell;
    ASSERT_TRUE(Unblocked([&] { return file.Place(5, "Anna", 20, &table, &tell); }, lockFile));
    EXPECT_TRUE(tell.contains("«" + lockFile + "»") && tell.contains(GetParam().Told) && tell.contains("Удалите"))
        << tell.toStdString();
    EXPECT_FALSE(tell.contains("«" + dataFile + "»:")) << "the score file is not at fault";
    EXPECT_EQ(std::pair(TScoreFile(dataFile).Load(), table), std::pair(Record(), Record()));
    ASSERT_TRUE(file.Place(6, "Boris", 30, &table, &tell) && tell.isEmpty());
    ASSERT_TRUE(file.SaveKept(&tell) && tell.isEmpty());
    EXPECT_EQ(TScoreFile(dataFile).Load().Entry(6, 1).Name, QByteArray("Boris"));
    auto after = Snapshot(data);
    after["Mozik.ini"] = before.at("Mozik.ini");  // replaced by the writes, the rest untouched
    EXPECT_EQ(after, before);
}

INSTANTIATE_TEST_SUITE_P(Kinds, HostileScoreLock, ::testing::ValuesIn(kHostileLocks),
                         [](const auto& info) { return std::string(info.param.Kind); });

TEST_F(ScoreFileTest, AChangeWaitingForAnotherWindowIsKeptToldOnceAndMergedLaterPastABrokenLockFileToo)
{
    TScoreFile file = Made(0);
    ASSERT_TRUE(QDir().mkdir(lockFile));
    TUserFileLock other;  // another window in the middle of its own save: it holds the folder
    ASSERT_TRUE(other.Acquire(Name(dataFile).toStdString(), 0, TLockFallback::Folder).Ok());
    QString tell;
    EXPECT_FALSE(file.Place(5, "Anna", 20, &table, &tell));
    EXPECT_TRUE(tell.contains(dataFile) && tell.contains("занят") && tell.contains("в памяти")) << tell.toStdString();
    EXPECT_EQ(table, Record());
    EXPECT_FALSE(file.Place(6, "Boris", 30, &table, &tell) || !tell.isEmpty() || file.SaveKept(&tell));
    EXPECT_TRUE(tell.isEmpty()) << "told again: " << tell.toStdString();
    TScoreTable others;  // what the other window writes before it lets go
    others.Place(7, "Vera", 99);
    WriteFile(dataFile, others.ToFileText());
    other.Release();
    ASSERT_TRUE(file.SaveKept(&tell));
    EXPECT_TRUE(tell.contains(lockFile) && tell.contains("папка")) << tell.toStdString();
    others.Place(5, "Anna", 20);
    others.Place(6, "Boris", 30);
    EXPECT_EQ(TScoreFile(dataFile).Load(), others);
}

TEST_F(ScoreFileTest, ALockFileThatCannotBeUsedWhereTheFolderCannotBeLockedEitherIsNamedAndTheChangeKept)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop root from reading a folder";
    TScoreFile file = Made();
    ASSERT_TRUE(QDir().mkdir(lockFile));
    ASSERT_EQ(chmod(Name(data), 0300), 0);  // searched and written, never listed: not to be locked
    QString tell;
    EXPECT_FALSE(file.Place(5, "Anna", 20, &table, &tell));
    chmod(Name(data), 0700);
    EXPECT_TRUE(tell.contains("«" + lockFile + "»") && tell.contains("папка") && tell.contains("в памяти"))
        << tell.toStdString();
    EXPECT_EQ(table, Record());
    ASSERT_TRUE(QDir().rmdir(lockFile));
    ASSERT_TRUE(file.SaveKept(&tell) && tell.isEmpty());
    EXPECT_EQ(TScoreFile(dataFile).Load(), Record());
}

TEST_F(ScoreFileTest, AWriteProtectedFileOrNoDataFolderKeepsTheScoresInMemoryWithOneWord)
{
    WriteFile(startFile, Record().ToFileText());
    ASSERT_EQ(chmod(Name(startFile), 0444), 0);
    TScoreFile readOnly = TScoreFile::Locate(start, data);
    TScoreFile nowhere = TScoreFile::Locate(dir.filePath("none"), std::nullopt);
    EXPECT_EQ(std::pair(readOnly.Load(), nowhere.Load()), std::pair(Record(), TScoreTable()));
    EXPECT_TRUE(readOnly.Problem().contains(startFile) && readOnly.Problem().contains("защищён"));
    EXPECT_TRUE(nowhere.Path().isEmpty() && nowhere.Problem().contains("HOME"));
    const auto before = std::pair(Snapshot(dir.path()), Snapshot(start));
    for (TScoreFile* file : {&readOnly, &nowhere}) {
        EXPECT_TRUE(file->Refused() && file->Place(6, "Boris", 30, &table, &error) && error.isEmpty());
        EXPECT_EQ(std::pair(file->Table(), table.Entry(6, 1).Name), std::pair(table, QByteArray("Boris")));
        file->CreateIfMissing();
        EXPECT_TRUE(file->SaveKept(&error));
    }
    EXPECT_EQ(std::pair(Snapshot(dir.path()), Snapshot(start)), before);
}

} // namespace
