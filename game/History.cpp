#include "game/History.h"

#include "files/UserFile.h"
#include "game/ScoreFile.h"
#include "game/ShownName.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QMetaObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <thread>
#include <sys/stat.h>

namespace {

// SQLite's primary result codes that tell a damaged file (an extended code carries its primary
// code in the low byte).
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteNotADatabase = 26;

constexpr std::size_t kMaxKeptRows = 1000;            // rows kept for another try
constexpr auto kShutdownGrace = std::chrono::seconds(5);  // for measures at the program's end
constexpr auto kReaderWait = std::chrono::seconds(2);     // for the worker's opening, before a read

bool IsDamage(const QSqlError& error)
{
    const int code = error.nativeErrorCode().toInt() & 0xFF;
    return code == kSqliteCorrupt || code == kSqliteNotADatabase;
}

std::string Local(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString ConnectionName(const char* kind)
{
    static std::atomic<int> made{0};
    return QStringLiteral("mozik-history-%1-%2").arg(QLatin1String(kind)).arg(++made);
}

// The statements that bring the tables from each version to the next.
const char* const kMigrations[] = {
    // 1: the games
    "CREATE TABLE games (id INTEGER PRIMARY KEY, started TEXT NOT NULL, ended TEXT NOT NULL,"
    " size INTEGER NOT NULL, seconds INTEGER NOT NULL, moves INTEGER NOT NULL, undos INTEGER NOT NULL,"
    " hints INTEGER NOT NULL, computer INTEGER NOT NULL, abandoned INTEGER NOT NULL, shortest INTEGER,"
    " picture TEXT NOT NULL, name TEXT)",
    // 2: the games in the order they ended, as the statistics read them
    "CREATE INDEX games_by_end ON games (ended, id)",
};
static_assert(std::size(kMigrations) == THistory::kSchemaVersion);

// A connection to the database, for the thread that makes it; closed and forgotten with it.
class TConnection {
public:
    TConnection(const QString& name, const QString& path, int busyTimeoutMs) : name_(name)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs));
        db.open();
    }
    ~TConnection()
    {
        Db().close();
        QSqlDatabase::removeDatabase(name_);
    }
    TConnection(const TConnection&) = delete;
    TConnection& operator=(const TConnection&) = delete;

    QSqlDatabase Db() const { return QSqlDatabase::database(name_, false); }
    bool IsOpen() const { return Db().isOpen(); }
    // Runs a statement, and takes the first value of its answer when asked; the error, if any.
    QSqlError Exec(const QString& sql, QVariant* first = nullptr) const
    {
        QSqlQuery query(Db());
        if (!query.exec(sql))
            return query.lastError();
        if (first)
            *first = query.next() ? query.value(0) : QVariant();
        return {};
    }

private:
    QString name_;
};

enum class TReadiness { Ready, Damaged, Newer, Failed };

struct TUpgrade {
    TReadiness Readiness = TReadiness::Ready;
    QSqlError Error;
};

TUpgrade Failure(const QSqlError& error)
{
    return {IsDamage(error) ? TReadiness::Damaged : TReadiness::Failed, error};
}

// Brings the tables up to date inside a transaction already begun.
TUpgrade Migrate(const TConnection& connection)
{
    QVariant version;
    if (const QSqlError error = connection.Exec(QStringLiteral("PRAGMA user_version"), &version); error.isValid())
        return Failure(error);
    const int from = version.toInt();
    if (from > THistory::kSchemaVersion)
        return {TReadiness::Newer, {}};
    for (int step = from; step < THistory::kSchemaVersion; ++step)
        if (const QSqlError error = connection.Exec(QLatin1String(kMigrations[step])); error.isValid())
            return Failure(error);
    if (from < THistory::kSchemaVersion)
        if (const QSqlError error = connection.Exec(QStringLiteral("PRAGMA user_version = %1").arg(THistory::kSchemaVersion));
            error.isValid())
            return Failure(error);
    return {};
}

