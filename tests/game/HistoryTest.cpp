#include "game/History.h"
#include "tests/support/CoreSupport.h"
#include "tests/support/WriteLimit.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;
const char* const kChildVariable = "MOZIK_TEST_HISTORY_CHILD";
constexpr int kRowsEach = 40;

THistoryRow Row(int size, int seconds, const char* ended = "2024-05-01T12:00:00Z")
{
    return {.Started = "2024-05-01T11:00:00Z", .Ended = ended, .BoardSize = size, .Seconds = seconds, .Moves = 3 * seconds,
            .Undos = 1, .Hints = 0, .Outcome = TGameOutcome::Finished, .Shortest = std::nullopt, .Picture = "Mozik.bmp", .Name = {}};
}

// A statement run on the database with a connection of the test's own; the first value it gives.
QVariant Sql(const QString& path, const QString& statement)
{
    QVariant value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "test");
        db.setDatabaseName(path);
        db.open();
        QSqlQuery query(db);
        EXPECT_TRUE(query.exec(statement)) << statement.toStdString();
        value = query.next() ? query.value(0) : QVariant();
    }
    QSqlDatabase::removeDatabase("test");
    return value;
}

class HistoryTest : public ::testing::Test {
protected:
    // A history of the path that counts what it tells.
    std::unique_ptr<THistory> Open(int busyTimeoutMs = 5000)
    {
        auto history = std::make_unique<THistory>(path, busyTimeoutMs);
        QObject::connect(history.get(), &THistory::Problem, [this](const QString& message) { told << message; });
        return history;
    }
    // Writes the rows, and takes what the history has to tell.
    void Write(THistory& history, std::initializer_list<THistoryRow> rows)
    {
        for (const THistoryRow& row : rows)
            history.Add(row);
        history.WaitForWrites();
        QCoreApplication::sendPostedEvents();
    }
    std::vector<int> Seconds(THistory& history)
    {
        std::vector<int> seconds;
        for (const THistoryRow& row : history.Load().Rows)
            seconds.push_back(row.Seconds);
        return seconds;
    }

    QTemporaryDir dir;
    const QString path = dir.filePath("data/Mozik/history.sqlite");
    QStringList told;
};

TEST_F(HistoryTest, RowsComeBackAsWrittenInTheOrderTheGamesEndedAndAMeasureFillsAMissingShortest)
{
    auto history = Open();
    THistoryRow late = Row(4, 30, "2024-05-02T08:00:00Z"), early = Row(5, 90, "2024-05-01T23:59:59Z"), kept = Row(4, 20);
    late.Name = QStringLiteral("Анна \"Ё\", 😀");
    late.Hints = 2;
    early.Outcome = TGameOutcome::Abandoned;
    kept.Outcome = TGameOutcome::Computer;
    kept.Shortest = 40;
    history->Add(late, [](std::stop_token) { return std::optional(46); });
    history->Add(early);
    history->Add(kept, [](std::stop_token) -> std::optional<int> { ADD_FAILURE() << "measured a known shortest"; return 1; });
    history->WaitForWrites();
    const THistoryLoad load = history->Load();
    late.Shortest = 46;
    std::tie(early.Id, kept.Id, late.Id) = std::tuple(2, 3, 1);
    EXPECT_EQ(load.Rows, (std::vector{kept, early, late}));
    EXPECT_EQ(std::tuple(Sql(path, "PRAGMA user_version").toInt(), Sql(path, "PRAGMA journal_mode").toString(), told.size(), load.Problem),
              std::tuple(THistory::kSchemaVersion, QString("wal"), 0, QString()));
    EXPECT_EQ(Sql(path, "SELECT name FROM games WHERE id = 2"), QVariant(QMetaType::fromType<QString>()));  // none entered
}

