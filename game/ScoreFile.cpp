#include "game/ScoreFile.h"

#include "files/UserFile.h"
#include "game/ShownName.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QtGlobal>
#include <cerrno>
#include <utility>

namespace {

const QString kFileName = QStringLiteral("Mozik.ini");
// The table takes about 1 KiB; anything past this is not a table and is not read into memory.
constexpr std::size_t kMaxFileSize = 64 * 1024;

} // namespace

QString FileProblemText(const TFileStatus& status)
{
    switch (status.Problem) {
    case TFileProblem::None: return {};
    case TFileProblem::Missing: return qt_error_string(ENOENT);
    case TFileProblem::ForeignLink: return TScoreFile::tr("это ссылка, созданная другим пользователем");
    case TFileProblem::ForeignFolderLink:
        return TScoreFile::tr("путь к файлу проходит через ссылку, созданную другим пользователем");
    case TFileProblem::DanglingLink: return TScoreFile::tr("ссылка ведёт к файлу, которого нет");
    case TFileProblem::Link: return TScoreFile::tr("это ссылка, а не файл");
    case TFileProblem::Folder: return TScoreFile::tr("это папка, а не файл");
    case TFileProblem::Pipe: return TScoreFile::tr("это канал, а не файл");
    case TFileProblem::Device: return TScoreFile::tr("это устройство, а не файл");
    case TFileProblem::Special: return TScoreFile::tr("это не обычный файл");
    case TFileProblem::Foreign: return TScoreFile::tr("файл принадлежит другому пользователю");
    case TFileProblem::TooBig: return TScoreFile::tr("файл больше 64 КБ, таблица результатов такой не бывает");
    case TFileProblem::WriteProtected: return TScoreFile::tr("файл защищён от записи");
    case TFileProblem::Exists: return qt_error_string(EEXIST);
    case TFileProblem::Busy: return TScoreFile::tr("файл занят другим окном игры");
    case TFileProblem::System: return qt_error_string(status.Error);
    }
    return {};
}

QString FileAdviceText(const TFileStatus& status, const QString& name)
{
    switch (status.Problem) {
    case TFileProblem::ForeignLink:
    case TFileProblem::DanglingLink:
    case TFileProblem::Link:
    case TFileProblem::Folder:
    case TFileProblem::Pipe:
    case TFileProblem::Device:
    case TFileProblem::Special:
    case TFileProblem::Foreign:
    case TFileProblem::TooBig: return TScoreFile::tr("Удалите или переименуйте «%1».").arg(name);
    case TFileProblem::ForeignFolderLink: return TScoreFile::tr("Уберите чужую ссылку с пути к «%1».").arg(name);
    case TFileProblem::WriteProtected: return TScoreFile::tr("Разрешите запись в «%1».").arg(name);
    case TFileProblem::System:
        if (status.Error == ENOSPC || status.Error == EDQUOT)
            return TScoreFile::tr("Освободите место на диске, где лежит «%1».").arg(name);
        if (status.Error == EACCES || status.Error == EPERM)
            return TScoreFile::tr("Проверьте права доступа к «%1» и к его папке.").arg(name);
        return {};
    case TFileProblem::None:
    case TFileProblem::Missing:
    case TFileProblem::Exists:
    case TFileProblem::Busy: return {};
    }
    return {};
}