// Checks the database, puts it in write-ahead mode and brings its tables up to date, in a
// transaction that another window's upgrade waits for.
TUpgrade Upgrade(const TConnection& connection)
{
    QVariant check;
    if (const QSqlError error = connection.Exec(QStringLiteral("PRAGMA quick_check"), &check); error.isValid())
        return Failure(error);
    if (check.toString() != QLatin1String("ok"))
        return {TReadiness::Damaged, {}};
    QVariant mode;
    if (const QSqlError error = connection.Exec(QStringLiteral("PRAGMA journal_mode=WAL"), &mode); error.isValid())
        return Failure(error);
    if (const QSqlError error = connection.Exec(QStringLiteral("BEGIN IMMEDIATE")); error.isValid())
        return Failure(error);
    TUpgrade upgrade = Migrate(connection);
    if (upgrade.Readiness == TReadiness::Ready)
        upgrade.Error = connection.Exec(QStringLiteral("COMMIT"));
    if (upgrade.Readiness != TReadiness::Ready || upgrade.Error.isValid()) {
        connection.Exec(QStringLiteral("ROLLBACK"));
        if (upgrade.Readiness == TReadiness::Ready)
            upgrade = Failure(upgrade.Error);
    }
    return upgrade;
}

bool Exists(const QString& path)
{
    struct stat st {};
    return lstat(QFile::encodeName(path).constData(), &st) == 0;
}

// Moves a damaged database aside under a dated name, with its write-ahead log; the log's index
// goes. The new name; empty when it could not be moved.
QString MoveAside(const QString& path)
{
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = path + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; Exists(aside) || Exists(aside + QStringLiteral("-wal")); ++n)
        aside = path + QStringLiteral(".damaged-%1-%2").arg(stamp).arg(n);
    if (std::rename(Local(path).c_str(), Local(aside).c_str()) != 0)
        return {};
    std::rename(Local(path + QStringLiteral("-wal")).c_str(), Local(aside + QStringLiteral("-wal")).c_str());
    std::remove(Local(path + QStringLiteral("-shm")).c_str());
    return aside;
}

struct TChecked {
    QString Problem;  // why the history is off, as the player reads it; empty when it is on
    bool Exists = false;
    bool WriteProtected = false;
};

// The database and the files SQLite keeps beside it, by the rules of the player's files, with no
// link at their names; the folders are made when asked.
TChecked CheckFiles(const QString& path, bool makeFolders)
{
    TChecked checked;
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
        checked.Problem = THistory::tr("Журнал игр не ведётся: нет драйвера SQLite для Qt (пакет libqt6sql6-sqlite).");
        return checked;
    }
    for (const QString& name : {path, path + QStringLiteral("-wal"), path + QStringLiteral("-shm")}) {
        const TFileCheck check = CheckUserFile(Local(name), TLeafLink::Refuse, makeFolders && name == path);
        if (!check.Status.Ok()) {
            checked.Problem = THistory::tr("Журнал игр «%1» не открыт: %2.\nСыгранные игры в него не записываются.")
                                  .arg(ShownName(name), FileProblemText(check.Status));
            if (const QString advice = FileAdviceText(check.Status, ShownName(name)); !advice.isEmpty())
                checked.Problem += '\n' + advice;
            return checked;
        }
        if (name == path) {
            checked.Exists = check.Exists;
            checked.WriteProtected = check.WriteProtected;
        }
    }
    return checked;
}

THistoryRow ReadRow(const QSqlQuery& query)
{
    THistoryRow row;
    row.Id = query.value(0).toLongLong();
    row.Started = query.value(1).toString();
    row.Ended = query.value(2).toString();
    row.BoardSize = query.value(3).toInt();
    row.Seconds = query.value(4).toInt();
    row.Moves = query.value(5).toInt();
    row.Undos = query.value(6).toInt();
    row.Hints = query.value(7).toInt();
    row.Outcome = query.value(9).toBool() ? TGameOutcome::Abandoned
                  : query.value(8).toBool() ? TGameOutcome::Computer : TGameOutcome::Finished;
    if (const QVariant shortest = query.value(10); !shortest.isNull())
        row.Shortest = shortest.toInt();
    row.Picture = query.value(11).toString();
    row.Name = query.value(12).toString();
    return row;
}

void BindRow(QSqlQuery& insert, const THistoryRow& row)
{
    const QVariant values[] = {row.Started, row.Ended, row.BoardSize, row.Seconds, row.Moves, row.Undos, row.Hints,
                               int(row.Outcome == TGameOutcome::Computer), int(row.Outcome == TGameOutcome::Abandoned),
                               row.Shortest ? QVariant(*row.Shortest) : QVariant(QMetaType::fromType<int>()), row.Picture,
                               row.Name.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(row.Name)};
    for (int i = 0; i < int(std::size(values)); ++i)
        insert.bindValue(i, values[i]);
}

} // namespace