TEST_F(HistoryTest, AnEmptyFileAndAnOlderSchemaAreBroughtUpToDateAndANewerOneIsLeftAlone)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    WriteFile(path, "");
    Write(*Open(), {Row(4, 10)});
    EXPECT_EQ(Sql(path, "PRAGMA user_version").toInt(), THistory::kSchemaVersion);

    // The first version had the games without their index.
    ASSERT_TRUE(QFile::remove(path));
    Sql(path, "CREATE TABLE games (id INTEGER PRIMARY KEY, started TEXT NOT NULL, ended TEXT NOT NULL, size INTEGER NOT NULL,"
              " seconds INTEGER NOT NULL, moves INTEGER NOT NULL, undos INTEGER NOT NULL, hints INTEGER NOT NULL,"
              " computer INTEGER NOT NULL, abandoned INTEGER NOT NULL, shortest INTEGER, picture TEXT NOT NULL, name TEXT)");
    Sql(path, "INSERT INTO games VALUES (7, 'a', 'b', 5, 33, 90, 0, 0, 0, 0, NULL, 'old.bmp', 'Old')");
    Sql(path, "PRAGMA user_version = 1");
    auto history = Open();
    Write(*history, {Row(6, 44)});
    EXPECT_EQ(Seconds(*history), (std::vector{44, 33}));
    EXPECT_EQ(Sql(path, "SELECT count(*) FROM sqlite_master WHERE name = 'games_by_end'").toInt(), 1);
    EXPECT_EQ(Sql(path, "PRAGMA user_version").toInt(), THistory::kSchemaVersion);
    EXPECT_TRUE(told.isEmpty());
    history.reset();

    Sql(path, "PRAGMA user_version = 99");  // of a later version of the game
    const QByteArray before = ReadFile(path);
    history = Open();
    Write(*history, {Row(4, 1)});
    EXPECT_TRUE(history->Load().Rows.empty() && !history->Load().Problem.isEmpty());
    EXPECT_EQ(ReadFile(path), before);
    ASSERT_EQ(told.size(), 1);
}

struct TDamage {
    const char* Kind;
    void (*Make)(const QString& path);
};

const TDamage kDamages[] = {
    {"NotADatabase", [](const QString& path) { WriteFile(path, QByteArray(8192, 'x')); }},
    {"PagesOverwritten", [](const QString& path) {
         Sql(path, "CREATE TABLE t (a)");
         Sql(path, "INSERT INTO t WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
                   "SELECT randomblob(100) FROM n");
         QFile file(path);
         ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.seek(4096) && file.write(QByteArray(8192, '\x5A')) == 8192);
     }},
};

class DamagedHistory : public HistoryTest, public ::testing::WithParamInterface<TDamage> {};

TEST_P(DamagedHistory, IsMovedAsideUnderADatedNameAndANewOneStarted)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    GetParam().Make(path);
    const QByteArray damaged = ReadFile(path);
    auto history = Open();
    Write(*history, {Row(4, 12)});
    EXPECT_EQ(Seconds(*history), std::vector{12});
    const QStringList aside = QDir(QFileInfo(path).path()).entryList({"history.sqlite.damaged-*"});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_TRUE(QRegularExpression("^history\\.sqlite\\.damaged-\\d{8}-\\d{6}$").match(aside[0]).hasMatch()) << aside[0].toStdString();
    EXPECT_EQ(ReadFile(QFileInfo(path).dir().filePath(aside[0])), damaged);
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains(aside[0]));
}

INSTANTIATE_TEST_SUITE_P(Kinds, DamagedHistory, ::testing::ValuesIn(kDamages),
                         [](const auto& info) { return std::string(info.param.Kind); });

struct THostile {
    const char* Kind;
    bool Root;  // only root can make it
    void (*Make)(const QString& path);
};

const THostile kHostiles[] = {
    {"Pipe", false, [](const QString& path) { ASSERT_EQ(mkfifo(QFile::encodeName(path), 0600), 0); }},
    {"Folder", false, [](const QString& path) { ASSERT_TRUE(QDir().mkpath(path)); }},
    {"OwnLink", false, [](const QString& path) { Sql(path + ".real", "PRAGMA user_version = 2"); QFile::link(path + ".real", path); }},
    {"LinkedLog", false, [](const QString& path) { QFile::link("/dev/null", path + "-wal"); }},
    {"OthersFile", true, [](const QString& path) { Sql(path, "PRAGMA user_version = 2"); ASSERT_EQ(chown(QFile::encodeName(path), kNobody, kNobody), 0); }},
};

