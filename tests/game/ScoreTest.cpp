#include "game/ScoreTable.h"
#include "game/Unit1.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

QByteArray Cp1251(const char* utf8)
{
    return EncodeName(QString::fromUtf8(utf8));
}

QByteArray DefaultFileText()
{
    QByteArray text;
    for (int i = 0; i < 40; ++i)
        text += "\xCD\xE5\xE8\xE7\xE2\xE5\xF1\xF2\xED\xFB\xE9\r\n0\r\n";  // "Неизвестный" in code page 1251
    return text;
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QList<QByteArray> Lines(const QByteArray& text)
{
    QList<QByteArray> lines = text.split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    for (QByteArray& line : lines)
        line.chop(line.endsWith('\r') ? 1 : 0);
    return lines;
}

TScoreTable WithTimes(int size, std::initializer_list<int> times)
{
    TScoreTable table;
    int place = 0;
    for (int time : times) {
        ++place;
        table.Entry(size, place) = {"p" + QByteArray::number(place), time};
    }
    return table;
}

std::vector<int> Times(const TScoreTable& table, int size)
{
    std::vector<int> times;
    for (int place = 1; place <= kScorePlaces; ++place)
        times.push_back(table.Entry(size, place).Time);
    return times;
}

TEST(ScoreTable, TheDefaultFileIsEightyLinesOfUnknownAndZero)
{
    const TScoreTable table;
    EXPECT_EQ(table.Entry(4, 1).Name, Cp1251("Неизвестный"));
    EXPECT_EQ(table.ToFileText(), DefaultFileText());
    EXPECT_EQ(Lines(table.ToFileText()).size(), 80);
}

TEST(ScoreTable, ANewTimeGoesBelowBetterAndAboveEqualTimes)
{
    TScoreTable table = WithTimes(5, {30, 40, 40, 50});
    EXPECT_TRUE(table.Qualifies(5, 40));
    table.Place(5, "new", 40);
    EXPECT_EQ(Times(table, 5), (std::vector<int>{30, 40, 40, 40, 50, 0, 0, 0, 0, 0}));
    EXPECT_EQ(table.Entry(5, 2).Name, QByteArray("new"));
    EXPECT_EQ(table.Entry(5, 3).Name, QByteArray("p2"));
    EXPECT_EQ(table.Entry(5, 4).Name, QByteArray("p3"));
    EXPECT_EQ(table.Entry(4, 1), TScoreTable::EmptyEntry());  // other sizes untouched
}

TEST(ScoreTable, AFullTableTakesAnEqualLastTimeAndRefusesAWorseOne)
{
    TScoreTable table = WithTimes(7, {10, 20, 30, 40, 50, 60, 70, 80, 90, 100});
    EXPECT_TRUE(table.Qualifies(7, 100));
    EXPECT_FALSE(table.Qualifies(7, 101));
    const TScoreTable before = table;
    table.Place(7, "late", 101);
    EXPECT_EQ(table, before);
    table.Place(7, "last", 100);
    EXPECT_EQ(table.Entry(7, 10).Name, QByteArray("last"));
    EXPECT_EQ(Times(table, 7).back(), 100);
    table.Place(7, "best", 5);
    EXPECT_EQ(Times(table, 7), (std::vector<int>{5, 10, 20, 30, 40, 50, 60, 70, 80, 90}));
}

TEST(ScoreTable, ARecordOnSixBySixLandsOnLinesFortyOneAndTwo)
{
    TScoreTable table;
    table.Place(6, Cp1251("Иван"), 95);
    const QList<QByteArray> lines = Lines(table.ToFileText());
    ASSERT_EQ(lines.size(), 80);
    EXPECT_EQ(lines[40], Cp1251("Иван"));
    EXPECT_EQ(lines[41], QByteArray("95"));
    for (int line = 43; line <= 60; ++line)
        EXPECT_EQ(lines[line - 1], line % 2 ? Cp1251("Неизвестный") : QByteArray("0")) << line;
}

TEST(ScoreTable, ReadingKeepsNamesByteForByteAndRoundTrips)
{
    TScoreTable table;
    table.Entry(4, 1) = {Cp1251("Пётр Ёжиков"), 42};
    table.Entry(5, 3) = {QByteArray("\x98\xFF odd bytes"), 7};  // not every byte is a letter
    table.Entry(7, 10) = {QByteArray(), -3};
    EXPECT_EQ(TScoreTable::FromFileText(table.ToFileText()), table);
}

TEST(ScoreTable, MalformedFilesAreReadAsFarAsTheyGo)
{
    // A time line "12x" reads as 12.
    TScoreTable table = TScoreTable::FromFileText("Anna\r\n12x\r\nBoris\r\n30\r\n");
    EXPECT_EQ(table.Entry(4, 1), (TScoreEntry{"Anna", 12}));
    EXPECT_EQ(table.Entry(4, 2), (TScoreEntry{"Boris", 30}));
    // A short file leaves the missing places with an empty name and no time.
    EXPECT_EQ(table.Entry(4, 3), (TScoreEntry{"", 0}));
    EXPECT_EQ(table.Entry(7, 10), (TScoreEntry{"", 0}));
    // An empty time line takes its number from the next line, and the pairing shifts.
    table = TScoreTable::FromFileText("Anna\r\n\r\n17\r\nBoris\r\n30\r\n");
    EXPECT_EQ(table.Entry(4, 1), (TScoreEntry{"Anna", 17}));
    EXPECT_EQ(table.Entry(4, 2), (TScoreEntry{"Boris", 30}));
    table = TScoreTable::FromFileText("Anna\r\n\r\nBoris\r\n30\r\n");
    EXPECT_EQ(table.Entry(4, 1), (TScoreEntry{"Anna", 0}));  // "Boris" is no number
    EXPECT_EQ(table.Entry(4, 2), (TScoreEntry{"30", 0}));
    // Plain line feeds, blanks before a number, a sign, and numbers too large to be a time.
    table = TScoreTable::FromFileText("Anna\n  -5\nBoris\n99999999999\nVera\nx9\n");
    EXPECT_EQ(table.Entry(4, 1), (TScoreEntry{"Anna", -5}));
    EXPECT_EQ(table.Entry(4, 2), (TScoreEntry{"Boris", 0}));
    EXPECT_EQ(table.Entry(4, 3), (TScoreEntry{"Vera", 0}));
}

TEST(ScoreTable, NamesKeepOnlyWhatTheFileCanHold)
{
    EXPECT_EQ(StorableName("Иван\r\nПетров"), QString("Иван  Петров"));
    EXPECT_EQ(StorableName(QString("a") + QChar(0x07) + "b\tc"), QString("ab c"));
    EXPECT_EQ(StorableName(QString::fromUtf8("Zoë 中文 №5 €")), QString::fromUtf8("Zo  №5 €"));
    EXPECT_EQ(DecodeName(EncodeName("Неизвестный")), QString("Неизвестный"));
}

// A write limit far below the file's size makes every write fail, even for a privileged user.
class ScopedWriteLimit {
public:
    explicit ScopedWriteLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~ScopedWriteLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
};

class ScoreCommandsTest : public ::testing::Test {
protected:
    QString StartFile() const { return dir.filePath("Mozik.ini"); }
    QString DataFile() const { return dir.filePath("data/Mozik/Mozik.ini"); }
    QTemporaryDir dir;
    ScopedCurrentDir workIn{dir.path()};  // the data folder goes there too
};

TEST_F(ScoreCommandsTest, FilesLeftAloneAreToldOnceAndNeverWritten)
{
    // The start folder's "Mozik.ini" is a folder, the data folder's a pipe: neither is used.
    ASSERT_TRUE(QDir(dir.path()).mkpath("Mozik.ini") && QDir(dir.path()).mkpath("data/Mozik"));
    ASSERT_EQ(mkfifo(QFile::encodeName(DataFile()), 0600), 0);
    ScopedErrorBoxes errors;
    TForm1 form;
    EXPECT_TRUE(errors.Messages().isEmpty());  // told once the window shows
    form.show();
    QCoreApplication::processEvents();
    form.hide();
    form.show();
    QCoreApplication::processEvents();
    ASSERT_EQ(errors.Messages().size(), 1);
    EXPECT_TRUE(errors.Messages()[0].contains(StartFile()) && errors.Messages()[0].contains(DataFile()));
    EXPECT_EQ(form.Scores, TScoreTable());
    // Records and Clear Scores live in memory; Exit closes without writing and without a word.
    form.Scores.Place(5, "Anna", 20);
    form.ClearScores1->trigger();
    form.Scores.Place(5, "Anna", 20);
    form.Exit();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(errors.Messages().size(), 1);
    EXPECT_TRUE(QFileInfo(StartFile()).isDir());
    struct stat st {};
    EXPECT_TRUE(lstat(QFile::encodeName(DataFile()), &st) == 0 && S_ISFIFO(st.st_mode));
}

TEST_F(ScoreCommandsTest, FirstStartWritesTheDefaultFileAndClearScoresWritesItAgainAtOnce)
{
    TForm1 form;
    EXPECT_EQ(form.ScoreFile, DataFile());
    EXPECT_EQ(ReadFile(DataFile()), DefaultFileText());
    form.Scores.Place(5, "Anna", 20);
    ASSERT_TRUE(form.SaveScores());
    form.ClearScores1->trigger();
    EXPECT_EQ(form.Scores, TScoreTable());
    EXPECT_EQ(ReadFile(DataFile()), DefaultFileText());
}

TEST_F(ScoreCommandsTest, ExitSavesThenClosesAndAFailedSaveKeepsTheWindowAndTheOldFile)
{
    TForm1 form;
    form.show();
    const QByteArray before = ReadFile(DataFile());
    form.Scores.Place(6, Cp1251("Иван"), 95);
    ScopedErrorBoxes errors;
    {
        ScopedWriteLimit limit(64);
        form.Exit();
    }
    EXPECT_TRUE(form.isVisible());
    ASSERT_EQ(errors.Messages().size(), 1);
    EXPECT_TRUE(errors.Messages()[0].contains(DataFile()));
    EXPECT_EQ(ReadFile(DataFile()), before);
    EXPECT_EQ(QDir(dir.filePath("data/Mozik")).entryList(QDir::Files), QStringList{"Mozik.ini"});  // no leftovers
    form.Exit1->trigger();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(Lines(ReadFile(DataFile()))[41], QByteArray("95"));
}

TEST_F(ScoreCommandsTest, AStartFoldersFileIsUsedThereWhereverTheDirectoryGoesLater)
{
    TScoreTable table;
    table.Place(6, Cp1251("Иван"), 95);
    WriteFile(StartFile(), table.ToFileText());
    TForm1 form;
    EXPECT_EQ(form.Scores, table);
    QTemporaryDir elsewhere;
    ScopedCurrentDir moved(elsewhere.path());
    form.Scores.Place(4, "Anna", 12);
    ASSERT_TRUE(form.SaveScores());
    EXPECT_EQ(ReadFile(StartFile()), form.Scores.ToFileText());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("data")));
    EXPECT_EQ(QDir(elsewhere.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

} // namespace