QString HistoryTime(qint64 utcMs)
{
    return QDateTime::fromMSecsSinceEpoch(utcMs, Qt::UTC).toString(Qt::ISODate);
}

// The history's own thread: it opens the database (checking, upgrading or repairing it) when it
// is first needed, for a row or a read, then writes the rows it is handed, one at a time,
// measuring first those that wait for their shortest solution. A run that ends no game and shows
// no statistics leaves the disk alone.
class THistory::TWorker {
public:
    TWorker(THistory& owner, const QString& path, int busyTimeoutMs)
        : owner_(owner), path_(path), busyTimeoutMs_(busyTimeoutMs), connectionName_(ConnectionName("writer")),
          thread_([this](std::stop_token stop) { Run(stop); })
    {
    }

    ~TWorker()
    {
        std::unique_lock lock(mutex_);
        closing_ = true;
        changed_.notify_all();
        changed_.wait_for(lock, kShutdownGrace, [this] { return finished_; });
        lock.unlock();
        thread_.request_stop();  // then joined
    }

    void Add(THistoryRow row, THistoryMeasure measure)
    {
        {
            std::lock_guard lock(mutex_);
            jobs_.push_back({std::move(row), std::move(measure)});
        }
        changed_.notify_all();
    }

    void WaitForWrites()
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return jobs_.empty() && !busy_ && (opened_ || !openWanted_); });
    }

    // Has the database opened, and waits a while for that; why the history is off, empty when it
    // is on.
    QString WaitOpened()
    {
        std::unique_lock lock(mutex_);
        openWanted_ = true;
        changed_.notify_all();
        changed_.wait_for(lock, kReaderWait, [this] { return opened_; });
        return off_;
    }

    bool Opened()
    {
        std::lock_guard lock(mutex_);
        return opened_ && off_.isEmpty();
    }

private:
    struct TJob {
        THistoryRow Row;
        THistoryMeasure Measure;
    };
    enum class TState { Closed, Open, ReadOnly, Off };

    void Run(std::stop_token stop);
    void Take(TJob job, const std::stop_token& stop);
    void Open();
    bool Repair();
    bool WriteKept();
    QSqlError InsertKept();
    void SetOff(const QString& why, bool tell);
    void Tell(const QString& message)
    {
        QMetaObject::invokeMethod(&owner_, [owner = &owner_, message] { emit owner->Problem(message); }, Qt::QueuedConnection);
    }

    THistory& owner_;
    const QString path_;
    const int busyTimeoutMs_;
    const QString connectionName_;
    // The worker's own.
    std::unique_ptr<TConnection> connection_;
    TState state_ = TState::Closed;
    QString failure_;  // why the database could not be opened last time
    std::vector<THistoryRow> kept_;
    bool toldKept_ = false;
    // Shared with the owner's thread.
    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::deque<TJob> jobs_;
    bool busy_ = false;
    bool closing_ = false;
    bool openWanted_ = false;  // for a read
    bool opened_ = false;      // the first opening is over
    bool finished_ = false;
    QString off_;
    std::jthread thread_;  // last: joined before the rest goes
};

void THistory::TWorker::Run(std::stop_token stop)
{
    for (;;) {
        TJob job;
        bool open = false;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, stop, [this] { return !jobs_.empty() || closing_ || (openWanted_ && !opened_); });
            open = !opened_ && (openWanted_ || !jobs_.empty());
            if (!open && jobs_.empty())
                break;  // closing, or stopped, with nothing left to write
            if (!open) {
                job = std::move(jobs_.front());
                jobs_.pop_front();
                busy_ = true;
            }
        }
        if (open)
            Open();
        else
            Take(std::move(job), stop);
        {
            std::lock_guard lock(mutex_);
            opened_ = true;
            busy_ = false;
        }
        changed_.notify_all();
    }
    if (!kept_.empty())
        WriteKept();  // a last try
    connection_.reset();
    std::lock_guard lock(mutex_);
    finished_ = true;
    changed_.notify_all();
}

void THistory::TWorker::Take(TJob job, const std::stop_token& stop)
{
    if (job.Measure && !job.Row.Shortest && state_ != TState::Off && state_ != TState::ReadOnly) {
        try {
            job.Row.Shortest = job.Measure(stop);
        } catch (...) {
            // out of memory: the row goes without it
        }
    }
    kept_.push_back(std::move(job.Row));
    if (kept_.size() > kMaxKeptRows)
        kept_.erase(kept_.begin());
    if (WriteKept())
        QMetaObject::invokeMethod(&owner_, [owner = &owner_] { emit owner->Written(); }, Qt::QueuedConnection);
}