class HostileHistory : public HistoryTest, public ::testing::WithParamInterface<THostile> {};

TEST_P(HostileHistory, IsNeverOpenedAndTheHistoryIsOffWithOneMessage)
{
    if (GetParam().Root && geteuid() != 0)
        GTEST_SKIP() << "only root can make a file owned by another user";
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    GetParam().Make(path);
    const auto entries = [this] { return QFileInfo(path).dir().entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot); };
    const QStringList before = entries();
    auto history = Open();
    Write(*history, {Row(4, 12), Row(5, 13)});
    const THistoryLoad load = history->Load();
    EXPECT_TRUE(load.Rows.empty() && !load.Problem.isEmpty());
    EXPECT_EQ(std::pair(entries(), told), std::pair(before, QStringList{load.Problem}));
}

INSTANTIATE_TEST_SUITE_P(Kinds, HostileHistory, ::testing::ValuesIn(kHostiles),
                         [](const auto& info) { return std::string(info.param.Kind); });

TEST_F(HistoryTest, AWriteProtectedHistoryIsReadAndNeverWritten)
{
    Write(*Open(), {Row(4, 12)});
    ASSERT_EQ(chmod(QFile::encodeName(path), 0444), 0);
    const QByteArray before = ReadFile(path);
    auto history = Open();
    Write(*history, {Row(4, 13)});
    EXPECT_EQ(Seconds(*history), std::vector{12});
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(told.size(), 1);
}

// Rows that meet a database another program keeps locked, or a full disk, wait for the next
// row, and are told of once.
TEST_F(HistoryTest, RowsThatCannotBeWrittenAreKeptForTheNextAndToldOnce)
{
    auto history = Open(100);
    Write(*history, {Row(4, 1)});
    QSqlDatabase stuck = QSqlDatabase::addDatabase("QSQLITE", "stuck");
    stuck.setDatabaseName(path);
    ASSERT_TRUE(stuck.open());
    QSqlQuery(stuck).exec("BEGIN EXCLUSIVE");
    Write(*history, {Row(4, 2), Row(4, 3)});
    EXPECT_EQ(Seconds(*history), std::vector{1});  // read beside the stuck writer
    QSqlQuery(stuck).exec("ROLLBACK");
    {
        const ScopedWriteLimit full(QFileInfo(path + "-wal").size());  // not a byte more
        Write(*history, {Row(4, 4)});
    }
    EXPECT_EQ(Seconds(*history), std::vector{1});
    Write(*history, {Row(4, 5)});
    EXPECT_EQ(Seconds(*history), (std::vector{1, 2, 3, 4, 5}));
    EXPECT_EQ(told.size(), 1);
    stuck.close();
    stuck = QSqlDatabase();
    QSqlDatabase::removeDatabase("stuck");
}

// Run as a child by the test below: another window writing its rows.
TEST(HistoryChild, DISABLED_WritesItsRows)
{
    THistory history(qEnvironmentVariable(kChildVariable));
    for (int i = 0; i < kRowsEach; ++i)
        history.Add(Row(5, 1000 + i));
}

TEST_F(HistoryTest, TwoProcessesWritingAtOnceKeepEveryRow)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kChildVariable, path);
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_also_run_disabled_tests", "--gtest_filter=HistoryChild.*"});
    ASSERT_TRUE(child.waitForStarted());
    auto history = Open();
    for (int i = 0; i < kRowsEach; ++i)
        history->Add(Row(5, i));
    history->WaitForWrites();
    ASSERT_TRUE(child.waitForFinished(60000)) << "the child writer did not end";
    EXPECT_EQ(child.exitCode(), 0) << child.readAll().toStdString();
    std::vector<int> seconds = Seconds(*history), expected;
    for (int i = 0; i < kRowsEach; ++i)
        expected.insert(expected.end(), {i, 1000 + i});
    std::sort(seconds.begin(), seconds.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(seconds, expected);
    EXPECT_TRUE(told.isEmpty());
}

} // namespace
