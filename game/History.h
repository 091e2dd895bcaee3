#pragma once
// The history of games: a row for every game that ended (finished by the player, brought home by
// the computer, or left after at least one move), kept in an SQLite database through Qt SQL,
// normally $XDG_DATA_HOME/Mozik/history.sqlite beside the score file. The database carries the
// version of its tables (PRAGMA user_version) and is brought up to date when opened; it runs in
// write-ahead mode with a busy timeout, so that several windows of the game write to it side by
// side and every row gets in.
//
// The file keeps the rules of the player's files (files/UserFile.h), checked before SQLite opens
// it: a database reached through a link, owned by another user, or anything but a regular file
// is never opened, and the history is then off (told once). A damaged database is moved aside
// under a dated name and a new one started. A database whose write permission its owner took away
// is read and never written. Rows are written on a worker thread of the history's own, with a
// connection of its own, so that the board never waits for the disk; a row that cannot be
// written (a full disk, a database another program keeps locked) is kept and tried again with
// the next one, and the player is told once.

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <vector>

enum class TGameOutcome {
    Finished,   // by the player
    Computer,   // given up and brought home by the solver
    Abandoned,  // left, after at least one move, for a new board or game
};

struct THistoryRow {
    qint64 Id = 0;     // the database's number for it; 0 before it is written
    QString Started;   // UTC, ISO 8601 to the second: "2024-05-01T12:30:05Z"
    QString Ended;
    int BoardSize = 0;
    int Seconds = 0;   // on the game's clock
    int Moves = 0;     // tiles slid, each tile of a line counted
    int Undos = 0;
    int Hints = 0;
    TGameOutcome Outcome = TGameOutcome::Finished;
    std::optional<int> Shortest;  // the length of a shortest solution from the shuffled start
    QString Picture;   // the picture's file name, without its folder
    QString Name;      // the name entered for the ten best, as typed; empty: none
    friend bool operator==(const THistoryRow&, const THistoryRow&) = default;
};

// The UTC moment as rows keep it.
QString HistoryTime(qint64 utcMs);

// Finds a row's Shortest on the history's worker before the row is written; it ends early, with
// nullopt, when asked to stop (the program ends).
using THistoryMeasure = std::function<std::optional<int>(std::stop_token stop)>;

struct THistoryLoad {
    std::vector<THistoryRow> Rows;  // in the order the games ended
    QString Problem;                // why the rows could not be read; empty when they were
};

class THistory : public QObject {
    Q_OBJECT
public:
    static constexpr int kSchemaVersion = 2;

    // The database at the path (empty: no history is kept), checked, opened, brought up to date or
    // repaired on the worker, which starts at once. A writer waits up to busyTimeoutMs for another
    // window's write before its row is kept for later.
    explicit THistory(const QString& path, int busyTimeoutMs = 5000, QObject* parent = nullptr);
    // Writes the rows handed over first. A measure still going after a few seconds is asked to
    // stop, and its row is written without it.
    ~THistory() override;

    // $XDG_DATA_HOME/Mozik/history.sqlite; empty without a data folder.
    static QString DefaultPath();
    const QString& Path() const { return path_; }

    // Hands a row to the worker, with the measure of its Shortest when that is still unknown;
    // returns at once.
    void Add(THistoryRow row, THistoryMeasure measure = {});
    // Every row, read now on the calling thread with a connection of that thread's own.
    THistoryLoad Load();
    // A number that changes when anyone has written to the database since it was last asked for
    // (another window, or this history's worker): cheap enough to be polled. nullopt where there
    // is nothing to read.
    std::optional<qint64> Version();
    // For tests and benchmarks: until every row handed over is written or given up.
    void WaitForWrites();

signals:
    // Rows reached the database.
    void Written();
    // What the player must read: the history is off, or was repaired, or rows are not written.
    void Problem(const QString& message);

private:
    class TWorker;
    class TReader;
    QString path_;
    std::unique_ptr<TReader> reader_;
    std::unique_ptr<TWorker> worker_;  // last: stopped first
};