void THistory::TWorker::SetOff(const QString& why, bool tell)
{
    connection_.reset();
    state_ = TState::Off;
    {
        std::lock_guard lock(mutex_);
        off_ = why;
    }
    if (tell)
        Tell(why);
}

void THistory::TWorker::Open()
{
    connection_.reset();
    if (path_.isEmpty())  // no data folder, which the score file tells of
        return SetOff(THistory::tr("Нет папки для данных: журнал игр не ведётся."), false);
    const TChecked checked = CheckFiles(path_, true);
    if (!checked.Problem.isEmpty())
        return SetOff(checked.Problem, true);
    if (checked.WriteProtected) {
        state_ = TState::ReadOnly;
        return Tell(THistory::tr("Журнал игр «%1» защищён от записи: сыгранные игры в него не записываются.").arg(ShownName(path_)));
    }
    connection_ = std::make_unique<TConnection>(connectionName_, path_, busyTimeoutMs_);
    // The name may have become something else between the check and the opening.
    if (const TChecked again = CheckFiles(path_, false); !again.Problem.isEmpty())
        return SetOff(again.Problem, true);
    const TUpgrade upgrade = connection_->IsOpen() ? Upgrade(*connection_) : TUpgrade{TReadiness::Failed, connection_->Db().lastError()};
    switch (upgrade.Readiness) {
    case TReadiness::Ready:
        state_ = TState::Open;
        break;
    case TReadiness::Damaged:
        Repair();
        break;
    case TReadiness::Newer:
        SetOff(THistory::tr("Журнал игр «%1» записан более новой версией игры: сыгранные игры в него не записываются.").arg(ShownName(path_)), true);
        break;
    case TReadiness::Failed:  // tried again with the next row
        connection_.reset();
        failure_ = upgrade.Error.text();
        break;
    }
}

// Under the lock beside the file, so that two windows that find it damaged move it aside once.
bool THistory::TWorker::Repair()
{
    connection_.reset();
    state_ = TState::Closed;
    TUserFileLock lock;
    // A lock file that cannot be used gives way to a lock on the folder, as for the score file.
    if (const TFileStatus locked = lock.Acquire(Local(path_), busyTimeoutMs_, TLockFallback::Folder); !locked.Ok()) {
        failure_ = lock.LockProblem().Ok() || locked.Problem == TFileProblem::Busy
                       ? FileProblemText(locked)
                       : THistory::tr("файл блокировки «%1» не годится (%2); удалите или переименуйте его")
                             .arg(ShownName(QByteArray::fromStdString(lock.LockPath())), FileProblemText(lock.LockProblem()));
        return false;
    }
    auto connection = std::make_unique<TConnection>(connectionName_, path_, busyTimeoutMs_);
    TUpgrade upgrade = Upgrade(*connection);  // another window may have repaired it meanwhile
    if (upgrade.Readiness == TReadiness::Damaged) {
        connection.reset();
        const QString aside = MoveAside(path_);
        if (aside.isEmpty()) {
            SetOff(THistory::tr("Журнал игр «%1» повреждён, и его не удалось переименовать: %2.\nСыгранные игры не записываются.")
                       .arg(ShownName(path_), qt_error_string(errno)), true);
            return false;
        }
        Tell(THistory::tr("Журнал игр «%1» был повреждён. Он сохранён под именем «%2», и начат новый журнал.").arg(ShownName(path_), ShownName(aside)));
        connection = std::make_unique<TConnection>(connectionName_, path_, busyTimeoutMs_);
        upgrade = Upgrade(*connection);
    }
    if (upgrade.Readiness != TReadiness::Ready) {
        failure_ = upgrade.Error.text();
        return false;
    }
    connection_ = std::move(connection);
    state_ = TState::Open;
    return true;
}

// Writes every row kept, in one transaction; they stay kept when it fails, and the player hears
// of the first failure.
bool THistory::TWorker::WriteKept()
{
    if (state_ == TState::Closed)
        Open();
    if (state_ == TState::Off || state_ == TState::ReadOnly) {
        kept_.clear();  // the history is off, as told
        return false;
    }
    QSqlError error;
    if (state_ == TState::Open) {
        error = InsertKept();
        if (error.isValid() && IsDamage(error) && Repair())
            error = InsertKept();
        if (!error.isValid()) {
            kept_.clear();
            return true;
        }
    }
    const QString why = error.isValid() ? error.text() : failure_;
    if (!std::exchange(toldKept_, true))
        Tell(THistory::tr("Не удалось записать игру в журнал игр «%1»: %2.\nИгра продолжается; запись будет повторена "
                "после следующей игры.").arg(ShownName(path_), why));
    return false;
}

