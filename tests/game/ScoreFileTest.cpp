#include "files/UserFile.h"
#include "game/ScoreFile.h"
#include "tests/game/HostileFiles.h"
#include "tests/support/CoreSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <sys/stat.h>

namespace {

TScoreTable Record()
{
    TScoreTable table;
    table.Place(5, "Anna", 20);
    return table;
}

class ScoreFileTest : public ::testing::Test {
protected:
    ScoreFileTest() { QDir().mkpath(start); }
    QTemporaryDir dir;
    const QString start = dir.filePath("start");
    const QString startFile = start + "/Mozik.ini";
    const QString data = dir.filePath("data/Mozik");
    const QString dataFile = data + "/Mozik.ini";
    QString error;
    TScoreTable table;
};

class HostileScoreFile : public ScoreFileTest, public ::testing::WithParamInterface<THostileFile> {};

TEST_P(HostileScoreFile, IsLeftAloneAndTheScoresLiveInTheDataFolder)
{
    SKIP_UNLESS_MADE_BY_THIS_USER(GetParam());
    GetParam().Make(startFile);
    const auto before = Snapshot(start);

    // Passed over for the data folder's file, which is made there with its folders.
    TScoreFile located = Unblocked([&] { return TScoreFile::Locate(start, data); }, startFile);
    EXPECT_EQ(located.Path(), dataFile);
    EXPECT_EQ(located.Load(), TScoreTable());
    EXPECT_FALSE(located.Refused());
    EXPECT_TRUE(located.Problem().contains(startFile) && located.Problem().contains(dataFile));
    EXPECT_TRUE(located.Place(5, "Anna", 20, &table, &error));
    EXPECT_EQ(TScoreFile(dataFile).Load(), Record());
    EXPECT_EQ(Snapshot(start), before);
}

INSTANTIATE_TEST_SUITE_P(Kinds, HostileScoreFile, ::testing::ValuesIn(kHostileFiles), KindName);

TEST_F(ScoreFileTest, TheStartFoldersOwnFileIsUsedWhereItIsOtherwiseTheDataFoldersIsMade)
{
    TScoreFile file = TScoreFile::Locate(start, data);
    EXPECT_EQ(file.Path(), dataFile);
    EXPECT_EQ(file.Load(), TScoreTable());
    EXPECT_TRUE(file.Problem().isEmpty());
    TScoreFile late = file;  // another window, as far as its first paint
    file.CreateIfMissing();
    EXPECT_EQ(ReadFile(dataFile), TScoreTable().ToFileText());
    EXPECT_FALSE(QFileInfo::exists(startFile));
    WriteFile(dataFile, Record().ToFileText());
    late.CreateIfMissing();  // never replaces a file made meanwhile
    EXPECT_EQ(ReadFile(dataFile), Record().ToFileText());

    const QByteArray text = Record().ToFileText() + "trailing lines are left alone\r\n";
    WriteFile(startFile, text);
    file = TScoreFile::Locate(start, data);
    EXPECT_EQ(file.Path(), startFile);
    EXPECT_EQ(file.Load(), Record());
    EXPECT_TRUE(file.Problem().isEmpty());
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
    EXPECT_EQ(file.Path(), startFile);
    EXPECT_EQ(file.Load(), Record());
    ASSERT_TRUE(file.Clear(&table, &error));
    EXPECT_EQ(ReadFile(target), TScoreTable().ToFileText());
    EXPECT_EQ(QFileInfo(startFile).symLinkTarget(), target);
    // Something else put in the target's place since the start is not replaced.
    QFile::remove(target);
    ASSERT_EQ(mkfifo(Name(target), 0600), 0);
    const auto before = Snapshot(dir.path());
    EXPECT_FALSE(file.Place(5, "Anna", 20, &table, &error));
    EXPECT_TRUE(error.contains(startFile) && error.contains("канал")) << error.toStdString();
    EXPECT_EQ(Snapshot(dir.path()), before);
}

TEST_F(ScoreFileTest, TwoWindowsOnOneFileKeepEachOthersRecordsAndExitWritesOnlyWhatWasNotWritten)
{
    // Both read the default file; neither has seen the other's record when it makes its own.
    TScoreFile first(dataFile), second(dataFile);
    first.Load();
    second.Load();
    first.CreateIfMissing();
    ASSERT_TRUE(first.Place(5, "Anna", 20, &table, &error));
    ASSERT_TRUE(second.Place(5, "Boris", 30, &table, &error));
    TScoreTable both = Record();
    both.Place(5, "Boris", 30);
    EXPECT_EQ(table, both);
    EXPECT_EQ(first.Table(), both);
    const auto before = Snapshot(data);
    EXPECT_TRUE(first.SaveKept(&error) && second.SaveKept(&error));  // Exit: nothing left to write
    EXPECT_EQ(Snapshot(data), before);
    // Clear Scores empties every table of the file, the ones it never saw filled too.
    ASSERT_TRUE(first.Clear(&table, &error));
    EXPECT_EQ(ReadFile(dataFile), TScoreTable().ToFileText());
}

TEST_F(ScoreFileTest, AChangeWaitingForAnotherWindowIsKeptToldOnceAndWrittenLater)
{
    TScoreFile file(dataFile);
    file.Load();
    file.LockWaitMs = 0;
    file.CreateIfMissing();
    TUserFileLock other;  // another window in the middle of its own save
    ASSERT_TRUE(other.Acquire(Name(dataFile).toStdString(), 0).Ok());
    EXPECT_FALSE(file.Place(5, "Anna", 20, &table, &error));
    EXPECT_TRUE(error.contains(dataFile) && error.contains("занят")) << error.toStdString();
    EXPECT_EQ(table, Record());  // in memory meanwhile
    EXPECT_FALSE(file.Place(6, "Boris", 30, &table, &error) || !error.isEmpty() || file.SaveKept(&error));  // told once
    TScoreTable others;  // what the other window writes before it lets go
    others.Place(7, "Vera", 99);
    WriteFile(dataFile, others.ToFileText());
    other.Release();
    EXPECT_TRUE(file.SaveKept(&error));
    others.Place(5, "Anna", 20);
    others.Place(6, "Boris", 30);
    EXPECT_EQ(TScoreFile(dataFile).Load(), others);
}

TEST_F(ScoreFileTest, AWriteProtectedFileOrNoDataFolderKeepsTheScoresInMemoryWithOneWord)
{
    WriteFile(startFile, Record().ToFileText());
    ASSERT_EQ(chmod(Name(startFile), 0444), 0);
    TScoreFile readOnly = TScoreFile::Locate(start, data);
    TScoreFile nowhere = TScoreFile::Locate(dir.filePath("none"), std::nullopt);
    EXPECT_EQ(readOnly.Load(), Record());
    EXPECT_EQ(nowhere.Load(), TScoreTable());
    EXPECT_TRUE(readOnly.Problem().contains(startFile) && readOnly.Problem().contains("защищён"));
    EXPECT_TRUE(nowhere.Path().isEmpty() && nowhere.Problem().contains("HOME"));
    const auto before = std::pair(Snapshot(dir.path()), Snapshot(start));
    for (TScoreFile* file : {&readOnly, &nowhere}) {
        EXPECT_TRUE(file->Refused());
        EXPECT_TRUE(file->Place(6, "Boris", 30, &table, &error) && error.isEmpty());
        EXPECT_EQ(file->Table(), table);
        EXPECT_EQ(table.Entry(6, 1).Name, QByteArray("Boris"));
        file->CreateIfMissing();
        EXPECT_TRUE(file->SaveKept(&error));
    }
    EXPECT_EQ(std::pair(Snapshot(dir.path()), Snapshot(start)), before);
}

} // namespace
