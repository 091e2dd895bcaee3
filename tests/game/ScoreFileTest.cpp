#include "game/ScoreFile.h"
#include "tests/support/CoreSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <chrono>
#include <fcntl.h>
#include <future>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;

QByteArray Name(const QString& path)
{
    return QFile::encodeName(path);
}

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
    {"Unreadable", TNeeds::NotRoot,
     [](const QString& file) {
         WriteFile(file, Record().ToFileText());
         ASSERT_EQ(chmod(Name(file), 0), 0);
     }},
};

class ScoreFileTest : public ::testing::Test {
protected:
    ScoreFileTest() { QDir().mkpath(start); }
    QTemporaryDir dir;
    const QString start = dir.filePath("start");
    const QString startFile = start + "/Mozik.ini";
    const QString data = dir.filePath("data/Mozik");
    const QString dataFile = data + "/Mozik.ini";
    QString error;
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
    EXPECT_EQ(located.Path(), dataFile);
    EXPECT_EQ(located.Load(), TScoreTable());
    EXPECT_FALSE(located.Refused());
    EXPECT_TRUE(located.Problem().contains(startFile) && located.Problem().contains(dataFile));
    EXPECT_TRUE(located.Save(Record(), &error));
    EXPECT_EQ(TScoreFile(dataFile).Load(), Record());
    EXPECT_EQ(Snapshot(start), before);
}

INSTANTIATE_TEST_SUITE_P(Kinds, HostileScoreFile, ::testing::ValuesIn(kHostileFiles),
                         [](const auto& info) { return std::string(info.param.Kind); });

TEST_F(ScoreFileTest, TheStartFoldersOwnFileIsUsedWhereItIsOtherwiseTheDataFoldersIsMade)
{
    TScoreFile file = TScoreFile::Locate(start, data);
    EXPECT_EQ(file.Path(), dataFile);
    EXPECT_EQ(file.Load(), TScoreTable());
    EXPECT_TRUE(file.Problem().isEmpty());
    file.CreateIfMissing();
    EXPECT_EQ(ReadFile(dataFile), TScoreTable().ToFileText());
    for (const QString& folder : {data, dir.filePath("data")}) {  // made private to the player
        struct stat st {};
        EXPECT_TRUE(stat(Name(folder), &st) == 0 && (st.st_mode & 0777) == 0700) << folder.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(startFile));

    const QByteArray text = Record().ToFileText() + "trailing lines are left alone\r\n";
    WriteFile(startFile, text);
    file = TScoreFile::Locate(start, data);
    EXPECT_EQ(file.Path(), startFile);
    EXPECT_EQ(file.Load(), Record());
    EXPECT_TRUE(file.Problem().isEmpty());
    EXPECT_EQ(ReadFile(startFile), text);  // reading never rewrites
    ASSERT_TRUE(file.Save(TScoreTable(), &error));
    EXPECT_EQ(ReadFile(startFile), TScoreTable().ToFileText());
}

TEST_F(ScoreFileTest, AnOwnLinkIsWrittenThroughToItsTargetWhileThatStaysAnOwnFile)
{
    QDir().mkpath(dir.filePath("elsewhere"));
    const QString target = dir.filePath("elsewhere/scores.ini");
    WriteFile(target, Record().ToFileText());
    ASSERT_EQ(symlink("../elsewhere/scores.ini", Name(startFile)), 0);
    TScoreFile file = TScoreFile::Locate(start, data);
    EXPECT_EQ(file.Path(), startFile);
    EXPECT_EQ(file.Load(), Record());
    ASSERT_TRUE(file.Save(TScoreTable(), &error));
    EXPECT_EQ(ReadFile(target), TScoreTable().ToFileText());
    EXPECT_EQ(QFileInfo(startFile).symLinkTarget(), target);
    // Something else put in the target's place since the start is not replaced.
    QFile::remove(target);
    ASSERT_EQ(mkfifo(Name(target), 0600), 0);
    const auto before = Snapshot(dir.path());
    EXPECT_FALSE(file.Save(Record(), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(Snapshot(dir.path()), before);
}

TEST_F(ScoreFileTest, ASaveRemovesTheTemporaryFilesOfKilledSavesAndNothingElse)
{
    TScoreFile file(startFile);
    file.Load();
    QStringList kept = {"Mozik.ini", "Mozik.ini.mozik-save-AbCdE", "Mozik.ini.mozik-save-AbCdE1",
                        "Mozik.ini.mozik-save-AbCdEfg", "Other.ini.mozik-save-AbCdEf", "Mozik.ini.AbCdEf",
                        "Mozik.ini.mozik-save-Folder", "Mozik.ini.mozik-save-LinkAb"};
    for (const QString& name : kept.mid(1, 5))
        WriteFile(start + "/" + name, "x");
    QDir(start).mkdir(kept[6]);
    ASSERT_EQ(symlink("Mozik.ini", Name(start + "/" + kept[7])), 0);
    if (geteuid() == 0) {  // one of the right shape, but another user's
        kept += "Mozik.ini.mozik-save-NobodY";
        WriteFile(start + "/" + kept.back(), "x");
        ASSERT_EQ(chown(Name(start + "/" + kept.back()), kNobody, kNobody), 0);
    }
    WriteFile(start + "/Mozik.ini.mozik-save-QwErTy", "left by a killed save");
    ASSERT_TRUE(file.Save(Record(), &error));
    QStringList names = QDir(start).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    names.sort();
    kept.sort();
    EXPECT_EQ(names, kept) << names.join(' ').toStdString();
    EXPECT_EQ(TScoreFile(startFile).Load(), Record());
}

} // namespace