namespace {

std::string Local(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

TFileRead Read(const QString& path)
{
    return ReadUserFile(Local(path), kMaxFileSize);
}

// A sentence, then what the player can do, on a line of its own where there is something.
QString WithAdvice(const QString& sentence, const TFileStatus& status, const QString& name)
{
    const QString advice = FileAdviceText(status, name);
    return advice.isEmpty() ? sentence : sentence + '\n' + advice;
}

QString WriteFailure(const QString& path, const TFileStatus& status)
{
    const QString name = ShownName(path);
    return WithAdvice(TScoreFile::tr("Не удалось записать таблицу результатов в файл «%1»: %2.").arg(name, FileProblemText(status)),
                      status, name);
}

// The lock beside the score file is at fault, not the file.
QString LockFailure(const QString& path, const TUserFileLock& lock)
{
    const QString name = ShownName(QByteArray::fromStdString(lock.LockPath()));
    return WithAdvice(TScoreFile::tr("Не удалось записать таблицу результатов в файл «%1»: файл блокировки «%2» не годится (%3).")
                          .arg(ShownName(path), name, FileProblemText(lock.LockProblem())),
                      lock.LockProblem(), name);
}

} // namespace

// A relative name is made absolute now, so that the file stays where it was when the working
// directory changes later.
TScoreFile::TScoreFile(const QString& path)
    : path_(path.isEmpty() || path.startsWith('/') ? path : QDir::currentPath() + '/' + path), inMemory_(path_.isEmpty())
{
}

std::optional<QString> TScoreFile::DataFolder()
{
    const std::optional<std::string> data = XdgFolder(TXdgFolder::Data);
    return data ? std::optional(QFile::decodeName(QByteArray::fromStdString(*data)) + QStringLiteral("/Mozik")) : std::nullopt;
}

TScoreFile TScoreFile::Locate(const QString& startDir, const std::optional<QString>& dataDir)
{
    const QString startPath = startDir + '/' + kFileName;
    const TFileStatus start = Read(startPath).Status;
    if (start.Ok())
        return TScoreFile(startPath);  // a player's old scores keep working
    TScoreFile file(dataDir ? *dataDir + '/' + kFileName : QString());
    if (start.Problem != TFileProblem::Missing && file.path_ != startPath) {  // the same file is told of once, by Load
        file.locateProblem_ =
            TScoreFile::tr("Файл «%1» в папке запуска оставлен как есть: %2.").arg(ShownName(startPath), FileProblemText(start));
        if (dataDir)
            file.locateProblem_ += TScoreFile::tr("\nТаблица результатов хранится в файле «%1».").arg(ShownName(file.path_));
    }
    return file;
}

TScoreTable TScoreFile::Load()
{
    inMemory_ = true;
    missing_ = false;
    kept_.clear();
    memory_ = TScoreTable();
    if (path_.isEmpty()) {
        loadProblem_ = TScoreFile::tr("Не найдена папка для данных (переменная HOME не задана или не указывает на папку).\n"
                                      "Таблица результатов хранится только в памяти, до выхода из игры.");
        return memory_;
    }
    const TFileRead read = Read(path_);
    loadProblem_.clear();
    if (read.Status.Ok()) {
        memory_ = TScoreTable::FromFileText(QByteArray::fromStdString(read.Bytes));
        inMemory_ = read.WriteProtected;
        if (read.WriteProtected)
            loadProblem_ = TScoreFile::tr("Файл «%1» защищён от записи: таблица результатов прочитана из него, "
                                          "но результаты в этот раз не будут сохранены.")
                               .arg(ShownName(path_));
    } else if (read.Status.Problem == TFileProblem::Missing) {
        inMemory_ = false;
        missing_ = true;
    } else {
        loadProblem_ = WithAdvice(TScoreFile::tr("Не удалось прочитать таблицу результатов из файла «%1»: %2.\n"
                                                 "Файл остаётся как есть; результаты в этот раз не будут сохранены.")
                                      .arg(ShownName(path_), FileProblemText(read.Status)),
                                  read.Status, ShownName(path_));
    }
    return memory_;
}

void TScoreFile::CreateIfMissing()
{
    if (std::exchange(missing_, false) && !inMemory_)
        ReplaceUserFile(Local(path_), TScoreTable().ToFileText().toStdString(), TLeafLink::FollowOwn, TReplace::IfMissing);
}

QString TScoreFile::Problem() const
{
    if (locateProblem_.isEmpty() || loadProblem_.isEmpty())
        return locateProblem_ + loadProblem_;
    return locateProblem_ + QStringLiteral("\n\n") + loadProblem_;
}

TScoreTable TScoreFile::Table()
{
    if (!inMemory_) {
        const TFileRead read = Read(path_);
        if (read.Status.Ok())
            memory_ = TScoreTable::FromFileText(QByteArray::fromStdString(read.Bytes));
        else if (read.Status.Problem == TFileProblem::Missing)
            memory_ = TScoreTable();
        // A file that cannot be read just now: the table last seen stands.
    }
    TScoreTable table = memory_;
    Apply(table);
    return table;
}

bool TScoreFile::Place(int size, const QByteArray& name, int seconds, TScoreTable* table, QString* tell)
{
    return Commit({false, size, name, seconds}, table, tell);
}

bool TScoreFile::Clear(TScoreTable* table, QString* tell)
{
    return Commit({true, 0, {}, 0}, table, tell);
}

bool TScoreFile::Commit(const TChange& change, TScoreTable* table, QString* tell)
{
    tell->clear();
    if (change.ClearAll)
        kept_.clear();  // whatever was kept is emptied with the rest
    kept_.push_back(change);
    if (inMemory_) {
        Apply(memory_);
        kept_.clear();
        *table = memory_;
        return true;
    }
    QString failure;
    if (WriteKept(&failure)) {
        *table = memory_;
        toldKept_ = false;
        *tell = std::exchange(lockNotice_, {});
        return true;
    }
    *table = Table();
    if (!std::exchange(toldKept_, true)) {
        toldFailure_ = failure;
        *tell = failure + TScoreFile::tr("\nТаблица пока хранится в памяти: игра попробует записать её снова "
                                         "при следующем изменении и при выходе.");
    }
    return false;
}

bool TScoreFile::SaveKept(QString* error)
{
    QString failure;
    if (kept_.empty() || WriteKept(&failure)) {
        *error = std::exchange(lockNotice_, {});
        return true;
    }
    // The player has heard that the change is kept and why: the same failure at Exit tells
    // nothing new.
    *error = toldKept_ && failure == toldFailure_ ? QString() : failure;
    return false;
}

bool TScoreFile::WriteKept(QString* failure)
{
    // What has become no file of the player's is not even locked: nothing is made beside it.
    const auto usable = [this, failure](const TFileRead& read) {
        if (read.Status.Ok() || read.Status.Problem == TFileProblem::Missing)
            return true;
        *failure = WriteFailure(path_, read.Status);
        return false;
    };
    if (!usable(Read(path_)))
        return false;
    // Where the lock file cannot be used, every window of the game locks the score file's folder
    // in its place (files/UserFile.h), so the change is still read, merged and written while no
    // other window writes: a broken lock file costs no record. Only where the folder cannot be
    // locked either is the change kept in memory.
    TUserFileLock lock;
    if (const TFileStatus locked = lock.Acquire(Local(path_), LockWaitMs, TLockFallback::Folder); !locked.Ok()) {
        const bool lockAtFault = !lock.LockPath().empty() && !lock.LockProblem().Ok() && locked.Problem != TFileProblem::Busy;
        *failure = lockAtFault ? LockFailure(path_, lock) : WriteFailure(path_, locked);
        return false;
    }
    const TFileRead read = Read(path_);  // as it is now that no other window writes it
    if (!usable(read))
        return false;
    TScoreTable table = read.Status.Ok() ? TScoreTable::FromFileText(QByteArray::fromStdString(read.Bytes)) : TScoreTable();
    Apply(table);
    if (const TFileStatus written = ReplaceUserFile(Local(path_), table.ToFileText().toStdString()); !written.Ok()) {
        *failure = WriteFailure(path_, written);
        return false;
    }
    memory_ = table;
    kept_.clear();
    missing_ = false;
    if (!lock.LockProblem().Ok() && !std::exchange(toldLock_, true)) {
        const QString name = ShownName(QByteArray::fromStdString(lock.LockPath()));
        lockNotice_ = WithAdvice(TScoreFile::tr("Файл блокировки «%1» не годится: %2.\nТаблица результатов всё равно записана в «%3».")
                                     .arg(name, FileProblemText(lock.LockProblem()), ShownName(path_)),
                                 lock.LockProblem(), name);
    }
    return true;
}

void TScoreFile::Apply(TScoreTable& table) const
{
    for (const TChange& change : kept_) {
        if (change.ClearAll)
            table.Clear();
        else
            table.Place(change.Size, change.Name, change.Seconds);
    }
}