QSqlError THistory::TWorker::InsertKept()
{
    const TConnection& connection = *connection_;
    if (const QSqlError error = connection.Exec(QStringLiteral("BEGIN IMMEDIATE")); error.isValid())
        return error;
    QSqlError error;
    {
        QSqlQuery insert(connection.Db());
        if (!insert.prepare(QStringLiteral("INSERT INTO games (started, ended, size, seconds, moves, undos, hints, computer,"
                                           " abandoned, shortest, picture, name) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")))
            error = insert.lastError();
        for (auto row = kept_.begin(); !error.isValid() && row != kept_.end(); ++row) {
            BindRow(insert, *row);
            if (!insert.exec())
                error = insert.lastError();
        }
    }
    if (!error.isValid())
        error = connection.Exec(QStringLiteral("COMMIT"));
    if (error.isValid())
        connection.Exec(QStringLiteral("ROLLBACK"));
    return error;
}

// The owner's thread reads with a connection of its own, opened on the file the path names now
// (another window may have moved a damaged one aside meanwhile).
class THistory::TReader {
public:
    TReader(const QString& path, int busyTimeoutMs) : path_(path), busyTimeoutMs_(busyTimeoutMs) {}

    THistoryLoad Load()
    {
        THistoryLoad load;
        if (!Ready(&load.Problem))
            return load;
        QSqlQuery query(connection_->Db());
        query.setForwardOnly(true);
        if (!query.exec(QStringLiteral("SELECT id, started, ended, size, seconds, moves, undos, hints, computer, abandoned,"
                                       " shortest, picture, name FROM games ORDER BY ended, id"))) {
            load.Problem = THistory::tr("Не удалось прочитать журнал игр «%1»: %2.").arg(ShownName(path_), query.lastError().text());
            return load;
        }
        while (query.next())
            load.Rows.push_back(ReadRow(query));
        return load;
    }

    std::optional<qint64> Version()
    {
        QVariant version;
        if (!Ready(nullptr) || connection_->Exec(QStringLiteral("PRAGMA data_version"), &version).isValid())
            return std::nullopt;
        return (generation_ << 32) + version.toLongLong();
    }

private:
    // Opened on the file at the path now; false, with why when asked, when there is none to read.
    bool Ready(QString* problem)
    {
        const TChecked checked = CheckFiles(path_, false);
        struct stat st {};
        if (!checked.Problem.isEmpty() || !checked.Exists || lstat(Local(path_).c_str(), &st) != 0) {
            connection_.reset();
            if (problem)
                *problem = checked.Problem;
            return false;
        }
        if (!connection_ || st.st_dev != device_ || st.st_ino != inode_) {
            connection_.reset();
            connection_ = std::make_unique<TConnection>(ConnectionName("reader"), path_, busyTimeoutMs_);
            device_ = st.st_dev;
            inode_ = st.st_ino;
            ++generation_;
        }
        return true;
    }

    const QString path_;
    const int busyTimeoutMs_;
    std::unique_ptr<TConnection> connection_;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    qint64 generation_ = 0;
};

THistory::THistory(const QString& path, int busyTimeoutMs, QObject* parent)
    : QObject(parent), path_(path), reader_(std::make_unique<TReader>(path, busyTimeoutMs)),
      worker_(std::make_unique<TWorker>(*this, path, busyTimeoutMs))
{
}

THistory::~THistory() = default;

QString THistory::DefaultPath()
{
    const std::optional<QString> folder = TScoreFile::DataFolder();
    return folder ? *folder + QStringLiteral("/history.sqlite") : QString();
}

void THistory::Add(THistoryRow row, THistoryMeasure measure)
{
    worker_->Add(std::move(row), std::move(measure));
}

THistoryLoad THistory::Load()
{
    if (const QString off = worker_->WaitOpened(); !off.isEmpty())
        return {{}, off};
    return reader_->Load();
}

std::optional<qint64> THistory::Version()
{
    return worker_->Opened() ? reader_->Version() : std::nullopt;
}

void THistory::WaitForWrites()
{
    worker_->WaitForWrites();
}
